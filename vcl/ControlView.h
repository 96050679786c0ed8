// The Qt side of a control: the widget that shows it.
#pragma once

#include <string>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "rtl/Controls.h"

namespace qnl {

// Shows one control through a widget it owns: places the widget in the parent's client
// widget and mirrors bounds, visibility, enabling, font, colour, caption and hint. A
// control class adds what it shows of its own in ApplyCaption and ApplyLook.
class TWidgetView : public TControlView {
public:
  TWidgetView(TControl* Control, QWidget* Widget);
  ~TWidgetView() override;
  QWidget* Widget() const { return FWidget.data(); }
  // Where the widgets of child controls go.
  virtual QWidget* ClientWidget() const { return Widget(); }
  void Changed(TControlAspect Aspect) override;

protected:
  TControl* Control() const { return FControl; }
  virtual void ApplyParent();
  virtual void ApplyBounds();
  virtual void ApplyVisible();
  virtual void ApplyFont();
  // Fills the background with the control's colour; a control drawn by its style keeps it.
  virtual void ApplyColor() {}
  virtual void ApplyCaption() {}
  virtual void ApplyLook() {}
  void FillBackground(bool Fill);

private:
  TControl* FControl;
  QPointer<QWidget> FWidget;
};

// The widget that shows Control, or nullptr when it has none.
QWidget* WidgetOf(const TControl* Control);
// The widget the children of Control go into, or nullptr.
QWidget* ClientWidgetOf(const TControl* Control);
// The control a widget shows (the widget or one of its parents), or nullptr.
TControl* ControlOfWidget(const QWidget* Widget);

// Text in the code page of the control's font's character set.
QString DisplayText(const TControl* Control, const std::string& Text);
// A caption without its accelerator marks: "&&" is one ampersand, a single "&" goes.
std::string WithoutAccelerators(const std::string& Text);

// Makes a control's widget; EInvalidOperation before the application object exists.
void RequireApplicationForControls();
template <class W, class... A>
W* NewControlWidget(A... Args) {
  RequireApplicationForControls();
  return new W(Args...);
}

// Hands the exception being handled to the application's handler.
void HandleControlException(TControl* Control);

// Runs a Qt handler of Control, handing anything it raises to the application.
template <class F>
void GuardHandler(TControl* Control, F Handler) {
  try {
    Handler();
  } catch (...) {
    HandleControlException(Control);
  }
}

} // namespace qnl
