// A stored project with a backdrop and a rotated caption: through the quenloft tool's convert
// and dump and back byte for byte, loaded with every property, and shown as the setup's main window.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/cmp_Rotate3DLabel.h"
#include "controls/cmp_TBackDrop.h"
#include "main/formMain.h"
#include "platform/HostFiles.h"
#include "rtl/FormReader.h"
#include "rtl/Streams.h"
#include "tests/controls/ControlsTestSupport.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const std::string kProjectFile = std::string(QNL_CONTROLS_PROJECTS) + "/decoration.txt";

// Runs "quenloft Args" with its output to Output; its exit status.
int RunQuenloft(const std::string& Args, const std::string& Output = "/dev/null") {
  const char* bin = std::getenv("QNL_BIN");
  std::string tool = std::string(bin ? bin : QNL_DEFAULT_BIN) + "/quenloft";
  return WEXITSTATUS(std::system((tool + " " + Args + " > '" + Output + "' 2>&1").c_str()));
}

} // namespace

TEST_F(DecorationTest, StoredProjectRoundTripsAndLoadsEveryProperty) {
  std::string dir = ::testing::TempDir() + "qnl_decoration";
  ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
  ASSERT_EQ(RunQuenloft("convert '" + kProjectFile + "' '" + dir + "/project.bin'"), 0);
  ASSERT_EQ(RunQuenloft("convert '" + dir + "/project.bin' '" + dir + "/back.txt'"), 0);
  EXPECT_EQ(host::ReadWholeFile(dir + "/back.txt"), host::ReadWholeFile(kProjectFile));
  ASSERT_EQ(RunQuenloft("dump '" + dir + "/project.bin'", dir + "/dump.txt"), 0);
  EXPECT_EQ(host::ReadWholeFile(dir + "/dump.txt"), host::ReadWholeFile(kProjectFile));

  TformMain form(nullptr);
  TMemoryStream stream(host::ReadWholeFile(dir + "/project.bin"));
  ReadRootComponent(stream, &form);
  auto* backdrop = dynamic_cast<TBackdrop*>(form.FindComponent("Backdrop1"));
  auto* label = dynamic_cast<TRotate3DLabel*>(form.FindComponent("Rotate3DLabel1"));
  ASSERT_TRUE(backdrop && label);
  EXPECT_EQ(backdrop->Direction(), bdUp);
  EXPECT_EQ(backdrop->StartColor(), clBlue);
  EXPECT_EQ(backdrop->EndColor(), clBlack);
  EXPECT_EQ(backdrop->Tag(), -1);
  EXPECT_EQ(label->Parent(), backdrop);
  EXPECT_EQ(label->Align(), alTop);
  EXPECT_EQ(label->Alignment(), taCenter);
  EXPECT_EQ(label->Caption(), "Sample Application");
  EXPECT_EQ(label->Font()->Height(), -48);
  EXPECT_EQ(label->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  const TLabelStyle& style = *label->LabelStyle();
  EXPECT_EQ(style.Angle(), 8);
  EXPECT_EQ(style.AStyle3D(), A3dRaised);
  EXPECT_EQ(style.AShadeRightBottom(), clBlack);
  EXPECT_EQ(style.AShadeLeftTop(), clWhite);
  EXPECT_FALSE(style.AShadeLTSet());
  EXPECT_EQ(style.AHShadeOffSet(), 4);
  EXPECT_EQ(style.AVShadeOffSet(), 4);
  EXPECT_TRUE(label->MyTransparent());
  EXPECT_EQ(label->Tag(), -1);

  // What the setup shows behind its wizard: blue at the top, black at the bottom, the
  // caption in its light grey across the top.
  form.Show();
  const char* grabDir = std::getenv("QNL_GRAB_DIR");
  QImage shot = GrabControl(*backdrop);
  EXPECT_EQ(shot.size(), QSize(form.ClientWidth(), form.ClientHeight())) << "the backdrop fills the window";
  if (grabDir) shot.save(QString(grabDir) + "/main-window.png");
  EXPECT_EQ(shot.pixelColor(0, 0), QColor(0, 0, 255));
  EXPECT_EQ(shot.pixelColor(0, shot.height() - 1), QColor(0, 0, 0));
  auto caption = BoundsOfColour(shot, RgbOf(14737632));
  ASSERT_TRUE(caption);
  EXPECT_LT(caption->bottom(), label->Height());
  std::system(("rm -rf '" + dir + "'").c_str());
}
