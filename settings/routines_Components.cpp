// Helpers for components: a unique name.
#include "settings/routines_Components.h"

#include "rtl/SysUtils.h"

namespace qnl {

void UniqueComponentName(TComponent* Component, const std::string& BaseName) {
  // A base name that is no identifier would never be accepted: let SetName say so.
  if (!IsValidIdent(BaseName)) {
    Component->SetName(BaseName);
    return;
  }
  for (int n = 0;; ++n) {
    std::string name = n == 0 ? BaseName : BaseName + IntToStr(n);
    try {
      Component->SetName(name);
      return;
    } catch (const EComponentError&) {
      // taken: try the next number
    }
  }
}

} // namespace qnl
