// The list of shortcut classes a project may hold.
#include "links/RegisterLinksClasses.h"

#include "links/cmp_TInstallShellLink.h"
#include "rtl/TypInfo.h"

namespace qnl {

void RegisterLinksClasses() {
  for (const TClassInfo* info :
       {&TMainLinkGroup::StaticClassInfo(), &TSubLinkGroup::StaticClassInfo(), &TInstallMainLink::StaticClassInfo(),
        &TInstallSubLink::StaticClassInfo(), &TpsObjectLink::StaticClassInfo()})
    RegisterClass(*info);
}

} // namespace qnl
