// Forms, data modules and the windowless application object.
#include "rtl/Forms.h"

#include <cstdio>
#include <memory>

namespace qnl {

// ---- TCustomForm ----

QNL_BEGIN_CLASS(TCustomForm)
    .Prop("Left", &C::Left, &C::SetLeft)
    .Prop("Top", &C::Top, &C::SetTop)
    .Prop("Width", &C::Width, &C::SetWidth)
    .Prop("Height", &C::Height, &C::SetHeight)
    .Prop("ClientWidth", &C::ClientWidth, &C::SetClientWidth)
    .Prop("ClientHeight", &C::ClientHeight, &C::SetClientHeight)
    .Prop("Caption", &C::Caption, &C::SetCaption)
    .Prop("Color", &C::Color, &C::SetColor)
    .WithIdents(ColorIdents())
    .Sub("Font", &C::Font)
    .Prop("FormStyle", &C::FormStyle, &C::SetFormStyle)
    .Prop("Position", &C::Position, &C::SetPosition)
    .Prop("WindowState", &C::WindowState, &C::SetWindowState)
    .Prop("Visible", &C::Visible, &C::SetVisible)
    .Prop("BorderStyle", &C::BorderStyle, &C::SetBorderStyle)
    .Prop("BorderIcons", &C::BorderIcons, &C::SetBorderIcons)
    .Prop("PixelsPerInch", &C::PixelsPerInch, &C::SetPixelsPerInch)
    .Prop("TextHeight", &C::TextHeight, &C::SetTextHeight)
    .Prop("OldCreateOrder", &C::OldCreateOrder, &C::SetOldCreateOrder)
    .Prop("Scaled", &C::Scaled, &C::SetScaled)
    .Prop("KeyPreview", &C::KeyPreview, &C::SetKeyPreview)
    .Prop("Enabled", &C::Enabled, &C::SetEnabled)
    .Prop("AutoScroll", &C::AutoScroll, &C::SetAutoScroll)
    .Prop("Ctl3D", &C::Ctl3D, &C::SetCtl3D)
    .Prop("ShowHint", &C::ShowHint, &C::SetShowHint)
    .Prop("Hint", &C::Hint, &C::SetHint)
    .Prop("HelpFile", &C::HelpFile, &C::SetHelpFile)
    .Prop("HelpContext", &C::HelpContext, &C::SetHelpContext)
    .Sub("Icon", &C::Icon)
    .Prop("OnActivate", &C::OnActivate)
    .Prop("OnDeactivate", &C::OnDeactivate)
    .Prop("OnCreate", &C::OnCreate)
    .Prop("OnDestroy", &C::OnDestroy)
    .Prop("OnShow", &C::OnShow)
    .Prop("OnHide", &C::OnHide)
    .Prop("OnResize", &C::OnResize)
    .Prop("OnPaint", &C::OnPaint)
    .Prop("OnClose", &C::OnClose)
    .Prop("OnCloseQuery", &C::OnCloseQuery);
QNL_END_CLASS

TCustomForm::TCustomForm(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont()), FIcon(new TPicture()) {
  FFont->OnChange = [this](TObject*) { Changed(TFormAspect::faFont); };
}

TCustomForm::~TCustomForm() {
  // The application forgets its main form through the free notification it asked for.
  delete FIcon;
  delete FFont;
}

void TCustomForm::Changed(TFormAspect Aspect) {
  if (!IsLoading()) UpdateWindow(Aspect);
}

void TCustomForm::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  if (FLeft == ALeft && FTop == ATop && FWidth == AWidth && FHeight == AHeight) return;
  bool resized = FWidth != AWidth || FHeight != AHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Changed(TFormAspect::faBounds);
  if (resized && !IsLoading() && OnResize) OnResize(this);
}

int32_t TCustomForm::NonClientWidth() const {
  // The classic Windows frame: a 4-pixel sizing border (3 for a fixed one) on each side.
  switch (FBorderStyle) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return 8;
    default: return 6;
  }
}

int32_t TCustomForm::NonClientHeight() const {
  // The frame plus the caption bar (19 pixels, 15 for a tool window).
  switch (FBorderStyle) {
    case bsNone: return 0;
    case bsSizeable: return 8 + 19;
    case bsSizeToolWin: return 8 + 15;
    case bsToolWindow: return 6 + 15;
    default: return 6 + 19;
  }
}

void TCustomForm::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(TFormAspect::faCaption);
}

void TCustomForm::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed(TFormAspect::faColor);
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  Changed(TFormAspect::faFormStyle);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  Changed(TFormAspect::faWindowState);
}

void TCustomForm::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (IsLoading()) return;
  UpdateWindow(TFormAspect::faVisible);
  if (Value)
    DoShow();
  else
    DoHide();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  // The client area keeps its size when the frame changes, as the designer shows it.
  int32_t cw = ClientWidth(), ch = ClientHeight();
  FBorderStyle = Value;
  if (!IsLoading()) SetBounds(FLeft, FTop, cw + NonClientWidth(), ch + NonClientHeight());
  Changed(TFormAspect::faBorderStyle);
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  Changed(TFormAspect::faBorderStyle);
}

void TCustomForm::SetPixelsPerInch(int32_t Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application().MainForm() == this) {
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

void TCustomForm::Loaded() {
  TComponent::Loaded();
  for (TFormAspect a : {TFormAspect::faBorderStyle, TFormAspect::faFormStyle, TFormAspect::faBounds,
                        TFormAspect::faCaption, TFormAspect::faColor, TFormAspect::faFont, TFormAspect::faWindowState})
    UpdateWindow(a);
  if (FVisible) {
    UpdateWindow(TFormAspect::faVisible);
    DoShow();
  }
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
  if (MessageBoxHook) return MessageBoxHook(Text, Caption, Flags);
  return DoMessageBox(Text, Caption, Flags);
}

int TCustomApplication::DoMessageBox(const std::string& Text, const std::string& Caption, int Flags) {
  std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
  return MessageBoxDefaultResult(Flags);
}

void TCustomApplication::ShowException(const std::exception& E) {
  if (dynamic_cast<const EAbort*>(&E)) return;
  std::fprintf(stderr, "Error: %s\n", E.what());
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

void RegisterFormsClasses() { RegisterClass(TDataModule::StaticClassInfo()); }

} // namespace qnl
