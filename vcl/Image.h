// A picture on a form.
#pragma once

#include "rtl/Controls.h"
#include "rtl/Graphics.h"

namespace qnl {

// Shows Picture at its own size at the top left, centred (Center) or stretched over the
// control (Stretch); Transparent lets the background show through a bitmap's pixels of its
// bottom-left pixel's colour. It takes no focus.
class TImage : public TWinControl {
  QNL_CLASS(TImage, TWinControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture; }
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

private:
  void PictureChanged();
  TPicture* FPicture;
  bool FCenter = false;
  bool FStretch = false;
  bool FTransparent = false;
};

} // namespace qnl
