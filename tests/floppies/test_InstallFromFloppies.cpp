// A distribution made by the setup program's build mode, put onto three small floppy disks by
// the loading program's "*TODISK", then installed on another machine from those disks: the
// installation asks for disks 2 and 3 through its message box, answered by swapping drive A:.

#include <chrono>
#include <map>
#include <sstream>
#include <thread>

#include "platform/files/WinPaths.h"
#include "tests/floppies/FloppyDisks.h"
#include "tests/support/MessageOf.h"
#include "tests/support/SetupProcess.h"

using namespace qnl::test;

namespace {

// One file of the project: its name, its directory below the destination ("" or "Data") and
// its size as a share of a disk's bytes, so that files.1 covers three disks with a file
// crossing each change of disk: in the archive's order (Fourth, Large, Readme, Third, First)
// Large runs from disk 1 to 2 and Third from disk 2 to 3.
struct TProjectFile {
  const char* Component;
  const char* FileName;
  const char* SubDir;
  double DiskShare;
};

const TProjectFile kFiles[] = {
    {"First", "first.bin", "", 0.3},       {"Large", "large.bin", "Data", 0.9}, {"Third", "third.bin", "", 0.5},
    {"Fourth", "fourth.bin", "Data", 0.6}, {"Readme", "readme.txt", "", 0.0},
};

} // namespace

class InstallFromFloppies : public SetupProcessTest {
protected:
  // Builds the distribution with "setup -b" on the machine FDir/machine and transfers it with
  // the loading program onto FDir/disk1 ... disk3, each disk file held to FDiskBytes.
  void SetUp() override {
    SetupProcessTest::SetUp();
    std::string loader = Bin("QuenloftLoadProgram.exe");
    if (!std::filesystem::exists(loader) || !std::filesystem::exists(Bin("Q32V40.TXT")))
      GTEST_SKIP() << "the loading program is not built";
    auto machine = std::make_unique<TFloppyMachine>(FDir, 3);
    std::string setup = CompileSetup(WriteFile("formMain.txt", ProjectText()));
    // A disk holds the loading program (setup.exe), setup.1 and, while "*TODISK" runs, the
    // setup program unpacked into the temporary directory: it must hold the larger of them.
    FDiskBytes =
        static_cast<int64_t>(std::max(std::filesystem::file_size(loader), std::filesystem::file_size(setup))) + 16384;
    // The programs of a sanitized build are tens of megabytes: disks that hold them would
    // make a distribution far too large to build and install in a moment.
    if (FDiskBytes > (int64_t(4) << 20)) GTEST_SKIP() << "the programs are too large for a small disk";
    MakeSources();

    WriteFile("BUILD.INF", qnl::WindowsPathOf((FDir / "dist").string()) + "\r\n");
    TProcessResult build = Run("env QUENLOFT_PATH=" + Quote(Bin("")) + " " + Quote(setup) + " -b");
    ASSERT_EQ(build.ExitStatus, 0) << build.Err;
    std::filesystem::path dist = FDir / "dist" / "setup.exe";
    ASSERT_TRUE(std::filesystem::exists(dist));

    // A write past the limit would otherwise end the program with SIGXFSZ; an ignored signal
    // stays ignored across exec.
    std::string transfer =
        "trap '' XFSZ; exec prlimit --fsize=" + std::to_string(FDiskBytes) + " " + Quote(dist.string()) + " '*TODISK'";
    TProcessResult r =
        Run("env QNL_MESSAGEBOX_COMMAND=" + Quote(machine->AnswerCommand()) + " sh -c " + Quote(transfer));
    ASSERT_EQ(r.ExitStatus, 0) << r.Err;
    ASSERT_EQ(machine->Prompts(),
              (std::vector<std::string>{"Please insert disk 2", "Please insert disk 3", "Please insert disk 1"}));
    ASSERT_EQ(std::filesystem::file_size(FDir / "disk1" / "files.1"), uintmax_t(FDiskBytes));
    ASSERT_EQ(std::filesystem::file_size(FDir / "disk2" / "files.2"), uintmax_t(FDiskBytes));
    ASSERT_TRUE(std::filesystem::exists(FDir / "disk3" / "files.3"));
    ExpectMembersCrossTheDisks();
    machine->ClearPrompts();
  }

  // Every disk's files side by side in FDir/joined, as someone copies a set of disks.
  std::filesystem::path Joined() const { return FDir / "joined"; }

  // The members of joined/files.1 as the independent archive reader reads them, each inflated
  // into joined/out/<index>.out: index|FileNumber|FileName|FileSize|UniqueID|FirstDisk|LastDisk|...
  std::vector<std::vector<std::string>> ReaderMembers() const {
    std::filesystem::create_directories(Joined() / "out");
    TProcessResult r = Run("/usr/bin/python3 " + Quote(Source("tests/archive/archive_reader.py")) + " " +
                           Quote((Joined() / "files.1").string()) + " 0 " + Quote((Joined() / "out").string()));
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    std::vector<std::vector<std::string>> members;
    std::istringstream lines(r.Out);
    for (std::string line; std::getline(lines, line);) {
      std::vector<std::string> f;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, '|');) f.push_back(field);
      if (f.size() >= 7) members.push_back(f);
    }
    return members;
  }

  static std::string BareName(const std::string& MemberName) {
    return MemberName.substr(MemberName.find_last_of('\\') + 1);
  }

  // The independent archive reader, given the three disk files side by side, reads every
  // member whole; Large runs from disk 1 to 2 and Third from disk 2 to 3.
  void ExpectMembersCrossTheDisks() const {
    std::filesystem::create_directories(Joined());
    for (int disk = 1; disk <= 3; ++disk) {
      std::string name = "files." + std::to_string(disk);
      std::filesystem::copy_file(FDir / ("disk" + std::to_string(disk)) / name, Joined() / name);
    }
    std::map<std::string, std::string> disks;
    for (const std::vector<std::string>& f : ReaderMembers()) disks[BareName(f[2])] = f[5] + ".." + f[6];
    EXPECT_EQ(disks.size(), std::size(kFiles));
    EXPECT_EQ(disks["large.bin"], "1..2");
    EXPECT_EQ(disks["third.bin"], "2..3");
  }

  // The project: the install component holds First, Third and Readme, its directory Data
  // holds Large and Fourth.
  static std::string ProjectText() {
    std::string text = "object formMain: TformMain\n"
                       "  Caption = 'Floppy Install'\n"
                       "  object psProgramFiles: TpsProgramFiles\n  end\n"
                       "  object psMainArchiveFile: TpsMainArchiveFile\n  end\n"
                       "  object psContainerArchiveFile: TpsContainerArchiveFile\n  end\n"
                       "  object psContainerDestDir: TpsContainerDestDir\n  end\n"
                       "  object Install1: TInstall\n    DestDir = '\\Floppy Test'\n    DestDirType = psProgramFiles\n"
                       "  end\n"
                       "  object Data: TInstallDirectory\n    Container = Install1\n"
                       "    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n"
                       "    DestDir = '\\Data'\n  end\n";
    int id = 0;
    for (const TProjectFile& file : kFiles)
      text += std::string("  object ") + file.Component +
              ": TInstallFile\n    Container = " + (std::string(file.SubDir).empty() ? "Install1" : file.SubDir) +
              "\n    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n"
              "    IncludeFromDir = 'C:\\src'\n    FileName = '" +
              file.FileName + "'\n    UniqueID = " + std::to_string(id++) + "\n  end\n";
    return text + "end\n";
  }

  // The sources on the build machine's C:\src, each with its own date.
  void MakeSources() const {
    std::filesystem::create_directories(SourceFile(""));
    int index = 0;
    for (const TProjectFile& file : kFiles) {
      std::string bytes = file.DiskShare > 0 ? NoiseBytes(size_t(file.DiskShare * double(FDiskBytes)), 200 + index)
                                             : std::string("Installed from three floppy disks.\r\n");
      WriteFile(SourceFile(file.FileName), bytes);
      // A date of its own, in whole even seconds as an archive's file date keeps them.
      std::string date = "2019-05-0" + std::to_string(++index) + " 10:20:30";
      EXPECT_EQ(Run("touch -d " + Quote(date) + " " + Quote(SourceFile(file.FileName).string())).ExitStatus, 0);
    }
  }

  std::filesystem::path SourceFile(const std::string& FileName) const {
    return FDir / "machine" / "drive_c" / "src" / FileName;
  }
  std::filesystem::path Installed(const TProjectFile& File) const {
    std::filesystem::path dir = FDir / "fresh" / "drive_c" / "Program Files" / "Floppy Test";
    return (std::string(File.SubDir).empty() ? dir : dir / File.SubDir) / File.FileName;
  }

  // Runs A:\setup.exe on the fresh machine FDir/fresh, the disk prompts answered by Machine
  // with the prompt for disk CancelAt declined.
  TProcessResult InstallFromDisks(const TFloppyMachine& Machine, int CancelAt = 0) const {
    // The transfer leaves setup.exe a program: the disk's copy runs as it is.
    return Run("env WINEPREFIX=" + Quote(Machine.Directory().string()) +
               " QNL_MESSAGEBOX_COMMAND=" + Quote(Machine.AnswerCommand(CancelAt)) + " " +
               Quote((Machine.Directory() / "dosdevices" / "a:" / "setup.exe").string()));
  }

  // No directory (the unpacked setup program's) is left in the machine's temporary directory.
  static bool TemporarySetupRemoved(const std::filesystem::path& Machine) {
    return WaitUntil([&] {
      std::error_code ec;
      for (const auto& entry : std::filesystem::directory_iterator(Machine / "drive_c" / "windows" / "temp", ec))
        if (entry.is_directory()) return false;
      return true;
    });
  }

  int64_t FDiskBytes = 0;
};

TEST_F(InstallFromFloppies, TheInstallationAsksForDisksTwoAndThreeAndInstallsEveryFile) {
  TFloppyMachine fresh(FDir, 3, "fresh");
  TProcessResult r = InstallFromDisks(fresh);
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(fresh.Prompts(), (std::vector<std::string>{"Please insert disk #2", "Please insert disk #3"}));
  for (const TProjectFile& file : kFiles) {
    EXPECT_TRUE(ReadFile(Installed(file)) == ReadFile(SourceFile(file.FileName))) << file.FileName;
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::last_write_time(Installed(file), ec) ==
                std::filesystem::last_write_time(SourceFile(file.FileName), ec))
        << file.FileName;
  }
  EXPECT_TRUE(TemporarySetupRemoved(fresh.Directory()));
}

TEST_F(InstallFromFloppies, CancelAtTheSecondDiskEndsAsAUserAbortWithoutAHalfWrittenFile) {
  TFloppyMachine fresh(FDir, 3, "fresh");
  TProcessResult r = InstallFromDisks(fresh, 2);
  EXPECT_EQ(r.ExitStatus, 2) << r.Err;
  EXPECT_EQ(fresh.Prompts(), std::vector<std::string>{"Please insert disk #2"});
  // The box asking for the disk is the only one shown.
  const std::string prompt = ": Please insert disk #2\n";
  EXPECT_TRUE(r.Err.size() > prompt.size() && r.Err.find('\n') == r.Err.size() - 1 &&
              r.Err.compare(r.Err.size() - prompt.size(), prompt.size(), prompt) == 0)
      << r.Err;
  // Large crosses from disk 1 to disk 2: it is not under its name, whole or in part.
  EXPECT_FALSE(std::filesystem::exists(Installed(kFiles[1])));
  for (const auto& entry : std::filesystem::directory_iterator(Installed(kFiles[1]).parent_path()))
    EXPECT_NE(entry.path().extension(), ".qnlpart") << entry.path();
  EXPECT_FALSE(std::filesystem::exists(Installed(kFiles[2])));
  EXPECT_TRUE(TemporarySetupRemoved(fresh.Directory()));
}

TEST_F(InstallFromFloppies, TheDisksCopiedIntoOneFolderListAndExtractAsTheReaderReadsThem) {
  for (const char* name : {"setup.exe", "setup.1"}) std::filesystem::copy_file(FDir / "disk1" / name, Joined() / name);
  std::string setupExe = (Joined() / "setup.exe").string();
  std::vector<std::vector<std::string>> members = ReaderMembers();
  ASSERT_EQ(members.size(), std::size(kFiles));

  TProcessResult list = Run(Quote(Bin("quenloft")) + " list " + Quote(setupExe));
  ASSERT_EQ(list.ExitStatus, 0) << list.Err;
  // The loading program's setup.1 first, then every member of the spanned files.1.
  EXPECT_NE(list.Out.find("setup\n"), std::string::npos) << list.Out;
  for (const std::vector<std::string>& f : members)
    EXPECT_NE(list.Out.find(f[3] + " "), std::string::npos) << f[2] << "\n" << list.Out;

  TProcessResult extracted = Run(Quote(setupExe) + " --extract " + Quote((FDir / "x").string()));
  ASSERT_EQ(extracted.ExitStatus, 0) << extracted.Err;
  for (const std::vector<std::string>& f : members)
    EXPECT_TRUE(ReadFile(FDir / "x" / BareName(f[2])) == ReadFile(Joined() / "out" / (f[0] + ".out"))) << f[2];

  // Without disk 2 neither unpacks anything; each names the missing disk.
  std::filesystem::remove(Joined() / "files.2");
  for (const std::string& command :
       {Quote(Bin("quenloft")) + " extract " + Quote(setupExe) + " " + Quote((FDir / "y").string()),
        Quote(setupExe) + " --extract " + Quote((FDir / "y").string())}) {
    TProcessResult r = Run(command);
    EXPECT_NE(r.ExitStatus, 0) << command;
    EXPECT_NE(r.Err.find("Disk 2 of the archive"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("files.2 must lie beside it"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "");
    EXPECT_FALSE(std::filesystem::exists(FDir / "y")) << command;
  }
}
