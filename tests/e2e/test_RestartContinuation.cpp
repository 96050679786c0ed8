// A setup program whose work waits for the machine's restart: the continuation it registers,
// the restart it asks for, and a second run after it was killed, all as real subprocesses.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "engine/SelfExtractingSetup.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "tests/e2e/SetupProcess.h"
#include "tests/platform/LockHolder.h"

using namespace qnl;
using namespace qnl::test;

namespace {

constexpr const char* kDist = "C:\\dist";
constexpr const char* kDest = "C:\\Program Files\\Tool";
constexpr const char* kRunOnceKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRecord = "HKLM\\SOFTWARE\\Quenloft\\Install\\Install0";
constexpr const char* kFailedRebootMessage = "Could not reboot windows. Please manually reboot windows.";

// The handlers the project with code binds (tests/e2e/projects/restart).
constexpr const char* kHandlers = "    OnAfterInitialized = Install1AfterInitialized\n"
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
    const char* old = std::getenv("WINEPREFIX");
    FOldPrefix = old ? old : "";
    // The archive is made in this process, on the machine the programs use; the programs
    // (and the continuation the restart starts) leave their handlers' traces in one file.
    setenv("WINEPREFIX", (FDir / "machine").c_str(), 1);
    setenv("QNL_RESTART_MARKERS", (FDir / "markers.txt").c_str(), 1);
  }
  void TearDown() override {
    if (FOldPrefix.empty()) unsetenv("WINEPREFIX");
    else setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
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
  std::string MakeSetup(const std::vector<TProjectFile>& Files, bool Handlers, const std::string& Name = "setup") {
    std::string form = "object formMain: TformMain\n"
                       "  Caption = 'Restart test'\n"
                       "  object psMainArchiveFile: TpsMainArchiveFile\n  end\n"
                       "  object psContainerArchiveFile: TpsContainerArchiveFile\n  end\n"
                       "  object psContainerDestDir: TpsContainerDestDir\n  end\n"
                       "  object Install1: TInstall\n"
                       "    DestDir = '\\Tool'\n" +
                       std::string(Handlers ? kHandlers : "") + "  end\n";
    for (const TProjectFile& file : Files)
      form += "  object " + file.Name + ": TInstallFile\n"
              "    Container = Install1\n"
              "    ArchiveFileType = psContainerArchiveFile\n"
              "    DestDirType = psContainerDestDir\n"
              "    FileName = '" + SourcePath(file) + "'\n"
              "    DestName = '" + file.Name + ".dll'\n"
              "    UniqueID = " + std::to_string(file.UniqueID) + "\n"
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
  void MakeDistribution(const std::vector<TProjectFile>& Files, bool Handlers = false) {
    MakeArchive(Files);
    FSetup = MakeSetup(Files, Handlers);
  }
  static std::vector<TProjectFile> ToolAndOther() { return {{"tool", 1, "new library"}, {"other", 2, "other library"}}; }

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
  // The data of a string value, or "<none>" when the value or its key is missing.
  std::string RegValue(const std::string& Key, const std::string& Name) const {
    TProcessResult r = Tool("reg query " + Quote(Key) + " " + Quote(Name));
    if (r.ExitStatus != 0) return "<none>";
    std::string marker = "    REG_SZ    ";
    size_t at = r.Out.find(marker);
    if (at == std::string::npos) return r.Out;
    std::string data = r.Out.substr(at + marker.size());
    while (!data.empty() && (data.back() == '\n' || data.back() == '\r')) data.pop_back();
    return data;
  }
  bool KeyExists(const std::string& Key) const { return Tool("reg query " + Quote(Key)).ExitStatus == 0; }
  // The value names of a key, as the registry tool lists them.
  TLines ValueNames(const std::string& Key) const {
    TLines names;
    std::istringstream lines(Tool("reg query " + Quote(Key)).Out);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("    ", 0) == 0) names.push_back(line.substr(4, line.find("    ", 4) - 4));
    return names;
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
  void ExpectContinued(const TProcessResult& Restart, const std::string& Setup = "") const {
    EXPECT_NE(Restart.Out.find("RunOnce QuenloftUnfinished: " + ContinuationCommand("", Setup)), std::string::npos)
        << Restart.Out;
    EXPECT_EQ(FileText(DestPath("tool")), "new library");
    EXPECT_EQ(FileText(std::string(kDest) + "\\tool.1"), "<missing>");
    EXPECT_FALSE(KeyExists(kRecord));
    EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), "<none>");
  }

  std::string FSetup;

private:
  std::string FOldPrefix;
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
