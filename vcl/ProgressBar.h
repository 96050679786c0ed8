// A progress bar.
#pragma once

#include "rtl/Controls.h"

class QProgressBar;

namespace qnl {

// A bar filled from Min to Position out of Max; StepIt advances it by Step.
class TProgressBar : public TWinControl {
  QNL_CLASS(TProgressBar, TWinControl)
public:
  explicit TProgressBar(TComponent* AOwner);

  int32_t Min() const { return FMin; }
  void SetMin(int32_t Value);
  int32_t Max() const { return FMax; }
  void SetMax(int32_t Value);
  // Kept within Min..Max.
  int32_t Position() const { return FPosition; }
  void SetPosition(int32_t Value);
  int32_t Step() const { return FStep; }
  void SetStep(int32_t Value) { FStep = Value; }
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value) { FSmooth = Value; }
  void StepIt() { SetPosition(FPosition + FStep); }
  void StepBy(int32_t Delta) { SetPosition(FPosition + Delta); }
  QProgressBar* BarWidget() const;

private:
  int32_t FMin = 0;
  int32_t FMax = 100;
  int32_t FPosition = 0;
  int32_t FStep = 10;
  bool FSmooth = false;
};

} // namespace qnl
