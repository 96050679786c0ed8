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
  struct Row { const char* value; std::string (*lookup)(); };
  for (Row row : {Row{"Start Menu", GetStartMenuDir}, Row{"Programs", GetProgramsDir},
                  Row{"Desktop", GetDesktopDir}, Row{"Startup", GetStartupDir}}) {
    SetString(TRootKey::CurrentUser, ShellFolders, row.value, std::string("C:\\WINDOWS\\") + row.value + "\\");
    EXPECT_EQ(row.lookup(), std::string("C:\\WINDOWS\\") + row.value) << row.value;
  }
  SetString(TRootKey::LocalMachine, CurrentVersion, "ProgramFilesDir", "D:\\Apps\\");
  SetString(TRootKey::LocalMachine, CurrentVersion, "CommonFilesDir", "D:\\Apps\\Common\\");
  EXPECT_EQ(GetProgramFilesDir(), "D:\\Apps");
  EXPECT_EQ(GetCommonFilesDir(), "D:\\Apps\\Common");
}

TEST_F(ShellFoldersTest, ValuesWithoutATrailingBackslashStayAsTheyAre) {
  SetString(TRootKey::CurrentUser, ShellFolders, "Start Menu", "C:\\WINDOWS\\Start Menu");
  SetString(TRootKey::LocalMachine, CurrentVersion, "ProgramFilesDir", "E:\\Programme");
  EXPECT_EQ(GetStartMenuDir(), "C:\\WINDOWS\\Start Menu");
  EXPECT_EQ(GetProgramFilesDir(), "E:\\Programme");
  TComponent owner(nullptr);
  EXPECT_EQ((new TpsStartMenu(&owner))->GetPath(nullptr), "C:\\WINDOWS\\Start Menu");
  EXPECT_EQ((new TpsProgramFiles(&owner))->GetPath(nullptr), "E:\\Programme");
}

TEST_F(ShellFoldersTest, MissingValuesFallBackToTheirDefaults) {
  for (const char* v : {"Start Menu", "Programs", "Desktop", "Startup"})
    DeleteValue(TRootKey::CurrentUser, ShellFolders, v);
  DeleteValue(TRootKey::LocalMachine, CurrentVersion, "ProgramFilesDir");
  DeleteValue(TRootKey::LocalMachine, CurrentVersion, "CommonFilesDir");
  EXPECT_EQ(GetStartMenuDir(), "C:\\windows\\Startmen");
  EXPECT_EQ(GetProgramsDir(), "C:\\windows\\Startmen\\Programs");
  EXPECT_EQ(GetDesktopDir(), "C:\\windows\\Desktop");
  EXPECT_EQ(GetStartupDir(), "C:\\windows\\Startup");
  EXPECT_EQ(GetProgramFilesDir(), CurrentDrive() + "\\Program Files");
  EXPECT_EQ(GetCommonFilesDir(), CurrentDrive() + "\\Program Files\\Common Files");
}

TEST_F(ShellFoldersTest, AMissingKeyFallsBackToTheDefaults) {
  for (const char* v : {"Start Menu", "Programs", "Desktop", "Startup"})
    DeleteValue(TRootKey::CurrentUser, ShellFolders, v);
  if (auto key = TRegKey::Open(TRootKey::CurrentUser, ShellFolders))
    for (const std::string& name : key->ValueNames()) key->DeleteValue(name);
  ASSERT_TRUE(TRegKey::Delete(TRootKey::CurrentUser, ShellFolders));
  EXPECT_EQ(GetDesktopDir(), "C:\\windows\\Desktop");
}

TEST_F(ShellFoldersTest, AValueOfAnotherTypeCountsAsMissing) {
  TRegKey::Create(TRootKey::CurrentUser, ShellFolders).WriteDWord("Desktop", 7);
  EXPECT_EQ(GetDesktopDir(), "C:\\windows\\Desktop");
}

TEST_F(ShellFoldersTest, TheBDEDirectoryIsTheFirstFieldOfDLLPath) {
  SetString(TRootKey::LocalMachine, BDE, "DLLPath", "C:\\BDE;D:\\OTHER");
  EXPECT_EQ(GetBDEDir(), "C:\\BDE");
  SetString(TRootKey::LocalMachine, BDE, "DLLPath", "C:\\IDAPI");
  EXPECT_EQ(GetBDEDir(), "C:\\IDAPI");
}

TEST_F(ShellFoldersTest, TheBDELookupKeepsATrailingBackslashButTheSpecifierDoesNot) {
  SetString(TRootKey::LocalMachine, BDE, "DLLPath", "C:\\BDE\\;D:\\OTHER");
  EXPECT_EQ(GetBDEDir(), "C:\\BDE\\");
  TComponent owner(nullptr);
  EXPECT_EQ((new TpsBDEDLL(&owner))->GetPath(nullptr), "C:\\BDE");
}

TEST_F(ShellFoldersTest, AMissingBDEValueGivesTheProgramFilesDefault) {
  SetString(TRootKey::LocalMachine, CurrentVersion, "ProgramFilesDir", "C:\\Program Files\\");
  DeleteValue(TRootKey::LocalMachine, BDE, "DLLPath");
  EXPECT_EQ(GetBDEDir(), "C:\\Program Files\\Borland\\Common Files\\BDE");
}

TEST_F(ShellFoldersTest, SystemSpecifiersGiveTheirLocations) {
  SetString(TRootKey::CurrentUser, ShellFolders, "Programs", "C:\\SM\\Programs\\");
  SetString(TRootKey::CurrentUser, ShellFolders, "Startup", "C:\\SM\\Programs\\Startup");
  SetString(TRootKey::CurrentUser, ShellFolders, "Desktop", "C:\\Desk");
  SetString(TRootKey::LocalMachine, CurrentVersion, "CommonFilesDir", "C:\\Common");
  TComponent owner(nullptr);
  EXPECT_EQ((new TpsProgramMenu(&owner))->GetPath(nullptr), "C:\\SM\\Programs");
  EXPECT_EQ((new TpsStartupMenu(&owner))->GetPath(nullptr), "C:\\SM\\Programs\\Startup");
  EXPECT_EQ((new TpsDesktopMenu(&owner))->GetPath(nullptr), "C:\\Desk");
  EXPECT_EQ((new TpsCommonFiles(&owner))->GetPath(nullptr), "C:\\Common");
  EXPECT_EQ((new TpsSystem(&owner))->GetPath(nullptr), "C:\\windows\\system32");
  EXPECT_EQ((new TpsWindow(&owner))->GetPath(nullptr), "C:\\windows");
}
