// Forms, data modules and the windowless application object.
#include "rtl/Forms.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "rtl/EventTypes.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

// ---- TCustomForm ----

QNL_BEGIN_CLASS(TCustomForm)
    .Prop("FormStyle", &C::FormStyle, &C::SetFormStyle)
    .Prop("Position", &C::Position, &C::SetPosition)
    .Prop("WindowState", &C::WindowState, &C::SetWindowState)
    .Prop("BorderStyle", &C::BorderStyle, &C::SetBorderStyle)
    .Prop("BorderIcons", &C::BorderIcons, &C::SetBorderIcons)
    .Prop("PixelsPerInch", &C::PixelsPerInch, &C::SetPixelsPerInch)
    .Prop("TextHeight", &C::TextHeight, &C::SetTextHeight)
    .Prop("OldCreateOrder", &C::OldCreateOrder, &C::SetOldCreateOrder)
    .Prop("Scaled", &C::Scaled, &C::SetScaled)
    .Prop("KeyPreview", &C::KeyPreview, &C::SetKeyPreview)
    .Prop("AutoScroll", &C::AutoScroll, &C::SetAutoScroll)
    .Prop("HelpFile", &C::HelpFile, &C::SetHelpFile)
    .Sub("Icon", &C::Icon)
    .Ref<TWinControl>("ActiveControl", &C::ActiveControl, &C::SetActiveControl)
    .Prop("OnActivate", &C::OnActivate)
    .Prop("OnDeactivate", &C::OnDeactivate)
    .Prop("OnCreate", &C::OnCreate)
    .Prop("OnDestroy", &C::OnDestroy)
    .Prop("OnShow", &C::OnShow)
    .Prop("OnHide", &C::OnHide)
    .Prop("OnResize", &C::OnResize)
    .Prop("OnPaint", &C::OnPaint)
    .Prop("OnClose", &C::OnClose)
    .Prop("OnCloseQuery", &C::OnCloseQuery)
    .OfEventType("TCloseQueryEvent");
QNL_END_CLASS

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FIcon(new TIcon()) {
  SetParentFont(false);
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm() {
  // The application forgets its main form through the free notification it asked for.
  Destroying();
  SetActiveControl(nullptr);
  delete FIcon;
}

void TCustomForm::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  bool resized = std::max(AWidth, 0) != Width() || std::max(AHeight, 0) != Height();
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (resized && !IsLoading() && OnResize) OnResize(this);
}

int32_t TCustomForm::NonClientWidth() const {
  if (Parent()) return 0;
  // The classic Windows frame: a 4-pixel sizing border (3 for a fixed one) on each side.
  switch (FBorderStyle) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return 8;
    default: return 6;
  }
}

int32_t TCustomForm::NonClientHeight() const {
  if (Parent()) return 0;
  // The frame plus the caption bar (the screen's; 15 pixels for a tool window).
  switch (FBorderStyle) {
    case bsNone: return 0;
    case bsSizeable: return 8 + Application().CaptionHeight();
    case bsSizeToolWin: return 8 + 15;
    case bsToolWindow: return 6 + 15;
    default: return 6 + Application().CaptionHeight();
  }
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  Changed(TControlAspect::acLook);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  Changed(TControlAspect::acLook);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  // The client area keeps its size when the frame changes, as the designer shows it.
  int32_t cw = ClientWidth(), ch = ClientHeight();
  FBorderStyle = Value;
  if (!IsLoading()) SetBounds(Left(), Top(), cw + NonClientWidth(), ch + NonClientHeight());
  Changed(TControlAspect::acLook);
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  Changed(TControlAspect::acLook);
}

void TCustomForm::SetPixelsPerInch(int32_t Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
  if (FActiveControl == Value) return;
  if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
  FActiveControl = Value;
  if (FActiveControl) FActiveControl->FreeNotification(this);
  if (!IsLoading()) Changed(TControlAspect::acLook);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActiveControl) FActiveControl = nullptr;
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

TModalResult TCustomForm::ShowModal() {
  throw EInvalidOperation("Form '" + Name() + "' cannot be shown modally without a windowing system");
}

void TCustomForm::VisibleChanged() {
  if (Visible())
    DoShow();
  else
    DoHide();
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (FModal) {
    // ShowModal hides the form when it returns.
    if (FModalResult == mrNone) SetModalResult(mrCancel);
  } else if (Application().MainForm() == this) {
    Application().Terminate();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    // caFree: the owner frees the form; until then it is only hidden.
    Hide();
  }
}

void TCustomForm::Activate() {
  if (FActive) return;
  FActive = true;
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (!FActive) return;
  FActive = false;
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::ChangeScale(int32_t M, int32_t D) {
  if (D <= 0 || M <= 0 || M == D) return;
  int32_t left = Left(), top = Top();
  int64_t cw = ClientWidth(), ch = ClientHeight();
  TWinControl::ChangeScale(M, D);
  SetBounds(left, top, Width(), Height());
  SetClientWidth(static_cast<int32_t>((cw * M + D / 2) / D));
  SetClientHeight(static_cast<int32_t>((ch * M + D / 2) / D));
}

void TCustomForm::Loaded() {
  if (FScaled && FPixelsPerInch != 96) {
    // Children are still loading: their new bounds reach their views when they load.
    ChangeScale(96, FPixelsPerInch);
    FPixelsPerInch = 96;
  }
  TWinControl::Loaded();
  if (Visible()) DoShow();
}

// ---- TDataModule ----

QNL_BEGIN_CLASS(TDataModule)
    .Prop("OldCreateOrder", &C::OldCreateOrder, &C::SetOldCreateOrder)
    .Prop("OnCreate", &C::OnCreate)
    .Prop("OnDestroy", &C::OnDestroy);
QNL_END_CLASS

// ---- message boxes ----

int MessageBoxDefaultResult(int Flags) {
  static const int buttons[][3] = {{IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
                                   {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL}};
  int type = Flags & MB_TYPEMASK;
  if (type > 5) type = 0;
  int def = (Flags & MB_DEFMASK) >> 8;
  if (def > 2) def = 0;
  return buttons[type][def];
}

std::string MessageBoxButtonNames(int Flags) {
  static const char* const kNames[] = {"OK",      "OK, Cancel",   "Abort, Retry, Ignore", "Yes, No, Cancel",
                                       "Yes, No", "Retry, Cancel"};
  int type = Flags & MB_TYPEMASK;
  return kNames[type > 5 ? 0 : type];
}

std::string MessageBoxResultName(int Result) {
  static const char* const kNames[] = {"OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
  return Result >= IDOK && Result <= IDNO ? kNames[Result - IDOK] : "(none, " + std::to_string(Result) + ")";
}

// ---- TCustomApplication ----

QNL_BEGIN_CLASS(TCustomApplication);
QNL_END_CLASS

TCustomApplication::TCustomApplication(TComponent* AOwner) : TComponent(AOwner) {}

TCustomApplication::~TCustomApplication() {
  if (FMainForm) FMainForm->RemoveFreeNotification(this);
}

void TCustomApplication::Run() {
  // Without a window system nothing can happen after the main form's first activation,
  // so the loop ends when its handlers return.
  if (FMainForm && !FTerminated) {
    try {
      FMainForm->Show();
      FMainForm->Activate();
    } catch (...) {
      HandleException(FMainForm);
    }
  }
}

void TCustomApplication::Terminate() { FTerminated = true; }

int TCustomApplication::MessageBox(const std::string& Text, const std::string& Caption, int Flags) {
  TBoxAnswerer answerer = MessageBoxHook ? TBoxAnswerer::baCommand
                          : HasDisplay() ? TBoxAnswerer::baPerson
                                         : TBoxAnswerer::baDefault;
  int result = MessageBoxHook ? MessageBoxHook(Text, Caption, Flags) : DoMessageBox(Text, Caption, Flags);
  if (OnBoxAnswered) OnBoxAnswered({Text, Caption, Flags, result, answerer, FShowingError});
  return result;
}

int TCustomApplication::DoMessageBox(const std::string& Text, const std::string& Caption, int Flags) {
  std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
  return MessageBoxDefaultResult(Flags);
}

void TCustomApplication::ShowException(const std::exception& E) {
  if (dynamic_cast<const EAbort*>(&E)) return;
  // The same path as every other box, so that whoever answers the boxes sees the error.
  std::string caption = HasDisplay() && !FTitle.empty() ? FTitle : std::string("Error");
  FShowingError = true;
  TScopeExit shown([this] { FShowingError = false; });
  MessageBox(E.what(), caption, MB_OK | MB_ICONSTOP);
  std::fflush(stderr);
}

void TCustomApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
    return;
  } catch (const std::exception& e) {
    try {
      if (OnException) {
        OnException(Sender, e);
      } else {
        FExitCode = 1;
        ShowException(e);
      }
    } catch (const EAbort&) {
    } catch (const std::exception& inner) {
      ShowException(inner);
    } catch (...) {
      ShowException(Exception("Unknown exception in the exception handler"));
    }
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

void TCustomApplication::SetMainForm(TCustomForm* Form) {
  if (FMainForm == Form) return;
  if (FMainForm) FMainForm->RemoveFreeNotification(this);
  FMainForm = Form;
  if (FMainForm) FMainForm->FreeNotification(this);
}

void TCustomApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

namespace {
TCustomApplication* GApplication = nullptr;
}

TCustomApplication& Application() {
  if (!GApplication) {
    // Lives until the process ends; a windowing application replaces it.
    static TCustomApplication* fallback = new TCustomApplication(nullptr);
    return *fallback;
  }
  return *GApplication;
}

void SetApplication(TCustomApplication* App) { GApplication = App; }

void RegisterFormsClasses() {
  RegisterClass(TDataModule::StaticClassInfo());
  RegisterEventType<TNotifyEvent>("TNotifyEvent", {"Sender"});
  RegisterEventType<TCloseEvent>("TCloseEvent", {"Sender", "Action"});
  RegisterEventType<TCloseQueryEvent>("TCloseQueryEvent", {"Sender", "CanClose"});
  RegisterEventType<TKeyEvent>("TKeyEvent", {"Sender", "Key", "Shift"});
}

} // namespace qnl
