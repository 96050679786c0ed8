// The folder browser driven on the offscreen platform, on a real machine directory: where it
// opens, what OK returns and creates, the create-folder round trip, the texts of the machine's
// libraries.
#include <cstdlib>
#include <functional>

#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "dialogs/TFolderBrowserForm.h"
#include "dialogs/routines_FileSystem.h"
#include "platform/files/Files.h"
#include "platform/system/SystemInfo.h"
#include "tests/support/MachineTest.h"
#include "tests/support/TestFiles.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/TreeView.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class FolderBrowser : public TMachineTest {
protected:
  void SetUp() override {
    TMachineTest::SetUp();
    CopyTemplateMachine();
    Machine();
    ResetTestApp();
    RegisterControlsClasses();
    TestApp().PretendDisplay = true;
    ForceDirectories("C:\\Alpha\\Beta");
  }
  void TearDown() override {
    SettleTestApp();
    TMachineTest::TearDown();
  }

  // Runs Action on the modal form named Name that shows next (one not handled before).
  static void Later(const std::string& Name, std::function<void(TForm&)> Action) {
    QTimer::singleShot(0, [Name, Action] {
      for (int i = 0; i < Application().ComponentCount(); ++i) {
        auto* form = dynamic_cast<TForm*>(Application().Components(i));
        if (form && form->Name() == Name && form->Tag() == 0 && form->Modal() && form->Widget()->isVisible()) {
          form->SetTag(1);
          return Action(*form);
        }
      }
      Later(Name, Action);
    });
  }
  static void OnBrowser(std::function<void(TFolderBrowserForm&, TFormDriver&)> Action) {
    Later("FolderBrowserForm", [Action](TForm& Form) {
      TFormDriver driver(Form);
      Action(static_cast<TFolderBrowserForm&>(Form), driver);
    });
  }
  // A click on the tree's line of that text, as a user picks a folder.
  static void ClickFolder(TFolderBrowserForm& Browser, const std::string& Text) {
    QTreeWidget* w = Browser.Tree()->TreeWidget();
    auto items = w->findItems(QString::fromStdString(Text), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(items.size(), 1) << Text;
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, w->visualItemRect(items[0]).center());
  }

  // The test runner names the source tree in QNL_SOURCE.
  static std::string Fixture(const std::string& Name) {
    const char* source = std::getenv("QNL_SOURCE");
    return std::string(source ? source : ".") + "/tests/archive/fixtures/" + Name;
  }
  TTestApplication& FApp = TestApp(); // before the forms
  TForm FOwner{nullptr};
};

} // namespace

TEST_F(FolderBrowser, NearestExistingDirectoryCutsBackToAFolderThatExists) {
  const std::pair<const char*, const char*> rows[] = {
      {"", ""},
      {"   ", ""},
      {"C:\\Alpha\\Beta", "C:\\Alpha\\Beta"},
      {"  c:\\alpha\\beta\\Gamma\\Delta ", "c:\\alpha\\beta"},
      {"C:\\Missing", "C:"},
      {"Q:\\No\\Such\\Drive", ""},
      {"NoBackslash", ""},
  };
  for (const auto& [path, expected] : rows) EXPECT_EQ(NearestExistingDirectory(path), expected) << path;
}

TEST_F(FolderBrowser, OpensOnTheDeepestExistingLevelAndOKCreatesWhatIsTyped) {
  TOpenFolderDialog dialog(&FOwner);
  dialog.SetDirectory("C:\\Alpha\\Beta\\Gamma\\Delta");
  std::string opened, followed;
  OnBrowser([&](TFolderBrowserForm& B, TFormDriver& D) {
    opened = B.SelectedPath();
    EXPECT_EQ(D.ShownText("edtPath"), "C:\\Alpha\\Beta");
    EXPECT_TRUE(D.IsShowing("btnCreateFolder"));
    if (const char* dir = std::getenv("QNL_GRAB_DIR")) D.Grab(std::string(dir) + "/folder-browser.png");
    // Something that is not a folder: no OK, no create button.
    ClickFolder(B, "My Computer");
    EXPECT_FALSE(D.IsEnabled("btnOK"));
    EXPECT_FALSE(D.IsShowing("btnCreateFolder"));
    static_cast<TEdit&>(D.Find("edtPath")).SetText("");
    D.Type("edtPath", "c:\\alpha");
    followed = B.SelectedPath(); // the tree follows the typing
    D.Type("edtPath", "\\New\\Sub");
    D.Click("btnOK");
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(opened, "C:\\Alpha\\Beta");
  EXPECT_EQ(followed, "C:\\Alpha");
  EXPECT_EQ(dialog.Directory(), "C:\\alpha\\New\\Sub"); // as typed, in the form of a path
  EXPECT_TRUE(DirectoryExists("C:\\Alpha\\New\\Sub"));
  EXPECT_FALSE(DirectoryExists("C:\\Alpha\\Beta\\Gamma")); // opening creates nothing
}

TEST_F(FolderBrowser, ADriveLetterSelectsItsRootAndCancelReturnsFalse) {
  TOpenFolderDialog dialog(&FOwner);
  dialog.SetDirectory("C:");
  std::string opened;
  OnBrowser([&](TFolderBrowserForm& B, TFormDriver& D) {
    opened = B.SelectedPath();
    D.Click("btnCancel");
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(opened, "C:\\");
  EXPECT_EQ(dialog.Directory(), "C:");
}

TEST_F(FolderBrowser, CreatingAFolderReopensTheBrowserOnIt) {
  TOpenFolderDialog dialog(&FOwner);
  dialog.SetDirectory("C:\\Alpha");
  std::string reopened, edited;
  OnBrowser([&](TFolderBrowserForm&, TFormDriver& D) {
    Later("InputQueryForm", [](TForm& Query) {
      TFormDriver q(Query);
      q.Type("edtValue", "Made");
      q.Click("btnOK");
    });
    D.Click("btnCreateFolder");
    OnBrowser([&](TFolderBrowserForm& B, TFormDriver& D2) {
      reopened = B.SelectedPath();
      edited = D2.ShownText("edtPath");
      ClickFolder(B, "Beta"); // what the user picks then is the result
      D2.Click("btnOK");
    });
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(reopened, "C:\\Alpha\\Made");
  EXPECT_EQ(edited, "C:\\Alpha\\Made");
  EXPECT_TRUE(DirectoryExists("C:\\Alpha\\Made"));
  EXPECT_EQ(dialog.Directory(), "C:\\Alpha\\Beta");
}

TEST_F(FolderBrowser, WithoutAdditionsOKReturnsTheChosenFolder) {
  TOpenFolderDialog dialog(&FOwner);
  dialog.SetShowCreateButton(false);
  dialog.SetShowPathEdit(false);
  dialog.SetDirectory("C:\\Alpha\\Beta");
  bool additions = true;
  qsizetype listed = 0;
  OnBrowser([&](TFolderBrowserForm& B, TFormDriver&) {
    additions = B.FindComponent("btnCreateFolder") || B.FindComponent("edtPath");
    if (const char* dir = std::getenv("QNL_GRAB_DIR"))
      TFormDriver(B).Grab(std::string(dir) + "/folder-browser-plain.png");
    // A folder opened by the user lists its folders then.
    QTreeWidget* w = B.Tree()->TreeWidget();
    auto windows = w->findItems("windows", Qt::MatchExactly | Qt::MatchRecursive);
    if (windows.size() == 1) {
      w->expandItem(windows[0]);
      listed = w->findItems("system32", Qt::MatchExactly | Qt::MatchRecursive).size();
    }
    ClickFolder(B, "Alpha");
    TFormDriver(B).Click("btnOK");
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_FALSE(additions);
  EXPECT_EQ(listed, 1);
  EXPECT_EQ(dialog.Directory(), "C:\\Alpha");
}

TEST_F(FolderBrowser, TextsComeFromTheMachinesLibrariesWhenTheyHaveThem) {
  EXPECT_EQ(LoadLibraryString("shell32.dll", 8977), ""); // no such library yet
  const std::string fixture = ReadFile(Fixture("strings32.dll"));
  WriteMachineFile(SystemDirectory() + "\\shell32.dll", fixture);
  WriteMachineFile(SystemDirectory() + "\\comdlg32.dll", "MZ but no image at all");
  EXPECT_EQ(LoadLibraryString("shell32.dll", 8977), "Folder name:");
  EXPECT_EQ(LoadLibraryString("shell32.dll", 8978), ""); // a string the table lacks
  EXPECT_EQ(LoadLibraryString("shell32.dll", 5000), ""); // a table the library lacks
  EXPECT_EQ(LoadLibraryString("comdlg32.dll", 703), "");

  // The browser shows the library's title (its %s filled with nothing) and our caption.
  TOpenFolderDialog dialog(&FOwner);
  dialog.SetDirectory("C:\\Alpha");
  std::string title, caption;
  OnBrowser([&](TFolderBrowserForm& B, TFormDriver& D) {
    title = D.ShownText("lblTitle");
    caption = D.ShownText("btnCreateFolder");
    D.Click("btnCancel");
  });
  dialog.Execute();
  EXPECT_EQ(title, "Pick a folder");
  EXPECT_EQ(caption, "&Make New Folder");
}

TEST_F(FolderBrowser, AFolderThatCannotBeNamedIsRefused) {
  // OK on a typed relative path: it would be made in the process's own current folder.
  TOpenFolderDialog dialog(&FOwner);
  dialog.SetDirectory("C:\\Alpha");
  OnBrowser([&](TFolderBrowserForm&, TFormDriver& D) {
    static_cast<TEdit&>(D.Find("edtPath")).SetText("");
    D.Type("edtPath", "relative\\dir");
    D.Click("btnOK");
  });
  try {
    dialog.Execute();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_NE(std::string(error.what()).find("not a full path"), std::string::npos) << error.what();
  }
}
