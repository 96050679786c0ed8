// The process-wide registries of shortcut folders and shortcuts.
#include "links/ShellLinkRegistries.h"

namespace qnl {

// The lists are never freed: a component that outlives static destruction (a form held by the
// program entry) still leaves them safely.

TMainLinkGroup*& MainLinkGroup() {
  static TMainLinkGroup* group = nullptr;
  return group;
}

TShellLinkGroupList& SubLinkGroups() {
  static auto* list = new TShellLinkGroupList;
  return *list;
}

TInstallShellLinkList& MainShellLinks() {
  static auto* list = new TInstallShellLinkList;
  return *list;
}

TInstallShellLinkList& AllShellLinks() {
  static auto* list = new TInstallShellLinkList;
  return *list;
}

} // namespace qnl
