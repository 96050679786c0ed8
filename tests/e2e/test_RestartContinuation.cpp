// A setup program whose work waits for the machine's restart: the continuation it registers,
// the restart it asks for, and a second run after it was killed, all as real subprocesses.
#include <cstdlib>
#include <filesystem>

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
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

// One file of the project: its component name, archive member and contents.
struct TProjectFile {
  std::string Name;
  int UniqueID;
  std::string Contents;
};

} // namespace

class RestartContinuation : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    const char* old = std::getenv("WINEPREFIX");
    FOldPrefix = old ? old : "";
    // The archive is made in this process, on the machine the programs use.
    setenv("WINEPREFIX", (FDir / "machine").c_str(), 1);
  }
  void TearDown() override {
    if (FOldPrefix.empty()) unsetenv("WINEPREFIX");
    else setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
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

  // The distribution C:\dist\files.1 holding Files, and a setup program carrying the project
  // (Extra: more properties of the install component).
  void MakeDistribution(const std::vector<TProjectFile>& Files, const std::string& Extra = "") {
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile(std::string(kDist) + "\\files.1");
    std::string form = "object formMain: TformMain\n"
                       "  Caption = 'Restart test'\n"
                       "  object psMainArchiveFile: TpsMainArchiveFile\n  end\n"
                       "  object psContainerArchiveFile: TpsContainerArchiveFile\n  end\n"
                       "  object psContainerDestDir: TpsContainerDestDir\n  end\n"
                       "  object Install1: TInstall\n"
                       "    DestDir = '\\Tool'\n" + Extra +
                       "  end\n";
    bool first = true;
    for (const TProjectFile& file : Files) {
      PutFile(SourcePath(file), file.Contents);
      zip.FilesToProcess().Clear();
      zip.FilesToProcess().Add(SourcePath(file));
      zip.Add(first ? lzcOverwrite : lzcOnlyAdd, file.UniqueID);
      first = false;
      form += "  object " + file.Name + ": TInstallFile\n"
              "    Container = Install1\n"
              "    ArchiveFileType = psContainerArchiveFile\n"
              "    DestDirType = psContainerDestDir\n"
              "    FileName = '" + SourcePath(file) + "'\n"
              "    DestName = '" + file.Name + ".dll'\n"
              "    UniqueID = " + std::to_string(file.UniqueID) + "\n"
              "  end\n";
    }
    form += "end\n";
    FSetup = CompileSetup(WriteFile("formMain.txt", form));
  }

  // Runs the setup program with Args after the source switch, Env (NAME=value words) before it.
  TProcessResult RunSetup(const std::string& Args = "", const std::string& Env = "") const {
    return Run((Env.empty() ? "" : "env " + Env + " ") + Quote(FSetup) + " " + Quote(std::string("-s") + kDist) +
               (Args.empty() ? "" : " " + Args));
  }
  TProcessResult Tool(const std::string& Args) const { return Run(Quote(Bin("quenloft")) + " " + Args); }
  // The data of a registry value, or "<none>" when the value or its key is missing.
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
  // The continuation command the first run registers.
  std::string ContinuationCommand() const {
    return "\"" + WindowsPathOf(FSetup) + "\" -r \"-s" + std::string(kDist) + "\"";
  }

  std::string FSetup;

private:
  std::string FOldPrefix;
};

TEST_F(RestartContinuation, AFileInUseWaitsForTheRestartAndTheContinuationFinishes) {
  MakeDistribution({{"tool", 1, "new library"}, {"other", 2, "other library"}});
  PutFile(DestPath("tool"), "old library");
  TProcessResult first;
  {
    TLockHolder holder(UnixPathOf(DestPath("tool")));
    first = RunSetup();
  }
  EXPECT_EQ(first.ExitStatus, 3) << first.Err;
  EXPECT_EQ(FileText(DestPath("tool")), "old library");
  EXPECT_EQ(FileText(DestPath("other")), "other library");
  EXPECT_EQ(FileText(std::string(kDest) + "\\tool.1"), "new library");
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), ContinuationCommand());
  // No good ending yet: the install record and its unfinished list stay for the continuation.
  EXPECT_EQ(RegValue(std::string(kRecord) + "\\Unfinished", "tool"), "0");

  TProcessResult restart = Tool("machine restart");
  EXPECT_EQ(restart.ExitStatus, 0) << restart.Out << restart.Err;
  EXPECT_NE(restart.Out.find("RunOnce QuenloftUnfinished: " + ContinuationCommand()), std::string::npos)
      << restart.Out;
  EXPECT_EQ(FileText(DestPath("tool")), "new library");
  EXPECT_EQ(FileText(std::string(kDest) + "\\tool.1"), "<missing>");
  EXPECT_FALSE(KeyExists(kRecord));
  EXPECT_EQ(RegValue(kRunOnceKey, "QuenloftUnfinished"), "<none>");

  TProcessResult again = Tool("machine restart");
  EXPECT_EQ(again.ExitStatus, 0) << again.Out;
  EXPECT_EQ(again.Out, "Nothing to do at this start.\n");
}
