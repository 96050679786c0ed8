// The windows shown while the installation works: the copy progress of a real install with
// its Cancel, the status window's stack of messages, and the prompt for the next disk.
#include <cstdlib>
#include <random>

#include <QTimer>
#include <QWidget>

#include "archive/TQnlfCompress.h"
#include "common/exceptions_Quenloft.h"
#include "dialogs/RegisterDialogClasses.h"
#include "dialogs/TDialogManager.h"
#include "dialogs/dlgcmp_TChangeDiskDlg.h"
#include "dialogs/dlgcmp_TCopyFile.h"
#include "dialogs/dlgcmp_TInstallStatusDlg.h"
#include "dialogs/ordlg_ChangeDisk.h"
#include "dialogs/ordlg_CopyFile.h"
#include "dialogs/ordlg_InstallStatus.h"
#include "engine/InstallParameters.h"
#include "engine/RegisterEngineClasses.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "net/cmp_TNetInstallLocation.h"
#include "platform/files/Files.h"
#include "rtl/Math.h"
#include "tests/engine/InstallTestSupport.h"
#include "tests/support/MachineTest.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"
#include "tests/vcl/FormDriver.h"
#include "tests/vcl/VclTestSupport.h"
#include "vcl/Controls.h"
#include "vcl/Image.h"
#include "vcl/ProgressBar.h"
#include "vcl/StdCtrls.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// A fresh machine directory for a fixture that is not a machine test itself.
class TMachineDir : public TMachineTest {
public:
  using TMachineTest::SetUp;
  using TMachineTest::TearDown;
  void TestBody() override {}
};

// Data that deflate cannot shrink, so that extracting it passes many progress points.
std::string Noise(size_t Size, unsigned Seed) {
  std::mt19937 random(Seed);
  std::string bytes(Size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

int Bar(TForm& Form, const char* Name) { return dynamic_cast<TProgressBar&>(TFormDriver(Form).Find(Name)).Position(); }

std::string Grab(TForm& Form, const char* Name) {
  const char* dir = std::getenv("QNL_GRAB_DIR");
  TFormDriver(Form).Grab(dir ? std::string(dir) + "/" + Name : "");
  return Form.Caption();
}

class DuringInstall : public VclTest {
protected:
  void SetUp() override {
    FMachine.SetUp();
    VclTest::SetUp();
    RegisterControlsClasses();
    RegisterEngineClasses();
    RegisterDialogClasses();
    FInstall = new TRecordlessInstall(&FProject);
    QnlfCompress().SetAbort(false);
    SetNetAbort(false);
  }
  void TearDown() override {
    VclTest::TearDown();
    FMachine.TearDown();
  }
  TDialogManager* NewManager(TManagerType Kind) {
    auto* manager = new TDialogManager(&FProject);
    manager->SetManagerType(Kind);
    manager->SetContainer(FInstall);
    return manager;
  }
  // A directory of the install component with three files of Size bytes in its own archive,
  // compressed; the install pass is then run by Install().
  TInstallDirectory* CompressedDirectory(size_t Size) {
    auto* dir = new TInstallDirectory(&FProject);
    dir->SetContainer(FInstall);
    // A full path of its own: not relative to the container's archive.
    dir->SetArchiveFileType(nullptr);
    dir->SetArchiveFile("C:\\dist\\tool.1");
    dir->SetDestDir("C:\\Apps\\Tool");
    dir->SetDestDirType(nullptr);
    for (int i = 0; i < 3; ++i) {
      std::string source = "C:\\src\\part" + std::to_string(i) + ".dat";
      WriteMachineFile(source, Noise(Size, i));
      FFiles.push_back(new TInstallFile(&FProject, dir, source));
    }
    dir->Compress(coForceNetFilesLocal | coIncludeExcluded);
    return dir;
  }
  // The directory's install pass inside the install component's, as the installation runs it.
  void Install(TInstallDirectory* Dir, int32_t TotalSize) {
    FInstall->SetPassState(TPassState::pstInstall);
    FInstall->SetPassTotalSize(TotalSize);
    FInstall->SetPassDoneSize(0);
    Dir->InstallObjects();
    FInstall->SetPassState(TPassState::pstNone);
  }

  TMachineDir FMachine;
  TTestApplication& FApp = TestApp(); // before the forms
  TForm FProject{nullptr};
  TRecordlessInstall* FInstall = nullptr;
  std::vector<TInstallFile*> FFiles;
};

// An install file whose disk relay a test calls as the archive component would.
class TRelayFile : public TInstallFile {
public:
  using TCustomInstallFile::DiskRelay;
  using TInstallFile::TInstallFile;
};

// Runs Action on the change-disk prompt once it is shown modally.
void AtPrompt(std::function<void(TChangeDiskForm&)> Action) {
  QTimer::singleShot(0, [Action] {
    for (int i = 0; i < Application().ComponentCount(); ++i)
      if (auto* form = dynamic_cast<TChangeDiskForm*>(Application().Components(i)); form && form->Modal())
        return Action(*form);
    AtPrompt(Action);
  });
}

TCopyFileForm& OnlyCopyForm(const TDialogManager& Manager) {
  EXPECT_EQ(Manager.CopyForms().size(), 1u);
  return dynamic_cast<TCopyFileForm&>(*Manager.CopyForms().at(0));
}

} // namespace

TEST_F(DuringInstall, ARealInstallFillsTheBarsAndADownloadShowsTheTransferPicture) {
  TDialogManager* manager = NewManager(dmDuringCopyFiles);
  auto* dialog = new TCopyFileDlg(&FProject);
  dialog->SetDialogManager(manager);
  TInstallDirectory* dir = CompressedDirectory(40000);
  // Halfway through the second file (part1) the bars show the previous progress point.
  std::vector<std::pair<int, int>> halfway;
  FFiles[1]->OnStatus = [&](TObject*, int File, int) {
    if (File < 40 || File > 60 || !halfway.empty() || manager->CopyForms().empty()) return;
    TForm& form = *manager->CopyForms()[0];
    halfway.emplace_back(Bar(form, "ProgressBar1"), Bar(form, "ProgressBar2"));
    Grab(form, "copy-progress.png");
  };
  Install(dir, 120000);
  EXPECT_TRUE(ReadMachineFile("C:\\Apps\\Tool\\part2.dat") == Noise(40000, 2));
  ASSERT_EQ(halfway.size(), 1u);
  EXPECT_GE(halfway[0].first, 30);
  EXPECT_LE(halfway[0].first, 60);
  EXPECT_GE(halfway[0].second, 43); // (40000 + 30% of 40000) of 120000
  EXPECT_LE(halfway[0].second, 53);

  TCopyFileForm& form = OnlyCopyForm(*manager);
  TFormDriver driver(form);
  EXPECT_EQ(dialog->CurrentForm(), &form);
  EXPECT_EQ(form.Caption(), "Copying installation files");
  EXPECT_EQ(form.Width(), 474);
  EXPECT_EQ(form.Height(), 146);
  EXPECT_EQ(Bar(form, "ProgressBar1"), 100);
  EXPECT_EQ(Bar(form, "ProgressBar2"), 100);
  EXPECT_EQ(driver.ShownText("lblCopyingFile"), "part0.dat"); // the directory's last file
  EXPECT_TRUE(driver.IsShowing("UnZipImage"));
  EXPECT_FALSE(driver.IsShowing("TransferBitmap"));

  // Download progress: the transfer picture, the file bar; the total keeps its value.
  TDownloadStatusParameter download;
  download.FileName = "tool.1";
  download.PercentDone = 40;
  FInstall->Notify(icDownloadProgress, &download);
  EXPECT_EQ(Bar(form, "ProgressBar1"), 40);
  EXPECT_EQ(Bar(form, "ProgressBar2"), 100);
  EXPECT_EQ(driver.ShownText("lblCopyingFile"), "tool.1");
  EXPECT_TRUE(driver.IsShowing("TransferBitmap"));
  EXPECT_FALSE(driver.IsShowing("UnZipImage"));
  TFileStatusParameter file;
  file.FileName = "next.dat";
  file.FilePercentDone = 10;
  file.TotalPercentDone = 5;
  FInstall->Notify(icProgress, &file);
  EXPECT_FALSE(driver.IsShowing("TransferBitmap"));
  EXPECT_EQ(Bar(form, "ProgressBar1"), 10);
  EXPECT_EQ(Bar(form, "ProgressBar2"), 5);
}

TEST_F(DuringInstall, CancelInTheProgressWindowStopsTheExtractionWhenTheUserMayAbort) {
  struct {
    bool MayAbort;
  } rows[] = {{false}, {true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.MayAbort);
    TDialogManager* manager = NewManager(dmDuringCopyFiles);
    auto* dialog = new TCopyFileDlg(&FProject);
    dialog->SetDialogManager(manager);
    TInstallDirectory* dir = CompressedDirectory(60000);
    FInstall->OnUserAbort = [&](TCustomInstall*, bool& QuitOut) { QuitOut = row.MayAbort; };
    // The user clicks Cancel while the first file (part2) is being extracted.
    bool clicked = false;
    FFiles[2]->OnStatus = [&](TObject*, int File, int) {
      if (clicked || manager->CopyForms().empty() || File < 20) return;
      clicked = true;
      TFormDriver(OnlyCopyForm(*manager)).Click("CancelBtn");
    };
    if (row.MayAbort) {
      EXPECT_THROW(Install(dir, 180000), EQXUserAbort);
      for (const char* name : {"part2.dat", "part1.dat", "part0.dat"})
        EXPECT_FALSE(FileExists(std::string("C:\\Apps\\Tool\\") + name)) << name;
      EXPECT_TRUE(QnlfCompress().Abort());
      EXPECT_TRUE(NetAbort());
    } else {
      Install(dir, 180000);
      EXPECT_TRUE(FileExists("C:\\Apps\\Tool\\part0.dat"));
      EXPECT_FALSE(QnlfCompress().Abort());
    }
    EXPECT_TRUE(clicked);
    delete dialog;
    delete dir;
    delete manager;
    FFiles.clear();
    DeleteTree("C:\\Apps");
  }
}

TEST_F(DuringInstall, TheStatusWindowShowsTheNewestMessageOfItsStack) {
  auto* status = new TInstallStatusDlg(&FProject);
  status->SetName("StatusDlg");
  status->SetContainer(FInstall);
  TMessageParameter a, b, wide;
  a.Text = "Creating shortcuts";
  b.Text = "Registering the program's files with the system";
  wide.Text = std::string(400, 'W');
  EXPECT_EQ(status->StatusForm(), nullptr);
  FInstall->PushStatusMessage(a.Text);
  TInstallStatusForm* form = status->StatusForm();
  ASSERT_NE(form, nullptr);
  TFormDriver driver(*form);
  int widthA = form->Width();
  FInstall->Notify(icPushStatusMessage, &b);
  EXPECT_EQ(driver.ShownText("lblMessage"), b.Text);
  EXPECT_GT(form->Width(), widthA);
  EXPECT_EQ(form->Widget()->width(), form->Width()); // the window too, not only the form
  EXPECT_EQ(form->Left(), Round(Application().ScreenWidth() / 2.0 - form->Width() / 2.0));
  Grab(*form, "install-status.png");
  FInstall->PopStatusMessage();
  EXPECT_EQ(driver.ShownText("lblMessage"), a.Text);
  EXPECT_EQ(form->Width(), widthA);
  EXPECT_TRUE(form->Visible());
  FInstall->PopStatusMessage();
  EXPECT_FALSE(form->Visible());
  FInstall->PopStatusMessage(); // nothing left: nothing shown, no error
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(status->Messages().empty());

  // A message wider than the screen widens the window past both edges.
  FInstall->Notify(icPushStatusMessage, &wide);
  EXPECT_GT(form->Width(), Application().ScreenWidth());
  EXPECT_LT(form->Left(), 0);
  EXPECT_EQ(status->StatusForm(), form); // the window is kept

  EXPECT_EQ(MessageOf([&] { FInstall->Notify(icPushStatusMessage, nullptr); }), "StatusDlg got a nil PO parameter");
  TDiskParameter other;
  EXPECT_EQ(MessageOf([&] { FInstall->Notify(icPushStatusMessage, &other); }),
            "The PO object passed to StatusDlg is not a TMessageParameter object");
}

TEST_F(DuringInstall, ANewDiskPromptsForItsNumberAndThePathChosenIsWhereTheArchiveIsLookedFor) {
  TDialogManager* manager = NewManager(dmChangeDisk);
  auto* dir = new TInstallDirectory(&FProject);
  dir->SetContainer(FInstall);
  dir->SetArchiveFileType(nullptr);
  dir->SetArchiveFile("C:\\dist\\tool.1");
  auto* file = new TRelayFile(&FProject, dir, "C:\\src\\a.dat");
  FInstall->SetPassState(TPassState::pstInstall);
  dir->SetPassState(TPassState::pstInstall);
  std::vector<std::string> boxes;
  FApp.MessageBoxHook = [&](const std::string& Text, const std::string&, int) {
    boxes.push_back(Text);
    return IDOK;
  };
  // Without a change-disk dialog the install file asks with its own message box.
  std::string path;
  file->DiskRelay(QnlfCompress(), 2, path);
  EXPECT_EQ(boxes, std::vector<std::string>{"Please insert disk #2"});
  EXPECT_EQ(file->Tag(), 0);
  const std::string expected = path; // where the archive is expected now

  (new TChangeDiskDlg(&FProject))->SetDialogManager(manager);
  FApp.PretendDisplay = true;
  std::string prompt, shownPath;
  AtPrompt([&](TChangeDiskForm& Form) {
    TFormDriver driver(Form);
    prompt = driver.ShownText("PromptDiskLabel");
    shownPath = driver.ShownText("PathEdit");
    EXPECT_EQ(Form.ActiveControl(), &driver.Find("InstallBtn"));
    dynamic_cast<TEdit&>(driver.Find("PathEdit")).SetText("D:\\Disk3");
    Grab(Form, "change-disk.png");
    driver.PressEnter();
  });
  file->DiskRelay(QnlfCompress(), 3, path);
  EXPECT_EQ(prompt, "Please insert disk number 3");
  EXPECT_EQ(shownPath, expected);
  EXPECT_EQ(path, "D:\\Disk3");
  EXPECT_EQ(file->Tag(), 1); // the prompt was shown: no message box
  EXPECT_EQ(boxes.size(), 1u);

  // Cancel, when the user may abort, ends the installation as a user abort.
  AtPrompt([](TChangeDiskForm& Form) { TFormDriver(Form).Click("CancelBtn"); });
  EXPECT_THROW(file->DiskRelay(QnlfCompress(), 4, path), EQXUserAbort);

  // A notification with a wrong parameter shows no prompt.
  TList wrong;
  TMessageParameter notDisk;
  wrong.Add(file);
  wrong.Add(&notDisk);
  EXPECT_EQ(MessageOf([&] { FInstall->Notify(icNewDiskNeeded, &wrong); }), "TChangeDiskDlg says bad second parameter");
  FInstall->SetPassState(TPassState::pstNone);
  dir->SetPassState(TPassState::pstNone);
}
