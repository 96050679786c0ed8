// Installing over an existing file: the old file stays until the new one is whole, and only a
// file another program holds waits for the restart.
#include <gtest/gtest.h>

#include <filesystem>

#include "FilesTestSupport.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "tests/support/LockHolder.h"

using namespace qnl;
using namespace qnl::test;

namespace {

constexpr const char* kDest = "C:\\Apps\\Tool\\readme.txt";

class ReplaceExisting : public InstallDirTest {
protected:
  void SetUp() override {
    InstallDirTest::SetUp();
    // Bytes that do not compress, so that most of the archive is the member's data.
    std::string bytes(64 * 1024, '\0');
    uint32_t seed = 12345;
    for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    WriteMachineFile("C:\\src\\readme.txt", bytes);
    FFile = AddFile("Readme", "C:\\src\\readme.txt");
    FInstallDir->Compress(coForceNetFilesLocal);
    WriteMachineFile(kDest, "old readme");
  }
  // The message of an install that fails; the old file must be as it was, and nothing waiting
  // for the restart.
  std::string FailingInstallKeepsTheOldFile() {
    std::string message = "no error";
    try {
      FInstallDir->InstallObjects();
    } catch (const std::exception& e) {
      message = e.what();
    }
    EXPECT_EQ(ReadMachineFile(kDest), "old readme");
    EXPECT_FALSE(FileExists("C:\\Apps\\Tool\\readme.1"));
    EXPECT_TRUE(PendingFileRenames().empty());
    return message;
  }

  TInstallFile* FFile = nullptr;
};

TEST_F(ReplaceExisting, ADamagedArchiveLeavesTheOldFile) {
  std::string archive = UnixPathOf("C:\\dist\\tool.1");
  std::filesystem::resize_file(archive, std::filesystem::file_size(archive) / 2);
  EXPECT_NE(FailingInstallKeepsTheOldFile(), "no error");
}

TEST_F(ReplaceExisting, AnImmutableFileIsAnErrorNamingItAndTheReasonNotARestart) {
  TImmutable immutable(kDest);
  if (!immutable.Set()) GTEST_SKIP() << "the immutable flag cannot be set here";
  std::string message = FailingInstallKeepsTheOldFile();
  EXPECT_NE(message.find(std::string(kDest) + "\": Operation not permitted"), std::string::npos) << message;
  EXPECT_FALSE(FFile->RebootReplace());
}

TEST_F(ReplaceExisting, AFileInUseIsRegisteredForTheRestartOnlyOnceTheNewFileIsWritten) {
  TLockHolder holder(UnixPathOf(kDest));
  TImmutable directory("C:\\Apps\\Tool"); // nothing can be written beside the file
  if (!directory.Set()) GTEST_SKIP() << "the immutable flag cannot be set here";
  std::string message = FailingInstallKeepsTheOldFile();
  EXPECT_NE(message.find("C:\\Apps\\Tool\\readme.1"), std::string::npos) << message;
}

TEST_F(ReplaceExisting, AReinstallWhileTheFileIsInUseRecordsItsFinalPathOnce) {
  FFile->SetUpdateDLLCounter(true);
  FInstallDir->InstallObjects();
  {
    TLockHolder holder(UnixPathOf(kDest));
    FInstallDir->InstallObjects();
  }
  ASSERT_TRUE(FFile->RebootReplace());
  auto files =
      TRegKey::Open(TRootKey::rkLocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool\\Files");
  ASSERT_TRUE(files);
  EXPECT_EQ(files->ReadString("Entries").value_or(""), "1");
  EXPECT_EQ(files->ReadString("File1").value_or(""), kDest);
  auto counts = TRegKey::Open(TRootKey::rkLocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->ReadDWord(kDest), 2u);
  EXPECT_FALSE(counts->ReadDWord("C:\\Apps\\Tool\\readme.1"));
}

} // namespace
