// Forms, data modules and the application object as the engine sees them, independent
// of the windowing system that shows them (vcl/ provides that).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "rtl/Classes.h"
#include "rtl/Controls.h"
#include "rtl/Graphics.h"

namespace qnl {

QNL_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
QNL_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
         poMainFormCenter, poOwnerFormCenter)
QNL_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
// Controls that have a border use the first two members (bsNone, bsSingle).
QNL_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
QNL_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
QNL_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

// A top-level window as the project stores it, or a form placed in another form's panel
// (then without frame). It is a windowed control of the same model as the controls it
// holds; a windowing library gives it a view. Its Left and Top are relative to the screen
// while it has no parent.
class TCustomForm : public TWinControl {
  QNL_CLASS(TCustomForm, TWinControl)
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  // The inner area: the outer size less the frame (NonClientWidth/Height).
  int32_t ClientWidth() const override { return Width() - NonClientWidth(); }
  int32_t ClientHeight() const override { return Height() - NonClientHeight(); }

  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  int32_t PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int32_t Value);
  int32_t TextHeight() const { return FTextHeight; }
  void SetTextHeight(int32_t Value) { FTextHeight = Value; }
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }
  const std::string& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
  // The window icon (stored as Icon.Data).
  TIcon* Icon() const { return FIcon; }
  // The control that has the focus when the form is shown (or now, while it is active).
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Value);

  // Set while the form runs modally: any value but mrNone ends ShowModal with it.
  TModalResult ModalResult() const { return FModalResult; }
  virtual void SetModalResult(TModalResult Value) { FModalResult = Value; }

  // Events. A handler that raises is reported through the application's exception
  // handler by the windowing system; the engine's own calls let the exception propagate.
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnResize;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Makes the form visible and brings it to the front.
  virtual void Show();
  virtual void Hide();
  // Shows the form and waits until its ModalResult is set (or it is closed: mrCancel);
  // the windowless base has nobody to answer it and raises EInvalidOperation.
  virtual TModalResult ShowModal();
  // Asks the form to close: CloseQuery, then OnClose; closing the application's main
  // form terminates the application, a modal form ends ShowModal with mrCancel unless a
  // result is set.
  virtual void Close();
  // OnCloseQuery's answer: whether the form may close now.
  virtual bool CloseQuery();
  // Repaints the window now (after a change that must be seen before the next event).
  virtual void Repaint() {}
  virtual void BringToFront() {}
  // True while the window is the active one.
  bool Active() const { return FActive; }
  // True while ShowModal runs.
  bool Modal() const { return FModal; }

  // Windowing systems call these when the window gains or loses activation; OnActivate
  // fires once per activation, however many times the system reports it.
  void Activate();
  void Deactivate();

  // A form designed at another PixelsPerInch than 96 (and Scaled) is scaled to 96 when
  // loaded; the screen's own density is Qt's business.
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Scales the client area, the font and every control; the position stays.
  void ChangeScale(int32_t M, int32_t D) override;

  // The frame around the client area: none for a form placed in another; the windowing
  // system may know the real one.
  virtual int32_t NonClientWidth() const;
  virtual int32_t NonClientHeight() const;

protected:
  void VisibleChanged() override;
  virtual void DoShow();
  virtual void DoHide();
  void SetModal(bool Value) { FModal = Value; }

private:
  TIcon* FIcon;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  int32_t FPixelsPerInch = 96;
  int32_t FTextHeight = 13;
  bool FOldCreateOrder = false;
  bool FScaled = true;
  bool FKeyPreview = false;
  bool FAutoScroll = true;
  std::string FHelpFile;
  TWinControl* FActiveControl = nullptr;
  TModalResult FModalResult = mrNone;
  bool FActive = false;
  bool FModal = false;
};

// A non-visual container of components, as a form without a window.
class TDataModule : public TComponent {
  QNL_CLASS(TDataModule, TComponent)
public:
  explicit TDataModule(TComponent* AOwner) : TComponent(AOwner) {}
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

private:
  bool FOldCreateOrder = false;
};

// Message box flags and results, with the Windows values.
constexpr int MB_OK = 0x0;
constexpr int MB_OKCANCEL = 0x1;
constexpr int MB_ABORTRETRYIGNORE = 0x2;
constexpr int MB_YESNOCANCEL = 0x3;
constexpr int MB_YESNO = 0x4;
constexpr int MB_RETRYCANCEL = 0x5;
constexpr int MB_ICONHAND = 0x10;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONSTOP = 0x10;
constexpr int MB_ICONQUESTION = 0x20;
constexpr int MB_ICONEXCLAMATION = 0x30;
constexpr int MB_ICONWARNING = 0x30;
constexpr int MB_ICONASTERISK = 0x40;
constexpr int MB_ICONINFORMATION = 0x40;
constexpr int MB_DEFBUTTON1 = 0x0;
constexpr int MB_DEFBUTTON2 = 0x100;
constexpr int MB_DEFBUTTON3 = 0x200;
constexpr int MB_APPLMODAL = 0x0;
constexpr int MB_SYSTEMMODAL = 0x1000;
constexpr int MB_TASKMODAL = 0x2000;
constexpr int MB_TYPEMASK = 0xF;
constexpr int MB_ICONMASK = 0xF0;
constexpr int MB_DEFMASK = 0xF00;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The answer a message box gives when nobody can click: its default button.
int MessageBoxDefaultResult(int Flags);

using TMessageBoxHook = std::function<int(const std::string& Text, const std::string& Caption, int Flags)>;

// The buttons of a box of Flags ("Yes, No, Cancel") and the name of an answer ("No").
std::string MessageBoxButtonNames(int Flags);
std::string MessageBoxResultName(int Result);

// Who gave a message box its answer.
enum class TBoxAnswerer {
  baPerson,  // someone clicked it
  baCommand, // the MessageBoxHook (a script's command)
  baDefault, // nobody could be asked: its default button
};

// A message box once answered; Error when it showed an error (ShowException).
struct TAnsweredBox {
  std::string Text;
  std::string Caption;
  int Flags = 0;
  int Result = 0;
  TBoxAnswerer Answerer = TBoxAnswerer::baDefault;
  bool Error = false;
};

// The running program: its main form, message loop and exception display. There is one
// per process, reached through Application(). This base runs without any window
// (message boxes and errors go to stderr and answer their default button); vcl's
// TApplication replaces it with one that shows windows.
class TCustomApplication : public TComponent {
  QNL_CLASS(TCustomApplication, TComponent)
public:
  explicit TCustomApplication(TComponent* AOwner = nullptr);
  ~TCustomApplication() override;

  // Runs the message loop until Terminate; shows the main form first.
  virtual void Run();
  // Asks the message loop to end; it ends once the current event is handled.
  virtual void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles every pending event, then returns.
  virtual void ProcessMessages() {}

  // Shows Text in a modal box and returns the IDxxx of the button chosen. When
  // MessageBoxHook is set it answers instead (tests, unattended runs).
  int MessageBox(const std::string& Text, const std::string& Caption, int Flags);
  TMessageBoxHook MessageBoxHook;
  // Told of every box once it is answered (the install log).
  std::function<void(const TAnsweredBox&)> OnBoxAnswered;

  // Shows an error to the user through MessageBox (so MessageBoxHook answers it too; on
  // stderr as "Error: <message>" when there is no display). EAbort is never shown.
  virtual void ShowException(const std::exception& E);
  // Entry for catch sites: passes the exception being handled to OnException when set,
  // else to ShowException. EAbort is ignored. Call it only inside a catch block; an
  // exception raised by OnException itself is shown, never propagated.
  void HandleException(TObject* Sender);
  TExceptionEvent OnException;

  // The main form: the first form made main with SetMainForm; null when none.
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* Form);

  // The program's exit status: 0 unless whoever ends the program sets another.
  int ExitCode() const { return FExitCode; }
  void SetExitCode(int Value) { FExitCode = Value; }

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  const std::string& ExeName() const { return FExeName; }
  void SetExeName(const std::string& Value) { FExeName = Value; }

  // Size of the screen in pixels (for moving windows off the screen or centring them).
  virtual int32_t ScreenWidth() const { return 1024; }
  virtual int32_t ScreenHeight() const { return 768; }
  // Height of a window's caption bar (the system metric; the classic 19 without a screen).
  virtual int32_t CaptionHeight() const { return 19; }
  // Whether windows can be seen by a user (false on the offscreen platform).
  virtual bool HasDisplay() const { return false; }

  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  virtual int DoMessageBox(const std::string& Text, const std::string& Caption, int Flags);
  void SetTerminated(bool Value) { FTerminated = Value; }

private:
  bool FTerminated = false;
  bool FShowingError = false;
  int FExitCode = 0;
  TCustomForm* FMainForm = nullptr;
  std::string FTitle;
  std::string FExeName;
};

// The process's application object. Without one installed a windowless
// TCustomApplication is created on first use.
TCustomApplication& Application();
// Installs App as the process's application (nullptr removes it); the caller owns it.
void SetApplication(TCustomApplication* App);

// Registers TDataModule, so that a form text can name it as its root class, and the
// framework's event types.
void RegisterFormsClasses();

} // namespace qnl
