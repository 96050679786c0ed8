// The built-in specifiers that ask the install component: source, main directory, archive.
#include "paths/StandardPathSpecifier.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {
std::string NameOf(const TComponent* Component) { return Component ? Component->Name() : "nil"; }

// The current install component; without one no component may use these specifiers.
IInstallComponent& RequireInstall(const TComponent* Component) {
  IInstallComponent* install = CurrentInstallComponent();
  if (!install)
    throw IEPathSpecifier("There is no TInstall component so the path specifier could not be expanded for %s",
                          {NameOf(Component)});
  return *install;
}
} // namespace

QNL_DEFINE_STANDARD_SPECIFIER(TpsInstallSource, "Path from which the user ran the install", "Install source")

void TpsInstallSource::Validate(TComponent* Component) const { RequireInstall(Component); }

std::string TpsInstallSource::GetPath(TComponent* Component) const { return RequireInstall(Component).InstallSource(); }

QNL_DEFINE_STANDARD_SPECIFIER(TpsMainInstall, "Main installation directory", "Main install dir")

void TpsMainInstall::Validate(TComponent* Component) const {
  IInstallComponent& install = RequireInstall(Component);
  // The install component's own destination cannot be defined by itself.
  if (Component && Component == install.InstallComponent())
    throw IEPathSpecifier("Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

std::string TpsMainInstall::GetPath(TComponent* Component) const {
  Validate(Component);
  return CurrentInstallComponent()->MainInstallDir();
}

QNL_DEFINE_STANDARD_SPECIFIER(TpsMainArchiveFile, "Archive containing most or all non-internet installation files",
                              "Main archive")

void TpsMainArchiveFile::Validate(TComponent* Component) const { RequireInstall(Component); }

std::string TpsMainArchiveFile::GetPath(TComponent* Component) const {
  IInstallComponent& install = RequireInstall(Component);
  std::string dir = FDirectory.empty() ? install.InstallSource() : FDirectory;
  std::optional<std::string> selfExtractor = install.SelfExtractorArgument();
  if (!selfExtractor) return dir + "\\" + "files.1";
  if (Trim(*selfExtractor).empty())
    throw IEInstall("You forgot to pass in the name of the self-extracting executable. "
                    "Usage example: \"-eSetup.exe\"");
  return dir + "\\" + *selfExtractor;
}

} // namespace qnl
