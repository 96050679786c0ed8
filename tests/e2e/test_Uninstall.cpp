// The product's uninstaller on real installations: distributions built with -b, installed
// unattended on a temporary machine, and removed again by the QuenloftUninstall.exe they
// installed.
#include <filesystem>
#include <set>

#include "platform/files/DelayedMoves.h"
#include "platform/registry/Registry.h"
#include "tests/support/LockHolder.h"
#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl;
using namespace qnl::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kUninstallKeys = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kSharedDLLs = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// A text-form component; Body holds its properties, one per line.
std::string Component(const std::string& Name, const std::string& Class, const std::string& Body) {
  std::string text = "  object " + Name + ": " + Class + "\n";
  size_t start = 0;
  while (start < Body.size()) {
    size_t end = Body.find('\n', start);
    if (end == std::string::npos) end = Body.size();
    text += "    " + Body.substr(start, end - start) + "\n";
    start = end + 1;
  }
  return text + "  end\n";
}

// An install file of the project's files/ folder, in the product's folder unless Placed says
// otherwise.
std::string File(const std::string& Name, const std::string& FileName, int UniqueID, const std::string& More = "") {
  return Component(Name, "TInstallFile",
                   "Container = Install1\nArchiveFileType = psContainerArchiveFile\nIncludeFromDir = 'files'\n"
                   "FileName = '" +
                       FileName + "'\nDestName = '" + FileName + "'\nUniqueID = " + std::to_string(UniqueID) + "\n" +
                       (More.find("DestDirType") == std::string::npos ? "DestDirType = psContainerDestDir\n" : "") +
                       More);
}

// A project named Product with Files (File(...) components) and the product's uninstaller.
std::string Project(const std::string& Product, const std::string& Files) {
  std::string form = "object formMain: TformMain\n  Caption = '" + Product + " Setup'\n";
  for (const char* specifier :
       {"psCommonFiles", "psContainerArchiveFile", "psContainerDestDir", "psMainArchiveFile", "psProgramFiles"})
    form += Component(specifier, std::string("T") + specifier, "");
  form += Component("Install1", "TInstall",
                    "DestDir = '\\" + Product + "'\nDestDirType = psProgramFiles\nInformation.ProductName = '" +
                        Product + "'");
  form += Files;
  form +=
      Component("Uninstaller", "TUninstallEXE",
                "Container = Install1\nArchiveFileType = psContainerArchiveFile\nDestDirType = psContainerDestDir\n"
                "FileName = 'QuenloftUninstall.exe'\nDestName = 'QuenloftUninstall.exe'\nNet = False\nUniqueID = 99");
  return form + "end\n";
}

// A shared library of Common Files\System, counted in SharedDLLs.
std::string SharedFile(const std::string& Name, const std::string& FileName, int UniqueID) {
  return File(Name, FileName, UniqueID,
              "DestDirType = psCommonFiles\nDestDir = '\\System'\nFileType = iftVendorSharedDLL\nUpdateDLLCounter = "
              "True\n");
}

class Uninstall : public SetupProcessTest {
protected:
  void SetUp() override {
    SetupProcessTest::SetUp();
    ShareMachineWithPrograms();
    fs::create_directories(FDir / "files");
  }

  // Builds the distribution of Form into FDir/<Name>-dist and installs it unattended.
  void BuildAndInstall(const std::string& Name, const std::string& Form, const std::string& Env = "") {
    fs::path project = FDir / (Name + "-project");
    fs::create_directories(project);
    fs::copy(FDir / "files", project / "files", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    std::string setup = CompileSetup(WriteFile(Name + ".txt", Form), Name + "-setup");
    qnl::test::WriteFile((FDir / "BUILD.INF").string(), "Z:" + (FDir / (Name + "-dist")).string() + "\r\n");
    TProcessResult build = Run("sh -c " + Quote("cd " + Quote(project.string()) +
                                                " && env WINEPREFIX=" + Quote((FDir / "author").string()) +
                                                " QUENLOFT_PATH=" + Quote(Bin("")) + " " + Quote(setup) + " -b"));
    ASSERT_EQ(build.ExitStatus, 0) << build.Err;
    TProcessResult install =
        Run("env " + Env + " " + Quote((FDir / (Name + "-dist") / "setup.exe").string()) + " --unattended --quiet");
    ASSERT_EQ(install.ExitStatus, 0) << install.Err;
  }

  // The Unix path of a path on drive C: of the test's machine.
  fs::path OnDriveC(std::string WindowsPath) const {
    for (char& c : WindowsPath)
      if (c == '\\') c = '/';
    return Machine() / "drive_c" / WindowsPath.substr(3);
  }

  // Runs the uninstaller the product installed, as its registered command does; Env is put
  // before it ("VAR=value ..."), and WINEPREFIX is not set: it finds its machine by its place.
  TProcessResult RunUninstaller(const std::string& Product, const std::string& Options, const std::string& Env = "") {
    std::string command = UninstallString(Product);
    std::string program = command.substr(0, command.size() - Product.size() - 1);
    return Run("env -u WINEPREFIX " + Env + " " + Quote(OnDriveC(program).string()) + " " + Options + " " +
               Quote(Product));
  }

  std::string UninstallString(const std::string& Product) const {
    return TRegKey::ReadStringAt(TRootKey::rkLocalMachine, kUninstallKeys + Product, "UninstallString").value_or("");
  }

  static std::optional<uint32_t> SharedCount(const std::string& Path) {
    std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, kSharedDLLs);
    return key ? key->ReadDWord(Path) : std::nullopt;
  }

  // Every file and folder below drive C:, relative, but the machine's temporary ones.
  std::set<std::string> DriveC() const {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(Machine() / "drive_c")) {
      std::string relative = fs::relative(entry.path(), Machine() / "drive_c").string();
      if (!relative.starts_with("windows/temp")) entries.insert(relative);
    }
    return entries;
  }
};

} // namespace

TEST_F(Uninstall, TheSampleGoesWholeAndASecondRunFindsNothing) {
  fs::copy(Source("examples/sample/files"), FDir / "files", fs::copy_options::recursive);
  Run(Quote(Bin("quenloft")) + " machine create");
  std::set<std::string> before = DriveC();
  BuildAndInstall("sample", ReadFile(Source("examples/sample/formMain.txt")),
                  "XDG_DATA_HOME=" + Quote((FDir / "xdg").string()));
  fs::path installed = Machine() / "drive_c" / "Program Files" / "Sample Application";
  // The program the installation starts at its end writes its log: a file the product did not
  // install, which keeps its folder.
  for (int i = 0; i < 100 && !fs::exists(installed / "sample.log"); ++i) Run("sleep 0.05");
  ASSERT_TRUE(fs::exists(installed / "sample.log"));
  EXPECT_NE(Run(Quote(Bin("quenloft")) + " installed")
                .Out.find("Sample Application|||C:\\Program Files\\Sample "
                          "Application\\QuenloftUninstall.exe Sample Application"),
            std::string::npos);

  TProcessResult r = RunUninstaller("Sample Application", "--unattended --log " + Quote((FDir / "log.txt").string()),
                                    "XDG_DATA_HOME=" + Quote((FDir / "xdg").string()));
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  std::set<std::string> after = DriveC();
  after.erase("Program Files/Sample Application/sample.log");
  after.erase("Program Files/Sample Application");
  EXPECT_EQ(after, before);
  std::string log = ReadFile((FDir / "log.txt").string());
  EXPECT_NE(log.find("kept: C:\\Program Files\\Sample Application (it holds what Sample Application did not "
                     "install: sample.log)"),
            std::string::npos)
      << log;
  EXPECT_FALSE(TRegKey::Exists(TRootKey::rkLocalMachine, std::string(kUninstallKeys) + "Sample Application"));
  // Its desktop menu entries went with its shortcuts.
  for (const auto& entry : fs::recursive_directory_iterator(FDir / "xdg"))
    EXPECT_FALSE(entry.is_regular_file()) << entry.path();
  EXPECT_EQ(Run(Quote(Bin("quenloft")) + " installed").Out, "");

  r = Run(Quote(Bin("quenloft")) + " uninstall Sample Application --unattended");
  EXPECT_EQ(r.ExitStatus, 1);
  EXPECT_NE(r.Err.find("Sample Application is not installed on this machine"), std::string::npos) << r.Err;
}

TEST_F(Uninstall, SharedFilesGoWithTheirLastProductAndAKilledRunCountsOnce) {
  qnl::test::WriteFile((FDir / "files" / "shared.dll").string(), "shared by both");
  qnl::test::WriteFile((FDir / "files" / "only.dll").string(), "shared by none");
  BuildAndInstall("a", Project("Tool A", SharedFile("Shared", "shared.dll", 1)));
  // A container installs (and records) its files last first: only.dll's question comes after
  // shared.dll's count was taken down.
  BuildAndInstall("b", Project("Tool B", SharedFile("Only", "only.dll", 2) + SharedFile("Shared", "shared.dll", 1)));
  const std::string shared = "C:\\Program Files\\Common Files\\System\\shared.dll";
  const std::string only = "C:\\Program Files\\Common Files\\System\\only.dll";
  ASSERT_EQ(SharedCount(shared), 2u);
  ASSERT_EQ(SharedCount(only), 1u);

  // The confirmation is answered Yes; the question about only.dll, its last user gone, kills
  // the uninstaller the first time it is asked.
  std::string env = "QNL_MESSAGEBOX_COMMAND=" +
                    Quote("case \"$1\" in *'shared file'*) [ -e killed ] || { touch killed; kill -9 $PPID; };; esac");
  TProcessResult r = RunUninstaller("Tool B", "", env);
  ASSERT_EQ(r.ExitStatus, 128 + 9) << r.Err;
  EXPECT_EQ(SharedCount(shared), 1u);
  r = RunUninstaller("Tool B", "", env);
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(SharedCount(shared), 1u) << "counted down twice";
  EXPECT_TRUE(fs::exists(OnDriveC(shared)));
  EXPECT_EQ(SharedCount(only), std::nullopt);
  EXPECT_FALSE(fs::exists(OnDriveC(only)));

  // Unattended, a shared file no one uses any more is kept; asked, it goes.
  r = RunUninstaller("Tool A", "", "QNL_MESSAGEBOX_COMMAND=true");
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(SharedCount(shared), std::nullopt);
  EXPECT_FALSE(fs::exists(OnDriveC(shared)));
}

TEST_F(Uninstall, AnActiveXServerIsUnregisteredAndAUserFileKeepsItsFolder) {
  fs::copy_file(QNL_TEST_RECORDER, FDir / "files" / "recorder.ocx");
  qnl::test::WriteFile((FDir / "files" / "tool.hlp").string(), "help");
  std::string calls = (FDir / "activex-calls.txt").string();
  BuildAndInstall("tool",
                  Project("Tool", File("Control", "recorder.ocx", 1, "ActiveX = True\nUpdateDLLCounter = False\n") +
                                      File("Help", "tool.hlp", 2, "RegisterAsHelp = True\n")),
                  "QNL_TEST_ACTIVEX_LOG=" + Quote(calls));
  ASSERT_EQ(ReadFile(calls), "register\n");
  ASSERT_TRUE(TRegKey::ReadStringAt(TRootKey::rkLocalMachine, "Software\\Microsoft\\Windows\\Help", "TOOL.HLP"));
  fs::path folder = Machine() / "drive_c" / "Program Files" / "Tool";
  qnl::test::WriteFile((folder / "notes" / "mine.txt").string(), "the user's own");

  TProcessResult r = RunUninstaller("Tool", "--unattended --quiet", "QNL_TEST_ACTIVEX_LOG=" + Quote(calls));
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(ReadFile(calls), "register\nunregister\n");
  EXPECT_FALSE(TRegKey::ReadStringAt(TRootKey::rkLocalMachine, "Software\\Microsoft\\Windows\\Help", "TOOL.HLP"));
  EXPECT_FALSE(fs::exists(folder / "recorder.ocx"));
  EXPECT_FALSE(fs::exists(folder / "QuenloftUninstall.exe"));
  EXPECT_EQ(ReadFile((folder / "notes" / "mine.txt").string()), "the user's own");
}

TEST_F(Uninstall, AFileInUseGoesAtTheRestart) {
  qnl::test::WriteFile((FDir / "files" / "busy.txt").string(), "held open");
  BuildAndInstall("tool", Project("Tool", File("Busy", "busy.txt", 1)));
  fs::path busy = Machine() / "drive_c" / "Program Files" / "Tool" / "busy.txt";
  {
    TLockHolder holder(busy.string());
    TProcessResult r = RunUninstaller("Tool", "--unattended");
    EXPECT_EQ(r.ExitStatus, 3) << r.Err;
    EXPECT_NE(r.Err.find("they will be removed when the machine restarts"), std::string::npos) << r.Err;
  }
  EXPECT_TRUE(fs::exists(busy));
  TProcessResult restart = Run(Quote(Bin("quenloft")) + " machine restart");
  EXPECT_EQ(restart.ExitStatus, 0) << restart.Err;
  EXPECT_FALSE(fs::exists(busy));
}

TEST_F(Uninstall, ADamagedEntryNamesTheValueAndRemovesNothing) {
  qnl::test::WriteFile((FDir / "files" / "a.txt").string(), "a");
  qnl::test::WriteFile((FDir / "files" / "b.txt").string(), "b");
  BuildAndInstall("tool", Project("Tool", File("A", "a.txt", 1) + File("B", "b.txt", 2)));
  const std::string files = std::string(kUninstallKeys) + "Tool\\Files";
  TRegKey list = TRegKey::Create(TRootKey::rkLocalMachine, files);
  std::string second = list.ReadString("File2").value_or("");
  struct TRow {
    const char* Value;
    const char* Data; // nullptr: the value is deleted
    const char* Named;
  } rows[] = {
      {"File2", "/etc/passwd", "Files\\File2 = \"/etc/passwd\" is not a file on drive C:"},
      {"File2", "D:\\elsewhere\\b.txt", "Files\\File2 = \"D:\\elsewhere\\b.txt\" is not a file on drive C:"},
      {"File2", "C:\\Program Files\\..\\windows\\win.ini", "is not a file on drive C:"},
      {"Entries", nullptr, "Files\\Entries is missing"},
  };
  for (const TRow& row : rows) {
    std::optional<std::string> kept = list.ReadString(row.Value);
    if (row.Data)
      list.WriteString(row.Value, row.Data);
    else
      list.DeleteValue(row.Value);
    TProcessResult r = RunUninstaller("Tool", "--unattended");
    EXPECT_EQ(r.ExitStatus, 1) << row.Named;
    EXPECT_NE(r.Err.find(row.Named), std::string::npos) << r.Err;
    EXPECT_TRUE(fs::exists(Machine() / "drive_c" / "Program Files" / "Tool" / "a.txt")) << row.Named;
    list.WriteString(row.Value, *kept);
  }
  EXPECT_EQ(RunUninstaller("Tool", "--unattended").ExitStatus, 0);
  EXPECT_FALSE(fs::exists(Machine() / "drive_c" / "Program Files" / "Tool"));
}

TEST_F(Uninstall, WinesListOfInstalledProgramsLosesTheProduct) {
  if (Run("which wine").ExitStatus != 0) GTEST_SKIP() << "wine is not installed";
  qnl::test::WriteFile((FDir / "files" / "a.txt").string(), "a");
  BuildAndInstall("tool", Project("Listed Tool", File("A", "a.txt", 1)));
  // Wine updates a prefix it starts on: it reads a copy of the machine.
  auto wineList = [this] {
    fs::remove_all(FDir / "wine-machine");
    fs::copy(Machine(), FDir / "wine-machine", fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    return Run("env WINEPREFIX=" + Quote((FDir / "wine-machine").string()) +
               " WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= wine uninstaller --list")
        .Out;
  };
  ASSERT_NE(wineList().find("Listed Tool"), std::string::npos);
  ASSERT_EQ(RunUninstaller("Listed Tool", "--unattended").ExitStatus, 0);
  EXPECT_EQ(wineList().find("Listed Tool"), std::string::npos);
}
