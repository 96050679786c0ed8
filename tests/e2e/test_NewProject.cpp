// "quenloft new": each kind of starting project compiles, builds with -b and installs unattended
// on a fresh machine as it was written.
#include <filesystem>
#include <ostream>

#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl::test;
namespace fs = std::filesystem;

namespace {

struct TOptions {
  const char* Name;
  const char* Switches;
  bool Dialogs;
  bool Shortcuts;
};

void PrintTo(const TOptions& Options, std::ostream* Out) { *Out << "quenloft new " << Options.Switches; }

class NewProject : public SetupProcessTest, public ::testing::WithParamInterface<TOptions> {
protected:
  // Runs Command in the project's directory with the test's machine.
  TProcessResult InProject(const std::string& Command) const {
    return Run("sh -c " + Quote("cd project && " + Command));
  }
};

bool HasFileNamed(const fs::path& Root, const std::string& Name) {
  for (const auto& entry : fs::recursive_directory_iterator(Root))
    if (entry.path().filename() == Name) return true;
  return false;
}

TEST_P(NewProject, CompilesBuildsAndInstallsUnchanged) {
  // A quote in the product's name goes into the form's strings and the folder's name.
  TProcessResult made = Run(Quote(Bin("quenloft")) + " new project --product \"Ann's Tool\" " + GetParam().Switches);
  ASSERT_EQ(made.ExitStatus, 0) << made.Err;
  EXPECT_TRUE(fs::exists(FDir / "project" / "README.md"));

  TProcessResult compiled = InProject(Quote(Bin("quenloft")) + " compile formMain.txt -o setup");
  ASSERT_EQ(compiled.ExitStatus, 0) << compiled.Err;
  TProcessResult built =
      InProject("WINEPREFIX=" + Quote((FDir / "author").string()) + " QUENLOFT_PATH=" + Quote(Bin("")) + " ./setup -b");
  ASSERT_EQ(built.ExitStatus, 0) << built.Err;
  TProcessResult installed = Run("env QUENLOFT_UNATTENDED=1 XDG_DATA_HOME=" + Quote((FDir / "xdg").string()) + " " +
                                 Quote((FDir / "project" / "dist" / "setup.exe").string()));
  ASSERT_EQ(installed.ExitStatus, 0) << installed.Err;

  fs::path product = Machine() / "drive_c" / "Program Files" / "Ann's Tool";
  EXPECT_EQ(ReadFile(product / "Docs" / "readme.txt"), "Thank you for installing Ann's Tool.\r\n");
  EXPECT_EQ(HasFileNamed(Machine() / "drive_c", "Read Me.lnk"), GetParam().Shortcuts);
  // The wizard's pages print a line each when nobody can click them.
  EXPECT_EQ(installed.Err.find("Welcome | ") != std::string::npos, GetParam().Dialogs) << installed.Err;
}

INSTANTIATE_TEST_SUITE_P(EachOptionSet, NewProject,
                         ::testing::Values(TOptions{"Plain", "", false, false},
                                           TOptions{"Dialogs", "--dialogs", true, false},
                                           TOptions{"Shortcuts", "--shortcuts", false, true},
                                           TOptions{"DialogsAndShortcuts", "--dialogs --shortcuts", true, true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

using NewProjectRefusal = SetupProcessTest;

TEST_F(NewProjectRefusal, ANonEmptyDirectoryIsLeftAsItWas) {
  fs::create_directories(FDir / "project");
  WriteFile("project/formMain.txt", "mine");
  TProcessResult made = Run(Quote(Bin("quenloft")) + " new project");
  EXPECT_EQ(made.ExitStatus, 1);
  EXPECT_NE(made.Err.find("is not empty"), std::string::npos) << made.Err;
  EXPECT_EQ(ReadFile(FDir / "project" / "formMain.txt"), "mine");
}

TEST_F(NewProjectRefusal, AProductNameThatIsNoPlainFolderNameWritesNothing) {
  for (const char* product : {"..", "a\\..\\b", "x/y"}) {
    TProcessResult made = Run(Quote(Bin("quenloft")) + " new project --product " + Quote(product));
    EXPECT_EQ(made.ExitStatus, 1) << product;
    EXPECT_NE(made.Err.find("cannot name a folder"), std::string::npos) << made.Err;
    EXPECT_FALSE(fs::exists(FDir / "project")) << product;
  }
}

} // namespace
