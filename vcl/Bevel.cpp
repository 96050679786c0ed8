// A bevel: a sunken or raised box, frame or line.
#include "vcl/Bevel.h"

#include <QPainter>
#include <QWidget>

#include "vcl/ControlView.h"
#include "vcl/Frame3D.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TBevel).Prop("Shape", &C::Shape, &C::SetShape).Prop("Style", &C::Style, &C::SetStyle);
QNL_END_CLASS

namespace {

class TBevelWidget : public QWidget {
public:
  explicit TBevelWidget(TBevel* Bevel) : FBevel(Bevel) { setAttribute(Qt::WA_TransparentForMouseEvents); }
  void Detach() { FBevel = nullptr; }

protected:
  void paintEvent(QPaintEvent*) override {
    if (!FBevel || FBevel->Shape() == bsSpacer) return;
    QPainter p(this);
    QColor light = QtColor(clBtnHighlight), dark = QtColor(clBtnShadow);
    QColor first = FBevel->Style() == bsLowered ? dark : light;
    QColor second = FBevel->Style() == bsLowered ? light : dark;
    QRect r = rect();
    int w = r.width(), h = r.height();
    switch (FBevel->Shape()) {
      case bsBox: DrawFrame3D(p, r, first, second, 1); break;
      case bsFrame: {
        // Two rings offset by one pixel: an etched line.
        QRect outer(0, 0, w - 1, h - 1), inner(1, 1, w - 1, h - 1);
        p.setPen(first);
        p.drawRect(outer.adjusted(0, 0, -1, -1));
        p.setPen(second);
        p.drawRect(inner.adjusted(0, 0, -1, -1));
        break;
      }
      case bsTopLine:
        p.setPen(first), p.drawLine(0, 0, w - 1, 0);
        p.setPen(second), p.drawLine(0, 1, w - 1, 1);
        break;
      case bsBottomLine:
        p.setPen(first), p.drawLine(0, h - 2, w - 1, h - 2);
        p.setPen(second), p.drawLine(0, h - 1, w - 1, h - 1);
        break;
      case bsLeftLine:
        p.setPen(first), p.drawLine(0, 0, 0, h - 1);
        p.setPen(second), p.drawLine(1, 0, 1, h - 1);
        break;
      case bsRightLine:
        p.setPen(first), p.drawLine(w - 2, 0, w - 2, h - 1);
        p.setPen(second), p.drawLine(w - 1, 0, w - 1, h - 1);
        break;
      default: break;
    }
  }

private:
  TBevel* FBevel;
};

class TBevelView : public TWidgetView {
public:
  explicit TBevelView(TBevel* Bevel) : TWidgetView(Bevel, NewControlWidget<TBevelWidget>(Bevel)) {}
  ~TBevelView() override {
    if (auto* w = static_cast<TBevelWidget*>(Widget())) w->Detach();
  }

protected:
  void ApplyLook() override { Widget()->update(); }
};

} // namespace

TBevel::TBevel(TComponent* AOwner) : TControl(AOwner) {
  SetView(std::make_unique<TBevelView>(this));
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  FShape = Value;
  Changed(TControlAspect::acLook);
}

void TBevel::SetStyle(TBevelStyle Value) {
  FStyle = Value;
  Changed(TControlAspect::acLook);
}

} // namespace qnl
