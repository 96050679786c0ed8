// Helpers of the decoration tests: grabbing what a control shows and reading its pixels.
#include "tests/controls/ControlsTestSupport.h"

#include <cmath>

#include <QApplication>
#include <QWidget>

#include "controls/RegisterDecorationClasses.h"
#include "rtl/Forms.h"
#include "vcl/ControlView.h"
#include "vcl/Controls.h"

namespace qnl::test {

QImage GrabControl(const TControl& Control) {
  QApplication::processEvents();
  QWidget* widget = WidgetOf(&Control);
  QWidget* window = widget->window();
  QRect rect(widget->mapTo(window, QPoint(0, 0)), widget->size());
  return window->grab().toImage().copy(rect).convertToFormat(QImage::Format_RGB32);
}

std::optional<QRect> BoundsOfColour(const QImage& Image, QColor Colour) {
  std::optional<QRect> bounds;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x)
      if (Image.pixelColor(x, y) == Colour) bounds = bounds ? bounds->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
  return bounds;
}

int ExpectedMulDiv(int A, int B, int C) { return static_cast<int>(std::lround(static_cast<double>(A) * B / C)); }

void DecorationTest::SetUp() {
  VclTest::SetUp();
  RegisterFormsClasses();
  RegisterControlsClasses();
  RegisterDecorationClasses();
}

} // namespace qnl::test
