// Drives a real form on the offscreen platform as a user would: finds its controls by
// name, clicks, types, presses keys, reads what is shown, grabs a picture.
#pragma once

#include <string>

#include <QImage>

#include "rtl/Controls.h"
#include "vcl/Form.h"

class QWidget;

namespace qnl::test {

class TFormDriver {
public:
  explicit TFormDriver(TForm& Form) : FForm(Form) {}

  // The control of that name owned by the form or by a form placed in it; a test failure
  // and an exception when there is none.
  TControl& Find(const std::string& Name) const;
  QWidget* WidgetNamed(const std::string& Name) const;

  // A mouse click on the control's widget (a button, check box); fails unless the control
  // is showing and enabled, as a user could not click it.
  void Click(const std::string& Name);
  // Chooses an item of a radio group, list box or tab control as a click would.
  void ClickItem(const std::string& Name, int Index);
  // Gives the control the focus and types Text (UTF-8) key by key.
  void Type(const std::string& Name, const std::string& Text);
  // A key to the focused widget (or the window when none has the focus).
  void PressKey(int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
  void PressEnter() { PressKey(Qt::Key_Return); }
  void PressEscape() { PressKey(Qt::Key_Escape); }
  void PressTab() { PressKey(Qt::Key_Tab); }
  // The name of the control with the focus; empty when none of the form's.
  std::string FocusedName() const;

  bool IsShowing(const std::string& Name) const;
  bool IsEnabled(const std::string& Name) const;
  // The text the widget shows (a label's, a button's, an edit's).
  std::string ShownText(const std::string& Name) const;

  // The window as drawn now; written as a PNG when Path is given.
  QImage Grab(const std::string& Path = "") const;

private:
  TForm& FForm;
};

} // namespace qnl::test
