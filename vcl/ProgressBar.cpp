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
    // The widget would repaint at once at every step; a bar moved thousands of times a second
    // (the copy progress) is painted with its window instead.
    QProgressBar* bar = BarWidget();
    bool updates = bar->updatesEnabled();
    bar->setUpdatesEnabled(false);
    bar->setRange(FBar->Min(), FBar->Max());
    bar->setValue(FBar->Position());
    bar->setUpdatesEnabled(updates);
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
