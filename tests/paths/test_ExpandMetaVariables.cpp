// Meta-variable expansion in texts.
#include "paths/routines_ExpandPaths.h"
#include "tests/paths/PathsTestSupport.h"

using namespace qnl;
using qnl::test::TFakeInstall;
using qnl::test::TMachineTest;

namespace {
const std::string ShellFolders = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string CurrentVersion = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
} // namespace

class ExpandMetaVariablesTest : public TMachineTest {};

TEST_F(ExpandMetaVariablesTest, ADoublePercentGivesOnePercent) {
  EXPECT_EQ(ExpandMetaVariables("100%%", nullptr), "100%");
  EXPECT_EQ(ExpandMetaVariables("%%%%", nullptr), "%%");
}

TEST_F(ExpandMetaVariablesTest, AnUnknownLetterIsDroppedWithItsPercent) {
  EXPECT_EQ(ExpandMetaVariables("%x%w", nullptr), "C:\\windows");
  EXPECT_EQ(ExpandMetaVariables("a%1b%-c", nullptr), "abc");
}

TEST_F(ExpandMetaVariablesTest, APercentAtTheEndIsDropped) { EXPECT_EQ(ExpandMetaVariables("abc%", nullptr), "abc"); }

TEST_F(ExpandMetaVariablesTest, LettersWorkInEitherCase) {
  EXPECT_EQ(ExpandMetaVariables("%W", nullptr), ExpandMetaVariables("%w", nullptr));
  EXPECT_EQ(ExpandMetaVariables("%S\\x.dll", nullptr), "C:\\windows\\system32\\x.dll");
}

TEST_F(ExpandMetaVariablesTest, TextWithoutVariablesIsUnchanged) {
  EXPECT_EQ(ExpandMetaVariables("", nullptr), "");
  EXPECT_EQ(ExpandMetaVariables("plain text", nullptr), "plain text");
}

TEST_F(ExpandMetaVariablesTest, FolderVariablesLoseTheirTrailingBackslash) {
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Programs", "C:\\SM\\Programs\\");
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Desktop", "C:\\Desk\\");
  SetString(TRootKey::rkCurrentUser, ShellFolders, "Start Menu", "C:\\SM\\");
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "ProgramFilesDir", "C:\\PF\\");
  SetString(TRootKey::rkLocalMachine, CurrentVersion, "CommonFilesDir", "C:\\PF\\Common\\");
  EXPECT_EQ(ExpandMetaVariables("%b|%d|%f|%m|%p|%s|%w", nullptr),
            "C:\\SM\\Programs|C:\\Desk|C:\\PF\\Common|C:\\SM|C:\\PF|C:\\windows\\system32|C:\\windows");
}

TEST_F(ExpandMetaVariablesTest, ComponentVariablesWithoutAComponentFail) {
  QNL_EXPECT_THROW_MESSAGE(ExpandMetaVariables("%a\\x", nullptr), EQXCannotExpandContainerDirMV,
                           "Cannot expand the %a meta variable because the component is Nil");
  QNL_EXPECT_THROW_MESSAGE(ExpandMetaVariables("%C", nullptr), EQXCannotExpandContainerDirMV,
                           "Cannot expand the %c meta variable because the component is Nil");
}

TEST_F(ExpandMetaVariablesTest, TheInstallDirectoryNeedsAnInstallComponent) {
  ASSERT_EQ(CurrentInstallComponent(), nullptr);
  QNL_EXPECT_THROW_MESSAGE(ExpandMetaVariables("%i", nullptr), EQXCannotExpandInstallDirMV,
                           "Cannot expand the %i meta variable because there is no TInstall component");
  TFakeInstall install(nullptr);
  install.DestDir = "C:\\Program Files\\App\\";
  EXPECT_EQ(ExpandMetaVariables("%i\\app.exe", nullptr), "C:\\Program Files\\App\\app.exe");
}
