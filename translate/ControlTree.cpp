// How the translator sees the controls of the GUI framework.
#include "translate/ControlTree.h"

#include "rtl/SysUtils.h"

namespace qnl {

namespace {
TControlTreeHooks& Hooks() {
  static TControlTreeHooks hooks;
  return hooks;
}
} // namespace

void SetControlTreeHooks(TControlTreeHooks NewHooks) { Hooks() = std::move(NewHooks); }
const TControlTreeHooks& ControlTreeHooks() { return Hooks(); }

bool ClassIsA(const TObject& Object, std::initializer_list<const char*> ClassNames) {
  for (const TClassInfo* c = &Object.ClassInfo(); c; c = c->Parent)
    for (const char* name : ClassNames)
      if (SameText(c->Name, name)) return true;
  return false;
}

bool IsControl(TComponent* Component) {
  if (Hooks().IsControl) return Hooks().IsControl(Component);
  const TPropInfo* visible = Component->ClassInfo().FindProp("Visible");
  return visible && visible->Kind == TTypeKind::tkBoolean;
}

bool IsWindowedControl(TComponent* Component) { return Hooks().IsWindowed && Hooks().IsWindowed(Component); }

std::vector<TComponent*> ChildControls(TComponent* Component) {
  if (Hooks().ChildControls) return Hooks().ChildControls(Component);
  return {};
}

} // namespace qnl
