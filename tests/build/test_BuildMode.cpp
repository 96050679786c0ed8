// The setup program run with -b, as a project author runs it: BUILD.INF beside the program,
// the distribution checked with the independent archive reader.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

#include "tests/support/SetupProcess.h"
#include "tests/support/TestFiles.h"

using namespace qnl::test;

namespace {

const char* kLoaderBytes = "#!/bin/sh\necho a fake loading program\n";

int32_t Int32At(const std::string& Bytes, size_t Offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(Bytes[Offset + i])) << (8 * i);
  return int32_t(v);
}

// The trailer's marker and four positions.
struct TTrailer {
  std::string Marker;
  int32_t SetupStart = 0, SetupEnd = 0, MainStart = 0, MainEnd = 0;
};

TTrailer TrailerOf(const std::string& Bytes) {
  std::string t = Bytes.substr(Bytes.size() - 56);
  EXPECT_EQ(t.substr(32), std::string(24, '\0'));
  return {t.substr(1, uint8_t(t[0])), Int32At(t, 16), Int32At(t, 20), Int32At(t, 24), Int32At(t, 28)};
}

// The Windows path of a Unix path outside the machine's C: drive (the machine maps / as Z:).
std::string ZPath(const std::filesystem::path& Path) {
  std::string s = "Z:" + Path.string();
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

} // namespace

class BuildMode : public SetupProcessTest {
protected:
  // The setup program without its debugging information, so that compressing it into
  // setup.1 is quick. Made once for all test processes (each test runs in its own), and
  // put in place by a rename so that processes running side by side see it whole.
  static void SetUpTestSuite() {
    const char* prefix = std::getenv("WINEPREFIX");
    std::filesystem::path root =
        prefix ? std::filesystem::path(prefix).parent_path() : std::filesystem::temp_directory_path();
    StrippedSetup = (root / "build-mode-setup").string();
    std::error_code ec;
    if (std::filesystem::exists(StrippedSetup) &&
        std::filesystem::last_write_time(StrippedSetup, ec) > std::filesystem::last_write_time(Bin("setup"), ec))
      return;
    std::string aside = StrippedSetup + "." + std::to_string(::getpid());
    std::string command = "strip -s -o " + Quote(aside) + " " + Quote(Bin("setup")) + " 2>/dev/null";
    if (std::system(command.c_str()) != 0)
      std::filesystem::copy_file(Bin("setup"), aside, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::rename(aside, StrippedSetup);
  }

  void SetUp() override {
    SetupProcessTest::SetUp();
    std::filesystem::create_directories(FDir / "product");
    WriteFile("product/Q32V40.TXT", "");
    WriteFile("product/QuenloftLoadProgram.exe", kLoaderBytes);
    // The project's files lie on the machine's C: drive: the archive keeps 100 characters
    // of a member's source path, less than the test directory's paths may need.
    ASSERT_EQ(Run(Quote(Bin("quenloft")) + " machine create").ExitStatus, 0);
    std::filesystem::create_directories(FDir / "machine/drive_c/src");
    WriteFile("machine/drive_c/src/a.txt", "alpha\n");
    std::string big;
    for (int i = 0; i < 20000; ++i) big += std::to_string(i * 7919 % 10007) + ",";
    WriteFile("machine/drive_c/src/b.dat", big);
    WriteFile("machine/drive_c/src/pre.txt", "presetup\n");
  }

  // A project whose install component holds a directory with a.txt and, itself, b.dat, and
  // one presetup file; or none of them.
  std::string ProjectText(bool WithFiles) const {
    std::string src = "C:\\src";
    std::string text = "object formMain: TformMain\n"
                       "  object psProgramFiles: TpsProgramFiles\n  end\n"
                       "  object psMainArchiveFile: TpsMainArchiveFile\n  end\n"
                       "  object psContainerArchiveFile: TpsContainerArchiveFile\n  end\n"
                       "  object psContainerDestDir: TpsContainerDestDir\n  end\n"
                       "  object Install1: TInstall\n    DestDir = '\\Build Test'\n    DestDirType = psProgramFiles\n";
    if (WithFiles) text += "    PresetupFiles.Strings = (\n      '" + src + "\\pre.txt')\n";
    text += "  end\n";
    if (WithFiles)
      text += "  object Dir1: TInstallDirectory\n    Container = Install1\n"
              "    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n    DestDir = "
              "'\\Data'\n  end\n"
              "  object FileA: TInstallFile\n    Container = Dir1\n    ArchiveFileType = psContainerArchiveFile\n"
              "    DestDirType = psContainerDestDir\n    IncludeFromDir = '" +
              src +
              "'\n    FileName = 'a.txt'\n    UniqueID = 0\n  end\n"
              "  object FileB: TInstallFile\n    Container = Install1\n    ArchiveFileType = psContainerArchiveFile\n"
              "    DestDirType = psContainerDestDir\n    IncludeFromDir = '" +
              src + "'\n    FileName = 'b.dat'\n    UniqueID = 1\n  end\n";
    return text + "end\n";
  }

  // A setup program in the test directory carrying the project, made by the project compiler
  // from the stripped program.
  std::string MakeSetup(bool WithFiles, const std::filesystem::path& Setup = {}) const {
    std::string setup = (Setup.empty() ? FDir / "setup" : Setup).string();
    TProcessResult r =
        Run(Quote(Bin("quenloft")) + " compile " + Quote(WriteFile("formMain.txt", ProjectText(WithFiles))) + " -o " +
            Quote(setup) + " --program " + Quote(StrippedSetup));
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    return setup;
  }

  TProcessResult RunBuild(const std::string& Setup, const std::string& SearchPath) const {
    return Run("env QUENLOFT_PATH=" + Quote(SearchPath) + " " + Quote(Setup) + " -b");
  }
  TProcessResult RunBuild(const std::string& Setup) const { return RunBuild(Setup, (FDir / "product").string()); }

  // The members of an archive that starts at Offset in File, as "name|size" lines, each
  // extracted into OutDir/<index>.out by the independent reader.
  std::vector<std::string> Members(const std::filesystem::path& File, int32_t Offset, const std::string& OutDir) const {
    std::filesystem::create_directories(FDir / OutDir);
    TProcessResult r = Run("/usr/bin/python3 " + Quote(Source("tests/archive/archive_reader.py")) + " " +
                           Quote(File.string()) + " " + std::to_string(Offset) + " " + Quote((FDir / OutDir).string()));
    EXPECT_EQ(r.ExitStatus, 0) << r.Err;
    std::vector<std::string> members;
    std::istringstream lines(r.Out);
    for (std::string line; std::getline(lines, line);) {
      // index|FileNumber|FileName|FileSize|UniqueID|FirstDisk|LastDisk|FileVersion
      std::vector<std::string> f;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, '|');) f.push_back(field);
      if (f.size() < 4) continue;
      members.push_back(f[2].substr(f[2].find_last_of('\\') + 1) + "|" + f[3]);
    }
    return members;
  }

  static void ExpectOneFailureMessage(const TProcessResult& R, const std::string& Message) {
    EXPECT_EQ(R.ExitStatus, 1) << R.Err;
    // One message box, printed headless as "Caption: Text".
    std::string line = ": " + Message + "\n";
    EXPECT_EQ(std::count(R.Err.begin(), R.Err.end(), '\n'), 1) << R.Err;
    EXPECT_TRUE(R.Err.size() >= line.size() && R.Err.compare(R.Err.size() - line.size(), line.size(), line) == 0)
        << R.Err;
  }

  static std::string StrippedSetup;
};

std::string BuildMode::StrippedSetup;

TEST_F(BuildMode, TheSelfExtractingSetupIsTheLoaderThenSetup1ThenFiles1ThenTheTrailer) {
  std::string setup = MakeSetup(true);
  WriteFile("BUILD.INF", ZPath(FDir / "dist") + "\r\n");
  TProcessResult r = RunBuild(setup);
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_EQ(r.Err, "");

  std::filesystem::path dist = FDir / "dist";
  std::string exe = ReadFile(dist / "setup.exe"), setup1 = ReadFile(dist / "setup.1"),
              files1 = ReadFile(dist / "files.1");
  TTrailer t = TrailerOf(exe);
  EXPECT_EQ(t.Marker, "SELFEXTRACTING");
  EXPECT_EQ(exe.substr(0, t.SetupStart), kLoaderBytes);
  EXPECT_EQ(t.SetupEnd, t.SetupStart + int32_t(setup1.size()) - 1);
  EXPECT_EQ(t.MainStart, t.SetupEnd + 1);
  EXPECT_EQ(t.MainEnd, t.MainStart + int32_t(files1.size()) - 1);
  EXPECT_EQ(exe.size(), size_t(t.MainEnd) + 1 + 56);
  EXPECT_EQ(exe.substr(t.SetupStart, setup1.size()), setup1);
  EXPECT_EQ(exe.substr(t.MainStart, files1.size()), files1);

  // setup.1: the installation program and the presetup file, read inside setup.exe.
  std::vector<std::string> setupMembers = Members(dist / "setup.exe", t.SetupStart, "setup1");
  ASSERT_EQ(setupMembers.size(), 2u);
  EXPECT_EQ(setupMembers[0], "setup|" + std::to_string(std::filesystem::file_size(setup)));
  EXPECT_EQ(setupMembers[1], "pre.txt|9");
  EXPECT_EQ(ReadFile(FDir / "setup1/0.out"), ReadFile(setup));
  EXPECT_EQ(ReadFile(FDir / "setup1/1.out"), "presetup\n");
  // files.1: the project's files, read inside setup.exe.
  std::vector<std::string> mainMembers = Members(dist / "setup.exe", t.MainStart, "files1");
  ASSERT_EQ(mainMembers.size(), 2u);
  EXPECT_EQ(mainMembers[0], "a.txt|6");
  EXPECT_EQ(ReadFile(FDir / "files1/0.out"), "alpha\n");
  EXPECT_EQ(ReadFile(FDir / "files1/1.out"), ReadFile(FDir / "machine/drive_c/src/b.dat"));
  // A traditional distribution has no remote file list.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dist))
    EXPECT_NE(entry.path().filename(), "filelist.lst") << entry.path();
}

TEST_F(BuildMode, OnlyTheFirstLineOfBuildInfWithoutItsBlanksNamesTheBuildDirectory) {
  std::string setup = MakeSetup(false);
  WriteFile("BUILD.INF", "  " + ZPath(FDir / "first") + " \n" + ZPath(FDir / "second") + "\n");
  TProcessResult r = RunBuild(setup);
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  EXPECT_TRUE(std::filesystem::exists(FDir / "first" / "setup.exe"));
  EXPECT_FALSE(std::filesystem::exists(FDir / "second"));
}

TEST_F(BuildMode, AnEmptyFirstLineBuildsIntoTheCurrentDirectory) {
  std::string setup = MakeSetup(true);
  WriteFile("BUILD.INF", "\n" + ZPath(FDir / "ignored") + "\n");
  std::filesystem::create_directories(FDir / "here");
  TProcessResult r = Run(
      "sh -c " + Quote("cd here && QUENLOFT_PATH=" + Quote((FDir / "product").string()) + " " + Quote(setup) + " -b"));
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  for (const char* name : {"setup.exe", "setup.1", "files.1"})
    EXPECT_TRUE(std::filesystem::exists(FDir / "here" / name)) << name;
  EXPECT_FALSE(std::filesystem::exists(FDir / "ignored"));
}

TEST_F(BuildMode, ASecondBuildOfAProjectWithoutFilesReplacesTheDistribution) {
  WriteFile("BUILD.INF", ZPath(FDir / "dist"));
  ASSERT_EQ(RunBuild(MakeSetup(true)).ExitStatus, 0);
  ASSERT_TRUE(std::filesystem::exists(FDir / "dist" / "files.1"));
  // The same directory, now for a project without files: nothing of the first build is left,
  // and the self-extracting file has no main archive.
  std::string setup = MakeSetup(false);
  ASSERT_EQ(RunBuild(setup).ExitStatus, 0);
  EXPECT_FALSE(std::filesystem::exists(FDir / "dist" / "files.1"));
  std::string exe = ReadFile(FDir / "dist" / "setup.exe");
  std::string setup1 = ReadFile(FDir / "dist" / "setup.1");
  EXPECT_EQ(exe.size(), std::string(kLoaderBytes).size() + setup1.size() + 56);
  TTrailer t = TrailerOf(exe);
  EXPECT_EQ(t.Marker, "SELFEXTRACTING");
  EXPECT_EQ(t.SetupEnd, t.SetupStart + int32_t(setup1.size()) - 1);
  EXPECT_EQ(t.MainStart, 0);
  EXPECT_EQ(t.MainEnd, 0);
  std::vector<std::string> members = Members(FDir / "dist" / "setup.1", 0, "setup1");
  EXPECT_EQ(members, std::vector<std::string>{"setup|" + std::to_string(std::filesystem::file_size(setup))});
}

TEST_F(BuildMode, AFailedBuildLeavesTheEarlierDistributionAsItWas) {
  std::string setup = MakeSetup(true);
  WriteFile("BUILD.INF", ZPath(FDir / "dist"));
  ASSERT_EQ(RunBuild(setup).ExitStatus, 0);
  auto tree = [&] { // each entry with the size and a digest of its bytes
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(FDir / "dist")) {
      std::string bytes = entry.is_regular_file() ? ReadFile(entry.path()) : "(directory)";
      files[entry.path().string()] =
          std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes));
    }
    return files;
  };
  std::map<std::string, std::string> before = tree();
  std::filesystem::remove(FDir / "machine/drive_c/src/b.dat"); // the compress pass fails half-way
  TProcessResult r = RunBuild(setup);
  EXPECT_EQ(r.ExitStatus, 1) << r.Err;
  EXPECT_NE(r.Err.find("b.dat"), std::string::npos) << r.Err;
  EXPECT_EQ(tree(), before);
}

TEST_F(BuildMode, WithoutBuildInfOrWithAnEmptyOneNothingIsBuilt) {
  std::string setup = MakeSetup(false);
  ExpectOneFailureMessage(RunBuild(setup), "Need to have a BUILD.INF file in this directory with the first line "
                                           "specifying the build directory");
  WriteFile("BUILD.INF", "");
  ExpectOneFailureMessage(RunBuild(setup), "Must be 1 line in BUILD.INF. This line should specify the build directory");
}

// An installed product: the setup program in bin/ finds the product directory lib/quenloft
// beside it without being told.
TEST_F(BuildMode, TheInstalledProductsLoadingProgramIsUsedWhenNoOtherIsNamed) {
  std::filesystem::path bin = Bin("");
  if (!std::filesystem::exists(bin / "Q32V40.TXT") || !std::filesystem::exists(bin / "QuenloftLoadProgram.exe"))
    GTEST_SKIP() << "the loading program is not built";
  std::filesystem::path product = FDir / "prefix" / "lib" / "quenloft";
  std::filesystem::create_directories(product);
  std::filesystem::create_directories(FDir / "prefix" / "bin");
  for (const char* name : {"Q32V40.TXT", "QuenloftLoadProgram.exe"})
    std::filesystem::copy_file(bin / name, product / name);
  std::string setup = MakeSetup(false, FDir / "prefix" / "bin" / "setup");
  WriteFile("prefix/bin/BUILD.INF", ZPath(FDir / "dist"));
  TProcessResult r = RunBuild(setup, "");
  ASSERT_EQ(r.ExitStatus, 0) << r.Err;
  std::string loader = ReadFile(bin / "QuenloftLoadProgram.exe");
  EXPECT_EQ(ReadFile(FDir / "dist" / "setup.exe").substr(0, loader.size()), loader);
  EXPECT_EQ(TrailerOf(ReadFile(FDir / "dist" / "setup.exe")).SetupStart, int32_t(loader.size()));
}
