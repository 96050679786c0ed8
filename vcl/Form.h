// A form shown in a Qt window.
#pragma once

#include "rtl/Forms.h"
#include "vcl/ControlView.h"

class QEventLoop;

namespace qnl {

class TFormView;

// A form with a Qt window that mirrors its stored values: a top-level window (bounds,
// caption in the code page of the font's character set, colour, font, border, style and
// window state), or a frameless child when the form is placed in another form's control
// (a wizard's pages). The window's activation fires OnActivate (once per activation);
// closing the window asks the form to Close. Enter presses the Default button, Escape the
// Cancel button, Tab follows TabOrder. An exception raised by a handler that the window
// calls reaches the application's exception handler. Needs the application object first.
class TForm : public TCustomForm {
  QNL_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  // The window; owned by the form.
  QWidget* Widget() const;
  void Repaint() override;
  void BringToFront() override;
  // Without a display: with QUENLOFT_UNATTENDED=1 the form writes one line (its caption and
  // texts) to stderr and is answered by its Default button; otherwise EInvalidOperation
  // naming the form and the variable.
  TModalResult ShowModal() override;
  void SetModalResult(TModalResult Value) override;

  // The Default or Cancel button that Enter or Escape presses, when showing and enabled.
  virtual TWinControl* DefaultButton() const;
  virtual TWinControl* CancelButton() const;
  // Gives the focus to the next (or previous) control in tab order after the focused one.
  void SelectNext(bool Forward);
  // The form's texts as one line: caption, then the visible texts of its controls.
  virtual std::string TextLine() const;
  // How the form is named in messages: its caption, else its name.
  virtual std::string DialogName() const;

protected:
  void DoShow() override;
  // One step of an unattended run: presses the Default button; false when there is none
  // (the form is then answered with OK).
  virtual bool AnswerStep();

private:
  friend class TFormView;
  friend class TFormWindow;
  TModalResult AnswerUnattended();
  TModalResult RunModalLoop();
  void ApplyTabOrder();
  TFormView* FormView() const;
  QEventLoop* FModalLoop = nullptr;
};

// What a run does with modal forms besides showing them: BeforeAnswer runs before each step of
// an unattended form (to fill in answers), AfterOk when a modal form ended with OK.
struct TFormHooks {
  std::function<void(TForm&)> BeforeAnswer;
  std::function<void(TForm&)> AfterOk;
};
TFormHooks& FormHooks();

// Whether QUENLOFT_UNATTENDED=1 asks that forms be answered by their default action.
bool UnattendedRun();
// Whether QUENLOFT_QUIET=1 silences what an unattended run writes (page lines, progress).
bool QuietRun();

// Implemented by controls with a Default/Cancel role and a click (buttons).
class IButtonControl {
public:
  virtual ~IButtonControl() = default;
  virtual bool IsDefault() const = 0;
  virtual bool IsCancel() const = 0;
  virtual void Click() = 0;
};

} // namespace qnl
