// quenloft preview and the image script on the sample with a translator of the test's own: the
// real tool, real projects, pictures decoded and compared.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include <QImage>

#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl::test;
namespace fs = std::filesystem;

namespace {

class Preview : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    // The sample with the test's translator after its components.
    std::string form = ReadFile(Source("examples/sample/formMain.txt"));
    form.insert(form.rfind("end"), ReadFile(Source("tests/tools/projects/preview_dialogs.txt")));
    FProject = WriteFile("formMain.txt", form);
    ASSERT_EQ(Run(Quote(Bin("quenloft")) + " machine create").ExitStatus, 0);
  }

  // Runs quenloft preview on the test project with Args, writing Name; its picture.
  QImage Picture(const std::string& Args, const std::string& Name) {
    std::string png = (FDir / Name).string();
    TProcessResult r = Run(Quote(Bin("quenloft")) + " preview " + Quote(FProject) + " " + Args + " -o " + Quote(png));
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    return QImage(QString::fromStdString(png));
  }

  // Every file and directory under Dir with its size, time and contents.
  static std::map<std::string, std::string> Listing(const fs::path& Dir) {
    std::map<std::string, std::string> listing;
    for (const auto& entry : fs::recursive_directory_iterator(Dir)) {
      std::ostringstream line;
      line << entry.last_write_time().time_since_epoch().count();
      if (entry.is_regular_file()) line << " " << ReadFile(entry.path().string());
      listing[entry.path().lexically_relative(Dir).string()] = line.str();
    }
    return listing;
  }

  std::string FProject;
};

} // namespace

TEST_F(Preview, APageIsDrawnInItsWizardWindowAndEachPageDiffers) {
  QImage welcome = Picture("--page WelcomeDlg", "welcome.png");
  QImage destination = Picture("--page SelectDestinationDlg", "destination.png");
  ASSERT_FALSE(welcome.isNull());
  // The manager's 478 x 395 less the window's frame and caption bar, which are not drawn.
  EXPECT_EQ(welcome.size(), QSize(472, 370));
  EXPECT_EQ(destination.size(), welcome.size());
  EXPECT_NE(destination, welcome);
}

TEST_F(Preview, ALanguageOfTheProjectChangesThePictureAndAnotherIsRefusedWithTheOffer) {
  QImage english = Picture("--page WelcomeDlg", "english.png");
  QImage german = Picture("--page WelcomeDlg --language German", "german.png");
  EXPECT_EQ(german.size(), english.size());
  EXPECT_NE(german, english);

  TProcessResult r =
      Run(Quote(Bin("quenloft")) + " preview " + Quote(FProject) + " --page WelcomeDlg --language French -o x.png");
  EXPECT_NE(r.ExitStatus, 0);
  EXPECT_EQ(r.Err, "quenloft preview: The project offers no language \"French\"; it offers English, German\n");
  EXPECT_FALSE(fs::exists(FDir / "x.png"));
}

TEST_F(Preview, AnUnknownDialogFailsListingTheProjectsDialogs) {
  TProcessResult r =
      Run(Quote(Bin("quenloft")) + " preview " + Quote(FProject) + " --page LicenceDlg -o " + Quote("x.png"));
  EXPECT_EQ(r.ExitStatus, 1);
  EXPECT_EQ(r.Err.rfind("quenloft preview: The project has no dialog component \"LicenceDlg\"; its dialog components "
                        "are WelcomeDlg (TWelcomeDlg), LicenseDlg (TLicenseDlg), ",
                        0),
            0u)
      << r.Err;
  EXPECT_NE(r.Err.find(", BadInstallationDlg (TBadInstallationDlg)\n"), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(FDir / "x.png"));
}

TEST_F(Preview, TheMachineIsLeftAsItWasAndNoTemporaryDirectoryStays) {
  // On the user's machine: read, never written.
  std::map<std::string, std::string> before = Listing(Machine());
  for (const char* page : {"WelcomeDlg", "SelectDestinationDlg", "CopyFileDlg", "InstallStatusDlg", "ChangeDiskDlg"})
    EXPECT_FALSE(Picture(std::string("--page ") + page, std::string(page) + ".png").isNull()) << page;
  EXPECT_EQ(Listing(Machine()), before);

  // Without a machine, a temporary one stands in and goes again.
  fs::remove_all(Machine());
  fs::create_directories(FDir / "tmp");
  TProcessResult r = Run("env TMPDIR=" + Quote((FDir / "tmp").string()) + " " + Quote(Bin("quenloft")) + " preview " +
                         Quote(FProject) + " -o main.png");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_NE(r.Err.find("the project is loaded on a temporary one"), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(Machine()));
  EXPECT_TRUE(fs::is_empty(FDir / "tmp"));
  EXPECT_FALSE(QImage((FDir / "main.png").string().c_str()).isNull());
}

TEST_F(Preview, TheImageScriptDrawsTheDialogsTheProjectHasAndSkipsTheOthers) {
  fs::path images = FDir / "images";
  TProcessResult r = Run("env BUILD_DIR=" + Quote(fs::path(Bin("")).parent_path().parent_path().string()) +
                         " PROJECT=" + Quote(FProject) + " OUT_DIR=" + Quote(images.string()) + " " +
                         Quote(Source("tools/scripts/grab-images.sh")) + " WelcomeDlg NoSuchDlg ChangeDiskDlg");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Out, images.string() + "/page-welcome.png\ngrab-images: skipping NoSuchDlg: " + FProject +
                       " has no such dialog component\n" + images.string() + "/change-disk.png\n");
  EXPECT_EQ(fs::directory_iterator(images)->path().extension(), ".png");
  EXPECT_EQ(std::distance(fs::directory_iterator(images), fs::directory_iterator()), 2);
  EXPECT_FALSE(QImage((images / "change-disk.png").string().c_str()).isNull());
}
