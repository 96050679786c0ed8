// A tree of real files through the compress pass into an archive and back through the
// install pass onto a machine; the overwrite rules against real versions and dates.
#include <gtest/gtest.h>

#include <cstdlib>

#include "FilesTestSupport.h"
#include "archive/TQnlfCompress.h"
#include "engine/InstallSession.h"
#include "engine/TInstall.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "platform/files/Files.h"
#include "platform/files/ShortNames.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"

using namespace qnl;
using namespace qnl::test;

namespace {

const std::string kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

std::string Fixture(const std::string& Name) {
  // The source folder from the test environment: __FILE__ may be relative to the build.
  const char* src = std::getenv("QNL_SOURCE");
  std::string here = src && *src ? std::string(src) + "/tests/files/" : std::string(__FILE__);
  return WindowsPathOf(here.substr(0, here.rfind('/')) + "/../archive/fixtures/" + Name);
}

class RoundTrip : public InstallDirTest {
protected:
  static std::optional<TRegKey> Key(const std::string& Path) { return TRegKey::Open(TRootKey::rkLocalMachine, Path); }
};

TEST_F(RoundTrip, ATreeGoesIntoAnArchiveAndOntoTheMachine) {
  WriteMachineFile("C:\\src\\readme.txt", "Read me first.\r\n");
  WriteMachineFile("C:\\src\\data\\table.dat", std::string(5000, 'x') + "end");
  WriteMachineFile("C:\\src\\shared.dll", std::string(3000, 's'));
  WriteMachineFile("C:\\src\\guide.hlp", "help text");
  AddFile("Readme", "C:\\src\\readme.txt");
  AddFile("Table", "C:\\src\\data\\table.dat");
  TInstallFile* shared = AddFile("Shared", "C:\\src\\shared.dll");
  shared->SetUpdateDLLCounter(true);
  TInstallFile* guide = AddFile("Guide", "C:\\src\\guide.hlp");
  EXPECT_TRUE(guide->RegisterAsHelp());
  TDateTime tableDate = FileDateTime("C:\\src\\data\\table.dat");

  FInstallDir->Compress(coForceNetFilesLocal | coIncludeExcluded);
  ASSERT_TRUE(FileExists("C:\\dist\\tool.1"));
  EXPECT_EQ(shared->Archived(), 2);
  EXPECT_EQ(shared->ArchivedInto(), "C:\\dist\\tool.1");
  EXPECT_EQ(FInstallDir->PassState(), TPassState::pstNone);
  // The compress pass gives the files back their own archive settings.
  EXPECT_EQ(shared->AddToArchive(), lzcOverwrite);

  DeleteTree("C:\\src"); // the install reads only the archive
  FInstallDir->InstallObjects();
  EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\readme.txt"), "Read me first.\r\n");
  EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\table.dat"), std::string(5000, 'x') + "end");
  EXPECT_NEAR(FileDateTime("C:\\Apps\\Tool\\table.dat"), tableDate, 2.0 / 86400);
  EXPECT_EQ(shared->SourceSize(), 3000);

  auto files = Key(kUninstallKey + "\\Files");
  ASSERT_TRUE(files);
  EXPECT_EQ(files->ReadString("Entries").value_or(""), "4");
  // Files of one type stand newest first in the helper list.
  EXPECT_EQ(files->ReadString("File1").value_or(""), "C:\\Apps\\Tool\\guide.hlp");
  EXPECT_EQ(files->ReadString("File4").value_or(""), "C:\\Apps\\Tool\\readme.txt");
  auto counts = Key("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->ReadDWord("C:\\Apps\\Tool\\shared.dll"), 1u);
  auto help = Key("\\SOFTWARE\\Microsoft\\Windows\\Help");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->ReadString("GUIDE.HLP").value_or(""), "C:\\Apps\\Tool");

  // A second install in the same run counts the shared file twice.
  FInstallDir->InstallObjects();
  EXPECT_EQ(Key("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs")->ReadDWord("C:\\Apps\\Tool\\shared.dll"),
            2u);
}

TEST_F(RoundTrip, ACountUnderTheShortNameIsIncreasedThere) {
  WriteMachineFile("C:\\src\\longsharedname.dll", "dll");
  TInstallFile* shared = AddFile("Shared", "C:\\src\\longsharedname.dll");
  shared->SetUpdateDLLCounter(true);
  FInstallDir->Compress(coForceNetFilesLocal);
  WriteMachineFile("C:\\Apps\\Tool\\longsharedname.dll", "old");
  std::string shortName = ShortPathName("C:\\Apps\\Tool\\longsharedname.dll");
  ASSERT_NE(shortName, "C:\\Apps\\Tool\\longsharedname.dll");
  TRegKey::Create(TRootKey::rkLocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs")
      .WriteDWord(shortName, 5);
  FInstallDir->InstallObjects();
  auto counts = Key("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
  EXPECT_EQ(counts->ReadDWord(shortName), 6u);
  EXPECT_FALSE(counts->ReadDWord("C:\\Apps\\Tool\\longsharedname.dll"));
}

TEST_F(RoundTrip, FilesInflatedAheadInstallAsWithOneThread) {
  // One file kept, one rewritten, the one installed last (the first added) damaged in the
  // archive; the others new.
  const std::vector<size_t> sizes = {40000, 0, 50000, 70000, 300000, 4096, 90000, 10};
  const size_t kept = 3, rewritten = 2;
  std::vector<TInstallFile*> files;
  for (size_t i = 0; i < sizes.size(); ++i) {
    std::string bytes;
    for (uint32_t j = 0, x = uint32_t(i) + 1; j < sizes[i]; ++j) bytes += char('a' + (x = x * 1103515245 + 12345) % 26);
    WriteMachineFile("C:\\src\\f" + std::to_string(i) + ".dat", bytes);
    files.push_back(AddFile("F" + std::to_string(i), "C:\\src\\f" + std::to_string(i) + ".dat"));
  }
  files[kept]->SetOverwriteMode(owNever);
  // A handler sends one file elsewhere after the pass announced where the files go.
  const size_t moved = 6;
  files[moved]->OnBeforeInstall = [](TCustomInstallFile* F) {
    F->SetDestDirType(nullptr);
    F->SetDestDir("C:\\Apps\\Moved");
  };
  TCustomPathSpecifier* movedType = files[moved]->DestDirType();
  const std::string movedDir = files[moved]->DestDir();
  FInstallDir->Compress(coForceNetFilesLocal);
  TQnlfCompress reader(nullptr);
  reader.SetCompressedFile("C:\\dist\\tool.1");
  reader.OpenArchive();
  std::string archive = ReadMachineFile("C:\\dist\\tool.1");
  ASSERT_EQ(reader.FileHeaders().Count(), int(sizes.size()));
  size_t start = size_t(reader.FileHeaders().FileHeaders(reader.FileHeaders().Count() - 1).DataStart());
  ASSERT_LT(start + 2040, archive.size());
  for (size_t i = start + 2000; i < start + 2040; ++i) archive[i] ^= 0x5A;
  WriteMachineFile("C:\\dist\\tool.1", archive);

  // The files of the install component's own archive share its archive component, which reads
  // ahead from one file to the next.
  delete FInstall;
  FInstall = nullptr;
  auto* product = new TInstall(FModule);
  product->SetArchiveFileType(nullptr);
  product->SetArchiveFile("C:\\dist\\tool.1");

  struct TRun {
    std::string Progress, Error, Tree;
    std::vector<std::string> Installed;
  };
  auto install = [&](const char* Threads) {
    setenv("QUENLOFT_THREADS", Threads, 1);
    DeleteTree("C:\\Apps");
    files[moved]->SetDestDirType(movedType);
    files[moved]->SetDestDir(movedDir);
    for (size_t i : {kept, rewritten}) WriteMachineFile("C:\\Apps\\Tool\\f" + std::to_string(i) + ".dat", "older");
    TRun run;
    for (TInstallFile* file : files)
      file->OnStatus = [&run](TCustomInstallFile* F, int32_t FilePct, int32_t TotalPct) {
        run.Progress += F->Name() + ":" + std::to_string(FilePct) + "/" + std::to_string(TotalPct) + " ";
      };
    try {
      FInstallDir->InstallObjects();
    } catch (const std::exception& e) {
      run.Error = e.what();
    }
    for (size_t i = 0; i < sizes.size(); ++i) {
      std::string path = (i == moved ? "C:\\Apps\\Moved\\f" : "C:\\Apps\\Tool\\f") + std::to_string(i) + ".dat";
      run.Installed.push_back(FileExists(path) ? ReadMachineFile(path) : "missing");
      if (i != kept && FileExists(path)) run.Tree += FloatToStr(FileDateTime(path)) + "\n";
    }
    run.Tree += MachineTree("C:\\Apps"); // no partial file, no directory made for nothing
    return run;
  };
  TRun alone = install("1");
  int aheadBefore = QnlfCompress().InflatedAhead();
  TRun ahead = install("3");
  unsetenv("QUENLOFT_THREADS");
  EXPECT_GE(QnlfCompress().InflatedAhead() - aheadBefore, 3) << "too few files were inflated ahead to tell";
  EXPECT_EQ(alone.Progress, ahead.Progress);
  EXPECT_EQ(alone.Error, ahead.Error);
  EXPECT_NE(ahead.Error.find("is damaged"), std::string::npos) << ahead.Error;
  EXPECT_TRUE(alone.Installed == ahead.Installed) << "the installed files differ";
  EXPECT_EQ(alone.Tree, ahead.Tree) << "the dates or the files and directories differ";
  EXPECT_NE(ahead.Installed[moved], "missing");
  EXPECT_EQ(ahead.Installed[kept], "older");
  EXPECT_EQ(ahead.Installed[rewritten], ReadMachineFile("C:\\src\\f2.dat"));
}

// Installs Source (a fixture) over an existing destination made from Existing, under Mode.
struct OverwriteCase {
  const char* Label;
  const char* Source;
  const char* Existing; // nullptr: no destination
  TOverwriteType Mode;
  bool Replaced;
};

class Overwrite : public RoundTrip, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(Overwrite, FollowsTheRuleAgainstRealVersions) {
  const OverwriteCase& c = GetParam();
  ForceDirectories("C:\\src");
  ForceDirectories("C:\\Apps\\Tool");
  CopyFile(Fixture(c.Source), "C:\\src\\tool.exe", TExisting::exReplace);
  TInstallFile* file = AddFile("Tool", "C:\\src\\tool.exe");
  file->SetOverwriteMode(c.Mode);
  FInstallDir->Compress(coForceNetFilesLocal);
  if (c.Existing) CopyFile(Fixture(c.Existing), "C:\\Apps\\Tool\\tool.exe", TExisting::exReplace);
  FInstallDir->InstallObjects();
  EXPECT_EQ(file->Replacing(), c.Replaced);
  bool present = FileExists("C:\\Apps\\Tool\\tool.exe");
  std::string expected = c.Replaced ? c.Source : (c.Existing ? c.Existing : "");
  if (expected.empty())
    EXPECT_FALSE(present);
  else
    EXPECT_EQ(ReadMachineFile("C:\\Apps\\Tool\\tool.exe"), ReadMachineFile(Fixture(expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Overwrite,
    ::testing::Values(OverwriteCase{"NewerVersionReplaces", "long64.exe", "font32.dll", owVersion, true},
                      OverwriteCase{"OlderVersionIsKept", "app32.exe", "driver64.dll", owVersion, false},
                      OverwriteCase{"NeverKeepsAnExistingFile", "app32.exe", "font32.dll", owNever, false},
                      OverwriteCase{"NeverWritesAMissingFile", "app32.exe", nullptr, owNever, true},
                      OverwriteCase{"AlwaysReplaces", "app32.exe", "long64.exe", owAlways, true},
                      OverwriteCase{"DateWritesAMissingFile", "app32.exe", nullptr, owDate, true}),
    [](const ::testing::TestParamInfo<OverwriteCase>& info) { return std::string(info.param.Label); });

} // namespace
