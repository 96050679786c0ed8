// The sample's distribution installed by scripts: unattended, with answer files given and
// recorded, and what a script learns from the exit status.
#include <filesystem>
#include <set>

#include "platform/Machine.h"
#include "platform/files/DirectoryLock.h"
#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl::test;
namespace fs = std::filesystem;

namespace {

class AnswerFiles : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    fs::copy(Source("examples/sample/files"), FDir / "files", fs::copy_options::recursive);
    std::string setup = CompileSetup(Source("examples/sample/formMain.txt"));
    WriteFile("BUILD.INF", "Z:" + (FDir / "out").string() + "\r\n");
    TProcessResult build = Run("env WINEPREFIX=" + Quote((FDir / "author").string()) +
                               " QUENLOFT_PATH=" + Quote(Bin("")) + " " + Quote(setup) + " -b");
    ASSERT_EQ(build.ExitStatus, 0) << build.Err;
  }

  // Runs the distribution's setup.exe with Options on the machine Machine (default: the test's).
  TProcessResult Install(const std::string& Options, const fs::path& OnMachine = {}) const {
    std::string env = "env XDG_DATA_HOME=" + Quote((FDir / "xdg").string());
    if (!OnMachine.empty()) env += " WINEPREFIX=" + Quote(OnMachine.string());
    return Run(env + " " + Quote((FDir / "out" / "setup.exe").string()) + " " + Options);
  }

  // Every file and folder below drive C: of a machine but its temporary ones, relative.
  static std::set<std::string> DriveC(const fs::path& Machine) {
    std::set<std::string> entries;
    fs::path root = Machine / "drive_c";
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      std::string relative = fs::relative(entry.path(), root).string();
      if (!relative.starts_with("windows/temp")) entries.insert(relative);
    }
    return entries;
  }

  std::string UninstallEntry(const fs::path& OnMachine) const {
    return Run("env WINEPREFIX=" + Quote(OnMachine.string()) + " " + Quote(Bin("quenloft")) +
               " reg query 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample Application'")
        .Out;
  }
};

} // namespace

TEST_F(AnswerFiles, AnswersMoveTheInstallationAndARecordedRunReplaysTheSame) {
  WriteFile("answers.ini", "[Select Destination]\nDirectory=C:\\Answered\\Sample\n"
                           "[Select Folder]\nFolder=Answered Folder\n");
  TProcessResult r = Install("--unattended --answers answers.ini --save-answers recorded.ini --log install.log");
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  std::vector<std::string> steps = InstallLogSteps(FDir / "install.log");
  EXPECT_TRUE(HasStep(steps, "answer: [Select Destination] Directory=C:\\Answered\\Sample"))
      << ReadFile(FDir / "install.log");
  EXPECT_TRUE(HasStep(steps, "answer: [Select Folder] Folder=Answered Folder")) << ReadFile(FDir / "install.log");
  fs::path installed = Machine() / "drive_c" / "Answered" / "Sample";
  EXPECT_TRUE(fs::exists(installed / "readme.txt"));
  EXPECT_TRUE(fs::exists(installed / "Docs" / "manual.txt"));
  EXPECT_FALSE(fs::exists(Machine() / "drive_c" / "Program Files" / "Sample Application"));
  std::set<std::string> first = DriveC(Machine());
  bool folderThere = false;
  for (const std::string& entry : first) folderThere |= entry.ends_with("Programs/Answered Folder");
  EXPECT_TRUE(folderThere) << "no program folder \"Answered Folder\"";
  std::string recorded = ReadFile((FDir / "recorded.ini").string());
  EXPECT_NE(recorded.find("[Select Destination]\r\nDirectory=C:\\Answered\\Sample\r\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("[Select Folder]\r\nFolder=Answered Folder\r\n"), std::string::npos) << recorded;

  fs::path second = FDir / "second";
  r = Install("--unattended --quiet --answers recorded.ini", second);
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(DriveC(second), first);
  EXPECT_EQ(UninstallEntry(second), UninstallEntry(Machine()));
}

TEST_F(AnswerFiles, AValueNoPageTakesStopsTheRunBeforeAnythingIsInstalled) {
  WriteFile("in-the-way", "a file where a directory would go");
  std::string fileInTheWay = "Z:" + (FDir / "in-the-way").string();
  for (char& c : fileInTheWay)
    if (c == '/') c = '\\';
  struct TRow {
    std::string Text;
    std::string Named; // the section and key the error names
  } rows[] = {
      {"[Select Destination]\nDirectory=" + fileInTheWay + "\\App\n", "[Select Destination] Directory"},
      {"[Select Destination]\nDirectory=Program Files\\App\n", "[Select Destination] Directory"},
      {"[Reboot]\nReboot=Maybe\n", "[Reboot] Reboot"},
      {"[Select Folder]\nColour=Blue\n", "[Select Folder] Colour"},
      {"[Nowhere]\nKey=1\n", "[Nowhere] Key"},
  };
  for (const TRow& row : rows) {
    WriteFile("bad.ini", row.Text);
    TProcessResult r = Install("--unattended --answers bad.ini");
    EXPECT_EQ(r.ExitStatus, 65) << row.Text << r.Err;
    EXPECT_NE(r.Err.find(row.Named), std::string::npos) << r.Err;
    EXPECT_FALSE(fs::exists(Machine() / "drive_c" / "Program Files" / "Sample Application")) << row.Text;
  }
}

TEST_F(AnswerFiles, ASecondSetupOnTheSameMachineEndsAtOnce) {
  fs::create_directories(Machine());
  std::unique_ptr<qnl::TDirectoryLock> running = qnl::TMachine(Machine().string()).ClaimForInstallation();
  ASSERT_TRUE(running);
  TProcessResult r = Install("--unattended");
  EXPECT_EQ(r.ExitStatus, 75) << r.Err;
  EXPECT_NE(r.Err.find("Another setup is running on this machine"), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(Machine() / "drive_c" / "Program Files" / "Sample Application"));
  running.reset();
  EXPECT_EQ(Install("--unattended --quiet").ExitStatus, 0);
}
