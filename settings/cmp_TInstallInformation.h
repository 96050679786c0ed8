// TInstallInformation: the product an installation installs.
#pragma once

#include <string>

#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

namespace qnl {

// Company, product and version of the installed product; ProductName names the
// uninstall entry. Always holds a value for each (the defaults until assigned).
class TInstallInformation : public TPersistent {
  QNL_CLASS(TInstallInformation, TPersistent)
public:
  TInstallInformation() = default;
  void Assign(const TPersistent* Source) override;

  std::string FCompanyName = "My Company";
  std::string FProductName = "My product";
  std::string FVersion = "1.0";
};

// Registers TInstallInformation with the class registry.
void RegisterSettingsClasses();

} // namespace qnl
