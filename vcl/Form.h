// A form shown in a Qt window.
#pragma once

#include "rtl/Forms.h"
#include "vcl/Controls.h"

class QWidget;

namespace qnl {

class TFormWindow;

// A form with a top-level Qt window that mirrors its stored values: bounds, caption (in the
// code page of the font's character set), colour, font, border and window state. The
// window's activation fires OnActivate (once per activation); closing the window asks the
// form to Close. An exception raised by a handler that the window calls reaches the
// application's exception handler. Its controls are placed in the window and take its font
// while their ParentFont is set. Needs the application object (TApplication) first.
class TForm : public TCustomForm, public TControlParent {
  QNL_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  // The top-level window; owned by the form.
  QWidget* Widget() const;
  void Repaint() override;
  void BringToFront() override;
  QWidget* ClientWidget() const override;
  const TFont* ParentFontSource() const override;
  int32_t ClientAreaWidth() const override;
  int32_t ClientAreaHeight() const override;

protected:
  void UpdateWindow(TFormAspect Aspect) override;

private:
  friend class TFormWindow;
  void ApplyBounds();
  void ApplyFont();
  void ApplyColor();
  void ApplyFlags();
  void PlaceOnFirstShow();
  // The window moved or was resized by the user or the window manager.
  void WindowGeometryChanged();

  TFormWindow* FWindow;
  bool FApplying = false; // true while the form writes to the window
  bool FPlaced = false;   // Position has been applied
};

} // namespace qnl
