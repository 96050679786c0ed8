// The install log: one line per step of an installation, written as it goes, to the file
// named by the environment variable QUENLOFT_LOG (the loading program's --log FILE). Without
// the variable nothing is written and every call returns at its first test.
#pragma once

#include <string>

namespace qnl {

// The environment variable naming the log file (a host path).
inline constexpr const char* kInstallLogVariable = "QUENLOFT_LOG";

class TInstallLog {
public:
  // True when a log is being written.
  bool On();
  // One line: "<timestamp> <Step>: <Text>" ("<timestamp> <Step>" for an empty Text). Step is
  // a word that scripts can look for: start, page, file, registry, error, end...
  void Step(const std::string& Step, const std::string& Text);
  // A registry value written, Data as it is to be shown ("\"text\"", "12", "(8 bytes)"); the
  // data of a secret is never written (see IsSecretValueName).
  void RegistryValue(const std::string& Key, const std::string& Name, const std::string& Data);
  // An error the user was shown; once, however many paths report the same error in a row.
  void Error(const std::string& Message);

private:
  bool FChecked = false;
  bool FOn = false;
  std::string FLastError;
};

// The process's install log.
TInstallLog& InstallLog();

// A value whose name contains "password", "secret", "key" or "token" (in any case) holds a
// secret: the log shows that it was written, never its data.
bool IsSecretValueName(const std::string& Name);

} // namespace qnl
