// The file container's passes: their guards, options and events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilesTestSupport.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// Records the codes a listener below a container hears.
class TListener : public TInstallObject {
  QNL_CLASS(TListener, TInstallObject)
public:
  using TInstallObject::TInstallObject;
  int32_t RegisteredType() const override { return 9000; }
  void InformationEvent(TObject*, int32_t Code, TObject*) override { Codes.push_back(Code); }
  std::vector<int32_t> Codes;
};

QNL_BEGIN_CLASS(TListener);
QNL_END_CLASS

using Passes = FilesTest;

TEST_F(Passes, CompressRefusesBothNetOptionsBeforeAnyEvent) {
  auto* dir = new TInstallDirectory(FModule);
  dir->SetName("Dir");
  bool fired = false;
  dir->SetOnBeforeProcess([&](TInstallContainer*) { fired = true; });
  try {
    dir->Compress(coForceNetFilesLocal | coForceFilesNet);
    FAIL();
  } catch (const IEFileContainer& e) {
    EXPECT_STREQ(e.what(), "Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  }
  EXPECT_FALSE(fired);
  EXPECT_EQ(dir->PassState(), TPassState::pstNone);
}

TEST_F(Passes, CopyOfAnExcludedDirectoryFiresBeforeProcessThenEnds) {
  auto* dir = new TInstallDirectory(FModule);
  auto* listener = new TListener(FModule);
  listener->SetContainer(dir);
  new TInstallFile(FModule, dir, "C:\\src\\missing.txt"); // never read
  dir->SetInclude(false);
  std::vector<std::string> events;
  dir->SetOnBeforeProcess([&](TInstallContainer*) { events.push_back("before"); });
  dir->SetOnAfterProcess([&](TInstallContainer*) { events.push_back("after"); });
  dir->Copy();
  EXPECT_EQ(events, std::vector<std::string>{"before"});
  EXPECT_EQ(listener->Codes, std::vector<int32_t>{icOperationEnded});
  EXPECT_EQ(dir->PassState(), TPassState::pstNone);
}

TEST_F(Passes, AnInstallPassWhoseHandlerRaisesLeavesNoPassRunning) {
  auto* dir = new TInstallDirectory(FModule);
  TPassState during = TPassState::pstNone;
  dir->SetOnBeforeInstallObjects([&](TInstallContainer*) {
    during = dir->PassState();
    throw Exception("handler failed");
  });
  EXPECT_THROW(dir->InstallObjects(), Exception);
  EXPECT_EQ(during, TPassState::pstInstall);
  EXPECT_EQ(dir->PassState(), TPassState::pstNone);
  EXPECT_TRUE(dir->InfoRead());
}

TEST_F(Passes, AnEmptyInstallPassReportsItsEndAndAbortFlag) {
  auto* dir = new TInstallDirectory(FModule);
  auto* listener = new TListener(FModule);
  listener->SetContainer(dir);
  std::vector<std::string> events;
  dir->SetOnBeforeInstallObjects([&](TInstallContainer*) { events.push_back("before"); });
  dir->SetOnAfterInstallObjects(
      [&](TInstallContainer*, bool Aborted) { events.push_back(Aborted ? "after:aborted" : "after"); });
  dir->InstallObjects();
  EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));
  EXPECT_EQ(listener->Codes, (std::vector<int32_t>{icInstallPassBegins, icOperationEnded}));
  EXPECT_TRUE(dir->Processed());
}

TEST_F(Passes, SizesLeaveOutFilesExcludedByInstallType) {
  WriteMachineFile("C:\\src\\a.bin", std::string(100, 'a'));
  auto* dir = new TInstallDirectory(FModule);
  auto* file = new TInstallFile(FModule, dir, "C:\\src\\a.bin");
  file->ReadInfoFromFile();
  file->SetInstallTypes(TInstallTypeSet{itFull});
  dir->SetCurrentInstallType(itCompact);
  EXPECT_EQ(dir->TotalFilesSize(false), 0);
  EXPECT_EQ(dir->TotalFilesSize(true), 100);
}

TEST_F(Passes, TheLocalArchivePathIsOnlyKnownOnceDownloaded) {
  auto* dir = new TInstallDirectory(FModule);
  dir->SetName("Dir");
  try {
    dir->GetLocalArchivePath();
    FAIL();
  } catch (const IEFileContainer& e) {
    EXPECT_STREQ(e.what(),
                 "Dir has not yet downloaded the archive file and therefore cannot retrieve the path of the archive "
                 "file");
  }
  EXPECT_FALSE(dir->HasLocalArchive());
  WriteMachineFile("C:\\temp\\dir.1", "archive");
  dir->StoreLocalFile("C:\\temp\\dir.1");
  EXPECT_EQ(dir->GetLocalArchivePath(), "C:\\temp\\dir.1");
  EXPECT_TRUE(dir->HasLocalArchive());
}

} // namespace

namespace {

TEST(NetArchive, TextsAreCleanedForThePath) {
  EXPECT_EQ(CleanNetArchiveText("a/b"), "a-b");
  EXPECT_EQ(CleanNetArchiveText("c:d"), "cd");
  EXPECT_EQ(CleanNetArchiveText("x\"*:;<>?\\|y \xE9"), "xy \xE9");
}

TEST_F(Passes, TheCopyPassCopiesSourcesUncompressed) {
  WriteMachineFile("C:\\src\\one.txt", "first");
  WriteMachineFile("C:\\src\\two.txt", "second");
  auto* dir = new TInstallDirectory(FModule);
  dir->SetDestDir("C:\\Copy");
  new TInstallFile(FModule, dir, "C:\\src\\one.txt");
  new TInstallFile(FModule, dir, "C:\\src\\two.txt");
  dir->Copy();
  EXPECT_EQ(ReadMachineFile("C:\\Copy\\one.txt"), "first");
  EXPECT_EQ(ReadMachineFile("C:\\Copy\\two.txt"), "second");
  EXPECT_EQ(dir->PassTotalSize(), 11);
}

TEST_F(Passes, ANetFileWithoutALocationStopsTheCompressPass) {
  auto* dir = new TInstallDirectory(FModule);
  dir->SetName("NetDir");
  dir->SetArchiveFile("C:\\dist\\net.1");
  QNL_EXPECT_THROW_MESSAGE(dir->Compress(coForceFilesNet), IEFileRel_NoNetLocation,
                           "Could not find a net install location for NetDir");
  EXPECT_EQ(dir->PassState(), TPassState::pstNone);
}

} // namespace
