// The install log.
#include "common/InstallLog.h"

#include <memory>

#include "platform/files/AppendLog.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::unique_ptr<TAppendLog>& LogFile() {
  static std::unique_ptr<TAppendLog> file;
  return file;
}

} // namespace

bool TInstallLog::On() {
  if (FChecked) return FOn;
  FChecked = true;
  std::optional<std::string> path = GetEnvironmentVariable(kInstallLogVariable);
  if (!path || path->empty()) return false;
  try {
    LogFile() = std::make_unique<TAppendLog>(*path);
    FOn = true;
  } catch (const Exception&) {
    // A log that cannot be written does not stop the installation it would describe.
  }
  return FOn;
}

void TInstallLog::Step(const std::string& Step, const std::string& Text) {
  if (!On()) return;
  // One step is one line, whatever its texts hold.
  std::string text = StringReplaceAll(StringReplaceAll(Text, "\r", " "), "\n", " ");
  LogFile()->WriteLine(LocalTimestamp() + " " + Step + (text.empty() ? "" : ": " + text));
}

void TInstallLog::RegistryValue(const std::string& Key, const std::string& Name, const std::string& Data) {
  if (!On()) return;
  Step("registry", Key + " \"" + Name + "\" = " + (IsSecretValueName(Name) ? "(secret, not logged)" : Data));
}

void TInstallLog::Error(const std::string& Message) {
  if (!On() || Message == FLastError) return;
  FLastError = Message;
  Step("error", Message);
}

TInstallLog& InstallLog() {
  static TInstallLog log;
  return log;
}

bool IsSecretValueName(const std::string& Name) {
  std::string name = LowerCase(Name);
  for (const char* word : {"password", "secret", "key", "token"})
    if (name.find(word) != std::string::npos) return true;
  return false;
}

} // namespace qnl
