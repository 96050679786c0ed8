// The process-wide registries of shortcut folders and shortcuts.
#pragma once

#include "engine/TTypedList.h"
#include "links/exceptions_Links.h"

namespace qnl {

class TCustomShellLinkGroup;
class TMainLinkGroup;
class TCustomInstallShellLink;

class TShellLinkGroupList : public TTypedList<TCustomShellLinkGroup, IEInstallShellLinkList> {
public:
  TShellLinkGroupList() : TTypedList("Cannot add a blank entry to the shell link group list") {}
};

class TInstallShellLinkList : public TTypedList<TCustomInstallShellLink, IEInstallShellLinkList> {
public:
  TInstallShellLinkList() : TTypedList("Cannot add a blank entry to the shell link list") {}
};

// Each exists from its first use to the end of the process; the components keep them.
// The project's one main folder, or nullptr.
TMainLinkGroup*& MainLinkGroup();
// Every sub-folder, in creation order.
TShellLinkGroupList& SubLinkGroups();
// Every shortcut of the main folder, in creation order.
TInstallShellLinkList& MainShellLinks();
// Every shortcut, in creation order.
TInstallShellLinkList& AllShellLinks();

} // namespace qnl
