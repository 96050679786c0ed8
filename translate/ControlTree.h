// How the translator sees the controls of the GUI framework, which lies above it.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "rtl/Classes.h"

namespace qnl {

// What the translator needs of a control beyond its published properties: which
// components are controls, which hold child controls and in what order, and how to let a
// windowed control lay out its children again. The GUI framework installs them; until it
// does, a component is a control when it publishes a Boolean "Visible", and none has
// children.
struct TControlTreeHooks {
  std::function<bool(TComponent*)> IsControl;
  std::function<bool(TComponent*)> IsWindowed;
  std::function<std::vector<TComponent*>(TComponent*)> ChildControls;
  std::function<void(TComponent*)> Realign;
};

void SetControlTreeHooks(TControlTreeHooks Hooks);
const TControlTreeHooks& ControlTreeHooks();

// True when the object's class, or one of its ancestors, has one of these names; the
// framework's control classes are recognised by name so that this library does not
// depend on the GUI library.
bool ClassIsA(const TObject& Object, std::initializer_list<const char*> ClassNames);

bool IsControl(TComponent* Component);
bool IsWindowedControl(TComponent* Component);
std::vector<TComponent*> ChildControls(TComponent* Component);

} // namespace qnl
