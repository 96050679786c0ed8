// Windows paths of the machine and the Unix paths behind them.
#include <unistd.h>

#include <filesystem>

#include "platform/OSError.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

class WinPaths : public TPlatformTest {
protected:
  std::string DriveC() const { return std::filesystem::canonical(FDir + "/drive_c").string(); }
};

TEST_F(WinPaths, DriveCMapsToDriveCFolder) {
  EXPECT_EQ(UnixPathOf("C:\\"), DriveC());
  EXPECT_EQ(UnixPathOf("C:\\windows\\system32"), DriveC() + "/windows/system32");
}

TEST_F(WinPaths, ExistingComponentsKeepTheirCase) {
  EXPECT_EQ(UnixPathOf("c:\\WINDOWS\\SYSTEM32\\NewFile.DLL"), DriveC() + "/windows/system32/NewFile.DLL");
  EXPECT_EQ(UnixPathOf("C:\\PROGRAM FILES\\common files"), DriveC() + "/Program Files/Common Files");
}

TEST_F(WinPaths, NewComponentsAreUsedAsWritten) {
  EXPECT_EQ(UnixPathOf("C:\\Windows\\My New Dir\\Sub\\File.Txt"), DriveC() + "/windows/My New Dir/Sub/File.Txt");
}

TEST_F(WinPaths, SlashIsASeparatorAndDotsResolve) {
  EXPECT_EQ(UnixPathOf("C:/windows/./temp/../system32//x"), DriveC() + "/windows/system32/x");
  EXPECT_EQ(UnixPathOf("C:\\..\\..\\windows"), DriveC() + "/windows");
}

TEST_F(WinPaths, ExactNameWinsOverOtherCase) {
  ForceDirectories("C:\\Data\\abc");
  // On Windows these are one name: only a Unix program can make both.
  std::filesystem::create_directory(DriveC() + "/Data/ABC");
  EXPECT_EQ(UnixPathOf("C:\\data\\ABC"), DriveC() + "/Data/ABC");
  EXPECT_EQ(UnixPathOf("C:\\data\\abc"), DriveC() + "/Data/abc");
}

TEST_F(WinPaths, MissingDriveIsAClearError) {
  try {
    UnixPathOf("Q:\\setup.exe");
    FAIL() << "no error";
  } catch (const EPathError& e) {
    EXPECT_NE(e.Message().find("drive Q:"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("Q:\\setup.exe"), std::string::npos) << e.Message();
  }
  EXPECT_FALSE(FileExists("Q:\\setup.exe"));
}

TEST_F(WinPaths, UncPathsAreRefused) {
  EXPECT_THROW(UnixPathOf("\\\\server\\share\\file.txt"), EPathError);
  EXPECT_THROW(UnixPathOf("//server/share"), EPathError);
  EXPECT_THROW(UnixPathOf("C:relative.txt"), EPathError);
}

TEST_F(WinPaths, NtPrefixIsAccepted) { EXPECT_EQ(UnixPathOf("\\??\\C:\\windows"), DriveC() + "/windows"); }

TEST_F(WinPaths, UnixPathsMapBackToTheirDrive) {
  EXPECT_EQ(WindowsPathOf(DriveC() + "/windows/system32"), "C:\\windows\\system32");
  EXPECT_EQ(WindowsPathOf(DriveC()), "C:\\");
  // Through the symlink of the machine directory too.
  EXPECT_EQ(WindowsPathOf(FDir + "/dosdevices/c:/windows"), "C:\\windows");
}

TEST_F(WinPaths, PathsOutsideEveryDriveAreOnZ) {
  EXPECT_EQ(WindowsPathOf("/usr/bin"), "Z:\\usr\\bin");
  EXPECT_EQ(UnixPathOf("Z:\\usr\\bin"), "/usr/bin");
  EXPECT_EQ(WindowsPathOf("/"), "Z:\\");
}

TEST_F(WinPaths, LongestDriveTargetWins) {
  std::filesystem::create_directories(FDir + "/drive_c/media/disk1");
  std::filesystem::create_directory_symlink("../drive_c/media/disk1", FDir + "/dosdevices/a:");
  EXPECT_EQ(WindowsPathOf(FDir + "/drive_c/media/disk1/setup.1"), "A:\\setup.1");
  EXPECT_EQ(WindowsPathOf(FDir + "/drive_c/media"), "C:\\media");
  EXPECT_EQ(UnixPathOf("A:\\SETUP.1"), DriveC() + "/media/disk1/SETUP.1");
}

TEST_F(WinPaths, AHeldDriveLinkIsLookedAtAgainOnlyOnceADiskWasAskedFor) {
  std::filesystem::create_directories(FDir + "/drive_c/media/disk1");
  std::filesystem::create_directories(FDir + "/drive_c/media/disk2");
  auto pointA = [&](const char* Disk) {
    std::filesystem::remove(FDir + "/dosdevices/a:");
    std::filesystem::create_directory_symlink(std::string("../drive_c/media/") + Disk, FDir + "/dosdevices/a:");
  };
  pointA("disk1");
  const std::string disk1 = DriveC() + "/media/disk1/x", disk2 = DriveC() + "/media/disk2/x";
  {
    TDriveLinksHeld held;
    EXPECT_EQ(UnixPathOf("A:\\x"), disk1);
    pointA("disk2");
    EXPECT_EQ(UnixPathOf("A:\\x"), disk1);
    ForgetDriveLinks();
    EXPECT_EQ(UnixPathOf("A:\\x"), disk2);
    pointA("disk1");
  }
  EXPECT_EQ(UnixPathOf("A:\\x"), disk1) << "a link not held is looked at for every path";
}

TEST_F(WinPaths, RelativePathsUseTheCurrentDirectory) {
  auto old = std::filesystem::current_path();
  std::filesystem::current_path(DriveC() + "/windows");
  EXPECT_EQ(GetCurrentDir(), "C:\\windows");
  EXPECT_EQ(UnixPathOf("system32"), DriveC() + "/windows/system32");
  EXPECT_EQ(UnixPathOf("\\Program Files"), DriveC() + "/Program Files");
  std::filesystem::current_path(old);
}

TEST_F(WinPaths, ShortNamesFindTheirLongFile) {
  ForceDirectories("C:\\Program Files\\Quenloft Sample");
  // Wine's hashed form of "Quenloft Sample" (see test_ShortNames) finds the long name.
  EXPECT_EQ(UnixPathOf("C:\\PROG~FBU\\QUEN~OI4\\new.txt"), DriveC() + "/Program Files/Quenloft Sample/new.txt");
  // Windows' numeric tails are not Wine's: such a name is a new name.
  EXPECT_EQ(UnixPathOf("C:\\PROGRA~1"), DriveC() + "/PROGRA~1");
}

TEST_F(WinPaths, AnsiNamesBecomeUtf8OnDiskAndBack) {
  // The machine's code page is 1252: 0xE9 is "é", stored as UTF-8 in the Unix name.
  ForceDirectories("C:\\Caf\xE9\\Men\xFC");
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/Caf\u00e9/Men\u00fc"));
  EXPECT_EQ(WindowsPathOf(DriveC() + "/Caf\u00e9/Men\u00fc"), "C:\\Caf\xE9\\Men\xFC");
  EXPECT_EQ(ListDirectory("C:\\Caf\xE9").at(0).Name, "Men\xFC");
}

TEST_F(WinPaths, NormalizeWithoutTouchingTheDisk) {
  EXPECT_EQ(NormalizeWindowsPath("c:/a/./b/../c\\\\d"), "C:\\a\\c\\d");
  EXPECT_EQ(NormalizeWindowsPath("\\??\\C:\\x"), "C:\\x");
  EXPECT_EQ(NormalizeWindowsPath("dir\\file."), "dir\\file");
}

} // namespace
} // namespace qnl::test
