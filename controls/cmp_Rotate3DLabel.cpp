// The rotated 3-D label: a caption drawn at any angle, raised, sunken or shadowed.
#include "controls/cmp_Rotate3DLabel.h"

#include <cmath>

#include "controls/MarkedInstance.h"
#include "vcl/PaintView.h"

namespace qnl {

QNL_BEGIN_CLASS(TRotate3DLabel)
    .Sub("LabelStyle", &C::LabelStyle)
    .Prop("MyTransparent", &C::MyTransparent, &C::SetMyTransparent)
    .Prop("Alignment", &C::Alignment, &C::SetAlignment)
    .Prop("ShowAccelChar", &C::ShowAccelChar, &C::SetShowAccelChar)
    .Ref<TWinControl>("FocusControl", &C::FocusControl, &C::SetFocusControl)
    .Prop("Tag", &C::Tag, &C::SetTag)
    .Prop("OnClick", &C::OnClick)
    .Prop("OnDblClick", &C::OnDblClick);
QNL_END_CLASS

namespace {

// Each product is cut toward zero by itself, as the layout of the caption has it.
int32_t Trunc(double Value) { return static_cast<int32_t>(std::trunc(Value)); }

} // namespace

TRotate3DLabel::TRotate3DLabel(TComponent* AOwner) : TControl(AOwner), FLabelStyle(std::make_unique<TLabelStyle>()) {
  SetParentColor(true);
  SetAutoSize(false);
  Font()->SetName("Arial");
  Font()->SetStyle(TFontStyles{fsBold});
  FLabelStyle->OnChange = [this](TObject*) { Repaint(); };
  SetView(NewPaintView(
      this, [this](TCanvas& Canvas) { Paint(Canvas); },
      [this](TClickKind Kind) {
        const TNotifyEvent& event = Kind == TClickKind::ckClick ? OnClick : OnDblClick;
        if (event) event(this);
      }));
  SetBounds(0, 0, 65, 17);
  TMarkedInstance<TRotate3DLabel>::Created(this);
}

TRotate3DLabel::~TRotate3DLabel() {
  TMarkedInstance<TRotate3DLabel>::Release(this);
  SetFocusControl(nullptr);
  ReleaseView();
}

void TRotate3DLabel::SetLabelStyle(const TLabelStyle* Value) {
  FLabelStyle->Assign(Value);
  Repaint();
}

void TRotate3DLabel::SetMyTransparent(bool Value) {
  FMyTransparent = Value;
  // The background is the label's own colour from now on, not the parent's.
  if (!Value) SetParentColor(false);
  Repaint();
}

void TRotate3DLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Repaint();
}

void TRotate3DLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TRotate3DLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TRotate3DLabel::SetTag(int32_t Value) { TMarkedInstance<TRotate3DLabel>::Write(this, Value); }

void TRotate3DLabel::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TRotate3DLabel*>(Source);
  if (!other) return TControl::Assign(Source);
  SetCaption(other->Caption());
  FLabelStyle->Assign(other->LabelStyle());
  SetFont(other->Font());
  SetAlign(other->Align());
  SetBounds(other->Left(), other->Top(), other->Width(), other->Height());
  SetMyTransparent(other->MyTransparent());
}

void TRotate3DLabel::Paint(TCanvas& Canvas) {
  double theta = FLabelStyle->Angle() * kDegToRad;
  FCos = std::cos(theta);
  FSin = std::sin(theta);
  TColor textColor = Font()->Color();
  // A label with a background gives up its 3-D effect, and keeps it given up.
  if (!FMyTransparent) FLabelStyle->SetAStyle3D(A3dNormal);

  int32_t highlight = 0, shadow = 0;
  if (FLabelStyle->AStyle3D() == A3dRaised) {
    highlight = -1;
    shadow = 1;
  } else if (FLabelStyle->AStyle3D() == A3dResit) {
    highlight = 1;
    shadow = -1;
  }

  const std::string& caption = Caption();
  TSize text = Canvas.TextExtent(*Font(), caption);
  const double w = text.Width, h = text.Height;
  int32_t cx = Width() / 2, cy = Height() / 2;
  int32_t x = FAlignment == taLeftJustify    ? 0
              : FAlignment == taRightJustify ? Width() - text.Width
                                             : cx - Trunc(w / 2 * FCos) - Trunc(h / 2 * FSin);
  int32_t y = cy + Trunc(w / 2 * FSin) - Trunc(h / 2 * FCos);

  if (!FMyTransparent) {
    double a = (w + 10) / 2, b = (h + 7) / 2;
    Canvas.Polygon({{cx - Trunc(a * FCos) - Trunc(b * FSin), cy + Trunc(a * FSin) - Trunc(b * FCos)},
                    {cx + Trunc(a * FCos) - Trunc(b * FSin), cy - Trunc(a * FSin) - Trunc(b * FCos)},
                    {cx + Trunc(a * FCos) + Trunc(b * FSin), cy - Trunc(a * FSin) + Trunc(b * FCos)},
                    {cx - Trunc(a * FCos) + Trunc(b * FSin), cy + Trunc(a * FSin) + Trunc(b * FCos)}},
                   Color());
  }

  int32_t escapement = FLabelStyle->Angle() * 10;
  auto layer = [&](int32_t Dx, int32_t Dy, TColor Color) {
    Canvas.TextOut(*Font(), x + Dx, y + Dy, caption, Color, escapement);
  };
  switch (FLabelStyle->AStyle3D()) {
    case A3dRaised:
    case A3dResit:
      layer(highlight, highlight, FLabelStyle->AShadeLeftTop());
      layer(shadow, shadow, FLabelStyle->AShadeRightBottom());
      break;
    case A3dShadowed:
      layer(FLabelStyle->AHShadeOffSet(), FLabelStyle->AVShadeOffSet(), FLabelStyle->AShadeRightBottom());
      break;
    case A3dNormal: break;
  }
  layer(0, 0, textColor);
}

} // namespace qnl
