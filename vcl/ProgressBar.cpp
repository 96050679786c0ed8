// A progress bar.
#include "vcl/ProgressBar.h"

#include <QProgressBar>

#include "vcl/ControlView.h"

namespace qnl {

QNL_BEGIN_CLASS(TProgressBar)
    .Prop("Min", &C::Min, &C::SetMin)
    .Prop("Max", &C::Max, &C::SetMax)
    .Prop("Position", &C::Position, &C::SetPosition)
    .Prop("Step", &C::Step, &C::SetStep)
    .Prop("Smooth", &C::Smooth, &C::SetSmooth);
QNL_END_CLASS

namespace {

class TProgressBarView : public TWidgetView {
public:
  explicit TProgressBarView(TProgressBar* Bar) : TWidgetView(Bar, NewControlWidget<QProgressBar>()), FBar(Bar) {
    BarWidget()->setTextVisible(false);
  }
  QProgressBar* BarWidget() const { return static_cast<QProgressBar*>(Widget()); }

protected:
  void ApplyLook() override {
    BarWidget()->setRange(FBar->Min(), FBar->Max());
    BarWidget()->setValue(FBar->Position());
  }

private:
  TProgressBar* FBar;
};

} // namespace

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(false);
  SetView(std::make_unique<TProgressBarView>(this));
  SetBounds(0, 0, 150, 16);
}

QProgressBar* TProgressBar::BarWidget() const { return static_cast<QProgressBar*>(WidgetOf(this)); }

void TProgressBar::SetMin(int32_t Value) {
  FMin = Value;
  if (!IsLoading()) FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
  Changed(TControlAspect::acLook);
}

void TProgressBar::SetMax(int32_t Value) {
  FMax = Value;
  if (!IsLoading()) FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
  Changed(TControlAspect::acLook);
}

void TProgressBar::SetPosition(int32_t Value) {
  // While loading Min and Max may come after the position.
  FPosition = IsLoading() ? Value : std::clamp(Value, FMin, std::max(FMin, FMax));
  Changed(TControlAspect::acLook);
}

} // namespace qnl
