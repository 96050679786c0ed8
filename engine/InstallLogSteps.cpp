// The install log's lines for the engine's steps.
#include "engine/InstallLogSteps.h"

#include "archive/TVersionResource.h"
#include "common/InstallLog.h"
#include "common/routines_API.h"
#include "platform/Machine.h"
#include "platform/system/CodePage.h"
#include "platform/system/SystemInfo.h"
#include "rtl/ProgramArguments.h"

namespace qnl {

namespace {

// Why a file was kept, in the rule's terms.
std::string KeptReason(int Decision, TOverwriteType Rule) {
  if (Decision == nrNewer || Decision == nrFailed) return "the machine's file is in use and was left as it is";
  if (Rule == owNever) return "files are never overwritten";
  std::string what = Rule == owVersion ? "version" : Rule == owDate ? "date" : "version and date";
  if (Decision == nrSame) return "same " + what;
  return "the machine's file is newer (" + what + ")";
}

} // namespace

void LogInstallStart(const std::string& Product, const std::string& Version) {
  if (!InstallLog().On()) return;
  std::string line = GetModuleName();
  for (const std::string& argument : ProgramArguments()) line += " \"" + argument + "\"";
  InstallLog().Step("start", line);
  InstallLog().Step("start", Product + " " + Version + ", engine Quenloft " QNL_ENGINE_VERSION ", machine " +
                                 TMachine::Current().Directory() + ", Windows " + WindowsVersionName() +
                                 ", code page " + std::to_string(MachineCodePage()));
}

void LogInstallError(const std::string& Message) { InstallLog().Error(Message); }

void LogMessageBox(const TAnsweredBox& Box) {
  if (!InstallLog().On()) return;
  if (Box.Error) return InstallLog().Error(Box.Text);
  static const char* const kBy[] = {"by the person", "by QNL_MESSAGEBOX_COMMAND", "its default, nobody to ask"};
  InstallLog().Step("message box", Box.Caption + ": " + Box.Text + " [" + MessageBoxButtonNames(Box.Flags) +
                                       "] answered " + MessageBoxResultName(Box.Result) + ", " +
                                       kBy[static_cast<int>(Box.Answerer)]);
}

void LogFileKept(int Decision, TOverwriteType Rule, const std::string& Source, const std::string& Dest) {
  if (!InstallLog().On()) return;
  InstallLog().Step("file", "kept, " + KeptReason(Decision, Rule) + ": " + Dest + " (not replaced by " + Source + ")");
}

void LogFileInstalled(bool AtRestart, const std::string& Source, const std::string& Archive, const std::string& Dest) {
  if (!InstallLog().On()) return;
  InstallLog().Step("file", std::string(AtRestart ? "replaced at restart" : "installed") + ": " + Dest + " from " +
                                Source + " in " + Archive);
}

} // namespace qnl
