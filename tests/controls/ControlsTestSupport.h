// Helpers of the decoration tests: grabbing what a control shows and reading its pixels.
#pragma once

#include <optional>
#include <string>

#include <QColor>
#include <QImage>
#include <QRect>

#include "rtl/Controls.h"
#include "tests/vcl/VclTestSupport.h"

namespace qnl::test {

// What Control shows on its form, parent's background included, in Control's coordinates.
QImage GrabControl(const TControl& Control);

// The smallest rectangle holding every pixel of exactly Colour; nullopt when there is none.
std::optional<QRect> BoundsOfColour(const QImage& Image, QColor Colour);

// Windows' MulDiv worked out on its own here: the product divided, rounded half away from zero.
int ExpectedMulDiv(int A, int B, int C);

// The RGB colour a TColor value (0x00BBGGRR) stands for.
inline QColor RgbOf(uint32_t Color) { return QColor(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF); }

// Fixture for the decoration controls: the controls registered, one application.
class DecorationTest : public VclTest {
protected:
  void SetUp() override;
};

} // namespace qnl::test
