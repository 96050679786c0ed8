// The upward path: file containers turn their files' reports into figures and events.
#include <gtest/gtest.h>

#include <memory>

#include "EngineTestClasses.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// The install component's level above a directory, both running the install pass, with a
// listener under each; File sits in Dir.
struct Upward : ::testing::Test {
  TComponent owner{nullptr};
  TFileContainer* top = Named(new TFileContainer(&owner), "Top");
  TFileContainer* dir = Named(new TFileContainer(&owner), "Dir");
  TTestFile* file = new TTestFile(&owner, "File", 40);
  TTestObject* topListener = new TTestObject(&owner, "TopListener", 9000);
  TTestObject* dirListener = new TTestObject(&owner, "DirListener", 9000);
  std::vector<std::string> statuses;

  // The two-entry report of a file: the file and its parameter object.
  TList& Pair(TObject* First, TObject* Second) {
    auto list = std::make_unique<TList>();
    list->Add(First);
    list->Add(Second);
    lists.push_back(std::move(list));
    return *lists.back();
  }
  std::vector<std::unique_ptr<TList>> lists;

  static TFileContainer* Named(TFileContainer* c, const char* name) {
    c->SetName(name);
    return c;
  }
  void SetUp() override {
    dir->SetContainer(top);
    file->SetContainer(dir);
    topListener->SetContainer(top);
    dirListener->SetContainer(dir);
    for (TFileContainer* c : {top, dir}) {
      c->SetPassState(TPassState::pstInstall);
      c->SetOnStatus([this, c](TCustomInstallFile* f, int32_t filePct, int32_t totalPct) {
        statuses.push_back(c->Name() + ":" + f->Name() + ":" + std::to_string(filePct) + ":" + std::to_string(totalPct));
      });
    }
    top->SetPassTotalSize(1000);
    top->SetPassDoneSize(100);
    dir->SetPassTotalSize(200);
  }
  // Sends Code with PO from the file to its container and returns the message of the
  // IEFileContainer it raises (empty when none).
  std::string Failure(int32_t Code, TObject* PO) {
    try {
      dir->DoInformationEventControl(file, Code, PO);
    } catch (const IEFileContainer& e) {
      return e.what();
    }
    return {};
  }
};

TEST_F(Upward, AnIdleContainerNeitherHandlesNorPassesOn) {
  dir->SetPassState(TPassState::pstNone);
  TFileStatusParameter status;
  status.BytesDone = 10;
  TList& pair = Pair(file, &status);
  dir->DoInformationEventControl(file, ucInstallProgress, &pair);
  dir->DoInformationEventControl(file, ucFileInstalled, file);
  EXPECT_TRUE(statuses.empty());
  EXPECT_TRUE(topListener->Codes.empty());
  EXPECT_TRUE(dirListener->Codes.empty());
  EXPECT_EQ(Failure(ucReplacingFileInUse, nullptr), ""); // not even checked
}

TEST_F(Upward, ProgressTotalsAreRewrittenAtEachLevel) {
  TFileStatusParameter status;
  status.BytesDone = 50;
  status.FilePercentDone = 20;
  status.Stats.Finished = true;
  status.Stats.FileSize = 60;
  TList& pair = Pair(file, &status);
  dir->DoInformationEventControl(file, ucInstallProgress, &pair);
  EXPECT_EQ(statuses, (std::vector<std::string>{"Dir:File:20:25", "Top:File:20:15"}));
  EXPECT_EQ(status.TotalBytesDone, 150); // the top level wrote last
  EXPECT_EQ(status.TotalPercentDone, 15);
  EXPECT_EQ(dirListener->Codes, (std::vector<int32_t>{-998}));
  EXPECT_EQ(topListener->Codes, (std::vector<int32_t>{-998}));
  EXPECT_EQ(dir->PassDoneSize(), 60);
  EXPECT_EQ(top->PassDoneSize(), 160);
}

TEST_F(Upward, PercentagesRoundHalvesToEvenAndAZeroTotalGivesZero) {
  top->SetPassState(TPassState::pstNone);
  TFileStatusParameter status;
  TList& pair = Pair(file, &status);
  const std::pair<int32_t, int32_t> cases[] = {{1, 0}, {3, 2}, {5, 2}, {7, 4}, {199, 100}};
  for (auto [bytes, percent] : cases) {
    status.BytesDone = bytes;
    dir->DoInformationEventControl(file, ucCompressProgress, &pair);
    EXPECT_EQ(status.TotalPercentDone, percent) << bytes << " of 200";
  }
  dir->SetPassTotalSize(0);
  dir->DoInformationEventControl(file, ucCopyProgress, &pair);
  EXPECT_EQ(status.TotalPercentDone, 0);
  EXPECT_EQ(dir->PassDoneSize(), 0); // never finished
}

TEST_F(Upward, ANewDiskHandlerMayChangeThePathAndMarksTheFile) {
  dir->SetOnNewDisk([](TCustomInstallFile*, int32_t disk, std::string& path) {
    path = "B:\\disk" + std::to_string(disk);
  });
  TDiskParameter disk;
  disk.NewDisk = 3;
  disk.Path = "A:\\";
  TList& pair = Pair(file, &disk);
  dir->DoInformationEventControl(file, ucNewDisk, &pair);
  EXPECT_EQ(disk.Path, "B:\\disk3");
  EXPECT_EQ(file->Tag(), 1);
  EXPECT_EQ(dirListener->Codes, (std::vector<int32_t>{-993}));
  EXPECT_EQ(dirListener->Parameters.back(), &pair);
  EXPECT_EQ(topListener->Codes, (std::vector<int32_t>{-993}));
}

TEST_F(Upward, WithoutANewDiskHandlerTheFileIsNotMarked) {
  TDiskParameter disk;
  disk.Path = "A:\\";
  TList& pair = Pair(file, &disk);
  dir->DoInformationEventControl(file, ucNewDisk, &pair);
  EXPECT_EQ(disk.Path, "A:\\");
  EXPECT_EQ(file->Tag(), 0);
}

TEST_F(Upward, ASkippedOrKeptFileCountsAsDone) {
  for (int32_t code : {ucFileSkipped, ucFileKept}) {
    statuses.clear();
    dir->SetPassDoneSize(0);
    top->SetPassDoneSize(100);
    dir->DoInformationEventControl(file, code, file);
    EXPECT_EQ(statuses, (std::vector<std::string>{"Dir:File:100:20", "Top:File:100:14"})) << code;
    EXPECT_EQ(dir->PassDoneSize(), 40);
    EXPECT_EQ(top->PassDoneSize(), 140);
  }
  EXPECT_EQ(dirListener->Codes, (std::vector<int32_t>{-998, -998}));
}

TEST_F(Upward, AReplacedFileInUseIsReportedAndBroadcast) {
  std::string replaced;
  dir->SetOnReplacing([&](TCustomInstallFile* f) { replaced = f->Name(); });
  dir->DoInformationEventControl(file, ucReplacingFileInUse, file);
  EXPECT_EQ(replaced, "File");
  EXPECT_EQ(dirListener->Codes, (std::vector<int32_t>{-997}));
  EXPECT_EQ(dirListener->Parameters.back(), file);
  EXPECT_EQ(topListener->Codes, (std::vector<int32_t>{-997}));
}

TEST_F(Upward, PassOnOnlyCodesReachTheTopWithTheContainerAsSender) {
  struct TRecordingTop : TFileContainer {
    using TFileContainer::TFileContainer;
    std::vector<std::pair<TObject*, int32_t>> Seen;
    void DoInformationEventControl(TObject* Sender, int32_t Code, TObject* PO) override {
      Seen.emplace_back(Sender, Code);
    }
  };
  auto* recorder = new TRecordingTop(&owner);
  dir->SetContainer(recorder);
  for (int32_t code : {1001, 1002, 1004, 1005, 1006, 1007, 1012, 1013, 4711})
    dir->DoInformationEventControl(file, code, code == 4711 ? nullptr : file);
  ASSERT_EQ(recorder->Seen.size(), 9u);
  for (auto [sender, code] : recorder->Seen) EXPECT_EQ(sender, dir) << code;
  EXPECT_TRUE(dirListener->Codes.empty());
  EXPECT_TRUE(statuses.empty());
}

TEST_F(Upward, DownloadProgressReachesTheEventAndTheListeners) {
  std::vector<std::string> downloads;
  dir->SetOnDataReceived([&](TObject* sender, const std::string& name, int32_t bytes, int32_t total, int32_t size,
                             const void* buffer) {
    downloads.push_back(name + ":" + std::to_string(bytes) + ":" + std::to_string(total) + ":" +
                        std::to_string(size) + (buffer ? ":buffer" : ":none") + (sender == dir ? ":dir" : ""));
  });
  TDownloadStatusParameter status;
  status.FileName = "Dir.1";
  status.Bytes = 10;
  status.TotalBytes = 30;
  status.FileSize = 90;
  dir->DoInformationEventControl(file, ucDownloadProgress, &status);
  EXPECT_EQ(downloads, (std::vector<std::string>{"Dir.1:10:30:90:none:dir"}));
  EXPECT_EQ(dirListener->Codes, (std::vector<int32_t>{-988}));
  EXPECT_EQ(topListener->Codes, (std::vector<int32_t>{-988}));
}

TEST_F(Upward, DataReceivedReportsPercentOfTheFileAndZeroForAnEmptyFile) {
  struct TPercent : TTestObject {
    using TTestObject::TTestObject;
    std::vector<int32_t> Percents;
    void InformationEvent(TObject* Sender, int32_t Code, TObject* PO) override {
      TTestObject::InformationEvent(Sender, Code, PO);
      if (auto* s = dynamic_cast<TDownloadStatusParameter*>(PO)) Percents.push_back(s->PercentDone);
    }
  };
  auto* percents = new TPercent(&owner, "Percents", 9000);
  percents->SetContainer(dir);
  const char block[] = "abc";
  const void* seenBuffer = nullptr;
  dir->SetOnDataReceived([&](TObject*, const std::string&, int32_t, int32_t, int32_t, const void* buffer) {
    seenBuffer = buffer;
  });
  dir->DataReceived(nullptr, "Dir.1", 3, 3, 8, block); // 37.5 -> 38
  EXPECT_EQ(seenBuffer, block);
  dir->DataReceived(nullptr, "Dir.1", 1, 1, 200, block); // 0.5 -> 0
  dir->DataReceived(nullptr, "Dir.1", 0, 0, 0, nullptr);
  EXPECT_EQ(percents->Percents, (std::vector<int32_t>{38, 0, 0}));
  EXPECT_EQ(topListener->Codes, (std::vector<int32_t>{-988, -988, -988}));
}

TEST_F(Upward, EveryMalformedReportIsRefusedWithItsMessage) {
  TFileStatusParameter status;
  TDiskParameter disk;
  TList notAFile, one, badSecond, good;
  notAFile.Add(dir);
  notAFile.Add(&status);
  one.Add(file);
  badSecond.Add(file);
  badSecond.Add(&disk);
  TList diskBadFirst, diskBadSecond;
  diskBadFirst.Add(dir);
  diskBadFirst.Add(&disk);
  diskBadSecond.Add(file);
  diskBadSecond.Add(&status);
  struct Row {
    const char* label;
    int32_t code;
    TObject* po;
    const char* message;
  } rows[] = {
      {"nil for a replacement", 1003, nullptr, "Dir got a nil PO parameter"},
      {"nil for progress", 1008, nullptr, "Dir got a nil PO parameter"},
      {"nil for a skipped file", 1015, nullptr, "Dir got a nil PO parameter"},
      {"replacement of a non-file", 1003, dir, "DoInformationEventControl parameter is not TInstallFile"},
      {"progress without a list", 1009, file, "DoInformationEventControl--PO is not a TList object"},
      {"new disk without a list", 1011, file, "DoInformationEventControl--PO is not a TList object"},
      {"progress with one entry", 1010, &one, "DoInformationEventControl--Not engouh parameters for status event"},
      {"new disk with one entry", 1011, &one, "DoInformationEventControl--Not engouh parameters for status event"},
      {"progress of a non-file", 1008, &notAFile, "DoInformationEventControl says bad first parameter"},
      {"progress without status", 1008, &badSecond, "DoInformationEventControl says bad second parameter"},
      {"new disk of a non-file", 1011, &diskBadFirst, "DoInformationEventControl says bad 1 parameter"},
      {"new disk without disk", 1011, &diskBadSecond, "DoInformationEventControl says bad 2 parameter"},
      {"download of another kind", 1014, file, "The PO object passed to Dir is not a TDownloadStatusParameter object"},
      {"skipped non-file", 1015, &status, "DoInformationEventControl says bad first parameter"},
      {"kept non-file", 1016, dir, "DoInformationEventControl says bad first parameter"},
  };
  for (const Row& row : rows) EXPECT_EQ(Failure(row.code, row.po), row.message) << row.label;
  EXPECT_TRUE(topListener->Codes.empty()); // nothing was passed on
}

TEST_F(Upward, SizesSumIncludedFilesAndRecurseIntoContainers) {
  auto* sub = Named(new TFileContainer(&owner), "Sub");
  sub->SetContainer(dir);
  auto* deep = new TTestFile(&owner, "Deep", 100);
  deep->SetPackedSize(7);
  deep->SetContainer(sub);
  file->SetPackedSize(3);
  EXPECT_EQ(dir->OwnFilesSize(false), 40);
  EXPECT_EQ(dir->TotalFilesSize(false), 140);
  EXPECT_EQ(dir->TotalPackedSize(false), 10);
  sub->SetInstallTypes({itFull});
  dir->SetCurrentInstallType(itCompact);
  EXPECT_EQ(dir->TotalFilesSize(false), 40); // Sub and everything in it left out
  EXPECT_EQ(dir->TotalFilesSize(true), 140);
  EXPECT_EQ(dir->TotalPackedSize(false), 3);
  EXPECT_EQ(dir->InstallFileCount(), 1);
  EXPECT_EQ(dir->InstallFiles(0), file);
  EXPECT_EQ(top->FileContainers(0), dir);
}

TEST_F(Upward, ANetFileWithoutALocationSaysSo) {
  EXPECT_THROW(file->NetArchivePath(), IEFileRel_NoNetLocation);
}

} // namespace
