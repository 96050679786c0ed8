// Shell folders and system directories read from a real machine's registry.
#include "paths/StandardPathSpecifiers.h"
#include "paths/routines_ExpandPaths.h"
#include "platform/files/WinPaths.h"
#include "tests/paths/PathsTestSupport.h"

using namespace qnl;
using qnl::test::TMachineTest;

namespace {
const std::string ShellFolders = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string CurrentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string BDE = "\\Software\\Borland\\Database Engine";

std::string CurrentDrive() { return GetCurrentDir().substr(0, 2); }
} // namespace

class ShellFoldersTest : public TMachineTest {};

TEST_F(ShellFoldersTest, WindowsAndSystemDirectoriesComeFromThePlatform) {
  EXPECT_EQ(GetWindowsDir(), "C:\\windows");
  EXPECT_EQ(GetSystemDir(), "C:\\windows\\system32");
}

TEST_F(ShellFoldersTest, ValuesWithATrailingBackslashLoseIt) {
  struct Row {
    const char* Value;
    std::string (*Lookup)();
  };
  for (Row row : {Row{"Start Menu", GetStartMenuDir}, Row{"Programs", GetProgramsDir}, Row{"Desktop", GetDesktopDir},
                  Row{"Startup", GetStartupDir}}) {
    SetString(TRootKey::rkCurrentUser, ShellFolders, row.Value, std::string("C:\\WINDOWS\\") + row.Value + "\\");
    EXPECT_EQ(row.Lookup(), std::string("C:\\WINDOWS\\") + row.Value) << row.Value;
  }
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir", "D:\\Apps\\");
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "CommonFilesDir", "D:\\Apps\\Common\\");
  EXPECT_EQ(GetProgramFilesDir(), "D:\\Apps");
  EXPECT_EQ(GetCommonFilesDir(), "D:\\Apps\\Common");
}

TEST_F(ShellFoldersTest, ValuesWithoutATrailingBackslashStayAsTheyAre) {
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Start Menu", "C:\\WINDOWS\\Start Menu");
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir", "E:\\Programme");
  EXPECT_EQ(GetStartMenuDir(), "C:\\WINDOWS\\Start Menu");
  EXPECT_EQ(GetProgramFilesDir(), "E:\\Programme");
  TComponent owner(nullptr);
  EXPECT_EQ((new TpsStartMenu(&owner))->GetPath(nullptr), "C:\\WINDOWS\\Start Menu");
  EXPECT_EQ((new TpsProgramFiles(&owner))->GetPath(nullptr), "E:\\Programme");
}

TEST_F(ShellFoldersTest, MissingValuesFallBackToTheirDefaults) {
  for (const char* v : {"Start Menu", "Programs", "Desktop", "Startup"})
    DeleteValue(TRootKey::rkCurrentUser, ShellFolders, v);
  DeleteValue(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir");
  DeleteValue(TRootKey::rkLocalMachine, CurrentVersion, "CommonFilesDir");
  EXPECT_EQ(GetStartMenuDir(), "C:\\windows\\Startmen");
  EXPECT_EQ(GetProgramsDir(), "C:\\windows\\Startmen\\Programs");
  EXPECT_EQ(GetDesktopDir(), "C:\\windows\\Desktop");
  EXPECT_EQ(GetStartupDir(), "C:\\windows\\Startup");
  EXPECT_EQ(GetProgramFilesDir(), CurrentDrive() + "\\Program Files");
  EXPECT_EQ(GetCommonFilesDir(), CurrentDrive() + "\\Program Files\\Common Files");
}

TEST_F(ShellFoldersTest, AMissingKeyFallsBackToTheDefaults) {
  for (const char* v : {"Start Menu", "Programs", "Desktop", "Startup"})
    DeleteValue(TRootKey::rkCurrentUser, ShellFolders, v);
  if (auto key = TRegKey::Open(TRootKey::rkCurrentUser, ShellFolders))
    for (const std::string& name : key->ValueNames()) key->DeleteValue(name);
  ASSERT_TRUE(TRegKey::Delete(TRootKey::rkCurrentUser, ShellFolders));
  EXPECT_EQ(GetDesktopDir(), "C:\\windows\\Desktop");
}

TEST_F(ShellFoldersTest, AValueOfAnotherTypeCountsAsMissing) {
  TRegKey::Create(TRootKey::rkCurrentUser, ShellFolders).WriteDWord("Desktop", 7);
  EXPECT_EQ(GetDesktopDir(), "C:\\windows\\Desktop");
}

TEST_F(ShellFoldersTest, TheBDEDirectoryIsTheFirstFieldOfDLLPath) {
  SetString(TRootKey::rkLocalMachine, BDE, "DLLPath", "C:\\BDE;D:\\OTHER");
  EXPECT_EQ(GetBDEDir(), "C:\\BDE");
  SetString(TRootKey::rkLocalMachine, BDE, "DLLPath", "C:\\IDAPI");
  EXPECT_EQ(GetBDEDir(), "C:\\IDAPI");
}

TEST_F(ShellFoldersTest, TheBDELookupKeepsATrailingBackslashButTheSpecifierDoesNot) {
  SetString(TRootKey::rkLocalMachine, BDE, "DLLPath", "C:\\BDE\\;D:\\OTHER");
  EXPECT_EQ(GetBDEDir(), "C:\\BDE\\");
  TComponent owner(nullptr);
  EXPECT_EQ((new TpsBDEDLL(&owner))->GetPath(nullptr), "C:\\BDE");
}

TEST_F(ShellFoldersTest, AMissingBDEValueGivesTheProgramFilesDefault) {
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir", "C:\\Program Files\\");
  DeleteValue(TRootKey::rkLocalMachine, BDE, "DLLPath");
  EXPECT_EQ(GetBDEDir(), "C:\\Program Files\\Borland\\Common Files\\BDE");
}

TEST_F(ShellFoldersTest, SystemSpecifiersGiveTheirLocations) {
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Programs", "C:\\SM\\Programs\\");
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Startup", "C:\\SM\\Programs\\Startup");
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Desktop", "C:\\Desk");
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "CommonFilesDir", "C:\\Common");
  TComponent owner(nullptr);
  EXPECT_EQ((new TpsProgramMenu(&owner))->GetPath(nullptr), "C:\\SM\\Programs");
  EXPECT_EQ((new TpsStartupMenu(&owner))->GetPath(nullptr), "C:\\SM\\Programs\\Startup");
  EXPECT_EQ((new TpsDesktopMenu(&owner))->GetPath(nullptr), "C:\\Desk");
  EXPECT_EQ((new TpsCommonFiles(&owner))->GetPath(nullptr), "C:\\Common");
  EXPECT_EQ((new TpsSystem(&owner))->GetPath(nullptr), "C:\\windows\\system32");
  EXPECT_EQ((new TpsWindow(&owner))->GetPath(nullptr), "C:\\windows");
}

TEST_F(ShellFoldersTest, WhileLookupsAreHeldAFolderIsReadOnceAndAfterwardsAnew) {
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir", "D:\\Apps");
  {
    TFolderLookupsOnce held;
    EXPECT_EQ(GetProgramFilesDir(), "D:\\Apps");
    SetString(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir", "E:\\Programme");
    {
      TFolderLookupsOnce nested;
      EXPECT_EQ(GetProgramFilesDir(), "D:\\Apps");
    }
    EXPECT_EQ(GetProgramFilesDir(), "D:\\Apps") << "the inner holder ended the outer one's memory";
  }
  EXPECT_EQ(GetProgramFilesDir(), "E:\\Programme");
}
