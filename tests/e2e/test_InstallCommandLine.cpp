// The setup program's command line and load-time failures, run as a user runs the program.
#include "tests/support/SetupProcess.h"

using namespace qnl::test;

namespace {

const char* InvalidParameter =
    ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e (Called by "
    "self-extractor), -r (After reboot)";

// A setup program run without the loading program's -s stops at the installation's first
// step: reaching it shows that the program loaded and started on the first activation.
const char* InstallationReached = "The path of the loading program was not passed correctly.";
} // namespace

class InstallCommandLine : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    FSetup = CompileSetup(WriteFile("formMain.txt", MinimalInstallProject("Install test", "\\Test")));
  }
  // Runs the setup program with Args (shell words).
  TProcessResult RunSetup(const std::string& Args) const { return Run(Quote(FSetup) + " " + Args); }
  static void ExpectFailure(const TProcessResult& R, const std::string& Message) {
    EXPECT_NE(R.ExitStatus, 0) << R.Err;
    EXPECT_LT(R.ExitStatus, 124) << "crashed or hung: " << R.Err;
    EXPECT_NE(R.Err.find(Message), std::string::npos) << R.Err;
  }
  static void ExpectInstallationReached(const TProcessResult& R) {
    EXPECT_LT(R.ExitStatus, 124) << "crashed or hung: " << R.Err;
    EXPECT_NE(R.Err.find(InstallationReached), std::string::npos) << R.Err;
    EXPECT_EQ(R.Err.find("Invalid parameter"), std::string::npos) << R.Err;
  }
  std::string FSetup;
};

TEST_F(InstallCommandLine, WithoutArgumentsTheInstallationStartsOnActivation) {
  ExpectInstallationReached(RunSetup(""));
}

TEST_F(InstallCommandLine, TheLoadingProgramsOwnArgumentsAreIgnored) {
  ExpectInstallationReached(RunSetup("'*TODISK' '*x'"));
}

TEST_F(InstallCommandLine, InvalidArgumentsFailWithTheMessage) {
  for (const char* arg : {"-x", "-", "b"}) {
    TProcessResult r = RunSetup(Quote(arg));
    ExpectFailure(r, std::string("Invalid parameter <") + arg + InvalidParameter);
    EXPECT_EQ(r.Err.find(InstallationReached), std::string::npos) << r.Err;
  }
}

// Build mode looks for BUILD.INF beside the program; the floppy transfer wants -e.
const char* NoBuildInf = "Need to have a BUILD.INF file in this directory with the first line specifying the build "
                         "directory";
const char* FloppiesNeedSelfExtractor = "Sorry... You can only transfer this installation to floppies through the "
                                        "self-extracting file. Usage example: setup.exe *TODISK";

TEST_F(InstallCommandLine, AnAsteriskBuildsLikeAHyphen) {
  ExpectFailure(RunSetup("'*b'"), NoBuildInf);
  ExpectFailure(RunSetup("-b"), NoBuildInf);
}

TEST_F(InstallCommandLine, BuildWinsOverFloppiesAndFloppiesOverReboot) {
  ExpectFailure(RunSetup("-f -b"), NoBuildInf);
  ExpectFailure(RunSetup("-r -f"), FloppiesNeedSelfExtractor);
  // A continuation without an install record has no unfinished list to read.
  ExpectFailure(RunSetup("-r"), "The TInstall could not either write or read unfinished business from the registry");
}

TEST_F(InstallCommandLine, DebugNeedsASourceDirectory) {
  const char* message =
      "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My Build\"";
  ExpectFailure(RunSetup("-d"), message);
  ExpectFailure(RunSetup("-d '-s   '"), message);
  // With a source directory this project (no files) installs completely.
  TProcessResult r = RunSetup("-d '-sC:\\Dist'");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
}

TEST_F(InstallCommandLine, TwoInstallComponentsFailToLoad) {
  std::string form = WriteFile("two.txt", R"(object formMain: TformMain
  object Install1: TInstall
  end
  object Install2: TInstall
  end
end
)");
  ExpectFailure(Run(Quote(CompileSetup(form, "two-setup"))),
                "The TInstall component does not currently support the use of 2 TInstall components in the same "
                "project");
}
