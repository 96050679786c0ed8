// A panel: a frame with bevels holding other controls.
#include "vcl/Panel.h"

#include <QPainter>
#include <QWidget>

#include "vcl/ControlView.h"
#include "vcl/Frame3D.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TPanel)
    .Prop("Alignment", &C::Alignment, &C::SetAlignment)
    .Prop("BevelInner", &C::BevelInner, &C::SetBevelInner)
    .Prop("BevelOuter", &C::BevelOuter, &C::SetBevelOuter)
    .Prop("BevelWidth", &C::BevelWidth, &C::SetBevelWidth)
    .Prop("BorderWidth", &C::BorderWidth, &C::SetBorderWidth)
    .Prop("BorderStyle", &C::BorderStyle, &C::SetBorderStyle)
    .Prop("FullRepaint", &C::FullRepaint, &C::SetFullRepaint);
QNL_END_CLASS

namespace {

void DrawBevel(QPainter& Painter, QRect& Rect, TPanelBevel Bevel, int Width) {
  if (Bevel == bvNone) return;
  QColor light = QtColor(clBtnHighlight), dark = QtColor(clBtnShadow);
  if (Bevel == bvLowered) std::swap(light, dark);
  if (Bevel == bvSpace) {
    Rect.adjust(Width, Width, -Width, -Width);
    return;
  }
  DrawFrame3D(Painter, Rect, light, dark, Width);
}

class TPanelWidget : public QWidget {
public:
  explicit TPanelWidget(TPanel* Panel) : FPanel(Panel) {}
  void Detach() { FPanel = nullptr; }

protected:
  void paintEvent(QPaintEvent*) override {
    if (!FPanel) return;
    QPainter painter(this);
    QRect rect = this->rect();
    if (FPanel->BorderStyle() == bsSingle) DrawFrame3D(painter, rect, Qt::black, Qt::black, 1);
    DrawBevel(painter, rect, FPanel->BevelOuter(), FPanel->BevelWidth());
    rect.adjust(FPanel->BorderWidth(), FPanel->BorderWidth(), -FPanel->BorderWidth(), -FPanel->BorderWidth());
    DrawBevel(painter, rect, FPanel->BevelInner(), FPanel->BevelWidth());
    if (FPanel->Caption().empty()) return;
    Qt::Alignment h = FPanel->Alignment() == taLeftJustify    ? Qt::AlignLeft
                      : FPanel->Alignment() == taRightJustify ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect, static_cast<int>(h | Qt::AlignVCenter | Qt::TextSingleLine),
                     DisplayText(FPanel, WithoutAccelerators(FPanel->Caption())));
  }

private:
  TPanel* FPanel;
};

class TPanelView : public TWidgetView {
public:
  explicit TPanelView(TPanel* Panel) : TWidgetView(Panel, NewControlWidget<TPanelWidget>(Panel)) {}
  ~TPanelView() override {
    if (auto* w = static_cast<TPanelWidget*>(Widget())) w->Detach();
  }

protected:
  void ApplyColor() override { FillBackground(true); }
  void ApplyCaption() override { Widget()->update(); }
  void ApplyLook() override { Widget()->update(); }
};

} // namespace

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(false);
  SetView(std::make_unique<TPanelView>(this));
  SetBounds(0, 0, 185, 41);
}

void TPanel::LookChanged() {
  Changed(TControlAspect::acLook);
  Realign();
}

void TPanel::SetBevelInner(TPanelBevel Value) {
  FBevelInner = Value;
  LookChanged();
}

void TPanel::SetBevelOuter(TPanelBevel Value) {
  FBevelOuter = Value;
  LookChanged();
}

void TPanel::SetBevelWidth(int32_t Value) {
  FBevelWidth = std::max(Value, 1);
  LookChanged();
}

void TPanel::SetBorderWidth(int32_t Value) {
  FBorderWidth = std::max(Value, 0);
  LookChanged();
}

void TPanel::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsNone && Value != bsSingle) throw EPropertyError("A panel's BorderStyle is bsNone or bsSingle");
  FBorderStyle = Value;
  LookChanged();
}

void TPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(TControlAspect::acLook);
}

void TPanel::AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const {
  int32_t inset = FBorderWidth + (FBorderStyle == bsSingle ? 1 : 0);
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  L += inset;
  T += inset;
  R -= inset;
  B -= inset;
}

std::string TPanel::DisplayedText() const { return WithoutAccelerators(Caption()); }

} // namespace qnl
