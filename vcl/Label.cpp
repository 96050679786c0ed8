// A static text.
#include "vcl/Label.h"

#include <QLabel>

#include "vcl/ControlView.h"

namespace qnl {

QNL_BEGIN_CLASS(TLabel)
    .Prop("Alignment", &C::Alignment, &C::SetAlignment)
    .Prop("Layout", &C::Layout, &C::SetLayout)
    .Prop("Transparent", &C::Transparent, &C::SetTransparent)
    .Prop("ShowAccelChar", &C::ShowAccelChar, &C::SetShowAccelChar)
    .Ref<TWinControl>("FocusControl", &C::FocusControl, &C::SetFocusControl)
    .Prop("WordWrap", &C::WordWrap, &C::SetWordWrap);
QNL_END_CLASS

namespace {

class TLabelView : public TWidgetView {
public:
  explicit TLabelView(TLabel* Label) : TWidgetView(Label, NewControlWidget<QLabel>()), FLabel(Label) {
    LabelWidget()->setTextFormat(Qt::PlainText);
  }
  QLabel* LabelWidget() const { return static_cast<QLabel*>(Widget()); }

protected:
  void ApplyColor() override { FillBackground(!FLabel->Transparent()); }
  void ApplyCaption() override {
    // Qt draws the accelerator only for a label with a buddy; without one the mark goes.
    QWidget* buddy = FLabel->ShowAccelChar() ? WidgetOf(FLabel->FocusControl()) : nullptr;
    const std::string& caption = FLabel->Caption();
    LabelWidget()->setText(
        DisplayText(FLabel, buddy || !FLabel->ShowAccelChar() ? caption : WithoutAccelerators(caption)));
    LabelWidget()->setBuddy(buddy);
  }
  void ApplyLook() override {
    Qt::Alignment h = FLabel->Alignment() == taRightJustify ? Qt::AlignRight
                      : FLabel->Alignment() == taCenter     ? Qt::AlignHCenter
                                                            : Qt::AlignLeft;
    Qt::Alignment v = FLabel->Layout() == tlCenter   ? Qt::AlignVCenter
                      : FLabel->Layout() == tlBottom ? Qt::AlignBottom
                                                     : Qt::AlignTop;
    LabelWidget()->setAlignment(h | v);
    LabelWidget()->setWordWrap(FLabel->WordWrap());
    ApplyColor();
    ApplyCaption();
  }

private:
  TLabel* FLabel;
};

} // namespace

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner) {
  SetParentColor(true);
  SetView(std::make_unique<TLabelView>(this));
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

TLabel::~TLabel() { SetFocusControl(nullptr); }

QLabel* TLabel::LabelWidget() const { return static_cast<QLabel*>(WidgetOf(this)); }

void TLabel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Changed(TControlAspect::acLook);
  if (!IsLoading()) AdjustSize();
}

void TLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(TControlAspect::acLook);
}

void TLabel::SetLayout(TTextLayout Value) {
  FLayout = Value;
  Changed(TControlAspect::acLook);
}

void TLabel::SetTransparent(bool Value) {
  FTransparent = Value;
  Changed(TControlAspect::acLook);
}

void TLabel::SetShowAccelChar(bool Value) {
  FShowAccelChar = Value;
  Changed(TControlAspect::acLook);
}

void TLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (FFocusControl) FFocusControl->FreeNotification(this);
  Changed(TControlAspect::acLook);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) {
    FFocusControl = nullptr;
    Changed(TControlAspect::acLook);
  }
}

void TLabel::AdjustSize() {
  QLabel* label = LabelWidget();
  // The stored size holds until the label is loaded, and while aligned to a side.
  if (!label || !AutoSize() || IsLoading() || IsDestroying() || Align() != alNone) return;
  if (FWordWrap) {
    SetBounds(Left(), Top(), Width(), label->heightForWidth(Width()));
  } else {
    QSize size = label->sizeHint();
    SetBounds(Left(), Top(), size.width(), size.height());
  }
}

std::string TLabel::DisplayedText() const { return FShowAccelChar ? WithoutAccelerators(Caption()) : Caption(); }

} // namespace qnl
