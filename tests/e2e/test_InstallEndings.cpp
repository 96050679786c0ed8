// How an installation ends, run as a user runs it: the good ending with its files, records and
// programs started afterwards, a project that runs the installation from its own code, a
// program kept running, a failure and a user abort raised by a project handler.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "platform/Machine.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "tests/support/MessageOf.h"
#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// The project's files: component name, file name, archive member (UniqueID) and contents,
// as tests/e2e/projects/endings/formMain.txt names them; their sources are C:\src\<file name>.
struct TEndingsFile {
  const char* Name;
  const char* FileName;
  int UniqueID;
  std::string Contents;
};

// A script installed to run after the installation: leaves "<its path>.ran" beside itself.
const std::string kRunScript = "#!/bin/sh\necho ran > \"$0.ran\"\n";

const TEndingsFile kFiles[] = {
    {"Readme", "readme.txt", 0, "Read me first.\r\n"},
    {"Table", "table.dat", 1, std::string(3000, 't') + "end"},
    {"Start", "start.sh", 2, kRunScript},
    {"SkipMe", "skipped.sh", 3, kRunScript},
    {"Uninstaller", "uninst.sh", 4, "#!/bin/sh\nexit 0\n"},
};

constexpr const char* kRecordKey = "HKLM\\SOFTWARE\\Quenloft\\Install\\Install0";
constexpr const char* kUninstallKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Endings Test";
const std::string kRecordLine = "AfterInitialized \\SOFTWARE\\Quenloft\\Install\\Install0 1";

// The temporary directory Temp holds neither a directory (a setup program's) nor a batch
// file (the clean-up's, which erases itself last).
bool TemporaryFilesRemoved(const std::filesystem::path& Temp) {
  return WaitUntil([&] {
    for (const auto& entry : std::filesystem::directory_iterator(Temp))
      if (entry.is_directory() || UpperCase(entry.path().extension().string()) == ".BAT") return false;
    return true;
  });
}

} // namespace

class InstallEndings : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    // The distribution is made in this process, on the machine the programs use.
    ShareMachineWithPrograms();
    // A machine this process knew before (a repeated test) is made again on the fresh directory.
    TMachine::Current();
    MakeDistribution();
  }
  std::filesystem::path Installed(const std::string& Name) const {
    return Machine() / "drive_c" / "Program Files" / "Endings Test" / Name;
  }
  // The machine's temporary directory becomes C:\<Name>; returns its Unix path.
  std::filesystem::path UseTemporaryDirectory(const std::string& Name) const {
    TRegKey::Create(TRootKey::rkCurrentUser, "Environment").WriteString("TEMP", "C:\\" + Name);
    std::filesystem::path temp = Machine() / "drive_c" / Name;
    std::filesystem::create_directories(temp);
    return temp;
  }
  std::string EventLog() const { return ReadFile(Machine() / "drive_c" / "markers" / "events.log"); }

  // C:\dist\files.1: the project's files put into the archive by the archive component under
  // the UniqueIDs the project names.
  static void MakeDistribution() {
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile("C:\\dist\\files.1");
    for (const TEndingsFile& file : kFiles) {
      std::string source = std::string("C:\\src\\") + file.FileName;
      ForceDirectories(ExtractFileDir(source));
      {
        TFileStream stream(source, fmCreate); // closed before the archive reads it
        stream.WriteBuffer(file.Contents.data(), static_cast<int64_t>(file.Contents.size()));
      }
      zip.FilesToProcess().Clear();
      zip.FilesToProcess().Add(source);
      zip.Add(lzcOnlyAdd, file.UniqueID);
    }
  }

  // The project's setup program, built with its handlers by qnl_add_setup_program.
  static std::string EndingsSetup() { return QNL_ENDINGS_SETUP; }

  // The same program carrying the project with InstallExtra added to the install component's
  // properties, FormExtra to the form's and Components after its components, written to Target
  // (a path in the test directory).
  std::string Variant(const std::string& InstallExtra, const std::string& FormExtra,
                      const std::filesystem::path& Target, const std::string& Components = "") const {
    std::string form = ReadFile(Source("tests/e2e/projects/endings/formMain.txt"));
    form.insert(form.rfind("end"), Components);
    std::string install = "  object Install1: TInstall\n";
    form.insert(form.find(install) + install.size(), InstallExtra);
    std::string root = "object formMain: TformMain\n";
    form.insert(root.size(), FormExtra);
    std::string formFile = WriteFile("variant.txt", form);
    std::filesystem::create_directories(Target.parent_path());
    TProcessResult r = Run(Quote(Bin("quenloft")) + " compile " + Quote(formFile) + " -o " + Quote(Target.string()) +
                           " --program " + Quote(EndingsSetup()));
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    return Target.string();
  }

  TProcessResult RunSetup(const std::string& Setup, const std::string& Args = "") const {
    return Run(Quote(Setup) + " '-sC:\\dist'" + Args);
  }
  // Whether the machine's registry has Key (HKLM\...), asked of the machine tool.
  bool KeyExists(const std::string& Key) const {
    TProcessResult r = Run(Quote(Bin("quenloft")) + " reg query " + Quote(Key));
    if (r.ExitStatus == 0) return true;
    EXPECT_NE(r.Err.find("does not exist"), std::string::npos) << r.Err;
    return false;
  }
  std::string RegQuery(const std::string& Key) const {
    return Run(Quote(Bin("quenloft")) + " reg query " + Quote(Key)).Out;
  }

  // A regular file where the installation's directory belongs.
  void BlockDestination() const {
    std::filesystem::create_directories(Installed("").parent_path().parent_path());
    std::ofstream(Installed("").parent_path()) << "in the way";
  }
  static constexpr const char* kBlockedError =
      "Error: Cannot create directory \"C:\\Program Files\\Endings Test\\Data\": Not a directory\n";

  void ExpectFilesInstalled() const {
    for (const TEndingsFile& file : kFiles) {
      std::filesystem::path path = Installed(std::string(file.Name) == "Table" ? "Data/table.dat" : file.FileName);
      EXPECT_EQ(ReadFile(path), file.Contents) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Installed("Data")));
  }
  // The run-after-install script Start ran and SkipMe, refused by the project's handler, did not.
  void ExpectStartRanAndSkipMeDidNot() const {
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(Installed("start.sh.ran")); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // SkipMe would have started with it
    EXPECT_FALSE(std::filesystem::exists(Installed("skipped.sh.ran")));
  }
};

TEST_F(InstallEndings, TheProjectInstallsItsFilesAndTakesTheGoodEnding) {
  TProcessResult r = RunSetup(EndingsSetup());
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  ExpectFilesInstalled();
  // The install record existed while the installation ran and is gone at its end; the
  // program ended itself (Shutdown) before the files to run were started.
  EXPECT_EQ(EventLog(), kRecordLine + "\nBeforeGoodInstall\nAfterGoodInstall\n"
                                      "RunFile Start terminated=1\nRunFile SkipMe terminated=1\n");
  EXPECT_FALSE(KeyExists(kRecordKey));
  EXPECT_FALSE(KeyExists("HKLM\\Software\\Quenloft"));
  // The uninstall entry: the product, the uninstaller's command, and every other installed file.
  std::string entry = RegQuery(kUninstallKey);
  EXPECT_NE(entry.find("DisplayName    REG_SZ    Endings Test\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("UninstallString    REG_SZ    C:\\Program Files\\Endings Test\\uninst.sh Endings Test\n"),
            std::string::npos)
      << entry;
  std::string files = RegQuery(std::string(kUninstallKey) + "\\Files");
  EXPECT_NE(files.find("Entries    REG_SZ    4\n"), std::string::npos) << files;
  for (const char* name : {"Data\\table.dat", "readme.txt", "start.sh", "skipped.sh"})
    EXPECT_NE(files.find(std::string("REG_SZ    C:\\Program Files\\Endings Test\\") + name + "\n"), std::string::npos)
        << name << "\n"
        << files;
  ExpectStartRanAndSkipMeDidNot();
}

TEST_F(InstallEndings, AWizardBeforeTheInstallationRunsWithoutADisplayOnlyWhenUnattended) {
  std::string setup = Variant("", "", FDir / "wizard-setup",
                              "  object BeforeInstall: TDialogManager\n    Container = Install1\n  end\n");
  TProcessResult refused = RunSetup(setup);
  EXPECT_EQ(refused.ExitStatus, 1); // failed
  EXPECT_NE(refused.Err.find("Error: The dialog \"Page A\" cannot be shown without a display; set "
                             "QUENLOFT_UNATTENDED=1 to answer it with its default action\n"),
            std::string::npos)
      << refused.Err;
  EXPECT_FALSE(std::filesystem::exists(Installed("")));

  TProcessResult r = Run("env QUENLOFT_UNATTENDED=1 " + Quote(setup) + " '-sC:\\dist'");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "Page A | This is page A.\nPage B | This is page B.\nPage C | This is page C.\n");
  ExpectFilesInstalled();
}

TEST_F(InstallEndings, WithoutRunAutomaticTheProjectsCodeRunsTheInstallationAndTheProgramGoesOn) {
  std::string setup =
      Variant("    RunAutomatic = False\n", "  OnActivate = StartInstallation\n", FDir / "manual-setup");
  TProcessResult r = RunSetup(setup);
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  ExpectFilesInstalled();
  // No Shutdown: the program was still running when Process returned, and the files to run
  // were started all the same.
  EXPECT_EQ(EventLog(), "Activate\n" + kRecordLine +
                            "\nBeforeGoodInstall\nAfterGoodInstall\nRunFile Start terminated=0\n"
                            "RunFile SkipMe terminated=0\nProcess returned terminated=0\n");
  EXPECT_FALSE(KeyExists(kRecordKey));
  ExpectStartRanAndSkipMeDidNot();
}

TEST_F(InstallEndings, OnBeforeShutdownKeepsTheProgramRunningAfterTheGoodEnding) {
  std::string setup = Variant("    OnBeforeShutdown = KeepRunning\n", "", FDir / "kept-setup");
  // The program is watched until the last event, then for a moment more, then ended.
  std::string log = (Machine() / "drive_c" / "markers" / "events.log").string();
  std::string script = Quote(setup) +
                       " '-sC:\\dist' & pid=$!\n"
                       "i=0; while [ $i -lt 400 ] && ! grep -q 'RunFile SkipMe' " +
                       Quote(log) +
                       " 2>/dev/null; do sleep 0.025; i=$((i+1)); done\n"
                       "sleep 0.5\n"
                       "if kill -0 $pid 2>/dev/null; then echo running; kill $pid; else echo ended; fi\n"
                       "wait $pid\n";
  TProcessResult r = Run("sh " + Quote(WriteFile("watch.sh", script)));
  EXPECT_EQ(r.Out, "running\n") << r.Err;
  ExpectFilesInstalled();
  EXPECT_EQ(EventLog(), kRecordLine + "\nBeforeGoodInstall\nAfterGoodInstall\nBeforeShutdown kept\n"
                                      "RunFile Start terminated=0\nRunFile SkipMe terminated=0\n");
  EXPECT_FALSE(KeyExists(kRecordKey));
  ExpectStartRanAndSkipMeDidNot();
}

TEST_F(InstallEndings, ADestinationThatCannotBeMadeTakesTheBadEndingAndKeepsTheRecord) {
  BlockDestination();
  TProcessResult r = RunSetup(EndingsSetup());
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  // Shown once, after the bad-installation events.
  EXPECT_EQ(r.Err, kBlockedError);
  EXPECT_EQ(EventLog(), kRecordLine + "\nBeforeBadInstall\nAfterBadInstall\n");
  // The record stays for another attempt; nothing was started.
  EXPECT_TRUE(KeyExists(kRecordKey));
  EXPECT_EQ(ReadFile(Installed("").parent_path()), "in the way");
}

TEST_F(InstallEndings, AFailureEndsTheProgramAlsoWithoutRunAutomatic) {
  std::string setup =
      Variant("    RunAutomatic = False\n", "  OnActivate = StartInstallation\n", FDir / "manual-setup");
  BlockDestination();
  TProcessResult r = RunSetup(setup);
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_EQ(r.Err, kBlockedError);
  // The error left the project's handler: Process did not return to it, and the bad ending's
  // Shutdown ended the program.
  EXPECT_EQ(EventLog(), "Activate\n" + kRecordLine + "\nBeforeBadInstall\nAfterBadInstall\n");
  EXPECT_TRUE(KeyExists(kRecordKey));
}

TEST_F(InstallEndings, AUserAbortFromAHandlerEndsQuietlyRemovesTheRecordAndCleansUp) {
  // Started as the loading program starts it: from a new directory among the machine's
  // temporary files, with -c.
  std::filesystem::path tempDir = Machine() / "drive_c" / "windows" / "temp" / "qnl-setup";
  std::string setup = Variant("    OnBeforeInstallObjects = AbortInstallation\n", "", tempDir / "setup");
  TProcessResult r = RunSetup(setup, " -c");
  EXPECT_EQ(r.ExitStatus, 2) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(EventLog(), kRecordLine + "\nBeforeInstallObjects Install1 abort\nBeforeBadInstall\nAfterBadInstall\n");
  EXPECT_FALSE(KeyExists(kRecordKey));
  EXPECT_FALSE(std::filesystem::exists(Installed("readme.txt")));
  // The clean-up batch removes the program's directory once the program has ended, then itself.
  EXPECT_TRUE(TemporaryFilesRemoved(Machine() / "drive_c" / "windows" / "temp"));
}

TEST_F(InstallEndings, TheCleanupRemovesOnlyItsDirectoryWhenTheTemporaryPathHasARunOfBlanks) {
  // Unquoted, "C:\my  temp\QNL1" used to read as the two words "C:\my" and "temp\QNL1".
  std::filesystem::path temp = UseTemporaryDirectory("my  temp");
  std::filesystem::create_directories(Machine() / "drive_c" / "my");
  std::ofstream(Machine() / "drive_c" / "my" / "keep.txt") << "kept";
  std::filesystem::create_directories(temp / "QNL1");
  std::filesystem::copy_file(EndingsSetup(), temp / "QNL1" / "setup");
  TProcessResult r = RunSetup((temp / "QNL1" / "setup").string(), " -c");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  ExpectFilesInstalled();
  EXPECT_TRUE(TemporaryFilesRemoved(temp));
  EXPECT_EQ(ReadFile(Machine() / "drive_c" / "my" / "keep.txt"), "kept");
  std::string log = ReadFile(Machine() / "quenloft-batch.log");
  EXPECT_EQ(log.find("Refused"), std::string::npos) << log;
}

TEST_F(InstallEndings, AFullDiskForTheCleanupBatchKeepsTheGoodEndingAndNamesTheDirectoryLeft) {
  // The temporary directory is a small file system of its own (in a mount namespace of the
  // test's), holding the setup program and a filler that leaves no free byte.
  std::filesystem::path temp = UseTemporaryDirectory("full temp");
  std::filesystem::path setup = temp / "QNL1" / "setup";
  uintmax_t size = std::filesystem::file_size(EndingsSetup()) + 64 * 1024;
  std::string script = "mount -t tmpfs -o size=" + std::to_string(size) + " tmpfs " + Quote(temp.string()) +
                       " || exit 99\n"
                       "mkdir " +
                       Quote(setup.parent_path().string()) + " && cp " + Quote(EndingsSetup()) + " " +
                       Quote(setup.string()) +
                       " || exit 99\n"
                       "cat /dev/zero >" +
                       Quote((temp / "filler").string()) + " 2>/dev/null\n" + Quote(setup.string()) +
                       " '-sC:\\dist' -c\n"
                       "echo \"status $?\"\n"
                       "ls -A " +
                       Quote(temp.string()) + "\n";
  TProcessResult r = Run("unshare -rm sh " + Quote(WriteFile("full-temp.sh", script)));
  if (r.ExitStatus == 99 || r.Out.empty()) GTEST_SKIP() << "no small file system of its own here: " << r.Err;
  // The installation is complete and the files to run start; no batch, not even an empty
  // one, is left, and the user learns which directory stays.
  EXPECT_EQ(r.Out, "status 0\nQNL1\nfiller\n") << r.Err;
  EXPECT_NE(r.Err.find("The temporary directory C:\\full temp\\QNL1 could not be removed ("), std::string::npos)
      << r.Err;
  ExpectFilesInstalled();
  ExpectStartRanAndSkipMeDidNot();
}

// The example project with code of its own, the way its author ships it: its setup program's
// build mode makes the distribution, and the user runs the loading program setup.exe.
class ExampleWithCode : public SetupProcessTest {
protected:
  static std::string ZPath(const std::filesystem::path& Path) {
    std::string text = Path.string();
    for (char& c : text)
      if (c == '/') c = '\\';
    return "Z:" + text;
  }
  // dist/: built from the example's folder, whose welcome.sh the project names relative to it.
  std::filesystem::path BuildDistribution() const {
    std::filesystem::copy_file(QNL_EXAMPLE_SETUP, FDir / "setup");
    WriteFile("BUILD.INF", ZPath(FDir / "dist") + "\r\n");
    std::string build = "cd " + Quote(Source("examples/with-code")) + " && QUENLOFT_PATH=" + Quote(Bin("")) + " exec " +
                        Quote((FDir / "setup").string()) + " -b";
    TProcessResult r = Run("sh -c " + Quote(build));
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    return FDir / "dist";
  }
};

TEST_F(ExampleWithCode, ListShowsEveryFileAsTheArchiveHoldsItWithItsDestinationAndInstallsNothing) {
  std::filesystem::path dist = BuildDistribution();
  TProcessResult r = Run(Quote((dist / "setup.exe").string()) + " --list --json");
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  // The independent reader's lines: index|FileNumber|FileName|FileSize|UniqueID|FirstDisk|LastDisk|FileVersion.
  TProcessResult reader = Run("python3 " + Quote(Source("tests/archive/archive_reader.py")) + " " +
                              Quote((dist / "files.1").string()) + " 0 " + Quote(FDir.string()));
  ASSERT_EQ(reader.ExitStatus, 0) << reader.Err;
  std::istringstream lines(reader.Out);
  int members = 0;
  for (std::string line; std::getline(lines, line); ++members) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '|');) f.push_back(field);
    ASSERT_GE(f.size(), 4u) << line;
    std::string name = StringReplaceAll(f[2], "\\", "\\\\");
    EXPECT_NE(r.Out.find("{\"name\": \"" + name + "\", \"size\": " + f[3] + ","), std::string::npos) << line << "\n"
                                                                                                     << r.Out;
  }
  EXPECT_GT(members, 0);
  EXPECT_NE(r.Out.find("\"destination\": \"C:\\\\Program Files\\\\Example With Code\\\\welcome.sh\""),
            std::string::npos)
      << r.Out;
  EXPECT_FALSE(std::filesystem::exists(Machine() / "drive_c" / "Program Files" / "Example With Code"));

  TProcessResult extracted = Run(Quote((dist / "setup.exe").string()) + " --extract " + Quote((FDir / "x").string()));
  ASSERT_EQ(extracted.ExitStatus, 0) << extracted.Err;
  EXPECT_EQ(ReadFile(FDir / "x" / "welcome.sh"), ReadFile(Source("examples/with-code/welcome.sh")));
}

TEST_F(ExampleWithCode, ItsHandlersTitleTheQuestionAndTheAnswerDecidesTheStart) {
  std::filesystem::path dist = BuildDistribution();
  ASSERT_TRUE(std::filesystem::exists(dist / "setup.exe"));
  std::filesystem::path installed = Machine() / "drive_c" / "Program Files" / "Example With Code" / "welcome.sh";
  const std::string question = "Example With Code 1.0 Setup: Start welcome.sh now?\n";

  // "No": installed, not started; the log says who answered what.
  std::filesystem::path log = FDir / "install.log";
  TProcessResult no = Run("env QNL_MESSAGEBOX_COMMAND='exit 1' " + Quote((dist / "setup.exe").string()) + " --log " +
                          Quote(log.string()));
  EXPECT_EQ(no.ExitStatus, 0) << no.Err;
  EXPECT_EQ(no.Err, question);
  EXPECT_TRUE(HasStep(InstallLogSteps(log), "message box: Example With Code 1.0 Setup: Start welcome.sh now? "
                                            "[Yes, No] answered No, by QNL_MESSAGEBOX_COMMAND"))
      << ReadFile(log);
  EXPECT_EQ(ReadFile(installed), ReadFile(Source("examples/with-code/welcome.sh")));
  EXPECT_TRUE(TemporaryFilesRemoved(Machine() / "drive_c" / "windows" / "temp"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(ReadFile(FDir / "stdout.txt"), "");

  // Nobody to ask: the box's default, "Yes", starts it; it writes to the output it inherited.
  TProcessResult yes = Run(Quote((dist / "setup.exe").string()));
  EXPECT_EQ(yes.ExitStatus, 0) << yes.Err;
  EXPECT_EQ(yes.Err, question);
  WaitUntil([&] { return ReadFile(FDir / "stdout.txt").find("Welcome") != std::string::npos; });
  EXPECT_EQ(ReadFile(FDir / "stdout.txt"),
            "Welcome to the example with code, installed in " + installed.parent_path().string() + "\n");
  EXPECT_TRUE(TemporaryFilesRemoved(Machine() / "drive_c" / "windows" / "temp"));
}

// The install log (QUENLOFT_LOG) of the endings project, written as the installation goes.
class InstallLogOfEndings : public InstallEndings {
protected:
  std::filesystem::path LogFile() const { return FDir / "install.log"; }
  std::vector<std::string> Steps() const { return InstallLogSteps(LogFile()); }
  static bool Has(const std::vector<std::string>& Steps, const std::string& Start) { return HasStep(Steps, Start); }
};

TEST_F(InstallLogOfEndings, AnInstallOverANewerFileSaysKeptAndWhy) {
  // readme.txt once more, as kept.txt, taken only over an older file.
  std::string setup = Variant("", "", FDir / "kept-setup",
                              "  object Kept: TInstallFile\n    Container = Install1\n"
                              "    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n"
                              "    IncludeFromDir = 'C:\\src'\n    FileName = 'readme.txt'\n    DestName = 'kept.txt'\n"
                              "    OverwriteMode = owDate\n    UniqueID = 0\n  end\n");
  std::filesystem::create_directories(Installed(""));
  std::ofstream(Installed("kept.txt")) << "newer";
  std::filesystem::last_write_time(Installed("kept.txt"),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::hours(24 * 365));
  TProcessResult r = Run("env QUENLOFT_LOG=" + Quote(LogFile().string()) + " " + Quote(setup) + " '-sC:\\dist'");
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(ReadFile(Installed("kept.txt")), "newer");
  std::vector<std::string> steps = Steps();
  ASSERT_FALSE(steps.empty());
  EXPECT_TRUE(Has(steps, "start: Endings Test 2.5, engine Quenloft ")) << ReadFile(LogFile());
  EXPECT_TRUE(Has(steps, "file: kept, the machine's file is newer (date): C:\\Program Files\\Endings Test\\kept.txt "
                         "(not replaced by C:\\src\\readme.txt)"))
      << ReadFile(LogFile());
  EXPECT_TRUE(Has(steps, "file: installed: C:\\Program Files\\Endings Test\\Data\\table.dat from C:\\src\\table.dat"))
      << ReadFile(LogFile());
  EXPECT_TRUE(Has(steps, "registry: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                         "Endings Test \"DisplayName\" = \"Endings Test\""))
      << ReadFile(LogFile());
  EXPECT_EQ(steps.back(), "end: exit status 0");
}

TEST_F(InstallLogOfEndings, AKilledSetupLeavesItsLogUpToItsLastStep) {
  // The error box of the failed installation waits; the setup program is killed while it does.
  std::filesystem::create_directories(Installed(""));
  std::ofstream(Installed("Data")) << "in the way";
  std::string box = "echo $PPID > " + Quote((FDir / "setup.pid").string()) + "; echo $$ > " +
                    Quote((FDir / "box.pid").string()) + "; exec sleep 600";
  std::string script = "env QUENLOFT_LOG=" + Quote(LogFile().string()) + " QNL_MESSAGEBOX_COMMAND=" + Quote(box) + " " +
                       Quote(EndingsSetup()) + " '-sC:\\dist' &\n" + "while [ ! -s " +
                       Quote((FDir / "box.pid").string()) + " ]; do sleep 0.05; done\n" + "kill -9 $(cat " +
                       Quote((FDir / "setup.pid").string()) + ") $(cat " + Quote((FDir / "box.pid").string()) +
                       ")\nwait $!\n";
  TProcessResult r = Run("sh " + Quote(WriteFile("kill.sh", script)));
  EXPECT_EQ(r.ExitStatus, 128 + 9) << r.Err;
  std::string log = ReadFile(LogFile());
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), '\n');
  std::vector<std::string> steps = Steps();
  // Ended where it was killed: the error shown, and no ending after it.
  EXPECT_TRUE(Has(steps, "start: ")) << log;
  EXPECT_FALSE(Has(steps, "end: ")) << log;
  EXPECT_EQ(steps.back().rfind("error: Cannot create directory \"C:\\Program Files\\Endings Test\\Data\"", 0), 0u)
      << log;
}
