// The view of a control that draws itself on a canvas.
#include "vcl/PaintView.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWidget>

#include "vcl/AnsiText.h"
#include "vcl/ControlView.h"
#include "vcl/QtGraphics.h"

namespace qnl {

namespace {

// Fonts as the classic GDI drew them: outline faces only (so any angle works) and no
// smoothing, so a one-pixel 3-D offset stays a crisp pixel.
QFont CanvasFont(const TFont& Font) {
  QFont font = QtFont(Font);
  font.setStyleStrategy(static_cast<QFont::StyleStrategy>(QFont::PreferOutline | QFont::NoAntialias));
  return font;
}

QString CanvasText(const TFont& Font, const std::string& Text) {
  return AnsiToQString(Text, CharsetToCodePage(Font.Charset(), AnsiCodePage()));
}

class TQtCanvas : public TCanvas {
public:
  explicit TQtCanvas(QPainter& Painter) : FPainter(Painter) { FPainter.setRenderHint(QPainter::Antialiasing, false); }

  void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, TColor Color) override {
    if (Right <= Left || Bottom <= Top) return;
    FPainter.fillRect(QRect(Left, Top, Right - Left, Bottom - Top), QtColor(Color));
  }

  void Polygon(const std::vector<TPoint>& Points, TColor Color) override {
    QPolygon polygon;
    for (const TPoint& p : Points) polygon << QPoint(p.X, p.Y);
    FPainter.save();
    FPainter.setPen(QtColor(Color));
    FPainter.setBrush(QtColor(Color));
    FPainter.drawPolygon(polygon);
    FPainter.restore();
  }

  TSize TextExtent(const TFont& Font, const std::string& Text) override {
    QFontMetrics metrics(CanvasFont(Font));
    return {metrics.horizontalAdvance(CanvasText(Font, Text)), metrics.height()};
  }

  void TextOut(const TFont& Font, int32_t X, int32_t Y, const std::string& Text, TColor Color,
               int32_t Escapement) override {
    QFont font = CanvasFont(Font);
    FPainter.save();
    FPainter.setFont(font);
    FPainter.setPen(QtColor(Color));
    FPainter.translate(X, Y);
    // Qt turns clockwise on the screen for positive angles; an escapement turns the other way.
    FPainter.rotate(-Escapement / 10.0);
    FPainter.drawText(0, QFontMetrics(font).ascent(), CanvasText(Font, Text));
    FPainter.restore();
  }

private:
  QPainter& FPainter;
};

class TPaintWidget : public QWidget {
public:
  TPaintWidget(TControl* Control, TPaintHandler Paint, TClickHandler Click)
      : FControl(Control), FPaint(std::move(Paint)), FClick(std::move(Click)) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TQtCanvas canvas(painter);
    GuardHandler(FControl, [&] { FPaint(canvas); });
  }
  void mouseReleaseEvent(QMouseEvent* Event) override {
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint())) Clicked(TClickKind::ckClick);
  }
  void mouseDoubleClickEvent(QMouseEvent* Event) override {
    if (Event->button() == Qt::LeftButton) Clicked(TClickKind::ckDoubleClick);
  }

private:
  void Clicked(TClickKind Kind) {
    if (FClick) GuardHandler(FControl, [&] { FClick(Kind); });
  }
  TControl* FControl;
  TPaintHandler FPaint;
  TClickHandler FClick;
};

class TPaintView : public TWidgetView {
public:
  TPaintView(TControl* Control, TPaintHandler Paint, TClickHandler Click)
      : TWidgetView(Control, NewControlWidget<TPaintWidget>(Control, std::move(Paint), std::move(Click))) {}

protected:
  void ApplyFont() override {
    TWidgetView::ApplyFont();
    Widget()->update();
  }
  void ApplyColor() override { Widget()->update(); }
  void ApplyCaption() override { Widget()->update(); }
  void ApplyLook() override { Widget()->update(); }
};

} // namespace

std::unique_ptr<TControlView> NewPaintView(TControl* Control, TPaintHandler Paint, TClickHandler Click) {
  return std::make_unique<TPaintView>(Control, std::move(Paint), std::move(Click));
}

} // namespace qnl
