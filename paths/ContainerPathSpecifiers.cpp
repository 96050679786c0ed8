// The built-in specifiers relative to the requesting object's container.
#include "paths/StandardPathSpecifier.h"

namespace qnl {

QNL_DEFINE_STANDARD_SPECIFIER(TpsContainerDestDir, "Path of the group (container)",
                              "Path of the group (container)")

void TpsContainerDestDir::Validate(TComponent*) const {
  throw ENotImplemented("TpsContainerDestDir.Validate");
}
std::string TpsContainerDestDir::GetPath(TComponent* Component) const {
  Validate(Component);
  return {};
}
std::string TpsContainerDestDir::GetDescriptionFor(TComponent*) const { return GetDescription(); }
std::string TpsContainerDestDir::GetShortNameFor(TComponent*) const { return GetDescription(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsContainerArchiveFile, "Path to the archive file of the container",
                              "Container archive file")

void TpsContainerArchiveFile::Validate(TComponent*) const {
  throw ENotImplemented("TpsContainerArchiveFile.Validate");
}
std::string TpsContainerArchiveFile::GetPath(TComponent* Component) const {
  Validate(Component);
  return {};
}

} // namespace qnl
