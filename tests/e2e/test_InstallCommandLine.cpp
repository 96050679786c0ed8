// The setup program's command line and load-time failures, run as a user runs the program.
#include "tests/e2e/SetupProcess.h"

using namespace qnl::test;

namespace {
const char* InstallProject = R"(object formMain: TformMain
  Caption = 'Install test'
  object psProgramFiles: TpsProgramFiles
  end
  object psMainArchiveFile: TpsMainArchiveFile
  end
  object Install1: TInstall
    DestDir = '\Test'
  end
end
)";

const char* InvalidParameter =
    ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e (Called by "
    "self-extractor), -r (After reboot)";

// The installation itself is not built yet: reaching it shows that the program loaded and
// started on the main window's first activation.
const char* InstallationReached = "TInstall.Process is not implemented";
} // namespace

class InstallCommandLine : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    FSetup = CompileSetup(WriteFile("formMain.txt", InstallProject));
  }
  // Runs the setup program with Args (shell words).
  TProcessResult RunSetup(const std::string& Args) const { return Run(Quote(FSetup) + " " + Args); }
  static void ExpectFailure(const TProcessResult& r, const std::string& Message) {
    EXPECT_NE(r.ExitStatus, 0) << r.Err;
    EXPECT_LT(r.ExitStatus, 124) << "crashed or hung: " << r.Err;
    EXPECT_NE(r.Err.find(Message), std::string::npos) << r.Err;
  }
  static void ExpectInstallationReached(const TProcessResult& r) {
    EXPECT_LT(r.ExitStatus, 124) << "crashed or hung: " << r.Err;
    EXPECT_NE(r.Err.find(InstallationReached), std::string::npos) << r.Err;
    EXPECT_EQ(r.Err.find("Invalid parameter"), std::string::npos) << r.Err;
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

TEST_F(InstallCommandLine, AnAsteriskBuildsLikeAHyphen) {
  ExpectFailure(RunSetup("'*b'"), "Build mode (-b) is not implemented");
  ExpectFailure(RunSetup("-b"), "Build mode (-b) is not implemented");
}

TEST_F(InstallCommandLine, BuildWinsOverFloppiesAndFloppiesOverReboot) {
  ExpectFailure(RunSetup("-f -b"), "Build mode (-b) is not implemented");
  ExpectFailure(RunSetup("-r -f"), "Transfer to floppies (-f) is not implemented");
  ExpectFailure(RunSetup("-r"), "TInstall.ContinueAfterReboot is not implemented");
}

TEST_F(InstallCommandLine, DebugNeedsASourceDirectory) {
  const char* message =
      "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My Build\"";
  ExpectFailure(RunSetup("-d"), message);
  ExpectFailure(RunSetup("-d '-s   '"), message);
  ExpectInstallationReached(RunSetup("-d '-sC:\\Dist'"));
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
