// Keys and focus on a real dialog: Enter, Escape, Tab in TabOrder, accelerators.
#include <QLineEdit>
#include <QTest>

#include "main/formMain.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/SampleDialog.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class Keys : public VclTest {
protected:
  void SetUp() override {
    VclTest::SetUp();
    RegisterControlsClasses();
    LoadTextForm(&FForm, kSampleDialog);
    FForm.Show();
    TestApp().ProcessMessages();
    for (const char* name : {"btnOK", "btnCancel"})
      dynamic_cast<TButton&>(FDriver.Find(name)).OnClick = [this, name](TObject*) { FClicked += name; };
  }
  TTestApplication& FApp = TestApp(); // before the form
  TformMain FForm{nullptr};
  TFormDriver FDriver{FForm};
  std::string FClicked;
};

} // namespace

TEST_F(Keys, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
  EXPECT_EQ(FDriver.FocusedName(), "edtName"); // ActiveControl
  FDriver.Type("edtName", "!");
  FDriver.PressEnter(); // an edit leaves Enter to the form
  EXPECT_EQ(FClicked, "btnOK");
  FDriver.PressEscape();
  EXPECT_EQ(FClicked, "btnOKbtnCancel");

  // A focused button takes Enter itself.
  FClicked.clear();
  FDriver.WidgetNamed("btnCancel")->setFocus();
  FDriver.PressEnter();
  EXPECT_EQ(FClicked, "btnCancel");

  // A disabled default button is not pressed.
  FClicked.clear();
  FDriver.Find("btnOK").SetEnabled(false);
  FDriver.WidgetNamed("edtName")->setFocus();
  FDriver.PressEnter();
  EXPECT_EQ(FClicked, "");
}

TEST_F(Keys, TabFollowsTabOrderThroughNestedControls) {
  // The list box is stored after the radio group but comes first in tab order now.
  dynamic_cast<TWinControl&>(FDriver.Find("lbFolders")).SetTabOrder(2);
  FDriver.WidgetNamed("edtName")->setFocus();
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    FDriver.PressTab();
    seen.push_back(FDriver.FocusedName());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"lbFolders", "rgKind", "cbHelp", "cbSamples"}));
  FDriver.PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(FDriver.FocusedName(), "cbHelp");
}

TEST_F(Keys, AcceleratorsFocusTheLabelledControlAndPressButtons) {
  FDriver.WidgetNamed("lbFolders")->setFocus();
  FDriver.PressKey(Qt::Key_N, Qt::AltModifier);
  EXPECT_EQ(FDriver.FocusedName(), "edtName");
  auto& help = dynamic_cast<TCheckBox&>(FDriver.Find("cbHelp"));
  FDriver.PressKey(Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(FDriver.FocusedName(), "cbHelp");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !help.Checked(); })); // Qt shows the press first
  // Without a focus control a label shows no accelerator mark.
  EXPECT_EQ(FDriver.ShownText("lblName"), "User &name:");
  dynamic_cast<TLabel&>(FDriver.Find("lblName")).SetFocusControl(nullptr);
  EXPECT_EQ(FDriver.ShownText("lblName"), "User name:");
}

TEST_F(Keys, TypingReachesTheModelAndTheKeyEvents) {
  auto& edit = dynamic_cast<TEdit&>(FDriver.Find("edtName"));
  edit.SetText("");
  std::vector<uint16_t> keys;
  int changes = 0;
  edit.OnChange = [&](TObject*) { ++changes; };
  edit.OnKeyUp = [&](TObject*, uint16_t& Key, TShiftState) { keys.push_back(Key); };
  FDriver.Type("edtName", "ab1");
  EXPECT_EQ(edit.Text(), "ab1");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(keys, (std::vector<uint16_t>{'A', 'B', '1'}));
  edit.SetReadOnly(true);
  FDriver.Type("edtName", "c");
  EXPECT_EQ(edit.Text(), "ab1");
}
