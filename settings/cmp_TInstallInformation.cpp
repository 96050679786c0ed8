// TInstallInformation: the product an installation installs.
#include "settings/cmp_TInstallInformation.h"

namespace qnl {

QNL_BEGIN_CLASS(TInstallInformation)
    .Prop("CompanyName", &C::FCompanyName)
    .Prop("ProductName", &C::FProductName)
    .Prop("Version", &C::FVersion);
QNL_END_CLASS

void TInstallInformation::Assign(const TPersistent* Source) {
  if (auto* other = dynamic_cast<const TInstallInformation*>(Source)) {
    FCompanyName = other->FCompanyName;
    FProductName = other->FProductName;
    FVersion = other->FVersion;
    return;
  }
  TPersistent::Assign(Source);
}

void RegisterSettingsClasses() { RegisterClass(TInstallInformation::StaticClassInfo()); }

} // namespace qnl
