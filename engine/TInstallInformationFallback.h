// Company, product and version of an installation, for builds without the settings layer's
// own TInstallInformation (settings/cmp_TInstallInformation.h replaces this header).
#pragma once

#include <string>

#include "rtl/Classes.h"

namespace qnl {

// Company, product and version; the product name keys the uninstall entry.
class TInstallInformation : public TPersistent {
  QNL_CLASS(TInstallInformation, TPersistent)
public:
  TInstallInformation() = default;
  void Assign(const TPersistent* Source) override {
    if (const auto* other = dynamic_cast<const TInstallInformation*>(Source)) {
      FCompanyName = other->FCompanyName;
      FProductName = other->FProductName;
      FVersion = other->FVersion;
      return;
    }
    TPersistent::Assign(Source);
  }

  std::string FCompanyName = "My Company";
  std::string FProductName = "My product";
  std::string FVersion = "1.0";
};

inline const TClassInfo& TInstallInformation::StaticClassInfo() {
  using C = TInstallInformation;
  static const TClassInfo info = TClassBuilder<C>("TInstallInformation", &TPersistent::StaticClassInfo())
                                     .Prop("CompanyName", &C::FCompanyName)
                                     .Prop("ProductName", &C::FProductName)
                                     .Prop("Version", &C::FVersion)
                                     .Build();
  return info;
}

} // namespace qnl
