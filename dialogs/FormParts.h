// Finding the controls of a form's layout by name and class.
#pragma once

#include "common/exceptions_Quenloft.h"
#include "rtl/Classes.h"

namespace qnl {

// The component Name of Form, of class T; a layout without it is a fault of the program.
template <class T>
T& FormPart(const TComponent& Form, const std::string& Name) {
  auto* part = dynamic_cast<T*>(Form.FindComponent(Name));
  if (!part) throw Exception("The form " + Form.Name() + " has no " + Name);
  return *part;
}

} // namespace qnl
