// Expansion of the %-meta variables in texts such as shortcut targets.
#include "common/routines_Strings.h"
#include "paths/IInstallComponent.h"
#include "paths/IInstallContainer.h"
#include "paths/routines_ExpandPaths.h"

namespace qnl {

namespace {
std::string OwnDestDir(IInstallContainer* Component) {
  if (!Component)
    throw EQXCannotExpandContainerDirMV("Cannot expand the %a meta variable because the component is Nil");
  return Component->GetDestDir();
}

std::string ContainerDestDir(IInstallContainer* Component) {
  if (!Component)
    throw EQXCannotExpandContainerDirMV("Cannot expand the %c meta variable because the component is Nil");
  IInstallContainer* container = Component->GetContainer();
  if (!container)
    throw EQXCannotExpandContainerDirMV("Cannot expand the %c meta variable because the Container property is Nil");
  return container->GetDestDir();
}

std::string MainInstallDir() {
  IInstallComponent* install = CurrentInstallComponent();
  if (!install)
    throw EQXCannotExpandInstallDirMV("Cannot expand the %i meta variable because there is no TInstall component");
  return install->MainInstallDir();
}

// The replacement of one meta variable letter; false when the letter names none.
bool Replacement(char Letter, IInstallContainer* Component, std::string& Value) {
  switch (Letter | 0x20) { // ASCII lower case
    case 'a': Value = OwnDestDir(Component); return true;
    case 'b': Value = GetProgramsDir(); return true;
    case 'c': Value = ContainerDestDir(Component); return true;
    case 'd': Value = GetDesktopDir(); return true;
    case 'f': Value = GetCommonFilesDir(); return true;
    case 'i': Value = MainInstallDir(); return true;
    case 'm': Value = GetStartMenuDir(); return true;
    case 'p': Value = GetProgramFilesDir(); return true;
    case 's': Value = GetSystemDir(); return true;
    case 'w': Value = GetWindowsDir(); return true;
    default: return false;
  }
}
} // namespace

std::string ExpandMetaVariables(const std::string& Text, IInstallContainer* Component) {
  std::string result;
  bool afterPercent = false;
  for (char ch : Text) {
    if (!afterPercent) {
      if (ch == '%')
        afterPercent = true;
      else
        result += ch;
      continue;
    }
    afterPercent = false;
    if (ch == '%') {
      result += '%';
      continue;
    }
    std::string value;
    // Only letters are meta variables; anything else after "%" is dropped with it.
    bool isLetter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (isLetter && Replacement(ch, Component, value)) result += RemoveBackSlash(value);
  }
  return result;
}

} // namespace qnl
