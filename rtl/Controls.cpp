// The model of controls, without any window.
#include "rtl/Controls.h"

#include <algorithm>

#include "rtl/Forms.h"
#include "rtl/ScopeGuard.h"

namespace qnl {

QNL_BEGIN_CLASS(TControl)
    .Prop("Left", &C::Left, &C::SetLeft)
    .Prop("Top", &C::Top, &C::SetTop)
    .Prop("Width", &C::Width, &C::SetWidth)
    .Prop("Height", &C::Height, &C::SetHeight)
    .Prop("ClientWidth", &C::ClientWidth, &C::SetClientWidth)
    .Prop("ClientHeight", &C::ClientHeight, &C::SetClientHeight)
    .Prop("Align", &C::Align, &C::SetAlign)
    .Prop("Anchors", &C::Anchors, &C::SetAnchors)
    .Prop("AutoSize", &C::AutoSize, &C::SetAutoSize)
    .Prop("Caption", &C::Caption, &C::SetCaption)
    .Prop("Color", &C::Color, &C::SetColor)
    .WithIdents(ColorIdents())
    .Prop("ParentColor", &C::ParentColor, &C::SetParentColor)
    .Prop("Enabled", &C::Enabled, &C::SetEnabled)
    .Sub("Font", &C::Font)
    .Prop("ParentFont", &C::ParentFont, &C::SetParentFont)
    .Prop("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint)
    .Prop("ShowHint", &C::ShowHint, &C::SetShowHint)
    .Prop("Hint", &C::Hint, &C::SetHint)
    .Prop("HelpContext", &C::HelpContext, &C::SetHelpContext)
    .Prop("Ctl3D", &C::Ctl3D, &C::SetCtl3D)
    .Prop("ParentCtl3D", &C::ParentCtl3D, &C::SetParentCtl3D)
    .Prop("Visible", &C::Visible, &C::SetVisible);
QNL_END_CLASS

QNL_BEGIN_CLASS(TWinControl)
    .Prop("TabOrder", &C::TabOrder, &C::SetTabOrder)
    .Prop("TabStop", &C::TabStop, &C::SetTabStop);
QNL_END_CLASS

// ---- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this](TObject*) {
    // A font of its own: set by the project, not handed down by the parent.
    if (!FTakingParentFont) FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  Destroying();
  FView.reset();
  SetParent(nullptr);
}

void TControl::ReleaseView() {
  Destroying();
  FView.reset();
}

void TControl::SetView(std::unique_ptr<TControlView> Value) {
  FView = std::move(Value);
  for (auto a : {TControlAspect::acParent, TControlAspect::acBounds, TControlAspect::acFont, TControlAspect::acColor,
                 TControlAspect::acCaption, TControlAspect::acHint, TControlAspect::acEnabled, TControlAspect::acLook,
                 TControlAspect::acVisible})
    Changed(a);
}

void TControl::Changed(TControlAspect Aspect) {
  // A control owned by a form being freed is still whole: its view follows it until the
  // control's own destructor lets go of the view.
  if (FView && !IsLoading()) FView->Changed(Aspect);
}

void TControl::SetParentComponent(TComponent* Value) {
  if (Value && !dynamic_cast<TWinControl*>(Value))
    throw EInvalidOperation("Control '" + Name() + "' cannot be placed in '" + Value->Name() + "'");
  SetParent(static_cast<TWinControl*>(Value));
}

void TControl::SetParent(TWinControl* Value) {
  if (Value == FParent) return;
  for (TControl* p = Value; p; p = p->Parent())
    if (p == this) throw EInvalidOperation("Control '" + Name() + "' cannot be placed in itself");
  if (FParent) {
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (FAlign != alNone && !FParent->IsDestroying()) FParent->Realign();
  }
  FParent = Value;
  if (FParent) {
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->FTabOrder < 0) {
      int32_t order = 0;
      for (TControl* c : FParent->FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) order = std::max(order, w->FTabOrder + 1);
      win->FTabOrder = order;
    }
    FParent->FControls.push_back(this);
    TakeParentFont();
    TakeParentColor();
  }
  Changed(TControlAspect::acParent);
  Changed(TControlAspect::acVisible);
  if (FParent && FAlign != alNone && !IsLoading()) FParent->Realign();
}

void TControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Changed(TControlAspect::acBounds);
  if (FAlign != alNone && FParent && !IsLoading()) FParent->Realign();
}

void TControl::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(TControlAspect::acCaption);
  if (IsLoading()) return;
  AdjustSize();
  TextChanged();
}

void TControl::SetHint(const std::string& Value) {
  FHint = Value;
  Changed(TControlAspect::acHint);
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  TakeParentFont();
}

void TControl::SetColor(TColor Value) {
  FParentColor = false;
  if (FColor == Value) return;
  FColor = Value;
  ColorChanged();
}

void TControl::SetParentColor(bool Value) {
  FParentColor = Value;
  TakeParentColor();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(TControlAspect::acVisible);
  if (FAlign != alNone && FParent && !IsLoading()) FParent->Realign();
  if (!IsLoading()) VisibleChanged();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed(TControlAspect::acEnabled);
}

void TControl::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (!IsLoading()) AdjustSize();
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (FParent && !IsLoading()) FParent->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->FVisible) return false;
  return true;
}

bool TControl::EnabledInTree() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->FEnabled) return false;
  return true;
}

void TControl::Loaded() {
  TComponent::Loaded();
  TakeParentFont();
  TakeParentColor();
  if (FView)
    for (auto a :
         {TControlAspect::acParent, TControlAspect::acBounds, TControlAspect::acFont, TControlAspect::acColor,
          TControlAspect::acCaption, TControlAspect::acHint, TControlAspect::acEnabled, TControlAspect::acLook})
      FView->Changed(a);
  AdjustSize();
  if (FAlign != alNone && FParent) FParent->Realign();
  if (FView) FView->Changed(TControlAspect::acVisible);
}

namespace {
int32_t Scale(int32_t Value, int32_t M, int32_t D) {
  return static_cast<int32_t>((static_cast<int64_t>(Value) * M + (Value >= 0 ? D / 2 : -D / 2)) / D);
}
} // namespace

void TControl::ChangeScale(int32_t M, int32_t D) {
  if (D <= 0 || M <= 0 || M == D) return;
  int32_t r = Scale(FLeft + FWidth, M, D), b = Scale(FTop + FHeight, M, D);
  int32_t l = Scale(FLeft, M, D), t = Scale(FTop, M, D);
  SetBounds(l, t, r - l, b - t);
  if (!FParentFont) {
    TFlagGuard taking(FTakingParentFont); // scaling keeps the font the control's own
    FFont->SetHeight(Scale(FFont->Height(), M, D));
  }
}

void TControl::FontChanged() {
  Changed(TControlAspect::acFont);
  if (!IsLoading()) AdjustSize();
}

void TControl::ColorChanged() { Changed(TControlAspect::acColor); }

void TControl::TakeParentFont() {
  if (!FParentFont || !FParent) return;
  TFlagGuard taking(FTakingParentFont);
  FFont->Assign(FParent->Font());
}

void TControl::TakeParentColor() {
  if (!FParentColor || !FParent || FColor == FParent->Color()) return;
  FColor = FParent->Color();
  ColorChanged();
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { SetTabStop(true); }

TWinControl::~TWinControl() {
  Destroying();
  ReleaseControls();
}

void TWinControl::ReleaseControls() {
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

void TWinControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (IsLoading()) return;
  AnchorChildren();
  Realign();
}

void TWinControl::AnchorChildren() {
  int32_t cw = ClientWidth(), ch = ClientHeight();
  if (FAnchorWidth >= 0) {
    int32_t dx = cw - FAnchorWidth, dy = ch - FAnchorHeight;
    for (TControl* c : FControls) {
      if (c->Align() != alNone || (dx == 0 && dy == 0)) continue;
      TAnchors a = c->Anchors();
      int32_t l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
      if (a.Contains(akRight)) (a.Contains(akLeft) ? w : l) += dx;
      if (a.Contains(akBottom)) (a.Contains(akTop) ? h : t) += dy;
      c->SetBounds(l, t, w, h);
    }
  }
  FAnchorWidth = cw;
  FAnchorHeight = ch;
}

void TWinControl::Realign() {
  if (FAligning || IsLoading() || IsDestroying()) return;
  TFlagGuard aligning(FAligning);
  int32_t left = 0, top = 0, right = ClientWidth(), bottom = ClientHeight();
  AdjustClientRect(left, top, right, bottom);
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

void TWinControl::SetTabOrder(int32_t Value) {
  if (IsLoading() || !Parent()) {
    FTabOrder = Value;
    return;
  }
  std::vector<TWinControl*> list = Parent()->TabList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  size_t at = Value < 0 ? list.size() : std::min(static_cast<size_t>(Value), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
  for (size_t i = 0; i < list.size(); ++i) list[i]->FTabOrder = static_cast<int32_t>(i);
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> list;
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) list.push_back(w);
  std::stable_sort(list.begin(), list.end(),
                   [](const TWinControl* A, const TWinControl* B) { return A->TabOrder() < B->TabOrder(); });
  return list;
}

bool TWinControl::CanFocus() const { return FTabStop && Showing() && EnabledInTree(); }

void TWinControl::Loaded() {
  // The anchored children were placed for the stored size, not the one Loaded aligns to.
  FAnchorWidth = ClientWidth();
  FAnchorHeight = ClientHeight();
  TControl::Loaded();
  Realign();
}

void TWinControl::ChangeScale(int32_t M, int32_t D) {
  TControl::ChangeScale(M, D);
  for (TControl* c : FControls) c->ChangeScale(M, D);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : FControls) c->TakeParentFont();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : FControls) c->TakeParentColor();
}

TCustomForm* GetParentForm(const TControl* Control) {
  for (const TControl* c = Control; c; c = c->Parent())
    if (auto* form = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(form);
  return nullptr;
}

} // namespace qnl
