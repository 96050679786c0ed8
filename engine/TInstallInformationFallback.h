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
  const std::string& CompanyName() const { return FCompanyName; }
  void SetCompanyName(const std::string& Value) { FCompanyName = Value; }
  const std::string& ProductName() const { return FProductName; }
  void SetProductName(const std::string& Value) { FProductName = Value; }
  const std::string& Version() const { return FVersion; }
  void SetVersion(const std::string& Value) { FVersion = Value; }

private:
  std::string FCompanyName = "My Company";
  std::string FProductName = "My product";
  std::string FVersion = "1.0";
};

inline const TClassInfo& TInstallInformation::StaticClassInfo() {
  using C = TInstallInformation;
  static const TClassInfo info = TClassBuilder<C>("TInstallInformation", &TPersistent::StaticClassInfo())
                                     .Prop("CompanyName", &C::CompanyName, &C::SetCompanyName)
                                     .Prop("ProductName", &C::ProductName, &C::SetProductName)
                                     .Prop("Version", &C::Version, &C::SetVersion)
                                     .Build();
  return info;
}

} // namespace qnl
