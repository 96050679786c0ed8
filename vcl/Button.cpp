// Push buttons and bitmap buttons.
#include "vcl/Button.h"

#include <QPushButton>

#include "vcl/ControlView.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TButton)
    .Prop("Cancel", &C::Cancel, &C::SetCancel)
    .Prop("Default", &C::Default, &C::SetDefault)
    .Prop("ModalResult", &C::ModalResult, &C::SetModalResult)
    .Prop("OnClick", &C::OnClick);
QNL_END_CLASS

QNL_BEGIN_CLASS(TGlyphBitmap).Binary("Data", &C::Data, &C::SetData);
QNL_END_CLASS

QNL_BEGIN_CLASS(TBitBtn)
    .Prop("Kind", &C::Kind, &C::SetKind)
    .Sub("Glyph", &C::StoredGlyph)
    .Prop("Layout", &C::Layout, &C::SetLayout)
    .Prop("Margin", &C::Margin, &C::SetMargin)
    .Prop("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
    .Prop("Spacing", &C::Spacing, &C::SetSpacing)
    .Prop("Style", &C::Style, &C::SetStyle);
QNL_END_CLASS

namespace {

class TButtonView : public TWidgetView {
public:
  explicit TButtonView(TButton* Button) : TWidgetView(Button, NewControlWidget<QPushButton>()), FButton(Button) {
    // A focused button takes Enter itself; otherwise the form gives it to the Default one.
    ButtonWidget()->setAutoDefault(true);
    QObject::connect(ButtonWidget(), &QPushButton::clicked,
                     [this] { GuardHandler(FButton, [this] { FButton->Click(); }); });
  }
  QPushButton* ButtonWidget() const { return static_cast<QPushButton*>(Widget()); }

protected:
  void ApplyCaption() override { ButtonWidget()->setText(DisplayText(FButton, FButton->Caption())); }
  void ApplyLook() override {
    ButtonWidget()->setDefault(FButton->Default());
    if (auto* bitBtn = dynamic_cast<TBitBtn*>(FButton)) ApplyGlyph(*bitBtn);
  }
  // The glyph's up image, and its disabled one for a disabled button, as Qt's icon modes.
  void ApplyGlyph(const TBitBtn& Button) {
    const TBitmap& glyph = *Button.Glyph();
    if (glyph.Empty()) {
      ButtonWidget()->setIcon(QIcon());
      return;
    }
    QPixmap up = GlyphPixmap(glyph, Button.NumGlyphs(), TButtonState::bsUp);
    QIcon icon;
    icon.addPixmap(up, QIcon::Normal);
    icon.addPixmap(GlyphPixmap(glyph, Button.NumGlyphs(), TButtonState::bsDisabled), QIcon::Disabled);
    ButtonWidget()->setIcon(icon);
    ButtonWidget()->setIconSize(up.size());
  }

private:
  TButton* FButton;
};

struct TKindInfo {
  const char* Caption;
  TModalResult Result;
};

const TKindInfo& KindInfo(TBitBtnKind Kind) {
  static const TKindInfo kinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                    {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                    {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                    {"&Ignore", mrIgnore}, {"&All", mrAll}};
  return kinds[Kind];
}

// The modal form a button ends: the innermost modal one it is on, else its own form.
TCustomForm* ModalFormOf(TControl* Control) {
  TCustomForm* first = nullptr;
  for (TControl* c = Control; c; c = c->Parent()) {
    auto* form = dynamic_cast<TCustomForm*>(c);
    if (!form) continue;
    if (form->Modal()) return form;
    if (!first) first = form;
  }
  return first;
}

} // namespace

// ---- TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetView(std::make_unique<TButtonView>(this));
  SetBounds(0, 0, 75, 25);
}

QPushButton* TButton::ButtonWidget() const { return static_cast<QPushButton*>(WidgetOf(this)); }

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  Changed(TControlAspect::acLook);
}

void TButton::Click() {
  if (OnClick) OnClick(this);
  if (FModalResult != mrNone)
    if (TCustomForm* form = ModalFormOf(this)) form->SetModalResult(FModalResult);
}

// ---- TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(new TGlyphBitmap()) {
  FGlyph->OnDataChange = [this] { Changed(TControlAspect::acLook); };
}

void TBitBtn::SetNumGlyphs(int32_t Value) {
  FNumGlyphs = Value;
  Changed(TControlAspect::acLook);
}

TBitBtn::~TBitBtn() { delete FGlyph; }

void TBitBtn::SetKind(TBitBtnKind Value) {
  FKind = Value;
  if (Value == bkCustom) return;
  SetDefault(Value == bkOK || Value == bkYes);
  SetCancel(Value == bkCancel || Value == bkNo);
  SetModalResult(KindInfo(Value).Result);
  // A stored caption wins over the kind's; it is read after Kind, so Loaded decides.
  if (!IsLoading()) SetCaption(KindInfo(Value).Caption);
}

void TBitBtn::Loaded() {
  TButton::Loaded();
  if (FKind != bkCustom && Caption().empty()) SetCaption(KindInfo(FKind).Caption);
}

void TBitBtn::Click() {
  TButton::Click();
  if (FKind == bkClose)
    if (TCustomForm* form = ModalFormOf(this)) form->Close();
}

} // namespace qnl
