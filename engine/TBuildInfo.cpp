// Build settings: published fields and copying.
#include "engine/TBuildInfo.h"

namespace qnl {

QNL_BEGIN_CLASS(TBuildInfo)
    .Prop("AddUninstallOnCreate", &C::AddUninstallOnCreate)
    .Prop("AppName", &C::AppName)
    .Prop("AppURL", &C::AppURL)
    .Prop("BuildDirectory", &C::BuildDirectory)
    .Prop("CredentialsFile", &C::CredentialsFile)
    .Prop("OCXName", &C::OCXName)
    .Prop("PrivateKeyFile", &C::PrivateKeyFile)
    .Prop("SignCode", &C::SignCode)
    .Prop("URLPath", &C::URLPath);
QNL_END_CLASS

void TBuildInfo::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TBuildInfo*>(Source)) {
    AddUninstallOnCreate = other->AddUninstallOnCreate;
    AppName = other->AppName;
    AppURL = other->AppURL;
    BuildDirectory = other->BuildDirectory;
    CredentialsFile = other->CredentialsFile;
    OCXName = other->OCXName;
    PrivateKeyFile = other->PrivateKeyFile;
    SignCode = other->SignCode;
    URLPath = other->URLPath;
    return;
  }
  inherited::Assign(Source);
}

} // namespace qnl
