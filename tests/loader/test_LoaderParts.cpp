// The loading program's command line and the platform calls it relies on, in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/OSError.h"
#include "platform/files/FileCreation.h"
#include "platform/files/ProgramImage.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Process.h"
#include "tools/loader/InstallCommandLine.h"
#include "tools/loader/TempSetupDirectory.h"

using namespace qnl;

namespace {

// A fresh folder of the test's own, by its Unix and Windows paths.
class LoaderParts : public ::testing::Test {
protected:
  void SetUp() override {
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_NE(prefix, nullptr);
    FUnix = std::filesystem::path(prefix).parent_path() /
            ("loader-parts-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(FUnix);
    std::filesystem::create_directories(FUnix);
    FWindows = WindowsPathOf(FUnix.string());
  }
  void TearDown() override { std::filesystem::remove_all(FUnix); }
  std::filesystem::path FUnix;
  std::string FWindows;
};

} // namespace

TEST(LoaderSwitches, SwitchesOfALoadingProgramWithItsArchiveBeside) {
  EXPECT_EQ(InstallArguments({.LoadingProgram = "C:\\Dist\\setup.exe"}),
            (std::vector<std::string>{"-sC:\\Dist", "-c"}));
}

TEST(LoaderSwitches, SwitchesOfASelfExtractingFile) {
  EXPECT_EQ(InstallArguments({.LoadingProgram = "D:\\My Dist\\Setup.exe", .SelfExtracting = true, .ToDisk = true}),
            (std::vector<std::string>{"-eSetup.exe", "-sD:\\My Dist", "-c", "-f"}));
}

TEST(LoaderSwitches, AProgramInARootDirectoryGivesTheDriveAlone) {
  EXPECT_EQ(InstallArguments({.LoadingProgram = "A:\\setup.exe"}).front(), "-sA:");
}

TEST(LoaderSwitches, EveryArgumentSurvivesThePlatformsSplitting) {
  std::vector<std::string> arguments = {"-sC:\\Dir With Blanks", "-e\"quoted\" name.exe", "-sC:\\ends\\", "-c", ""};
  std::string line = InstallCommandLine("C:\\windows\\temp\\QNL00001\\setup", arguments);
  std::vector<std::string> expected = {"C:\\windows\\temp\\QNL00001\\setup"};
  expected.insert(expected.end(), arguments.begin(), arguments.end());
  EXPECT_EQ(SplitCommandLine(line), expected) << line;
}

TEST_F(LoaderParts, CreateNewDirectoryNeverTakesAnExistingEntry) {
  std::string dir = FWindows + "\\QNL12345";
  EXPECT_TRUE(CreateNewDirectory(dir));
  EXPECT_TRUE(std::filesystem::is_directory(FUnix / "QNL12345"));
  EXPECT_FALSE(CreateNewDirectory(dir));
  EXPECT_FALSE(CreateNewDirectory(FWindows + "\\qnl12345")) << "names compare ignoring case";
  std::ofstream(FUnix / "file") << "x";
  EXPECT_FALSE(CreateNewDirectory(FWindows + "\\file"));
  std::filesystem::create_symlink(FUnix / "nowhere", FUnix / "dangling");
  EXPECT_FALSE(CreateNewDirectory(FWindows + "\\dangling"));
}

TEST_F(LoaderParts, CreateNewDirectoryNeedsItsParent) {
  EXPECT_THROW(CreateNewDirectory(FWindows + "\\missing\\child"), EInOutError);
}

TEST_F(LoaderParts, SetExecutableGivesRunRightsToThoseWhoMayRead) {
  namespace fs = std::filesystem;
  std::ofstream(FUnix / "program") << "#!/bin/sh\n";
  fs::permissions(FUnix / "program", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  SetExecutable(FWindows + "\\program");
  EXPECT_EQ(fs::status(FUnix / "program").permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                             fs::perms::owner_exec | fs::perms::group_read |
                                                             fs::perms::group_exec);
}

TEST_F(LoaderParts, SetExecutableFailsForWhatIsNoFile) {
  EXPECT_THROW(SetExecutable(FWindows + "\\missing"), EInOutError);
  std::filesystem::create_directory(FUnix / "dir");
  EXPECT_THROW(SetExecutable(FWindows + "\\dir"), EInOutError);
}

TEST_F(LoaderParts, TheProgramImageEndsWhereTheLoadingProgramEnds) {
  namespace fs = std::filesystem;
  fs::copy_file(std::string(std::getenv("QNL_BIN")) + "/QuenloftLoadProgram.exe", FUnix / "setup.exe");
  auto size = static_cast<int64_t>(fs::file_size(FUnix / "setup.exe"));
  EXPECT_EQ(ProgramImageSize(FWindows + "\\setup.exe"), size);
  std::ofstream(FUnix / "setup.exe", std::ios::app) << std::string(3000, 'x');
  EXPECT_EQ(ProgramImageSize(FWindows + "\\setup.exe"), size) << "appended bytes are not the program's";
  fs::resize_file(FUnix / "setup.exe", size - 100);
  EXPECT_GT(ProgramImageSize(FWindows + "\\setup.exe"), size - 100) << "a file cut inside the program";
  std::ofstream(FUnix / "script") << "#!/bin/sh\n";
  EXPECT_THROW(ProgramImageSize(FWindows + "\\script"), EInOutError);
}

// Only a directory with our name and our marker whose claim can be taken is a leftover.
TEST_F(LoaderParts, OnlyAbandonedSetupDirectoriesOfOursAreRemoved) {
  namespace fs = std::filesystem;
  std::string left = TTempSetupDirectory(FWindows).Path(); // the object ends as a killed run does
  TTempSetupDirectory live(FWindows);
  fs::path original = UnixPathOf(left);
  for (const char* name : {"QNL1234", "QNLABCDEG", "qnl0abcd", "elsewhere"}) fs::copy(original, FUnix / name);
  fs::create_directory_symlink(FUnix / "elsewhere", FUnix / "QNL0000F");
  fs::create_directories(FUnix / "QNL0000E");
  std::ofstream(FUnix / "QNL0000E" / kSetupDirectoryMarker) << "another program's file";

  RemoveAbandonedSetupDirectories(FWindows);
  EXPECT_FALSE(fs::exists(original));
  EXPECT_TRUE(fs::exists(UnixPathOf(live.Path()))) << "in use";
  for (const char* name : {"QNL1234", "QNLABCDEG", "qnl0abcd", "QNL0000E", "QNL0000F"})
    EXPECT_TRUE(fs::exists(FUnix / name)) << name;
  EXPECT_TRUE(fs::exists(FUnix / "elsewhere" / kSetupDirectoryMarker)) << "followed a link";
}
