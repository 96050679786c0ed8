// The build settings the install component stores for the distribution tools.
#pragma once

#include <string>

#include "rtl/Classes.h"

namespace qnl {

// Settings of the web distribution, stored with the project and passed on unchanged; only
// the design-time tools read them. Assigning copies every field.
class TBuildInfo : public TPersistent {
  QNL_CLASS(TBuildInfo, TPersistent)
public:
  // The name of the web-install control when the project names none.
  static constexpr const char* DefaultOCXName = "QuenloftWebInstall.ocx";

  TBuildInfo() = default;
  void Assign(const TPersistent* Source) override;

  bool AddUninstallOnCreate = true;
  std::string AppName;
  std::string AppURL;
  std::string BuildDirectory = "c:\\build";
  std::string CredentialsFile;
  std::string OCXName = DefaultOCXName;
  std::string PrivateKeyFile;
  bool SignCode = false;
  std::string URLPath;
};

} // namespace qnl
