// The built-in path specifiers that need no installation container; each instance is named
// after its class without the T. The engine adds the two relative to a container.
#pragma once

#include "paths/cmp_TPathSpecifier.h"

namespace qnl {

// The members every built-in specifier has: its fixed description, short name and path rule
// (declared here and by the engine's container specifiers).
#define QNL_STANDARD_SPECIFIER_MEMBERS(Cls)    \
  QNL_CLASS(Cls, TStandardPathSpecifier)       \
public:                                        \
  explicit Cls(TComponent* AOwner);            \
  std::string GetDescription() const override; \
  std::string GetShortName() const override;   \
  std::string GetPath(TComponent* Component) const override;

class TpsBDEDLL : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsBDEDLL)
};
class TpsCommonFiles : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsCommonFiles)
};
class TpsDesktopMenu : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsDesktopMenu)
};
class TpsProgramFiles : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsProgramFiles)
};
class TpsProgramMenu : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsProgramMenu)
};
class TpsStartMenu : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsStartMenu)
};
class TpsStartupMenu : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsStartupMenu)
};
class TpsSystem : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsSystem)
};
class TpsWindow : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsWindow)
};

// Specifiers that ask the install component; without one they refuse every component.
class TpsInstallSource : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsInstallSource)
  void Validate(TComponent* Component) const override;
};
class TpsMainInstall : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsMainInstall)
  void Validate(TComponent* Component) const override;
};
// The archive the installation reads: files.1 beside the setup, or the self-extracting file.
// After a disk change it names the archive in the directory where that disk was found, for
// every file that comes later.
class TpsMainArchiveFile : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsMainArchiveFile)
  void Validate(TComponent* Component) const override;
  // The directory that replaces the install source; empty: none.
  const std::string& Directory() const { return FDirectory; }
  void SetDirectory(const std::string& Value) { FDirectory = Value; }

private:
  std::string FDirectory;
};

} // namespace qnl
