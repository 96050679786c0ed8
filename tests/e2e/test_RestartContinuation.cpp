// A setup program whose work waits for the machine's restart: the continuation it registers,
// the restart it asks for, and a second run after it was killed, all as real subprocesses.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "engine/SelfExtractingSetup.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"
#include "tests/support/LockHolder.h"
#include "tests/support/SetupProcess.h"

using namespace qnl;
using namespace qnl::test;

namespace {

constexpr const char* kDist = "C:\\dist";
constexpr const char* kDest = "C:\\Program Files\\Tool";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRecord = "SOFTWARE\\Quenloft\\Install\\Install0";
constexpr const char* kFailedRebootMessage = "Could not reboot windows. Please manually reboot windows.";

// The handlers the project with code binds (tests/e2e/projects/restart).
constexpr const char* kHandlers = "    OnAfterInitialized = Install1AfterInitialized\n"
                                  "    OnAfterNotifyBadInstall = Install1AfterNotifyBadInstall\n"
                                  "    OnAfterNotifyGoodInstall = Install1AfterNotifyGoodInstall\n"
                                  "    OnBeforeReboot = Install1BeforeReboot\n"
                                  "    OnFailedReboot = Install1FailedReboot\n";

// One file of the project: its component name, archive member and contents.
struct TProjectFile {
  std::string Name;
  int UniqueID;
  std::string Contents;
};

using TLines = std::vector<std::string>;

} // namespace

class RestartContinuation : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    // The archive is made in this process, on the machine the programs use; the programs
    // (and the continuation the restart starts) leave their handlers' traces in one file.
    ShareMachineWithPrograms();
    setenv("QNL_RESTART_MARKERS", (FDir / "markers.txt").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QNL_RESTART_MARKERS");
    SetupProcessTest::TearDown();
  }

  static std::string SourcePath(const TProjectFile& File) { return "C:\\src\\" + File.Name + ".dll"; }
  static std::string DestPath(const std::string& Name) { return std::string(kDest) + "\\" + Name + ".dll"; }

  // Writes a file at a Windows path of the machine, creating its directories.
  static void PutFile(const std::string& Path, const std::string& Text) {
    ForceDirectories(ExtractFileDir(Path));
    TFileStream stream(Path, fmCreate);
    stream.Write(Text.data(), static_cast<int64_t>(Text.size()));
  }
  static std::string FileText(const std::string& Path) {
    if (!FileExists(Path)) return "<missing>";
    TFileStream stream(Path, fmOpenRead | fmShareDenyNone);
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    stream.Read(text.data(), static_cast<int64_t>(text.size()));
    return text;
  }

  // The archive C:\dist\files.1 holding Files.
  static void MakeArchive(const std::vector<TProjectFile>& Files) {
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile(std::string(kDist) + "\\files.1");
    zip.SetCompressionLevel(colFastest);
    bool first = true;
    for (const TProjectFile& file : Files) {
      PutFile(SourcePath(file), file.Contents);
      zip.FilesToProcess().Clear();
      zip.FilesToProcess().Add(SourcePath(file));
      zip.Add(first ? lzcOverwrite : lzcOnlyAdd, file.UniqueID);
      first = false;
    }
  }
  // A setup program carrying the project of Files (Extra: more properties of the install
  // component); with Handlers, the program of the project with code.
  std::string MakeSetup(const std::vector<TProjectFile>& Files, bool Handlers, const std::string& Name = "setup",
                        const std::string& Extra = "") {
    std::string form = "object formMain: TformMain\n"
                       "  Caption = 'Restart test'\n"
                       "  object psMainArchiveFile: TpsMainArchiveFile\n  end\n"
                       "  object psContainerArchiveFile: TpsContainerArchiveFile\n  end\n"
                       "  object psContainerDestDir: TpsContainerDestDir\n  end\n"
                       "  object Install1: TInstall\n"
                       "    DestDir = '\\Tool'\n" +
                       std::string(Handlers ? kHandlers : "") + Extra + "  end\n";
    for (const TProjectFile& file : Files)
      form += "  object " + file.Name +
              ": TInstallFile\n"
              "    Container = Install1\n"
              "    ArchiveFileType = psContainerArchiveFile\n"
              "    DestDirType = psContainerDestDir\n"
              "    FileName = '" +
              SourcePath(file) +
              "'\n"
              "    DestName = '" +
              file.Name +
              ".dll'\n"
              "    UniqueID = " +
              std::to_string(file.UniqueID) +
              "\n"
              "  end\n";
    form += "end\n";
    std::string formFile = WriteFile(Name + ".txt", form);
    std::string target = (FDir / Name).string();
    std::string program = Handlers ? std::string(" --program ") + Quote(QNL_RESTART_SETUP) : "";
    TProcessResult r = Tool("compile " + Quote(formFile) + " -o " + Quote(target) + program);
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    return target;
  }
  // The archive and the setup program FSetup of Files.
  void MakeDistribution(const std::vector<TProjectFile>& Files, bool Handlers = false, const std::string& Extra = "") {
    MakeArchive(Files);
    FSetup = MakeSetup(Files, Handlers, "setup", Extra);
  }
  static std::vector<TProjectFile> ToolAndOther() {
    return {{"tool", 1, "new library"}, {"other", 2, "other library"}};
  }

  // Runs Setup with the source switch, then Args; Env (NAME=value words) goes before it.
  TProcessResult RunSetup(const std::string& Args = "", const std::string& Env = "",
                          const std::string& Setup = "") const {
    return Run((Env.empty() ? "" : "env " + Env + " ") + Quote(Setup.empty() ? FSetup : Setup) + " " +
               Quote(std::string("-s") + kDist) + (Args.empty() ? "" : " " + Args));
  }
  // The first run: with the destination of "tool" held open by another process.
  TProcessResult RunWhileToolInUse(const std::string& Args = "", const std::string& Env = "",
                                   const std::string& Setup = "") const {
    PutFile(DestPath("tool"), "old library");
    TLockHolder holder(UnixPathOf(DestPath("tool")));
    return RunSetup(Args, Env, Setup);
  }
  TProcessResult Tool(const std::string& Args) const { return Run(Quote(Bin("quenloft")) + " " + Args); }
  TProcessResult Restart() const {
    TProcessResult r = Tool("machine restart");
    EXPECT_EQ(r.ExitStatus, 0) << r.Out << r.Err;
    return r;
  }
  // The data of a string value (key below HKEY_LOCAL_MACHINE), or "<none>" when the value or
  // its key is missing. Read in this process: the registry journal shows every program's writes.
  static std::string RegValue(const std::string& Key, const std::string& Name) {
    std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, Key);
    return key ? key->ReadString(Name).value_or("<none>") : "<none>";
  }
  static bool KeyExists(const std::string& Key) { return TRegKey::Exists(TRootKey::rkLocalMachine, Key); }
  static TLines ValueNames(const std::string& Key) {
    std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, Key);
    return key ? key->ValueNames() : TLines{};
  }
  bool RestartRequested() const { return std::filesystem::exists(FDir / "machine" / "quenloft-restart-requested"); }
  // The events the handlers saw, in order.
  TLines Markers() const {
    TLines lines;
    std::ifstream in(FDir / "markers.txt");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  void ClearMarkers() const { std::filesystem::remove(FDir / "markers.txt"); }
  // The continuation command a run of Setup registers (Switches: what follows -r).
  std::string ContinuationCommand(const std::string& Switches = "", const std::string& Setup = "") const {
    return "\"" + WindowsPathOf(Setup.empty() ? FSetup : Setup) + "\" -r " +
           (Switches.empty() ? "\"-s" + std::string(kDist) + "\"" : Switches);
  }
  // The restart ran the continuation, which put the new file in place and ended well.
  void ExpectContinued(const TProcessResult& Restart, const std::string& Setup = "",
                       const std::string& Switches = "") const {
    EXPECT_NE(Restart.Out.find("RunOnce QuenloftUnfinished: " + ContinuationCommand(Switches, Setup)),
              std::string::npos)
        << Restart.Out;
    EXPECT_EQ(FileText(DestPath("tool")), "new library");
    EXPECT_EQ(FileText(std::string(kDest) + "\\tool.1"), "<missing>");
    EXPECT_FALSE(KeyExists(kRecord));
    EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), "<none>");
  }

  // Starts FSetup with Args (shell words) without waiting; its process id.
  pid_t StartSetup(const std::string& Args) const {
    std::string command = "cd " + Quote(FDir.string()) + " && exec " + Quote(FSetup) + " " + Args + " >/dev/null 2>&1";
    pid_t pid = ::fork();
    if (pid == 0) {
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  }

  std::string FSetup;

private:
};

TEST_F(RestartContinuation, AFileInUseWaitsForTheRestartAndTheContinuationFinishes) {
  MakeDistribution(ToolAndOther());
  TProcessResult first = RunWhileToolInUse();
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(first.Err, "");
  EXPECT_EQ(FileText(DestPath("tool")), "old library");
  EXPECT_EQ(FileText(DestPath("other")), "other library");
  EXPECT_EQ(FileText(std::string(kDest) + "\\tool.1"), "new library");
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand());
  EXPECT_TRUE(RestartRequested());
  // No good ending yet: the install record and its unfinished list stay for the continuation.
  EXPECT_EQ(ValueNames(std::string(kRecord) + "\\Unfinished"), TLines{"tool"});
  EXPECT_EQ(RegValue(std::string(kRecord) + "\\Unfinished", "tool"), "0");

  TProcessResult restart = Restart();
  EXPECT_NE(restart.Out.find("PendingFileRenameOperations: moved"), std::string::npos) << restart.Out;
  ExpectContinued(restart);
  EXPECT_FALSE(RestartRequested());

  TProcessResult again = Restart();
  EXPECT_EQ(again.Out, "Nothing to do at this start.\n");
}

TEST_F(RestartContinuation, TheGoodEndingWaitsForTheContinuation) {
  MakeDistribution(ToolAndOther(), true);
  TProcessResult first = RunWhileToolInUse();
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot"}));
  EXPECT_TRUE(RestartRequested());
  ExpectContinued(Restart());
  // The continuation starts no installation: only the good ending follows.
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot", "good-install"}));
}

TEST_F(RestartContinuation, ADeclinedRestartLeavesTheContinuationRegistered) {
  MakeDistribution(ToolAndOther(), true);
  TProcessResult first = RunWhileToolInUse("", "QNL_RESTART_DECLINE=1");
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(first.Err, "");
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot"}));
  EXPECT_FALSE(RestartRequested());
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand());
  EXPECT_TRUE(KeyExists(kRecord));
  // The user restarts later.
  ExpectContinued(Restart());
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot", "good-install"}));
}

TEST_F(RestartContinuation, AProjectAskingForARestartIsContinuedWithoutUnfinishedWork) {
  MakeDistribution(ToolAndOther(), true, "    Reboot = True\n");
  TProcessResult first = RunSetup();
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(FileText(DestPath("tool")), "new library");
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot"}));
  EXPECT_TRUE(RestartRequested());
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand());
  EXPECT_TRUE(KeyExists(kRecord));
  EXPECT_FALSE(KeyExists(std::string(kRecord) + "\\Unfinished"));
  ExpectContinued(Restart());
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot", "good-install"}));
}

// An error in the continuation ends it with neither ending; what it consumed stays consumed.
TEST_F(RestartContinuation, ABrokenUnfinishedEntryEndsTheContinuation) {
  MakeDistribution(ToolAndOther(), true);
  EXPECT_EQ(RunWhileToolInUse().ExitStatus, 3);
  std::string list = std::string("HKLM\\") + kRecord + "\\Unfinished";
  ASSERT_EQ(Tool("reg set " + Quote(list) + " tool REG_SZ zero").ExitStatus, 0);
  TProcessResult restart = Tool("machine restart");
  EXPECT_EQ(restart.ExitStatus, 1) << restart.Out;
  EXPECT_NE(restart.Out.find("RunOnce QuenloftUnfinished: " + ContinuationCommand() + " ended with status 1"),
            std::string::npos)
      << restart.Out;
  EXPECT_NE(restart.Err.find("There is an invalid entry for the unfinished install list tool;zero"), std::string::npos)
      << restart.Err;
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot"}));
  EXPECT_EQ(FileText(DestPath("tool")), "new library"); // the restart's own move happened
  EXPECT_FALSE(KeyExists(std::string(kRecord) + "\\Unfinished"));
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), "<none>");
  EXPECT_EQ(Restart().Out, "Nothing to do at this start.\n");
}

TEST_F(RestartContinuation, WhenTheDelayedMoveFailsARestartBatchFileMovesTheFile) {
  MakeDistribution(ToolAndOther());
  TProcessResult first = RunWhileToolInUse("", "QNL_FAIL_DELAYED_MOVE=1");
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(Tool("machine pending").Out.find("PendingFileRename"), std::string::npos);
  std::string batch = RegValue(kRunOnceKey, "QuenloftBatFile");
  ASSERT_TRUE(EndsText(".bat", batch)) << batch;
  std::string text = FileText(batch);
  EXPECT_EQ(text.rfind("erase ", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nmove "), std::string::npos) << text;
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand());
  EXPECT_EQ(RegValue(std::string(kRecord) + "\\Unfinished", batch), "1");
  EXPECT_EQ(RegValue(std::string(kRecord) + "\\Unfinished", "tool"), "0");

  TProcessResult restart = Restart();
  // RunOnce entries run in name order: the batch file before the continuation.
  size_t batchRan = restart.Out.find("RunOnce QuenloftBatFile: " + batch);
  EXPECT_NE(batchRan, std::string::npos) << restart.Out;
  EXPECT_LT(batchRan, restart.Out.find("RunOnce QuenloftUnfinished")) << restart.Out;
  ExpectContinued(restart);
  EXPECT_EQ(FileText(batch), "<missing>"); // deleted by the continuation (code 1)
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftBatFile"), "<none>");
}

TEST_F(RestartContinuation, TwoFilesInUseGetABatchFileEachBeforeTheContinuation) {
  MakeDistribution(ToolAndOther());
  PutFile(DestPath("other"), "old other");
  TProcessResult first;
  {
    TLockHolder holder(UnixPathOf(DestPath("other")));
    first = RunWhileToolInUse("", "QNL_FAIL_DELAYED_MOVE=1");
  }
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  std::string batch = RegValue(kRunOnceKey, "QuenloftBatFile"), batch1 = RegValue(kRunOnceKey, "QuenloftBatFile1");
  EXPECT_TRUE(EndsText(".bat", batch) && EndsText(".bat", batch1) && batch != batch1) << batch << " " << batch1;
  EXPECT_EQ(ValueNames(std::string(kRecord) + "\\Unfinished").size(), 4u);

  TProcessResult restart = Restart();
  size_t continuation = restart.Out.find("RunOnce QuenloftUnfinished");
  EXPECT_LT(restart.Out.find("RunOnce QuenloftBatFile: " + batch), continuation) << restart.Out;
  EXPECT_LT(restart.Out.find("RunOnce QuenloftBatFile1: " + batch1), continuation) << restart.Out;
  ExpectContinued(restart);
  EXPECT_EQ(FileText(DestPath("other")), "other library");
  EXPECT_EQ(FileText(batch) + FileText(batch1), "<missing><missing>");
}

TEST_F(RestartContinuation, OnTheWindows95FamilyWininitMovesTheFile) {
  MakeDistribution(ToolAndOther(), true);
  ASSERT_EQ(Tool("machine version win95").ExitStatus, 0);
  TProcessResult first = RunWhileToolInUse();
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  std::string wininit = FileText("C:\\windows\\WININIT.INI");
  EXPECT_NE(wininit.find("[Rename]"), std::string::npos) << wininit;
  EXPECT_NE(wininit.find("tool.1"), std::string::npos) << wininit;
  EXPECT_EQ(Tool("machine pending").Out.find("PendingFileRename"), std::string::npos);
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand());
  EXPECT_TRUE(RestartRequested());
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot"}));

  TProcessResult restart = Restart();
  EXPECT_NE(restart.Out.find("WININIT.INI: moved"), std::string::npos) << restart.Out;
  ExpectContinued(restart);
  EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot", "good-install"}));
}

// Win32s, NT 3.5x and a platform of no known family cannot be restarted by the program, nor
// can NT without the shutdown privilege: the handler hears of it, or the user is told; the
// program still ends asking for the restart, and the next start continues.
TEST_F(RestartContinuation, AMachineThatCannotBeRestartedIsLeftToTheUser) {
  MakeArchive(ToolAndOther());
  std::string withHandler = MakeSetup(ToolAndOther(), true, "setup-with-handler");
  std::string plain = MakeSetup(ToolAndOther(), false, "setup-plain");
  struct TCase {
    const char* Version;
    const char* Env;
    bool AlsoWithoutHandler;
  };
  for (TCase c : {TCase{"win31", "", false}, TCase{"nt351", "", true}, TCase{"wince", "", false},
                  TCase{"win10", "QNL_FAIL_PRIVILEGE=1", true}}) {
    SCOPED_TRACE(std::string(c.Version) + " " + c.Env);
    TProcessResult version = Tool(std::string("machine version ") + c.Version);
    ASSERT_EQ(version.ExitStatus, 0) << version.Err;
    EXPECT_EQ(version.Out.find("another platform") != std::string::npos, std::string(c.Version) == "wince");
    ClearMarkers();
    TProcessResult first = RunWhileToolInUse("", c.Env, withHandler);
    EXPECT_EQ(first.ExitStatus, 3) << first.Err;
    EXPECT_EQ(first.Err.find(kFailedRebootMessage), std::string::npos) << first.Err;
    EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot", "failed-reboot"}));
    EXPECT_FALSE(RestartRequested());
    ExpectContinued(Restart(), withHandler);
    EXPECT_EQ(Markers(), (TLines{"initialized", "before-reboot", "failed-reboot", "good-install"}));

    if (!c.AlsoWithoutHandler) continue;
    first = RunWhileToolInUse("", c.Env, plain);
    EXPECT_EQ(first.ExitStatus, 3) << first.Err;
    EXPECT_NE(first.Err.find(kFailedRebootMessage), std::string::npos) << first.Err;
    EXPECT_FALSE(RestartRequested());
    ExpectContinued(Restart(), plain);
  }
}

// Contents of about Size bytes that compress like program files do, different for each Seed.
static std::string LibraryContents(int Seed, size_t Size) {
  std::string text(Size, '\0');
  uint32_t state = 2166136261u ^ static_cast<uint32_t>(Seed);
  for (char& c : text) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>("\0\0\0\x01\x8bMZ\x55\x89\xe5\xc3 ABCDEFGHIJ"[(state >> 24) % 20]);
  }
  return text;
}

TEST_F(RestartContinuation, ASetupKilledInTheMiddleIsRunAgainAndCompletes) {
  constexpr int kFiles = 250;
  std::vector<TProjectFile> files{{"tool", 1, "new library"}};
  for (int i = 1; i < kFiles; ++i)
    files.push_back({Format("f%.3d", {int64_t(i)}), i + 1, LibraryContents(i, 80 * 1024)});
  MakeDistribution(files);

  pid_t pid = StartSetup(Quote(std::string("-s") + kDist));
  ASSERT_GT(pid, 0);
  // Files of equal type are installed from the last one of the project to the first.
  std::string firstFile = UnixPathOf(DestPath(files.back().Name)), lastFile = UnixPathOf(DestPath("tool"));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!std::filesystem::exists(firstFile) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the installation ended, or never began, before it could be killed";
  EXPECT_TRUE(std::filesystem::exists(firstFile));
  EXPECT_FALSE(std::filesystem::exists(lastFile));

  // The hives survived the kill: the registry tool reads the killed run's record.
  std::string record = std::string("HKLM\\") + kRecord;
  TProcessResult query = Tool("reg query " + Quote(record) + " Path");
  EXPECT_EQ(query.ExitStatus, 0) << query.Err;
  EXPECT_NE(query.Out.find(WindowsPathOf(FSetup)), std::string::npos) << query.Out;
  // Work the killed run could have left: deleting a file that must stay.
  PutFile("C:\\keep.txt", "still needed");
  TProcessResult seed = Tool("reg set " + Quote(record + "\\Unfinished") + " " + Quote("C:\\keep.txt") + " REG_SZ 1");
  ASSERT_EQ(seed.ExitStatus, 0) << seed.Err;
  EXPECT_EQ(Tool("reg query " + Quote(record + "\\Unfinished")).ExitStatus, 0);

  // Run again, with a file in use so that a continuation follows.
  TProcessResult second = RunWhileToolInUse();
  EXPECT_EQ(second.ExitStatus, 3) << second.Err;
  for (size_t i = 1; i < files.size(); ++i)
    ASSERT_TRUE(FileText(DestPath(files[i].Name)) == files[i].Contents) << files[i].Name;
  // The killed run's entry was dropped: the list holds the new run's work alone.
  EXPECT_EQ(ValueNames(std::string(kRecord) + "\\Unfinished"), TLines{"tool"});
  ExpectContinued(Restart());
  EXPECT_EQ(FileText("C:\\keep.txt"), "still needed");
  EXPECT_EQ(Tool("reg query " + Quote("HKLM\\Software")).ExitStatus, 0);
}

TEST_F(RestartContinuation, ASelfExtractedRunContinuesWithItsSelfExtractorAndCleanupSwitches) {
  MakeDistribution(ToolAndOther());
  // Setup.exe: a stand-in for the loading program with setup.1 and files.1 appended.
  std::string dist = kDist;
  PutFile(dist + "\\Setup.exe", "MZ the loading program");
  PutFile(dist + "\\setup.1", "the setup archive");
  AppendSelfExtractingArchives(dist + "\\Setup.exe", dist + "\\setup.1", dist + "\\files.1");
  DeleteFile(dist + "\\files.1");
  TProcessResult first = RunWhileToolInUse(Quote("-eSetup.exe") + " -c");
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(FileText(DestPath("other")), "other library");
  std::string switches = "\"-eSetup.exe\" \"-s" + dist + "\" -c";
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand(switches));
  ExpectContinued(Restart(), "", switches);
}
