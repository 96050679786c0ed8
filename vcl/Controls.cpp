// Controls placed on forms, each shown through a Qt widget it owns.
#include "vcl/Controls.h"

#include <algorithm>

#include <QApplication>

#include "rtl/Forms.h"
#include "rtl/ScopeGuard.h"
#include "translate/ControlTree.h"
#include "vcl/AnsiText.h"
#include "vcl/QtGraphics.h"
#include "vcl/StdCtrls.h"
#include "vcl/cmp_TTranslateControls.h"

namespace qnl {

QNL_BEGIN_CLASS(TControl)
    .Prop("Left", &C::Left, &C::SetLeft)
    .Prop("Top", &C::Top, &C::SetTop)
    .Prop("Width", &C::Width, &C::SetWidth)
    .Prop("Height", &C::Height, &C::SetHeight)
    .Prop("Align", &C::Align, &C::SetAlign)
    .Prop("AutoSize", &C::AutoSize, &C::SetAutoSize)
    .Prop("Caption", &C::Caption, &C::SetCaption)
    .Prop("Enabled", &C::Enabled, &C::SetEnabled)
    .Sub("Font", &C::Font)
    .Prop("ParentFont", &C::ParentFont, &C::SetParentFont)
    .Prop("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint)
    .Prop("ShowHint", &C::ShowHint, &C::SetShowHint)
    .Prop("Hint", &C::Hint, &C::SetHint)
    .Prop("Visible", &C::Visible, &C::SetVisible);
QNL_END_CLASS

QNL_BEGIN_CLASS(TWinControl);
QNL_END_CLASS

void RequireApplicationForControls() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw EInvalidOperation("A control needs the application object: create TApplication first");
}

// ---- TControlParent

TControlParent* AsControlParent(TComponent* Component) { return dynamic_cast<TControlParent*>(Component); }

void TControlParent::Realign() {
  if (FAligning) return;
  TFlagGuard aligning(FAligning);
  int32_t left = 0, top = 0, right = ClientAreaWidth(), bottom = ClientAreaHeight();
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : FControls) {
      if (c->Align() != pass || !c->Visible()) continue;
      switch (pass) {
        case alTop:
          c->SetBounds(left, top, right - left, c->Height());
          top += c->Height();
          break;
        case alBottom:
          bottom -= c->Height();
          c->SetBounds(left, bottom, right - left, c->Height());
          break;
        case alLeft:
          c->SetBounds(left, top, c->Width(), bottom - top);
          left += c->Width();
          break;
        case alRight:
          right -= c->Width();
          c->SetBounds(right, top, c->Width(), bottom - top);
          break;
        default: c->SetBounds(left, top, std::max(right - left, 0), std::max(bottom - top, 0)); break;
      }
    }
  }
}

void TControlParent::ParentFontChanged() {
  for (TControl* c : FControls) c->TakeParentFont();
}

void TControlParent::ReleaseControls() {
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

// ---- TControl

TControl::TControl(TComponent* AOwner, QWidget* Widget) : TComponent(AOwner), FWidget(Widget), FFont(new TFont()) {
  FWidget->hide();
  FFont->OnChange = [this](TObject*) {
    // A font of its own: set by the project, not handed down by the parent.
    if (!FTakingParentFont) FParentFont = false;
    ApplyFont();
  };
  ApplyFont();
}

TControl::~TControl() {
  Destroying();
  SetParent(nullptr);
  delete FWidget.data();
  delete FFont;
}

void TControl::SetParent(TComponent* Value) {
  if (Value == FParent) return;
  TControlParent* container = nullptr;
  if (Value) {
    container = AsControlParent(Value);
    if (!container) throw EInvalidOperation("Control '" + Name() + "' cannot be placed in '" + Value->Name() + "'");
    for (TComponent* p = Value; p;) {
      if (p == this) throw EInvalidOperation("Control '" + Name() + "' cannot be placed in itself");
      auto* ctl = dynamic_cast<TControl*>(p);
      p = ctl ? ctl->Parent() : nullptr;
    }
  }
  if (FParentContainer) {
    auto& list = FParentContainer->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (FWidget) FWidget->setParent(nullptr);
    if (FAlign != alNone && !IsDestroying()) FParentContainer->Realign();
  }
  FParent = Value;
  FParentContainer = container;
  if (!container) return;
  container->FControls.push_back(this);
  if (FWidget) FWidget->setParent(container->ClientWidget());
  TakeParentFont();
  ApplyBounds();
  ApplyVisible();
  if (FAlign != alNone) container->Realign();
}

void TControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = std::max(AWidth, 0);
  FHeight = std::max(AHeight, 0);
  ApplyBounds();
  if (FAlign != alNone && FParentContainer && !IsLoading()) FParentContainer->Realign();
}

void TControl::SetCaption(const std::string& Value) {
  FCaption = Value;
  ApplyCaption();
  AdjustSize();
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  TakeParentFont();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  ApplyVisible();
  if (FAlign != alNone && FParentContainer && !IsLoading()) FParentContainer->Realign();
}

void TControl::SetEnabled(bool Value) {
  FEnabled = Value;
  if (FWidget) FWidget->setEnabled(Value);
}

void TControl::SetAutoSize(bool Value) {
  FAutoSize = Value;
  AdjustSize();
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (FParentContainer && !IsLoading()) FParentContainer->Realign();
}

void TControl::SetHint(const std::string& Value) {
  FHint = Value;
  if (FWidget) FWidget->setToolTip(DisplayText(Value));
}

void TControl::Loaded() {
  TComponent::Loaded();
  AdjustSize();
  if (FAlign != alNone && FParentContainer) FParentContainer->Realign();
}

QString TControl::DisplayText(const std::string& Text) const {
  return AnsiToQString(Text, CharsetToCodePage(FFont->Charset(), AnsiCodePage()));
}

void TControl::ApplyFont() {
  if (!FWidget) return;
  FWidget->setFont(QtFont(*FFont));
  QPalette pal = FWidget->palette();
  pal.setColor(QPalette::WindowText, QtColor(FFont->Color()));
  pal.setColor(QPalette::ButtonText, QtColor(FFont->Color()));
  FWidget->setPalette(pal);
  // The character set decides the code page of the texts.
  ApplyCaption();
  FWidget->setToolTip(DisplayText(FHint));
  AdjustSize();
}

void TControl::ApplyBounds() {
  if (FWidget) FWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
}

void TControl::ApplyVisible() {
  if (FWidget) FWidget->setVisible(FVisible && FParentContainer);
}

void TControl::TakeParentFont() {
  if (!FParentFont || !FParentContainer) return;
  TFlagGuard taking(FTakingParentFont);
  FFont->Assign(FParentContainer->ParentFontSource());
}

void TControl::HandleControlException() { Application().HandleException(this); }

// ---- TWinControl

TWinControl::~TWinControl() { ReleaseControls(); }

void TWinControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!IsLoading()) Realign();
}

void TWinControl::ApplyFont() {
  TControl::ApplyFont();
  ParentFontChanged();
}

// ---- registration

void RegisterControlsClasses() {
  for (const TClassInfo* c : {&TLabel::StaticClassInfo(), &TBitBtn::StaticClassInfo(), &TPanel::StaticClassInfo(),
                              &TTranslateLabel::StaticClassInfo(), &TTranslateBitBtn::StaticClassInfo()})
    RegisterClass(*c);
  TControlTreeHooks hooks;
  hooks.IsControl = [](TComponent* C) {
    if (dynamic_cast<TControl*>(C) || dynamic_cast<TCustomForm*>(C)) return true;
    // Controls of other libraries are known by their published visibility.
    const TPropInfo* visible = C->ClassInfo().FindProp("Visible");
    return visible && visible->Kind == TTypeKind::tkBoolean;
  };
  hooks.IsWindowed = [](TComponent* C) { return AsControlParent(C) != nullptr; };
  hooks.ChildControls = [](TComponent* C) {
    std::vector<TComponent*> children;
    if (TControlParent* p = AsControlParent(C))
      for (TControl* child : p->Controls()) children.push_back(child);
    return children;
  };
  hooks.Realign = [](TComponent* C) {
    if (TControlParent* p = AsControlParent(C)) p->Realign();
  };
  SetControlTreeHooks(std::move(hooks));
}

} // namespace qnl
