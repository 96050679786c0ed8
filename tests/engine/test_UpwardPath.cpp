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
  TComponent Owner{nullptr};
  TFileContainer* Top = Named(new TFileContainer(&Owner), "Top");
  TFileContainer* Dir = Named(new TFileContainer(&Owner), "Dir");
  TTestFile* File = new TTestFile(&Owner, "File", 40);
  TTestObject* TopListener = new TTestObject(&Owner, "TopListener", 9000);
  TTestObject* DirListener = new TTestObject(&Owner, "DirListener", 9000);
  std::vector<std::string> Statuses;

  // The two-entry report of a file: the file and its parameter object.
  TList& Pair(TObject* First, TObject* Second) {
    auto list = std::make_unique<TList>();
    list->Add(First);
    list->Add(Second);
    Lists.push_back(std::move(list));
    return *Lists.back();
  }
  std::vector<std::unique_ptr<TList>> Lists;

  static TFileContainer* Named(TFileContainer* C, const char* Name) {
    C->SetName(Name);
    return C;
  }
  void SetUp() override {
    Dir->SetContainer(Top);
    File->SetContainer(Dir);
    TopListener->SetContainer(Top);
    DirListener->SetContainer(Dir);
    for (TFileContainer* c : {Top, Dir}) {
      c->SetPassState(TPassState::pstInstall);
      c->SetOnStatus([this, c](TCustomInstallFile* F, int32_t FilePct, int32_t TotalPct) {
        Statuses.push_back(c->Name() + ":" + F->Name() + ":" + std::to_string(FilePct) + ":" +
                           std::to_string(TotalPct));
      });
    }
    Top->SetPassTotalSize(1000);
    Top->SetPassDoneSize(100);
    Dir->SetPassTotalSize(200);
  }
  // Sends Code with PO from the file to its container and returns the message of the
  // IEFileContainer it raises (empty when none).
  std::string Failure(int32_t Code, TObject* PO) {
    try {
      Dir->DoInformationEventControl(File, Code, PO);
    } catch (const IEFileContainer& e) {
      return e.what();
    }
    return {};
  }
};

TEST_F(Upward, AnIdleContainerNeitherHandlesNorPassesOn) {
  Dir->SetPassState(TPassState::pstNone);
  TFileStatusParameter status;
  status.BytesDone = 10;
  TList& pair = Pair(File, &status);
  Dir->DoInformationEventControl(File, ucInstallProgress, &pair);
  Dir->DoInformationEventControl(File, ucFileInstalled, File);
  EXPECT_TRUE(Statuses.empty());
  EXPECT_TRUE(TopListener->Codes.empty());
  EXPECT_TRUE(DirListener->Codes.empty());
  EXPECT_EQ(Failure(ucReplacingFileInUse, nullptr), ""); // not even checked
}

TEST_F(Upward, ProgressTotalsAreRewrittenAtEachLevel) {
  TFileStatusParameter status;
  status.BytesDone = 50;
  status.FilePercentDone = 20;
  status.Stats.Finished = true;
  status.Stats.FileSize = 60;
  TList& pair = Pair(File, &status);
  Dir->DoInformationEventControl(File, ucInstallProgress, &pair);
  EXPECT_EQ(Statuses, (std::vector<std::string>{"Dir:File:20:25", "Top:File:20:15"}));
  EXPECT_EQ(status.TotalBytesDone, 150); // the top level wrote last
  EXPECT_EQ(status.TotalPercentDone, 15);
  EXPECT_EQ(DirListener->Codes, (std::vector<int32_t>{-998}));
  EXPECT_EQ(TopListener->Codes, (std::vector<int32_t>{-998}));
  EXPECT_EQ(Dir->PassDoneSize(), 60);
  EXPECT_EQ(Top->PassDoneSize(), 160);
}

TEST_F(Upward, PercentagesRoundHalvesToEvenAndAZeroTotalGivesZero) {
  Top->SetPassState(TPassState::pstNone);
  TFileStatusParameter status;
  TList& pair = Pair(File, &status);
  const std::pair<int32_t, int32_t> cases[] = {{1, 0}, {3, 2}, {5, 2}, {7, 4}, {199, 100}};
  for (auto [bytes, percent] : cases) {
    status.BytesDone = bytes;
    Dir->DoInformationEventControl(File, ucCompressProgress, &pair);
    EXPECT_EQ(status.TotalPercentDone, percent) << bytes << " of 200";
  }
  Dir->SetPassTotalSize(0);
  Dir->DoInformationEventControl(File, ucCopyProgress, &pair);
  EXPECT_EQ(status.TotalPercentDone, 0);
  EXPECT_EQ(Dir->PassDoneSize(), 0); // never finished
}

TEST_F(Upward, ANewDiskHandlerMayChangeThePathAndMarksTheFile) {
  Dir->SetOnNewDisk(
      [](TCustomInstallFile*, int32_t Disk, std::string& Path) { Path = "B:\\disk" + std::to_string(Disk); });
  TDiskParameter disk;
  disk.NewDisk = 3;
  disk.Path = "A:\\";
  TList& pair = Pair(File, &disk);
  Dir->DoInformationEventControl(File, ucNewDisk, &pair);
  EXPECT_EQ(disk.Path, "B:\\disk3");
  EXPECT_EQ(File->Tag(), 1);
  EXPECT_EQ(DirListener->Codes, (std::vector<int32_t>{-993}));
  EXPECT_EQ(DirListener->Parameters.back(), &pair);
  EXPECT_EQ(TopListener->Codes, (std::vector<int32_t>{-993}));
}

TEST_F(Upward, WithoutANewDiskHandlerTheFileIsNotMarked) {
  TDiskParameter disk;
  disk.Path = "A:\\";
  TList& pair = Pair(File, &disk);
  Dir->DoInformationEventControl(File, ucNewDisk, &pair);
  EXPECT_EQ(disk.Path, "A:\\");
  EXPECT_EQ(File->Tag(), 0);
}

TEST_F(Upward, ASkippedOrKeptFileCountsAsDone) {
  for (int32_t code : {ucFileSkipped, ucFileKept}) {
    Statuses.clear();
    Dir->SetPassDoneSize(0);
    Top->SetPassDoneSize(100);
    Dir->DoInformationEventControl(File, code, File);
    EXPECT_EQ(Statuses, (std::vector<std::string>{"Dir:File:100:20", "Top:File:100:14"})) << code;
    EXPECT_EQ(Dir->PassDoneSize(), 40);
    EXPECT_EQ(Top->PassDoneSize(), 140);
  }
  EXPECT_EQ(DirListener->Codes, (std::vector<int32_t>{-998, -998}));
}

TEST_F(Upward, AReplacedFileInUseIsReportedAndBroadcast) {
  std::string replaced;
  Dir->SetOnReplacing([&](TCustomInstallFile* F) { replaced = F->Name(); });
  Dir->DoInformationEventControl(File, ucReplacingFileInUse, File);
  EXPECT_EQ(replaced, "File");
  EXPECT_EQ(DirListener->Codes, (std::vector<int32_t>{-997}));
  EXPECT_EQ(DirListener->Parameters.back(), File);
  EXPECT_EQ(TopListener->Codes, (std::vector<int32_t>{-997}));
}

TEST_F(Upward, PassOnOnlyCodesReachTheTopWithTheContainerAsSender) {
  struct TRecordingTop : TFileContainer {
    using TFileContainer::TFileContainer;
    std::vector<std::pair<TObject*, int32_t>> Seen;
    void DoInformationEventControl(TObject* Sender, int32_t Code, TObject* PO) override {
      Seen.emplace_back(Sender, Code);
    }
  };
  auto* recorder = new TRecordingTop(&Owner);
  Dir->SetContainer(recorder);
  for (int32_t code : {1001, 1002, 1004, 1005, 1006, 1007, 1012, 1013, 4711})
    Dir->DoInformationEventControl(File, code, code == 4711 ? nullptr : File);
  ASSERT_EQ(recorder->Seen.size(), 9u);
  for (auto [sender, code] : recorder->Seen) EXPECT_EQ(sender, Dir) << code;
  EXPECT_TRUE(DirListener->Codes.empty());
  EXPECT_TRUE(Statuses.empty());
}

TEST_F(Upward, DownloadProgressReachesTheEventAndTheListeners) {
  std::vector<std::string> downloads;
  Dir->SetOnDataReceived(
      [&](TObject* Sender, const std::string& Name, int32_t Bytes, int32_t Total, int32_t Size, const void* Buffer) {
        downloads.push_back(Name + ":" + std::to_string(Bytes) + ":" + std::to_string(Total) + ":" +
                            std::to_string(Size) + (Buffer ? ":buffer" : ":none") + (Sender == Dir ? ":dir" : ""));
      });
  TDownloadStatusParameter status;
  status.FileName = "Dir.1";
  status.Bytes = 10;
  status.TotalBytes = 30;
  status.FileSize = 90;
  Dir->DoInformationEventControl(File, ucDownloadProgress, &status);
  EXPECT_EQ(downloads, (std::vector<std::string>{"Dir.1:10:30:90:none:dir"}));
  EXPECT_EQ(DirListener->Codes, (std::vector<int32_t>{-988}));
  EXPECT_EQ(TopListener->Codes, (std::vector<int32_t>{-988}));
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
  auto* percents = new TPercent(&Owner, "Percents", 9000);
  percents->SetContainer(Dir);
  const char block[] = "abc";
  const void* seenBuffer = nullptr;
  Dir->SetOnDataReceived(
      [&](TObject*, const std::string&, int32_t, int32_t, int32_t, const void* Buffer) { seenBuffer = Buffer; });
  Dir->DataReceived(nullptr, "Dir.1", 3, 3, 8, block); // 37.5 -> 38
  EXPECT_EQ(seenBuffer, block);
  Dir->DataReceived(nullptr, "Dir.1", 1, 1, 200, block); // 0.5 -> 0
  Dir->DataReceived(nullptr, "Dir.1", 0, 0, 0, nullptr);
  EXPECT_EQ(percents->Percents, (std::vector<int32_t>{38, 0, 0}));
  EXPECT_EQ(TopListener->Codes, (std::vector<int32_t>{-988, -988, -988}));
}

TEST_F(Upward, EveryMalformedReportIsRefusedWithItsMessage) {
  TFileStatusParameter status;
  TDiskParameter disk;
  TList notAFile, one, badSecond, good;
  notAFile.Add(Dir);
  notAFile.Add(&status);
  one.Add(File);
  badSecond.Add(File);
  badSecond.Add(&disk);
  TList diskBadFirst, diskBadSecond;
  diskBadFirst.Add(Dir);
  diskBadFirst.Add(&disk);
  diskBadSecond.Add(File);
  diskBadSecond.Add(&status);
  struct Row {
    const char* Label;
    int32_t Code;
    TObject* Po;
    const char* Message;
  } rows[] = {
      {"nil for a replacement", 1003, nullptr, "Dir got a nil PO parameter"},
      {"nil for progress", 1008, nullptr, "Dir got a nil PO parameter"},
      {"nil for a skipped file", 1015, nullptr, "Dir got a nil PO parameter"},
      {"replacement of a non-file", 1003, Dir, "DoInformationEventControl parameter is not TInstallFile"},
      {"progress without a list", 1009, File, "DoInformationEventControl--PO is not a TList object"},
      {"new disk without a list", 1011, File, "DoInformationEventControl--PO is not a TList object"},
      {"progress with one entry", 1010, &one, "DoInformationEventControl--Not engouh parameters for status event"},
      {"new disk with one entry", 1011, &one, "DoInformationEventControl--Not engouh parameters for status event"},
      {"progress of a non-file", 1008, &notAFile, "DoInformationEventControl says bad first parameter"},
      {"progress without status", 1008, &badSecond, "DoInformationEventControl says bad second parameter"},
      {"new disk of a non-file", 1011, &diskBadFirst, "DoInformationEventControl says bad 1 parameter"},
      {"new disk without disk", 1011, &diskBadSecond, "DoInformationEventControl says bad 2 parameter"},
      {"download of another kind", 1014, File, "The PO object passed to Dir is not a TDownloadStatusParameter object"},
      {"skipped non-file", 1015, &status, "DoInformationEventControl says bad first parameter"},
      {"kept non-file", 1016, Dir, "DoInformationEventControl says bad first parameter"},
  };
  for (const Row& row : rows) EXPECT_EQ(Failure(row.Code, row.Po), row.Message) << row.Label;
  EXPECT_TRUE(TopListener->Codes.empty()); // nothing was passed on
}

TEST_F(Upward, SizesSumIncludedFilesAndRecurseIntoContainers) {
  auto* sub = Named(new TFileContainer(&Owner), "Sub");
  sub->SetContainer(Dir);
  auto* deep = new TTestFile(&Owner, "Deep", 100);
  deep->SetPackedSize(7);
  deep->SetContainer(sub);
  File->SetPackedSize(3);
  EXPECT_EQ(Dir->OwnFilesSize(false), 40);
  EXPECT_EQ(Dir->TotalFilesSize(false), 140);
  EXPECT_EQ(Dir->TotalPackedSize(false), 10);
  sub->SetInstallTypes({itFull});
  Dir->SetCurrentInstallType(itCompact);
  EXPECT_EQ(Dir->TotalFilesSize(false), 40); // Sub and everything in it left out
  EXPECT_EQ(Dir->TotalFilesSize(true), 140);
  EXPECT_EQ(Dir->TotalPackedSize(false), 3);
  EXPECT_EQ(Dir->InstallFileCount(), 1);
  EXPECT_EQ(Dir->InstallFiles(0), File);
  EXPECT_EQ(Top->FileContainers(0), Dir);
}

TEST_F(Upward, ANetFileWithoutALocationSaysSo) { EXPECT_THROW(File->NetArchivePath(), IEFileRel_NoNetLocation); }

} // namespace
