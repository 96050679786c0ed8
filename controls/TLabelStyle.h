// The look of a rotated 3-D label: angle, effect and the effect's colours and offsets.
#pragma once

#include <cstdint>

#include "rtl/Classes.h"
#include "rtl/Graphics.h"

namespace qnl {

QNL_ENUM(T3DEffectShort, A3dNormal, A3dResit, A3dRaised, A3dShadowed)

// Declared defaults: a designer stores a value only when it differs from these. Note that
// AShadeLTSet starts False but its declared default is True, so False is the value stored.
constexpr int32_t kDefaultAngle = 0;
constexpr T3DEffectShort kDefaultStyle3D = A3dRaised;
constexpr TColor kDefaultShadeRightBottom = 8421504;
constexpr TColor kDefaultShadeLeftTop = 16777215;
constexpr bool kDefaultShadeLTSet = true;
constexpr int32_t kDefaultHShadeOffSet = 5;
constexpr int32_t kDefaultVShadeOffSet = -5;

// The style of a rotated label. Each writer fires OnChange only when the label must be
// drawn again. While AShadeLTSet is True the highlight is white and writes to
// AShadeLeftTop are ignored; switching it off brings the earlier highlight back.
class TLabelStyle : public TPersistent {
  QNL_CLASS(TLabelStyle, TPersistent)
public:
  TLabelStyle() = default;

  // Degrees counter-clockwise, 0 to 359; anything else is taken as 0.
  int32_t Angle() const { return FAngle; }
  void SetAngle(int32_t Value);
  T3DEffectShort AStyle3D() const { return FAStyle3D; }
  void SetAStyle3D(T3DEffectShort Value);
  TColor AShadeRightBottom() const { return FAShadeRightBottom; }
  void SetAShadeRightBottom(TColor Value);
  TColor AShadeLeftTop() const { return FAShadeLeftTop; }
  void SetAShadeLeftTop(TColor Value);
  bool AShadeLTSet() const { return FAShadeLTSet; }
  void SetAShadeLTSet(bool Value);
  // The shadow's offset for A3dShadowed.
  int32_t AHShadeOffSet() const { return FAHShadeOffSet; }
  void SetAHShadeOffSet(int32_t Value);
  int32_t AVShadeOffSet() const { return FAVShadeOffSet; }
  void SetAVShadeOffSet(int32_t Value);

  // From another style: all seven values; fires.
  void Assign(const TPersistent* Source) override;

  TNotifyEvent OnChange;

private:
  void Change();
  bool ShowsHighlight() const { return FAStyle3D == A3dResit || FAStyle3D == A3dRaised; }
  int32_t FAngle = 0;
  T3DEffectShort FAStyle3D = A3dRaised;
  TColor FAShadeRightBottom = 0x808080;
  TColor FAShadeLeftTop = 0xFFFFFF;
  bool FAShadeLTSet = false;
  int32_t FAHShadeOffSet = 5;
  int32_t FAVShadeOffSet = -5;
  TColor FSavedShadeLeftTop = 0xFFFFFF; // the highlight while AShadeLTSet holds it white
};

} // namespace qnl
