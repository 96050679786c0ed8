// The backdrop: a panel filled with a colour gradient.
#include "controls/cmp_TBackDrop.h"

#include "controls/MarkedInstance.h"
#include "rtl/Math.h"
#include "vcl/PaintView.h"

namespace qnl {

QNL_BEGIN_CLASS(TBackdrop)
    .Prop("Direction", &C::Direction, &C::SetDirection)
    .Prop("StartColor", &C::StartColor, &C::SetStartColor)
    .WithIdents(ColorIdents())
    .Prop("EndColor", &C::EndColor, &C::SetEndColor)
    .WithIdents(ColorIdents())
    .Prop("Tag", &C::Tag, &C::SetTag);
QNL_END_CLASS

namespace {

// How a direction lays out the gradient.
struct TGradientLayout {
  bool StartFirst; // StartColor at the first edge (both edges when mirrored)
  bool Vertical;   // vertical stripes across the width, else horizontal ones down the height
  bool Mirrored;
};

TGradientLayout LayoutOf(TDirection Direction) {
  switch (Direction) {
    case bdUp: return {true, false, false};
    case bdDown: return {false, false, false};
    case bdLeft: return {true, true, false};
    case bdRight: return {false, true, false};
    case bdHorzIn: return {false, false, true};
    case bdHorzOut: return {true, false, true};
    case bdVertIn: return {true, true, true};
    case bdVertOut: return {false, true, true};
  }
  return {true, false, false};
}

struct TRgb {
  int R, G, B;
};

TRgb RgbOf(TColor Color) {
  uint32_t rgb = ColorToRGB(Color);
  return {static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>((rgb >> 16) & 0xFF)};
}

// Always 256 bands over Extent, so a small control skips bands rather than colours; a
// mirrored gradient runs its 128 steps out from the middle to both edges.
void PaintGradient(TCanvas& Canvas, const TGradientLayout& Layout, TColor First, TColor Second, int32_t Width,
                   int32_t Height) {
  TRgb c1 = RgbOf(First), c2 = RgbOf(Second);
  int dR = c2.R - c1.R, dG = c2.G - c1.G, dB = c2.B - c1.B;
  int32_t extent = Layout.Vertical ? Width : Height;
  int32_t steps = Layout.Mirrored ? 127 : 255;
  auto band = [&](int32_t From, int32_t To, TColor Color) {
    if (Layout.Vertical)
      Canvas.FillRect(From, 0, To, Height, Color);
    else
      Canvas.FillRect(0, From, Width, To, Color);
  };
  for (int32_t i = 0; i <= steps; ++i) {
    TColor color =
        static_cast<TColor>(((c1.R + MulDiv(i, dR, steps)) & 0xFF) | (((c1.G + MulDiv(i, dG, steps)) & 0xFF) << 8) |
                            (((c1.B + MulDiv(i, dB, steps)) & 0xFF) << 16));
    band(MulDiv(i, extent, 256), MulDiv(i + 1, extent, 256), color);
    if (Layout.Mirrored) band(MulDiv(255 - i, extent, 256), MulDiv(256 - i, extent, 256), color);
  }
}

} // namespace

TBackdrop::TBackdrop(TComponent* AOwner) : TPanel(AOwner) {
  // Only the gradient is drawn, so no bevel takes room from aligned children either.
  SetBevelOuter(bvNone);
  SetView(NewPaintView(this, [this](TCanvas& Canvas) { Paint(Canvas); }));
  SetAlign(alClient);
  TMarkedInstance<TBackdrop>::Created(this);
}

TBackdrop::~TBackdrop() {
  TMarkedInstance<TBackdrop>::Release(this);
  ReleaseView();
}

void TBackdrop::SetDirection(TDirection Value) {
  if (FDirection == Value) return;
  FDirection = Value;
  Changed(TControlAspect::acLook);
}

void TBackdrop::SetStartColor(TColor Value) {
  if (FStartColor == Value) return;
  FStartColor = Value;
  Changed(TControlAspect::acLook);
}

void TBackdrop::SetEndColor(TColor Value) {
  if (FEndColor == Value) return;
  FEndColor = Value;
  Changed(TControlAspect::acLook);
}

void TBackdrop::SetTag(int32_t Value) { TMarkedInstance<TBackdrop>::Write(this, Value); }

void TBackdrop::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TBackdrop*>(Source);
  if (!other) return TPanel::Assign(Source);
  FDirection = other->FDirection;
  FEndColor = other->FEndColor;
  FStartColor = other->FStartColor;
  SetAlign(other->Align());
  Changed(TControlAspect::acLook);
}

void TBackdrop::Paint(TCanvas& Canvas) const {
  TGradientLayout layout = LayoutOf(FDirection);
  TColor first = layout.StartFirst ? FStartColor : FEndColor;
  TColor second = layout.StartFirst ? FEndColor : FStartColor;
  PaintGradient(Canvas, layout, first, second, Width(), Height());
}

} // namespace qnl
