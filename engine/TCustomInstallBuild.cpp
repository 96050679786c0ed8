// Build mode: the distribution files, the self-extracting setup program and its trailer.
#include "engine/TCustomInstall.h"

namespace qnl {

void TCustomInstall::RunBuildMode() { throw ENotImplemented("Build mode (-b)"); }

void TCustomInstall::Build(const std::string&, const std::string&, bool) { throw ENotImplemented("TInstall.Build"); }

void TCustomInstall::CompressSetupArchive(const std::string&, const std::string&) {
  throw ENotImplemented("TInstall.CompressSetupArchive");
}

} // namespace qnl
