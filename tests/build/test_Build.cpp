// Build and CompressSetupArchive run in-process on an install component with real files.
#include <algorithm>

#include "archive/EQnlfCompress.h"
#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/ProductDirectory.h"
#include "engine/SelfExtractingSetup.h"
#include "net/cmp_TNetInstallLocation.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "tests/build/BuildTestSupport.h"

using namespace qnl;
using namespace qnl::test;

namespace {
const char* kDist = "C:\\dist";
const char* kNoProductDirectory =
    "The HKEY_LOCAL_MACHINE | \\Software\\Ordel Vance\\Q32V40 key in the registry is either missing or points to "
    "an invalid Quenloft directory";
std::vector<std::string> Sorted(std::vector<std::string> Names) {
  std::sort(Names.begin(), Names.end());
  return Names;
}
} // namespace

class Build : public BuildTest {
protected:
  // Makes the distribute type a net one, as a stored project does.
  void MakeNetDistribution(TDistributeType Type) {
    auto* location = new TNetInstallLocation(FForm.get());
    location->LoginInformation()->FHostname = "host.example:8080";
    location->LoginInformation()->FDirectory = "pub/setup";
    FInstall->SetComponentStateFlag(csLoading, true);
    FInstall->SetNetLocation(location);
    FInstall->SetDistributeType(Type);
    FInstall->SetComponentStateFlag(csLoading, false);
  }
  void ExpectArchiveSettingsRestored() {
    EXPECT_EQ(static_cast<TComponent*>(FInstall->ArchiveFileType()), FForm->FindComponent("psMainArchiveFile"));
    EXPECT_EQ(FInstall->ArchiveFile(), "");
  }
};

TEST_F(Build, ATraditionalBuildCompressesEveryFileAndJoinsTheDistribution) {
  AddFile("a.txt", "alpha");
  TInstallFile* excluded = AddFile("b.txt", "beta");
  excluded->SetInclude(false); // compressed all the same
  FInstall->Build(kProgram, kDist, true);

  ASSERT_EQ(FInstall->PassOptions.size(), 1u);
  EXPECT_EQ(FInstall->PassOptions[0], 46u);
  EXPECT_EQ(FInstall->PassOptions[0],
            coForceNetFilesLocal | coIncludeExcluded | coRelocateArchives | coBuildDistribution);
  EXPECT_EQ(FInstall->ArchiveSeenByPass[0], "(none) C:\\dist\\~QNLBUILD.TMP\\files.1"); // moved once complete
  ExpectArchiveSettingsRestored();
  EXPECT_FALSE(excluded->Include());
  EXPECT_EQ(excluded->Archived(), 2);

  EXPECT_EQ(Sorted(MemberNames("C:\\dist\\files.1")), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(MemberNames("C:\\dist\\setup.1"), std::vector<std::string>{"mysetup.exe"});
  std::string exe = ReadMachineFile("C:\\dist\\setup.exe");
  std::string setup1 = ReadMachineFile("C:\\dist\\setup.1"), files1 = ReadMachineFile("C:\\dist\\files.1");
  TSelfExtractInfo info = ReadSelfExtractInfo("C:\\dist\\setup.exe");
  EXPECT_EQ(info.Marker, "SELFEXTRACTING");
  EXPECT_EQ(exe.substr(0, info.SetupArchiveStart), kLoaderBytes);
  EXPECT_EQ(exe.substr(info.SetupArchiveStart, info.SetupArchiveEnd - info.SetupArchiveStart + 1), setup1);
  EXPECT_EQ(exe.substr(info.MainArchiveStart, info.MainArchiveEnd - info.MainArchiveStart + 1), files1);
  EXPECT_EQ(exe.size(), std::string(kLoaderBytes).size() + setup1.size() + files1.size() + 56);
  EXPECT_EQ(Sorted(MemberNames("C:\\dist\\setup.exe", info.MainArchiveStart)),
            (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_FALSE(FileExists("C:\\dist\\filelist.lst"));
  EXPECT_FALSE(DirectoryExists("C:\\dist\\~QNLBUILD.TMP"));
}

TEST_F(Build, TheArchivedStatesAreResetBeforeThePass) {
  TInstallFile* file = AddFile("a.txt", "alpha");
  file->SetArchived(2);
  file->SetArchivedOwnNet(1);
  FInstall->NoteOnly = true;
  FInstall->Build(kProgram, kDist, false);
  EXPECT_EQ(FInstall->ArchivedSeenByPass, std::vector<int>{0});
}

TEST_F(Build, EachDistributeTypeHasItsOptions) {
  MakeNetDistribution(dtWeb);
  FInstall->NoteOnly = true;
  EXPECT_EQ(MessageOf([&] { FInstall->Build(kProgram, kDist, false); }), "(no exception)");
  // The file list lies where the server's directory is mirrored: host, then directory.
  EXPECT_TRUE(FileExists("C:\\dist\\host.example8080\\pub-setup\\filelist.lst"));
  FInstall->SetComponentStateFlag(csLoading, true);
  FInstall->SetDistributeType(dtTraditionalNet);
  FInstall->SetComponentStateFlag(csLoading, false);
  EXPECT_EQ(MessageOf([&] { FInstall->Build(kProgram, kDist, false); }), "(no exception)");
  EXPECT_EQ(FInstall->PassOptions, (std::vector<TCompressOptions>{54, 38}));
  ExpectArchiveSettingsRestored();
}

TEST_F(Build, TheArchiveSettingsComeBackWhenThePassFails) {
  TInstallFile* file = AddFile("a.txt", "alpha");
  DeleteFile(file->SourcePath());
  EXPECT_NE(MessageOf([&] { FInstall->Build(kProgram, kDist, true); }), "(no exception)");
  ExpectArchiveSettingsRestored();
  EXPECT_FALSE(DirectoryExists(kDist)) << "nothing half-made stays";
}

TEST_F(Build, ANetBuildThatFailsRestoresTheSettingsToo) {
  TInstallFile* file = AddFile("a.txt", "alpha");
  DeleteFile(file->SourcePath());
  MakeNetDistribution(dtWeb);
  EXPECT_NE(MessageOf([&] { FInstall->Build(kProgram, kDist, true); }), "(no exception)");
  ExpectArchiveSettingsRestored();
}

TEST_F(Build, WithTheLoadingProgramButNotSelfExtractingTheArchivesStayBeside) {
  AddFile("a.txt", "alpha");
  FInstall->Build(kProgram, "C:\\dist\\", false);
  EXPECT_EQ(ReadMachineFile("C:\\dist\\setup.exe"),
            kLoaderBytes + std::string("\x0eNOTSELFEXTRACT", 15) + std::string(41, '\0'));
  EXPECT_EQ(MemberNames("C:\\dist\\setup.1"), std::vector<std::string>{"mysetup.exe"});
  EXPECT_EQ(MemberNames("C:\\dist\\files.1"), std::vector<std::string>{"a.txt"});
}

TEST_F(Build, WithoutTheLoadingProgramTheProgramItselfCarriesTheTrailer) {
  AddFile("a.txt", "alpha");
  FInstall->SetUseLoadingProgram(false);
  FInstall->Build(kProgram, "C:\\new\\dist", false);
  EXPECT_EQ(ReadMachineFile("C:\\new\\dist\\mysetup.exe"),
            kProgramBytes + std::string("\x0eNOTSELFEXTRACT", 15) + std::string(41, '\0'));
  EXPECT_FALSE(FileExists("C:\\new\\dist\\setup.exe"));
  EXPECT_FALSE(FileExists("C:\\new\\dist\\setup.1"));
  EXPECT_EQ(MemberNames("C:\\new\\dist\\files.1"), std::vector<std::string>{"a.txt"});
}

TEST_F(Build, WithoutTheLoadingProgramNoSelfExtractingFileCanBeMade) {
  FInstall->SetUseLoadingProgram(false);
  QNL_EXPECT_THROW_MESSAGE(FInstall->Build(kProgram, kDist, true), IEInstall,
                           "Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is "
                           "set to False");
  EXPECT_FALSE(DirectoryExists(kDist));
}

TEST_F(Build, ABuildDirectoryThatCannotBeMadeIsNamed) {
  WriteMachineFile("C:\\blocker", "a file where the build directory should be");
  EXPECT_EQ(MessageOf([&] {
              FInstall->Build(kProgram, "C:\\blocker\\dist", false);
            }).rfind("Cannot create the build directory C:\\blocker\\dist: ", 0),
            0u);
}

TEST_F(Build, WithoutTheLoadingProgramTheProgramsOwnDirectoryIsRefused) {
  FInstall->SetUseLoadingProgram(false);
  QNL_EXPECT_THROW_MESSAGE(FInstall->Build(kProgram, "c:\\TOOLS\\.\\", false), IEInstall,
                           "Cannot copy the installation application from C:\\tools\\mysetup.exe to "
                           "c:\\TOOLS\\.\\mysetup.exe");
  EXPECT_EQ(ReadMachineFile(kProgram), kProgramBytes);
}

TEST_F(Build, AMissingPresetupFileStopsTheSetupArchive) {
  TStringList presetup;
  presetup.Add("C:\\pre\\missing.txt");
  FInstall->SetPresetupFiles(&presetup);
  EXPECT_NE(MessageOf([&] { FInstall->Build(kProgram, kDist, true); }).find("C:\\pre\\missing.txt"), std::string::npos);
  EXPECT_FALSE(FileExists("C:\\dist\\setup.exe"));
}

TEST_F(Build, AMissingLoadingProgramIsNamed) {
  DeleteFile(std::string(kProductDir) + "\\QuenloftLoadProgram.exe");
  QNL_EXPECT_THROW_MESSAGE(FInstall->Build(kProgram, kDist, true), IEInstall,
                           "The loader program C:\\product\\QuenloftLoadProgram.exe was not found");
}

// A build that fails at any step leaves the earlier distribution whole, and nothing of its own.
TEST_F(Build, AFailedBuildLeavesTheEarlierDistributionAsItWas) {
  TInstallFile* file = AddFile("a.txt", "alpha");
  FInstall->Build(kProgram, kDist, true);
  std::string loader = std::string(kProductDir) + "\\QuenloftLoadProgram.exe";
  TStringList presetup, none;
  presetup.Add("C:\\pre\\missing.txt");
  struct TCase {
    const char* Label;
    std::function<void()> Break, Repair;
    std::string Message;
  };
  for (const TCase& c :
       {TCase{"a missing source file", [&] { DeleteFile(file->SourcePath()); },
              [&] { WriteMachineFile(file->SourcePath(), "alpha"); }, file->SourcePath()},
        TCase{"a missing presetup file", [&] { FInstall->SetPresetupFiles(&presetup); },
              [&] { FInstall->SetPresetupFiles(&none); }, "C:\\pre\\missing.txt"},
        TCase{"no loading program", [&] { DeleteFile(loader); }, [&] { WriteMachineFile(loader, kLoaderBytes); },
              "The loader program " + loader + " was not found"},
        // Checked before anything moves: setup.1 and files.1 are not replaced either.
        TCase{"a directory in the way",
              [&] {
                DeleteFile("C:\\dist\\setup.exe");
                ForceDirectories("C:\\dist\\setup.exe\\in");
              },
              [] {}, "Cannot replace C:\\dist\\setup.exe: a directory of that name is in the way"}}) {
    c.Break();
    std::map<std::string, std::string> before = TreeOf(kDist);
    EXPECT_NE(MessageOf([&] { FInstall->Build(kProgram, kDist, true); }).find(c.Message), std::string::npos) << c.Label;
    EXPECT_EQ(TreeOf(kDist), before) << c.Label;
    c.Repair();
  }
}

TEST_F(Build, NoProductDirectoryGivesTheRegistryMessage) {
  DeleteFile(std::string(kProductDir) + "\\Q32V40.TXT");
  bool found = true;
  try {
    FindProductDirectory();
  } catch (const IENoQuenloftPath&) {
    found = false;
  }
  if (found) GTEST_SKIP() << "the build's bin directory is a product directory";
  QNL_EXPECT_THROW_MESSAGE(FInstall->Build(kProgram, kDist, true), IEInstall, kNoProductDirectory);
}

TEST_F(Build, AFullDiskWhileWritingSetup1GetsItsOwnMessage) {
  FInstall->SetupArchiveFailure = [] { throw EqcDiskFull("Disk full"); };
  QNL_EXPECT_THROW_MESSAGE(
      FInstall->Build(kProgram, kDist, true), IEInstall,
      "The disk that you have specified has been determined to be either too full or is corrupt while trying to copy "
      "the SETUP.1 archive file. You should probably clear all files off of the drive. Minimally, you should leave "
      "enough space on the drive for the SETUP.1 archive file.");
  FInstall->SetupArchiveFailure = [] { throw EqcAborted("Aborted"); };
  QNL_EXPECT_THROW_MESSAGE(FInstall->Build(kProgram, kDist, true), EqcAborted, "Aborted");
}

TEST_F(Build, TheSetupArchiveNeedsAnExistingProgram) {
  QNL_EXPECT_THROW_MESSAGE(FInstall->CompressSetupArchive(kDist, "  "), IEInstall,
                           "Cannot create setup file. Executable is blank");
  QNL_EXPECT_THROW_MESSAGE(FInstall->CompressSetupArchive(kDist, "C:\\tools\\none.exe"), IEInstall,
                           "TInstall: Cannot find the executable file C:\\tools\\none.exe");
}

TEST_F(Build, TheSetupArchiveIsNewAndHoldsTheProgramThenThePresetupFiles) {
  WriteMachineFile("C:\\dist\\setup.1", "an old archive");
  WriteMachineFile("C:\\pre\\one.dll", "one");
  WriteMachineFile("C:\\pre\\two.txt", "two");
  TStringList presetup;
  presetup.SetText("C:\\pre\\one.dll\n  \nC:\\pre\\two.txt\n");
  FInstall->SetPresetupFiles(&presetup);
  FInstall->CompressSetupArchive(kDist, kProgram);
  EXPECT_EQ(MemberNames("C:\\dist\\setup.1"), (std::vector<std::string>{"mysetup.exe", "one.dll", "two.txt"}));
  // The temporary install files are gone again.
  EXPECT_EQ(InstallSession().InstallFiles.Count(), 0);
}

TEST_F(Build, ASecondBuildReplacesTheDistribution) {
  AddFile("a.txt", "alpha");
  FInstall->Build(kProgram, kDist, true);
  std::string first = ReadMachineFile("C:\\dist\\setup.exe");
  FInstall->Build(kProgram, kDist, true);
  EXPECT_EQ(ReadMachineFile("C:\\dist\\setup.exe"), first);
  EXPECT_EQ(MemberNames("C:\\dist\\setup.1"), std::vector<std::string>{"mysetup.exe"});
}

// The archive keeps 100 characters of a member's name: a program deep in the directory tree is
// taken through its directory's short name.
TEST_F(Build, AProgramWithALongPathIsStoredUnderItsShortDirectory) {
  std::string dir = "C:\\" + std::string(60, 'd') + "\\" + std::string(50, 'e');
  WriteMachineFile(dir + "\\mysetup.exe", "DEEP PROGRAM");
  FInstall->CompressSetupArchive(kDist, dir + "\\mysetup.exe");
  TQnlfCompress reader(nullptr);
  reader.SetCompressedFile("C:\\dist\\setup.1");
  reader.OpenArchive();
  ASSERT_EQ(reader.GetFileCount(), 1);
  std::string name = reader.GetFileStats(0).Header.FileName();
  EXPECT_LE(name.size(), 100u);
  EXPECT_EQ(ExtractFileName(name), "mysetup.exe");
  EXPECT_EQ(ReadMachineFile(name), "DEEP PROGRAM");
}
