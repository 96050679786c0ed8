// The look of a rotated 3-D label: angle, effect and the effect's colours and offsets.
#include "controls/TLabelStyle.h"

namespace qnl {

QNL_BEGIN_CLASS(TLabelStyle)
    .Prop("Angle", &C::Angle, &C::SetAngle)
    .Prop("AStyle3D", &C::AStyle3D, &C::SetAStyle3D)
    .Prop("AShadeRightBottom", &C::AShadeRightBottom, &C::SetAShadeRightBottom)
    .WithIdents(ColorIdents())
    .Prop("AShadeLeftTop", &C::AShadeLeftTop, &C::SetAShadeLeftTop)
    .WithIdents(ColorIdents())
    .Prop("AShadeLTSet", &C::AShadeLTSet, &C::SetAShadeLTSet)
    .Prop("AHShadeOffSet", &C::AHShadeOffSet, &C::SetAHShadeOffSet)
    .Prop("AVShadeOffSet", &C::AVShadeOffSet, &C::SetAVShadeOffSet);
QNL_END_CLASS

namespace {
constexpr TColor kWhite = 0xFFFFFF;
} // namespace

void TLabelStyle::Change() {
  if (OnChange) OnChange(this);
}

void TLabelStyle::SetAngle(int32_t Value) {
  if (Value < 0 || Value >= 360) Value = 0;
  if (FAngle == Value) return;
  FAngle = Value;
  Change();
}

void TLabelStyle::SetAStyle3D(T3DEffectShort Value) {
  if (FAStyle3D == Value) return;
  FAStyle3D = Value;
  Change();
}

void TLabelStyle::SetAShadeRightBottom(TColor Value) {
  if (FAShadeRightBottom == Value) return;
  FAShadeRightBottom = Value;
  Change();
}

void TLabelStyle::SetAShadeLeftTop(TColor Value) {
  if (FAShadeLTSet || FAShadeLeftTop == Value) return;
  FAShadeLeftTop = Value;
  Change();
}

void TLabelStyle::SetAShadeLTSet(bool Value) {
  bool restored = false;
  if (FAShadeLTSet != Value) {
    FAShadeLTSet = Value;
    if (Value) {
      FSavedShadeLeftTop = FAShadeLeftTop;
      FAShadeLeftTop = kWhite;
    } else {
      restored = FAShadeLeftTop != FSavedShadeLeftTop;
      FAShadeLeftTop = FSavedShadeLeftTop;
    }
  }
  // Switching off brings back a highlight the label shows, so it is drawn again as well.
  bool visible = ShowsHighlight() && FSavedShadeLeftTop != kWhite;
  if ((FAShadeLTSet && visible) || (restored && ShowsHighlight())) Change();
}

void TLabelStyle::SetAHShadeOffSet(int32_t Value) {
  if (FAHShadeOffSet == Value) return;
  FAHShadeOffSet = Value;
  if (FAStyle3D == A3dShadowed) Change();
}

void TLabelStyle::SetAVShadeOffSet(int32_t Value) {
  if (FAVShadeOffSet == Value) return;
  FAVShadeOffSet = Value;
  if (FAStyle3D == A3dShadowed) Change();
}

void TLabelStyle::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TLabelStyle*>(Source);
  if (!other) return TPersistent::Assign(Source);
  FAngle = other->FAngle;
  FAStyle3D = other->FAStyle3D;
  FAShadeRightBottom = other->FAShadeRightBottom;
  FAShadeLeftTop = other->FAShadeLeftTop;
  FAShadeLTSet = other->FAShadeLTSet;
  FAHShadeOffSet = other->FAHShadeOffSet;
  FAVShadeOffSet = other->FAVShadeOffSet;
  Change();
}

} // namespace qnl
