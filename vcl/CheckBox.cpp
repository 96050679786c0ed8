// A check box.
#include "vcl/CheckBox.h"

#include <QCheckBox>

#include "vcl/ControlView.h"

namespace qnl {

QNL_BEGIN_CLASS(TCheckBox)
    .Prop("Alignment", &C::Alignment, &C::SetAlignment)
    .Prop("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed)
    .Prop("Checked", &C::Checked, &C::SetChecked)
    .Prop("State", &C::State, &C::SetState)
    .Prop("OnClick", &C::OnClick);
QNL_END_CLASS

namespace {

class TCheckBoxView : public TWidgetView {
public:
  explicit TCheckBoxView(TCheckBox* Box) : TWidgetView(Box, NewControlWidget<QCheckBox>()), FBox(Box) {
    QObject::connect(CheckBoxWidget(), &QCheckBox::stateChanged, [this](int S) {
      if (FApplying) return;
      TCheckBoxState state = S == Qt::Checked ? cbChecked : S == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
      GuardHandler(FBox, [&] { FBox->SetState(state); });
    });
  }
  QCheckBox* CheckBoxWidget() const { return static_cast<QCheckBox*>(Widget()); }

protected:
  void ApplyCaption() override { CheckBoxWidget()->setText(DisplayText(FBox, FBox->Caption())); }
  void ApplyLook() override {
    FApplying = true;
    CheckBoxWidget()->setTristate(FBox->AllowGrayed());
    CheckBoxWidget()->setCheckState(FBox->State() == cbChecked  ? Qt::Checked
                                    : FBox->State() == cbGrayed ? Qt::PartiallyChecked
                                                                : Qt::Unchecked);
    CheckBoxWidget()->setLayoutDirection(FBox->Alignment() == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    FApplying = false;
  }

private:
  TCheckBox* FBox;
  bool FApplying = false;
};

} // namespace

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetView(std::make_unique<TCheckBoxView>(this));
  SetBounds(0, 0, 97, 17);
}

QCheckBox* TCheckBox::CheckBoxWidget() const { return static_cast<QCheckBox*>(WidgetOf(this)); }

void TCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  Changed(TControlAspect::acLook);
  if (!IsLoading() && OnClick) OnClick(this);
}

void TCheckBox::SetAllowGrayed(bool Value) {
  FAllowGrayed = Value;
  Changed(TControlAspect::acLook);
}

void TCheckBox::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(TControlAspect::acLook);
}

std::string TCheckBox::DisplayedText() const {
  return std::string(FState == cbChecked  ? "[x] "
                     : FState == cbGrayed ? "[-] "
                                          : "[ ] ") +
         WithoutAccelerators(Caption());
}

} // namespace qnl
