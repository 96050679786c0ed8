// An installation from an archive spread over disk files, as the install files ask for the
// next disk: where the following files look after a disk was found elsewhere, and a Cancel
// at the prompt of a file that reads an archive of its own.
#include <gtest/gtest.h>

#include "archive/TQnlfCompress.h"
#include "common/exceptions_Quenloft.h"
#include "engine/InstallParameters.h"
#include "engine/InstallSession.h"
#include "engine/TInstall.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "paths/StandardPathSpecifiers.h"
#include "paths/TPathSpecifierList.h"
#include "platform/files/Files.h"
#include "rtl/Forms.h"
#include "tests/floppies/FloppyDisks.h"
#include "tests/support/MachineTest.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// Three members of 20000 bytes that deflate cannot shrink on disks of 24000 bytes: the first
// member lies on disk 1, the second runs from disk 1 to 2 and the third from disk 2 to 3.
constexpr int kMembers = 3;
constexpr int64_t kDiskBytes = 24000;

class DiskRelay : public TMachineTest {
protected:
  void SetUp() override {
    TMachineTest::SetUp();
    InstallSession().Reset();
    SetApplication(&FApp);
    FApp.MessageBoxHook = [this](const std::string& Text, const std::string&, int) {
      FPrompts.push_back(Text);
      return IDCANCEL;
    };
    FInstall = new TInstall(&FProject);
    FInstall->SetInstallSource("C:\\disk1");
    QnlfCompress().SetAbort(false);
  }
  void TearDown() override {
    SetApplication(nullptr);
    InstallSession().Reset();
    TMachineTest::TearDown();
  }
  // A directory of the install component reading Archive (the main archive when empty) whose
  // files are compressed into it and then spread over disk files in Disks (one directory a
  // disk), named like Archive with the extensions 1, 2, 3.
  TInstallDirectory* SpannedDirectory(const std::string& Archive, const std::vector<std::string>& Disks) {
    auto* dir = new TInstallDirectory(&FProject);
    dir->SetContainer(FInstall);
    dir->SetArchiveFileType(
        Archive.empty() ? StandardPathSpecifiers().FindInstance(TpsMainArchiveFile::StaticClassInfo()) : nullptr);
    dir->SetArchiveFile(Archive);
    dir->SetDestDirType(nullptr);
    dir->SetDestDir("C:\\Apps\\Tool");
    for (int i = 0; i < kMembers; ++i) {
      std::string source = "C:\\src\\part" + std::to_string(i) + ".dat";
      WriteMachineFile(source, NoiseBytes(20000, 300 + i));
      FFiles.push_back(new TInstallFile(&FProject, dir, source));
    }
    std::string built = "C:\\build\\" + ExtractFileName(dir->GetArchivePath());
    dir->SetArchiveFileType(nullptr);
    dir->SetArchiveFile(built);
    dir->Compress(coForceNetFilesLocal | coIncludeExcluded);
    TQnlfCompress span(nullptr);
    span.SetCompressedFile(built);
    span.OnNewDisk = [&](TQnlfCompress*, int Disk, std::string& Path) { Path = Disks.at(Disk - 1); };
    for (const std::string& disk : Disks) ForceDirectories(disk);
    {
      TDiskFileLimit limit(kDiskBytes);
      span.SpanToDisks(Disks[0], ExtractFileName(built));
    }
    EXPECT_TRUE(FileExists(Disks[2] + "\\" + ChangeFileExt(ExtractFileName(built), ".3")));
    dir->SetArchiveFileType(
        Archive.empty() ? StandardPathSpecifiers().FindInstance(TpsMainArchiveFile::StaticClassInfo()) : nullptr);
    dir->SetArchiveFile(Archive);
    return dir;
  }
  // The directory's install pass inside the install component's; the failure's message.
  std::string Install(TInstallDirectory* Dir) {
    FInstall->SetPassState(TPassState::pstInstall);
    std::string error = MessageOf([&] { Dir->InstallObjects(); });
    FInstall->SetPassState(TPassState::pstNone);
    return error;
  }
  int Installed() const {
    int count = 0;
    for (int i = 0; i < kMembers; ++i)
      if (FileExists("C:\\Apps\\Tool\\part" + std::to_string(i) + ".dat") &&
          ReadMachineFile("C:\\Apps\\Tool\\part" + std::to_string(i) + ".dat") == NoiseBytes(20000, 300 + i))
        ++count;
    return count;
  }

  TCustomApplication FApp;
  TDataModule FProject{nullptr};
  TInstall* FInstall = nullptr;
  std::vector<TInstallFile*> FFiles;
  std::vector<std::string> FPrompts;
};

TEST_F(DiskRelay, ADiskFoundElsewhereIsWhereTheFollowingFilesLook) {
  // Disk 1 is where the installation started; disks 2 and 3 were copied to another folder.
  TInstallDirectory* dir = SpannedDirectory("", {"C:\\disk1", "C:\\copy", "C:\\copy"});
  std::vector<int> asked;
  dir->SetOnNewDisk([&](TCustomInstallFile*, int Disk, std::string& Path) {
    asked.push_back(Disk);
    Path = "C:\\copy\\";
  });
  EXPECT_EQ(Install(dir), "(no exception)");
  // Disk 2 is asked for once; the third file, from disks 2 and 3, reads the folder it was found in.
  EXPECT_EQ(asked, std::vector<int>{2});
  EXPECT_EQ(Installed(), kMembers);
  EXPECT_EQ(FInstall->GetArchivePath(), "C:\\copy\\files.1");
  EXPECT_TRUE(FPrompts.empty());
}

TEST_F(DiskRelay, CancelAtThePromptOfAPrivateArchiveEndsAsAUserAbort) {
  TInstallDirectory* dir = SpannedDirectory("C:\\own\\tool.1", {"C:\\own", "C:\\gone", "C:\\gone"});
  DeleteTree("C:\\gone");
  EXPECT_EQ(Install(dir), "Installation aborted by the user");
  EXPECT_EQ(FPrompts, std::vector<std::string>{"Please insert disk #2"});
  EXPECT_EQ(Installed(), 1);
  // The main archive stays where the installation started.
  EXPECT_EQ(FInstall->GetArchivePath(), "C:\\disk1\\files.1");
}

} // namespace
