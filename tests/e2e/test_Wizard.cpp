// The sample project installed as a person installs it: its setup runs in this process on the
// offscreen platform, and the test clicks through the real wizard pages, once choosing another
// destination and once giving up on the first page.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/TQnlfCompress.h"
#include "engine/TCustomInstall.h"
#include "main/formMain.h"
#include "platform/Machine.h"
#include "platform/registry/Registry.h"
#include "rtl/ProgramArguments.h"
#include "setup/SetupProgram.h"
#include "tests/dialogs/WizardDriver.h"
#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"
#include "tests/vcl/VclTestSupport.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// The sample's files below examples/sample/files (none for the product's uninstaller, which
// the build takes from the product directory), where they are installed, and their archive
// members.
struct TSampleFile {
  const char* Source;
  const char* Installed;
  int UniqueID;
};
const TSampleFile kSampleFiles[] = {
    {"readme.txt", "readme.txt", 0},
    {"docs/manual.txt", "Docs/manual.txt", 1},
    {"docs/license.txt", "Docs/license.txt", 2},
    {"bin/sample.sh", "sample.sh", 3},
    {"", "QuenloftUninstall.exe", 4},
};

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample Application";

} // namespace

class SampleWizard : public SetupProcessTest {
protected:
  // The file the build compresses.
  static std::string SourceFile(const TSampleFile& File) {
    return *File.Source ? Source(std::string("examples/sample/files/") + File.Source) : Bin("QuenloftUninstall.exe");
  }

  // The file's name in the archive: its path as the project gives it, relative to the sample's
  // folder where the build runs.
  static std::string MemberName(const TSampleFile& File) {
    std::string name = *File.Source ? std::string("files/") + File.Source : "Z:" + SourceFile(File);
    for (char& c : name)
      if (c == '/') c = '\\';
    return name;
  }

  void SetUp() override {
    SetupProcessTest::SetUp();
    ResetTestApp();
    ShareMachineWithPrograms();
    TMachine::Current();
    setenv("XDG_DATA_HOME", (FDir / "xdg").c_str(), 1);
    unsetenv("QUENLOFT_UNATTENDED");
    FApp.PretendDisplay = true; // the wizard's modal loops run and wait for the clicks
    MakeDistribution();
  }
  void TearDown() override {
    SettleTestApp();
    FApp.PretendDisplay = false;
    SetProgramArguments(std::vector<std::string>{});
    SetupProcessTest::TearDown();
  }

  // C:\dist\files.1 as the sample's build makes it, in the sample's folder.
  static void MakeDistribution() {
    std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(Source("examples/sample"));
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile("C:\\dist\\files.1");
    for (const TSampleFile& file : kSampleFiles) {
      zip.FilesToProcess().Clear();
      zip.FilesToProcess().Add(MemberName(file));
      zip.Add(lzcOnlyAdd, file.UniqueID);
    }
    std::filesystem::current_path(was);
  }

  // Runs the sample's setup as its program does, with the distribution in C:\dist, until the
  // installation ends the program; returns its exit status. The message of the error that
  // ended the installation, if one did, goes to FEndedBy.
  int RunSample() {
    RegisterSetupClasses();
    SetProgramArguments(std::vector<std::string>{"-sC:\\dist"});
    auto* form = new TformMain(&FApp);
    LoadTextForm(form, ReadFile(Source("examples/sample/formMain.txt")));
    TExceptionEvent install = FApp.OnException;
    FApp.OnException = [this, install](TObject* Sender, const std::exception& E) {
      FEndedBy = E.what();
      install(Sender, E);
    };
    // A box shown would wait for a click nobody makes: the test notes it and answers OK.
    FApp.MessageBoxHook = [this](const std::string& Text, const std::string&, int) {
      FBoxes.push_back(Text);
      return 1;
    };
    FApp.SetMainForm(form);
    FApp.Run();
    delete form;
    return FApp.ExitCode();
  }

  // What a person does on one page of a wizard (Index counts the pages it has shown); false
  // when the click ended the wizard.
  using TPageStep = std::function<bool(TFormDriver& Page, int Index)>;
  // Drives the wizards the installation shows, in turn, one step for each; notes the caption of
  // every page seen.
  void DriveWizards(std::vector<TPageStep> Steps) {
    qnl::test::WhenWizardShows([this, Steps](TBaseFormContainer& W) {
      // The wizard just finished is still up until its modal loop returns.
      if (W.ModalResult() != mrNone) return DriveWizards(Steps);
      for (int page = 0;; ++page) {
        FCaptions.push_back(W.Caption());
        GrabFor(W, "sample-" + W.Caption());
        TFormDriver driver = FrontPage(W);
        if (!Steps.front()(driver, page)) break;
      }
      if (Steps.size() > 1) DriveWizards(std::vector<TPageStep>(Steps.begin() + 1, Steps.end()));
    });
  }
  static bool Finish(TFormDriver& Page, int) {
    Page.Click("FinishBtn");
    return false;
  }

  std::filesystem::path OnDriveC(const std::string& Path) const { return Machine() / "drive_c" / Path; }
  // Every shortcut file on the machine's drive C:.
  std::vector<std::filesystem::path> Shortcuts() const {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(OnDriveC("")))
      if (entry.path().extension() == ".lnk" || entry.path().extension() == ".URL") found.push_back(entry.path());
    return found;
  }

  TTestApplication& FApp = TestApp();
  std::vector<std::string> FCaptions;
  std::string FEndedBy;
  std::vector<std::string> FBoxes;
};

TEST_F(SampleWizard, ClickedThroughToAnotherDestinationTheFilesGoThereOnly) {
  DriveWizards({[](TFormDriver& Page, int Index) {
                  if (Index == 3) { // Select Destination: the typed text replaces the proposed directory
                    Page.Type("edDestDir", "");
                    Page.PressKey(Qt::Key_A, Qt::ControlModifier);
                    Page.Type("edDestDir", "C:\\Elsewhere\\Sample");
                  }
                  if (Index == 4) { // Select Folder: a new program folder typed over the proposed one
                    Page.Type("FolderEdit", "");
                    Page.PressKey(Qt::Key_A, Qt::ControlModifier);
                    Page.Type("FolderEdit", "Sample Tools");
                  }
                  Page.Click("ProceedBtn");
                  return Index < 4;
                },
                [this](TFormDriver& Page, int Index) {
                  // The good ending comes once the files are in place.
                  EXPECT_TRUE(std::filesystem::exists(OnDriveC("Elsewhere/Sample/readme.txt")));
                  return Finish(Page, Index);
                }});
  EXPECT_EQ(RunSample(), 0) << FEndedBy;
  EXPECT_EQ(FBoxes, std::vector<std::string>{});
  EXPECT_EQ(FCaptions,
            (std::vector<std::string>{"Welcome", "Software license agreement", "Readme information",
                                      "Choose Destination Location", "Select folder in start menu", "Setup complete"}));
  for (const TSampleFile& file : kSampleFiles)
    EXPECT_EQ(ReadFile(OnDriveC(std::string("Elsewhere/Sample/") + file.Installed)), ReadFile(SourceFile(file)))
        << file.Installed;
  EXPECT_FALSE(std::filesystem::exists(OnDriveC("Program Files/Sample Application")));
  // Every shortcut of the sample lies in the program folder typed, or in its subfolder.
  std::vector<std::filesystem::path> links = Shortcuts();
  EXPECT_EQ(links.size(), 5u);
  for (const auto& link : links) EXPECT_NE(link.string().find("/Sample Tools/"), std::string::npos) << link;
  std::optional<TRegKey> entry = TRegKey::Open(TRootKey::rkLocalMachine, kUninstallKey);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->ReadString("UninstallString").value_or(""),
            "C:\\Elsewhere\\Sample\\QuenloftUninstall.exe Sample Application");
}

TEST_F(SampleWizard, CancelOnTheFirstPageAbortsWithNothingInstalled) {
  DriveWizards({[](TFormDriver& Page, int) {
                  Page.Click("CancelBtn");
                  return false;
                },
                Finish});
  EXPECT_EQ(RunSample(), kExitUserAbort);
  EXPECT_EQ(FEndedBy, "Installation aborted by the user");
  EXPECT_EQ(FBoxes, std::vector<std::string>{});
  EXPECT_EQ(FCaptions, (std::vector<std::string>{"Welcome", "Setup incomplete"}));
  EXPECT_FALSE(std::filesystem::exists(OnDriveC("Program Files/Sample Application")));
  EXPECT_FALSE(TRegKey::Open(TRootKey::rkLocalMachine, kUninstallKey));
  EXPECT_EQ(Shortcuts(), std::vector<std::filesystem::path>{});
  EXPECT_FALSE(std::filesystem::exists(FDir / "xdg" / "applications"));
}

TEST_F(SampleWizard, WithoutADisplayTheInstallationFailsNamingTheFirstPage) {
  FApp.PretendDisplay = false;
  EXPECT_EQ(RunSample(), kExitFailed);
  // Shown although the bad ending's page cannot show either.
  EXPECT_EQ(FBoxes, std::vector<std::string>{"The dialog \"Welcome\" cannot be shown without a display; set "
                                             "QUENLOFT_UNATTENDED=1 to answer it with its default action"});
  EXPECT_FALSE(std::filesystem::exists(OnDriveC("Program Files/Sample Application")));
}
