// Labels, bitmap buttons and panels.
#include "vcl/StdCtrls.h"

#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "rtl/Forms.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TLabel)
    .Prop("Alignment", &C::Alignment, &C::SetAlignment)
    .Prop("Color", &C::Color, &C::SetColor)
    .WithIdents(ColorIdents())
    .Prop("Transparent", &C::Transparent, &C::SetTransparent)
    .Prop("WordWrap", &C::WordWrap, &C::SetWordWrap);
QNL_END_CLASS

QNL_BEGIN_CLASS(TBitBtn)
    .Prop("Cancel", &C::Cancel, &C::SetCancel)
    .Prop("Default", &C::Default, &C::SetDefault)
    .Prop("Kind", &C::Kind, &C::SetKind)
    .Prop("Layout", &C::Layout, &C::SetLayout)
    .Prop("Margin", &C::Margin, &C::SetMargin)
    .Prop("ModalResult", &C::ModalResult, &C::SetModalResult)
    .Prop("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
    .Prop("Spacing", &C::Spacing, &C::SetSpacing)
    .Prop("TabOrder", &C::TabOrder, &C::SetTabOrder)
    .Prop("TabStop", &C::TabStop, &C::SetTabStop)
    .Prop("OnClick", &C::OnClick);
QNL_END_CLASS

QNL_BEGIN_CLASS(TPanel).Prop("Color", &C::Color, &C::SetColor).WithIdents(ColorIdents());
QNL_END_CLASS

namespace {

// A label's caption without its accelerator marks.
std::string WithoutAccelerators(const std::string& Text) {
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != '&') {
      out += Text[i];
    } else if (i + 1 < Text.size() && Text[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

void SetBackground(QWidget* Widget, TColor Color, bool Fill) {
  QPalette pal = Widget->palette();
  pal.setColor(QPalette::Window, QtColor(Color));
  Widget->setPalette(pal);
  Widget->setAutoFillBackground(Fill);
}

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

} // namespace

// ---- TLabel

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner, NewControlWidget<QLabel>()) {
  LabelWidget()->setTextFormat(Qt::PlainText);
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
  ApplyLook();
}

QLabel* TLabel::LabelWidget() const { return static_cast<QLabel*>(Widget()); }

void TLabel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  if (LabelWidget()) LabelWidget()->setWordWrap(Value);
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  ApplyLook();
}

void TLabel::SetTransparent(bool Value) {
  FTransparent = Value;
  ApplyLook();
}

void TLabel::SetColor(TColor Value) {
  FColor = Value;
  ApplyLook();
}

void TLabel::ApplyLook() {
  QLabel* label = LabelWidget();
  if (!label) return;
  Qt::Alignment h = FAlignment == taRightJustify ? Qt::AlignRight
                    : FAlignment == taCenter     ? Qt::AlignHCenter
                                                 : Qt::AlignLeft;
  label->setAlignment(h | Qt::AlignTop);
  SetBackground(label, FColor, !FTransparent);
}

void TLabel::ApplyCaption() {
  if (QLabel* label = LabelWidget()) label->setText(DisplayText(WithoutAccelerators(Caption())));
}

void TLabel::AdjustSize() {
  QLabel* label = LabelWidget();
  // The stored size holds until the label is loaded, and while aligned to a side.
  if (!label || !AutoSize() || IsLoading() || Align() != alNone) return;
  if (FWordWrap) {
    SetBounds(Left(), Top(), Width(), label->heightForWidth(Width()));
  } else {
    QSize size = label->sizeHint();
    SetBounds(Left(), Top(), size.width(), size.height());
  }
}

// ---- TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<QPushButton>()) {
  QPushButton* button = ButtonWidget();
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this] { Guard([this] { Click(); }); });
  SetBounds(0, 0, 75, 25);
}

QPushButton* TBitBtn::ButtonWidget() const { return static_cast<QPushButton*>(Widget()); }

void TBitBtn::SetDefault(bool Value) {
  FDefault = Value;
  if (QPushButton* button = ButtonWidget()) button->setDefault(Value);
}

void TBitBtn::SetCancel(bool Value) {
  FCancel = Value;
  if (!Value) {
    delete FEscape.data();
  } else if (!FEscape && ButtonWidget()) {
    // Escape anywhere in the button's window presses it; the shortcut is the button's child.
    FEscape = new QShortcut(QKeySequence(Qt::Key_Escape), ButtonWidget());
    FEscape->setContext(Qt::WindowShortcut);
    QObject::connect(FEscape, &QShortcut::activated, [this] {
      if (ButtonWidget() && ButtonWidget()->isEnabled()) ButtonWidget()->click();
    });
  }
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  FKind = Value;
  if (Value == bkCustom) return;
  SetDefault(Value == bkOK || Value == bkYes);
  SetCancel(Value == bkCancel || Value == bkNo);
  FModalResult = KindInfo(Value).Result;
  // A stored caption wins over the kind's; it is read after Kind, so Loaded decides.
  if (!IsLoading()) SetCaption(KindInfo(Value).Caption);
}

void TBitBtn::Loaded() {
  TWinControl::Loaded();
  if (FKind != bkCustom && Caption().empty()) SetCaption(KindInfo(FKind).Caption);
}

void TBitBtn::Click() {
  if (OnClick) OnClick(this);
  if (FKind == bkClose) {
    for (TComponent* p = Parent(); p;) {
      if (auto* form = dynamic_cast<TCustomForm*>(p)) {
        form->Close();
        break;
      }
      auto* ctl = dynamic_cast<TControl*>(p);
      p = ctl ? ctl->Parent() : nullptr;
    }
  }
}

void TBitBtn::ApplyCaption() {
  if (QPushButton* button = ButtonWidget()) button->setText(DisplayText(Caption()));
}

// ---- TPanel

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<QFrame>()) {
  auto* frame = static_cast<QFrame*>(Widget());
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  FCaptionLabel = new QLabel(frame);
  FCaptionLabel->setTextFormat(Qt::PlainText);
  FCaptionLabel->setAlignment(Qt::AlignCenter);
  FCaptionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
  FCaptionLabel->lower();
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetColor(TColor Value) {
  FColor = Value;
  if (Widget()) SetBackground(Widget(), Value, true);
}

void TPanel::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FCaptionLabel) FCaptionLabel->setGeometry(0, 0, Width(), Height());
}

void TPanel::ApplyCaption() {
  // Called from the base before the caption label exists.
  if (!FCaptionLabel || !Widget()) return;
  FCaptionLabel->setText(DisplayText(WithoutAccelerators(Caption())));
}

} // namespace qnl
