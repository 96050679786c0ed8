// The classic three-dimensional frame lines of panels and bevels.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace qnl {

// Draws Width rings inside Rect, top and left in TopLeft, bottom and right in BottomRight,
// and shrinks Rect by them.
void DrawFrame3D(QPainter& Painter, QRect& Rect, const QColor& TopLeft, const QColor& BottomRight, int Width);

} // namespace qnl
