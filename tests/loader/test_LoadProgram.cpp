// The real loading program run as a user runs setup.exe, with a stand-in installation program.
#include <regex>
#include <thread>

#include "tests/loader/LoaderTestFiles.h"
#include "tools/loader/TempSetupDirectory.h"

using namespace qnl::test;

namespace {

// A distribution directory whose setup.exe is the loading program with the setup archive
// beside it; Trailer decides what the build appended to setup.exe (nothing, or a trailer).
class BesideDistribution : public LoadProgramTest {
protected:
  void SetUp() override {
    LoadProgramTest::SetUp();
    MakeSetupArchive("dist/setup.1");
    FSetupExe = CopyLoader("dist/setup.exe");
  }
  std::string FSetupExe;
};

// A self-extracting setup.exe: the loading program, setup.1, files.1 and the trailer.
class SelfExtracting : public LoadProgramTest {
protected:
  void SetUp() override {
    LoadProgramTest::SetUp();
    MakeSetupArchive();
    WriteFile("files.1", "the main archive's bytes, which the loading program leaves alone");
    FSetupExe = CopyLoader("dist/setup.exe");
    std::string setup1 = ReadFile((FDir / "setup.1").string());
    std::string files1 = ReadFile((FDir / "files.1").string());
    auto setupStart = static_cast<int32_t>(std::filesystem::file_size(FSetupExe));
    auto mainStart = static_cast<int32_t>(setupStart + setup1.size());
    Append(FSetupExe, setup1 + files1);
    Append(FSetupExe, Trailer("SELFEXTRACTING", setupStart, mainStart - 1, mainStart,
                              mainStart + static_cast<int32_t>(files1.size()) - 1));
  }
  std::string FSetupExe;
};

} // namespace

TEST_F(BesideDistribution, WithoutTrailerItPassesTheSourceAndCleanupSwitches) {
  TProcessResult r = RunLoader(FSetupExe, "", {.Status = 1});
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  TFakeReport report = Report();
  ASSERT_TRUE(report.Written) << r.Err;
  EXPECT_EQ(report.Args, (std::vector<std::string>{"-s" + WindowsPathOf((FDir / "dist").string()), "-c"}));
}

TEST_F(BesideDistribution, ANotSelfExtractTrailerLeadsToTheArchiveBeside) {
  Append(FSetupExe, Trailer("NOTSELFEXTRACT", 0, 0, 0, 0));
  TProcessResult r = RunLoader(FSetupExe, "", {.Status = 1});
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_EQ(Report().Args, (std::vector<std::string>{"-s" + WindowsPathOf((FDir / "dist").string()), "-c"}));
}

TEST_F(BesideDistribution, EveryMemberIsUnpackedIntoAFreshMarkedTemporaryDirectory) {
  TProcessResult r = RunLoader(FSetupExe, "", {.Status = 3}); // a restart keeps the directory to look at
  TFakeReport report = Report();
  ASSERT_TRUE(report.Written) << r.Err;
  EXPECT_TRUE(report.Marked);
  std::filesystem::path dir(report.Dir);
  EXPECT_EQ(dir.parent_path(), std::filesystem::canonical(MachineTemp()));
  EXPECT_TRUE(std::regex_match(dir.filename().string(), std::regex("QNL[0-9A-F]{5}"))) << dir;
  EXPECT_EQ(report.Files,
            (std::map<std::string, int64_t>{{"setup", static_cast<int64_t>(std::filesystem::file_size(FakeSetup()))},
                                            {"presetup.txt", 27}}));
  EXPECT_EQ(ReadFile((dir / "presetup.txt").string()), "needed before setup starts\n");
}

TEST_F(BesideDistribution, EachRunGetsItsOwnDirectory) {
  RunLoader(FSetupExe, "", {.Status = 3});
  std::string first = Report().Dir;
  RunLoader(FSetupExe, "", {.Status = 3});
  std::string second = Report().Dir;
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::filesystem::is_directory(first));
  EXPECT_TRUE(std::filesystem::is_directory(second));
}

TEST_F(BesideDistribution, ToDiskAddsTheFloppySwitchInAnyCase) {
  for (const char* arg : {"'*TODISK'", "'*todisk'"}) {
    TProcessResult r = RunLoader(FSetupExe, arg, {.Status = 1});
    EXPECT_EQ(Report().Args, (std::vector<std::string>{"-s" + WindowsPathOf((FDir / "dist").string()), "-c", "-f"}))
        << arg << r.Err;
  }
  RunLoader(FSetupExe, "'*OTHER' x", {.Status = 1});
  EXPECT_EQ(Report().Args.size(), 2u) << "other arguments are not passed on";
}

TEST_F(LoadProgramTest, ADirectoryWithBlanksArrivesAsOneArgument) {
  MakeSetupArchive("my dist/setup.1");
  std::string setupExe = CopyLoader("my dist/setup.exe");
  RunLoader(setupExe, "", {.Status = 1});
  EXPECT_EQ(Report().Args, (std::vector<std::string>{"-s" + WindowsPathOf((FDir / "my dist").string()), "-c"}));
}

TEST_F(SelfExtracting, ItPassesItsNameAndDirectoryAndUnpacksFromItself) {
  // A damaged setup.1 beside it shows that the embedded archive is the one used.
  WriteFile("dist/setup.1", "not an archive");
  TProcessResult r = RunLoader(FSetupExe, "", {.Status = 3});
  EXPECT_EQ(r.ExitStatus, 3) << r.Err;
  TFakeReport report = Report();
  ASSERT_TRUE(report.Written) << r.Err;
  EXPECT_EQ(report.Args,
            (std::vector<std::string>{"-esetup.exe", "-s" + WindowsPathOf((FDir / "dist").string()), "-c"}));
  EXPECT_EQ(report.Files.size(), 2u);
  EXPECT_EQ(ReadFile(report.Dir + "/presetup.txt"), "needed before setup starts\n");
  EXPECT_EQ(ReadFile(report.Dir + "/setup"), ReadFile(FakeSetup()));
}

TEST_F(SelfExtracting, ToDiskGivesTheFloppySwitchToo) {
  RunLoader(FSetupExe, "'*TODISK'", {.Status = 1});
  EXPECT_EQ(Report().Args,
            (std::vector<std::string>{"-esetup.exe", "-s" + WindowsPathOf((FDir / "dist").string()), "-c", "-f"}));
}

TEST_F(SelfExtracting, TheExitStatusIsPassedBack) {
  for (int status : {0, 1, 2, 3, 7}) {
    TProcessResult r = RunLoader(FSetupExe, "", {.Status = status, .RemoveAfterMs = 0});
    EXPECT_EQ(r.ExitStatus, status) << r.Err;
  }
}

TEST_F(SelfExtracting, AfterSuccessOrAbortItReturnsOnceTheDirectoryIsGone) {
  for (int status : {0, 2}) {
    TProcessResult r = RunLoader(FSetupExe, "", {.Status = status, .RemoveAfterMs = 400});
    EXPECT_EQ(r.ExitStatus, status) << r.Err;
    TFakeReport report = Report();
    ASSERT_TRUE(report.Written) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(report.Dir)) << status;
  }
}

TEST_F(SelfExtracting, EveryOtherEndingRemovesTheDirectoryAtOnce) {
  for (TFakeEnding ending : {TFakeEnding{.Status = 1}, TFakeEnding{.Status = 7}, TFakeEnding{.Signal = 9}}) {
    // A removal of its own would come long after the loading program has returned.
    ending.RemoveAfterMs = 5000;
    TProcessResult r = RunLoader(FSetupExe, "", ending);
    EXPECT_EQ(r.ExitStatus, ending.Signal ? 128 + ending.Signal : ending.Status) << r.Err;
    ASSERT_TRUE(Report().Written) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(Report().Dir)) << ending.Status << ending.Signal;
  }
}

TEST_F(SelfExtracting, ARestartLeavesTheDirectoryToTheContinuation) {
  TProcessResult r = RunLoader(FSetupExe, "", {.Status = 3});
  EXPECT_EQ(r.ExitStatus, 3) << r.Err;
  std::string dir = Report().Dir;
  RunLoader(FSetupExe, "", {.Status = 1}); // a later run does not take it for a leftover
  EXPECT_TRUE(std::filesystem::exists(dir + "/setup"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/" + qnl::kSetupDirectoryMarker));
}

// A killed loading program leaves its directory; the next run removes it once the
// installation program started from it has ended too.
TEST_F(SelfExtracting, TheDirectoryOfAKilledRunGoesOnceNothingUsesIt) {
  Run("sh -c " + Quote("QNL_FAKE_REPORT=report.txt QNL_FAKE_STATUS=1 QNL_FAKE_SLEEP_MS=4000 exec " + Quote(FSetupExe) +
                       " >/dev/null 2>&1 & echo $! >pid"));
  for (int i = 0; i < 200 && !Report().Written; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::string leftover = Report().Dir;
  ASSERT_FALSE(leftover.empty());
  Run("kill -9 $(cat pid)");
  RunLoader(FSetupExe, "", {.Status = 1});
  EXPECT_TRUE(std::filesystem::exists(leftover)) << "removed while its installation program still ran";
  for (int i = 0; i < 100 && std::filesystem::exists(leftover); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    RunLoader(FSetupExe, "", {.Status = 1});
  }
  EXPECT_FALSE(std::filesystem::exists(leftover));
  EXPECT_TRUE(TempEntries().empty());
}

TEST_F(LoadProgramTest, ALaterMemberCannotReplaceTheInstallationProgram) {
  MakeSetupArchive();
  std::filesystem::create_directories(FDir / "other");
  WriteFile("other/setup", "#!/bin/sh\nexit 99\n");
  WriteFile("other/extra.txt", "extra");
  MakeArchive("dist/setup.1", {"setup", "other/setup", "other/extra.txt"});
  std::string setupExe = CopyLoader("dist/setup.exe");
  TProcessResult r = RunLoader(setupExe, "", {.Status = 1});
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  TFakeReport report = Report();
  ASSERT_TRUE(report.Written) << r.Err;
  EXPECT_EQ(report.Files.size(), 2u);
  EXPECT_EQ(report.Files.count("extra.txt"), 1u);
}

TEST_F(BesideDistribution, LongOptionsReachTheInstallationProgramAsVariables) {
  WriteFile("answers.ini", "[Select Folder]\nFolder=Tools\n");
  // Relative file names are the caller's: the installation program runs elsewhere.
  TProcessResult r = Run("sh -c " + Quote("cd " + Quote(FDir.string()) + " && env QNL_FAKE_STATUS=1 QNL_FAKE_REPORT=" +
                                          Quote((FDir / "report.txt").string()) + " " + Quote(FSetupExe) +
                                          " --unattended --quiet --answers answers.ini --save-answers=saved.ini"));
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_EQ(Report().Environment,
            (std::map<std::string, std::string>{{"QUENLOFT_ANSWERS", WindowsPathOf((FDir / "answers.ini").string())},
                                                {"QUENLOFT_QUIET", "1"},
                                                {"QUENLOFT_SAVE_ANSWERS", WindowsPathOf((FDir / "saved.ini").string())},
                                                {"QUENLOFT_UNATTENDED", "1"}}));
}

// What the loading program answers itself, without starting the installation.
TEST_F(BesideDistribution, OptionsItAnswersItselfRunNothing) {
  struct TRow {
    const char* Args;
    int Status;
    const char* Out; // in stdout for status 0, else in stderr
  } rows[] = {
      {"--help", 0, "--answers FILE"},
      {"--version", 0, "QuenloftLoadProgram "},
      {"--silent", 64, "unknown option \"--silent\"\n\nUsage: setup.exe"},
      {"--answers", 64, "the option \"--answers\" needs a FILE"},
      {"--quiet=yes", 64, "takes no value"},
      {"-x", 64, "unknown option \"-x\""},
      {"--json", 64, "the option \"--json\" needs --list"},
  };
  for (const TRow& row : rows) {
    TProcessResult r = RunLoader(FSetupExe, row.Args);
    EXPECT_EQ(r.ExitStatus, row.Status) << row.Args << ": " << r.Err;
    EXPECT_NE((row.Status == 0 ? r.Out : r.Err).find(row.Out), std::string::npos) << row.Args << ": " << r.Out << r.Err;
    EXPECT_FALSE(Report().Written) << row.Args;
  }
  // The help lists every exit status a script may meet.
  std::string help = RunLoader(FSetupExe, "--help").Out;
  for (const char* status : {"\n   0 ", "\n   1 ", "\n   2 ", "\n   3 ", "\n  64 ", "\n  65 ", "\n  75 "})
    EXPECT_NE(help.find(status), std::string::npos) << status;
}
