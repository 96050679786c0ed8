// The classic three-dimensional frame lines of panels and bevels.
#include "vcl/Frame3D.h"

namespace qnl {

void DrawFrame3D(QPainter& Painter, QRect& Rect, const QColor& TopLeft, const QColor& BottomRight, int Width) {
  for (int i = 0; i < Width && Rect.width() > 0 && Rect.height() > 0; ++i) {
    int l = Rect.left(), t = Rect.top(), r = Rect.right(), b = Rect.bottom();
    Painter.setPen(TopLeft);
    Painter.drawLine(l, t, r, t);
    Painter.drawLine(l, t, l, b);
    Painter.setPen(BottomRight);
    Painter.drawLine(r, t, r, b);
    Painter.drawLine(l, b, r, b);
    Rect.adjust(1, 1, -1, -1);
  }
}

} // namespace qnl
