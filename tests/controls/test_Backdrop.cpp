// The backdrop's gradient, pixel by pixel against the band formulas, and its copying.
#include <gtest/gtest.h>

#include "controls/cmp_TBackDrop.h"
#include "tests/controls/ControlsTestSupport.h"
#include "vcl/Form.h"

using namespace qnl;
using namespace qnl::test;

namespace {

constexpr uint32_t kStart = 0xFF0000; // blue
constexpr uint32_t kEnd = 0x2080C0;   // red C0, green 80, blue 20: every channel moves, some down

struct TGradientRow {
  const char* Name;
  TDirection Direction;
  int Width, Height;
  bool Vertical; // stripes across the width
  bool Mirrored;
  bool StartAtEdge; // StartColor at the first edge
};

void PrintTo(const TGradientRow& Row, std::ostream* Os) { *Os << Row.Name; }

// The colour of band Band (0..255) as the gradient's formula gives it.
QColor ExpectedBand(const TGradientRow& Row, int Band) {
  QColor first = RgbOf(Row.StartAtEdge ? kStart : kEnd), second = RgbOf(Row.StartAtEdge ? kEnd : kStart);
  int steps = Row.Mirrored ? 127 : 255;
  int step = Row.Mirrored && Band > 127 ? 255 - Band : Band;
  auto channel = [&](int A, int B) { return A + ExpectedMulDiv(step, B - A, steps); };
  return QColor(channel(first.red(), second.red()), channel(first.green(), second.green()),
                channel(first.blue(), second.blue()));
}

// The band that covers pixel Pos of Extent.
int BandAt(int Pos, int Extent) {
  for (int band = 0; band < 256; ++band)
    if (ExpectedMulDiv(band + 1, Extent, 256) > Pos) return band;
  return 255;
}

class Backdrop : public DecorationTest, public ::testing::WithParamInterface<TGradientRow> {};

} // namespace

TEST_P(Backdrop, EveryPixelHasItsBandsColour) {
  const TGradientRow& row = GetParam();
  TForm form(nullptr);
  form.SetClientWidth(320);
  form.SetClientHeight(220);
  auto* backdrop = new TBackdrop(&form);
  backdrop->SetParent(&form);
  backdrop->SetAlign(alNone);
  backdrop->SetBounds(5, 5, row.Width, row.Height);
  backdrop->SetStartColor(kStart);
  backdrop->SetEndColor(kEnd);
  backdrop->SetDirection(row.Direction);
  form.Show();
  QImage image = GrabControl(*backdrop);
  ASSERT_EQ(image.size(), QSize(row.Width, row.Height));

  // Every pixel along the gradient, at both sides and the middle across: bands 0, 128 and 255
  // among them, and on a mirrored gradient band 255 - i in the colour of band i.
  int extent = row.Vertical ? row.Width : row.Height, across = row.Vertical ? row.Height : row.Width;
  for (int pos = 0; pos < extent; ++pos) {
    int band = BandAt(pos, extent);
    for (int other : {0, across / 2, across - 1}) {
      QColor shown = row.Vertical ? image.pixelColor(pos, other) : image.pixelColor(other, pos);
      ASSERT_EQ(shown, ExpectedBand(row, band)) << "pixel " << pos << " of " << extent << " in band " << band;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Directions, Backdrop,
                         ::testing::Values(TGradientRow{"UpLarge", bdUp, 300, 200, false, false, true},
                                           TGradientRow{"UpTiny", bdUp, 7, 3, false, false, true},
                                           TGradientRow{"HorzInLarge", bdHorzIn, 300, 200, false, true, false},
                                           TGradientRow{"HorzInTiny", bdHorzIn, 7, 3, false, true, false},
                                           TGradientRow{"VertOutLarge", bdVertOut, 300, 200, true, true, false},
                                           TGradientRow{"VertOutTiny", bdVertOut, 7, 3, true, true, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });
