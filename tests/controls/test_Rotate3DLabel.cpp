// The rotated 3-D label: its style's writers, the mark, and its layers and background on
// grabbed images, placed by the layout formulas worked out here.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <QFontMetrics>
#include <QTest>

#include "controls/cmp_Rotate3DLabel.h"
#include "controls/cmp_TBackDrop.h"
#include "tests/controls/ControlsTestSupport.h"
#include "vcl/Form.h"
#include "vcl/QtGraphics.h"

using namespace qnl;
using namespace qnl::test;

namespace {

constexpr uint32_t kBackground = 0x00A000; // green, none of the layers' colours
const QColor kWhite(255, 255, 255), kGrey(128, 128, 128), kBlack(0, 0, 0);

int Trunc(double Value) { return static_cast<int>(std::trunc(Value)); }

// A 300 x 200 label, centred text, on a green form.
struct TLabelOnForm {
  TForm Form{nullptr};
  TRotate3DLabel* Label;
  TLabelOnForm() {
    Form.SetClientWidth(320);
    Form.SetClientHeight(220);
    Form.SetColor(kBackground);
    Label = new TRotate3DLabel(&Form);
    Label->SetParent(&Form);
    Label->SetBounds(10, 10, 300, 200);
    Label->SetAlignment(taCenter);
    Label->SetCaption("Quenloft");
    Label->Font()->SetHeight(-40);
    Label->Font()->SetColor(clBlack);
    Form.Show();
  }
  // Where the caption starts, and its unturned size, by the layout formulas.
  QRect TextCell() const {
    QFontMetrics metrics(QtFont(*Label->Font()));
    double w = metrics.horizontalAdvance("Quenloft"), h = metrics.height();
    double theta = Label->LabelStyle()->Angle() * 0.017453292519943295;
    int cx = Label->Width() / 2, cy = Label->Height() / 2;
    int x = cx - Trunc(w / 2 * std::cos(theta)) - Trunc(h / 2 * std::sin(theta));
    int y = cy + Trunc(w / 2 * std::sin(theta)) - Trunc(h / 2 * std::cos(theta));
    return QRect(x, y, static_cast<int>(w), static_cast<int>(h));
  }
};

struct TEffectRow {
  const char* Name;
  T3DEffectShort Effect;
  int Angle;
};

void PrintTo(const TEffectRow& Row, std::ostream* Os) { *Os << Row.Name; }

class LabelLayers : public DecorationTest, public ::testing::WithParamInterface<TEffectRow> {};

} // namespace

TEST_P(LabelLayers, EachLayerLiesAtItsOffsetFromTheText) {
  const TEffectRow& row = GetParam();
  TLabelOnForm f;
  f.Label->LabelStyle()->SetAStyle3D(row.Effect);
  f.Label->LabelStyle()->SetAngle(row.Angle);
  QImage image = GrabControl(*f.Label);
  auto text = BoundsOfColour(image, kBlack), white = BoundsOfColour(image, kWhite), grey = BoundsOfColour(image, kGrey);
  ASSERT_TRUE(text && grey);

  // The text itself stays inside its cell, turned about the cell's top-left corner.
  QRect cell = f.TextCell();
  QRect turned = row.Angle == 0 ? cell : QRect(cell.x(), cell.y() - cell.width(), cell.height(), cell.width());
  EXPECT_TRUE(turned.adjusted(-1, -1, 1, 1).contains(*text))
      << "text " << text->x() << "," << text->y() << " " << text->width() << "x" << text->height();
  EXPECT_GT(text->width() * text->height(), turned.width() * turned.height() / 4);

  // A layer under the text shows only on the side it is moved to.
  switch (row.Effect) {
    case A3dRaised:
      ASSERT_TRUE(white);
      EXPECT_EQ(white->topLeft(), text->topLeft() - QPoint(1, 1));
      EXPECT_EQ(grey->bottomRight(), text->bottomRight() + QPoint(1, 1));
      break;
    case A3dResit:
      ASSERT_TRUE(white);
      EXPECT_EQ(white->bottomRight(), text->bottomRight() + QPoint(1, 1));
      EXPECT_EQ(grey->topLeft(), text->topLeft() - QPoint(1, 1));
      break;
    default:
      EXPECT_FALSE(white) << "no highlight";
      EXPECT_EQ(grey->right(), text->right() + 5);
      EXPECT_EQ(grey->top(), text->top() - 5);
  }
}

INSTANTIATE_TEST_SUITE_P(Effects, LabelLayers,
                         ::testing::Values(TEffectRow{"Raised0", A3dRaised, 0}, TEffectRow{"Raised90", A3dRaised, 90},
                                           TEffectRow{"Resit0", A3dResit, 0}, TEffectRow{"Resit90", A3dResit, 90},
                                           TEffectRow{"Shadowed0", A3dShadowed, 0},
                                           TEffectRow{"Shadowed90", A3dShadowed, 90}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(DecorationTest, BackgroundIsTheTurnedRectangleAndEndsThe3DEffect) {
  TLabelOnForm f;
  const uint32_t cyan = 0xFFFF00;
  f.Label->SetMyTransparent(false);
  f.Label->SetColor(cyan);
  f.Label->LabelStyle()->SetAngle(30);
  QImage image = GrabControl(*f.Label);

  QRect cell = f.TextCell();
  double a = (cell.width() + 10) / 2.0, b = (cell.height() + 7) / 2.0;
  double c = std::cos(30 * 0.017453292519943295), s = std::sin(30 * 0.017453292519943295);
  int cx = 150, cy = 100;
  const QPoint corners[] = {{cx - Trunc(a * c) - Trunc(b * s), cy + Trunc(a * s) - Trunc(b * c)},
                            {cx + Trunc(a * c) - Trunc(b * s), cy - Trunc(a * s) - Trunc(b * c)},
                            {cx + Trunc(a * c) + Trunc(b * s), cy - Trunc(a * s) + Trunc(b * c)},
                            {cx - Trunc(a * c) + Trunc(b * s), cy + Trunc(a * s) + Trunc(b * c)}};
  // Each corner: filled just inside, the parent's green just outside.
  for (const QPoint& corner : corners) {
    QPointF out = QPointF(corner - QPoint(cx, cy)) / std::hypot(corner.x() - cx, corner.y() - cy);
    EXPECT_EQ(image.pixelColor(corner - (out * 3).toPoint()), RgbOf(cyan)) << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixelColor(corner + (out * 3).toPoint()), RgbOf(kBackground)) << corner.x() << "," << corner.y();
  }
  EXPECT_EQ(f.Label->LabelStyle()->AStyle3D(), A3dNormal);
  EXPECT_FALSE(BoundsOfColour(image, kWhite)) << "no highlight on a background";
  EXPECT_FALSE(f.Label->ParentColor());
}

TEST_F(DecorationTest, StyleWritersFireOnlyWhenTheLabelMustBeDrawnAgain) {
  TLabelStyle style;
  int fired = 0;
  style.OnChange = [&](TObject*) { ++fired; };
  auto fires = [&](auto Write) {
    fired = 0;
    Write();
    return fired;
  };
  for (auto [value, stored] : {std::pair{400, 0}, {360, 0}, {-10, 0}, {359, 359}, {90, 90}}) {
    style.SetAngle(value);
    EXPECT_EQ(style.Angle(), stored) << value;
  }
  EXPECT_EQ(fires([&] { style.SetAngle(90); }), 0) << "unchanged";
  EXPECT_EQ(fires([&] { style.SetAHShadeOffSet(7); }), 0) << "offsets matter only when shadowed";
  EXPECT_EQ(style.AHShadeOffSet(), 7);
  style.SetAStyle3D(A3dShadowed);
  EXPECT_EQ(fires([&] { style.SetAVShadeOffSet(3); }), 1);

  // The white lock: a blue highlight is saved, white shown, writes ignored, blue brought back.
  style.SetAStyle3D(A3dRaised);
  style.SetAShadeLeftTop(clBlue);
  EXPECT_EQ(fires([&] { style.SetAShadeLTSet(true); }), 1);
  EXPECT_EQ(style.AShadeLeftTop(), clWhite);
  EXPECT_EQ(fires([&] { style.SetAShadeLeftTop(clRed); }), 0);
  EXPECT_EQ(style.AShadeLeftTop(), clWhite);
  EXPECT_EQ(fires([&] { style.SetAShadeLTSet(true); }), 1) << "fires again while the saved colour is not white";
  EXPECT_EQ(fires([&] { style.SetAShadeLTSet(false); }), 1) << "the highlight the label shows changed back";
  EXPECT_EQ(style.AShadeLeftTop(), clBlue);
  // A white highlight locked to white changes nothing.
  style.SetAShadeLeftTop(clWhite);
  EXPECT_EQ(fires([&] { style.SetAShadeLTSet(true); }), 0);
}

TEST_F(DecorationTest, LabelHearsClicksAndDoubleClicks) {
  TLabelOnForm f;
  std::vector<std::string> heard;
  f.Label->OnClick = [&](TObject*) { heard.push_back("click"); };
  f.Label->OnDblClick = [&](TObject*) { heard.push_back("double"); };
  QTest::mouseClick(WidgetOf(f.Label), Qt::LeftButton);
  QTest::mouseClick(WidgetOf(f.Label), Qt::RightButton);
  QTest::mouseDClick(WidgetOf(f.Label), Qt::LeftButton);
  EXPECT_EQ(heard, (std::vector<std::string>{"click", "double"}));
}

// The mark Tag -1, for both classes.
template <class T>
class Mark : public DecorationTest {};
using TMarkedClasses = ::testing::Types<TBackdrop, TRotate3DLabel>;
TYPED_TEST_SUITE(Mark, TMarkedClasses);

TYPED_TEST(Mark, MovesBetweenInstancesAndLeavesWithADestroyedOne) {
  TypeParam first(nullptr), second(nullptr);
  first.SetTag(-1);
  second.SetTag(-1);
  EXPECT_EQ(first.Tag(), 0) << "the mark moved";
  EXPECT_EQ(second.Tag(), -1);
  second.SetTag(5);
  first.SetTag(-1);
  EXPECT_EQ(second.Tag(), 5) << "a tag that is not the mark stays";
  {
    auto third = std::make_unique<TypeParam>(nullptr);
    third->SetTag(-1);
    EXPECT_EQ(first.Tag(), 0);
  }
  // The destroyed instance took the mark with it: a new one at design time takes it.
  TComponent designer(nullptr);
  designer.SetDesigning(true);
  auto* designed = new TypeParam(&designer);
  EXPECT_EQ(designed->Tag(), -1);
  auto* another = new TypeParam(&designer);
  EXPECT_EQ(another->Tag(), 0);
}
