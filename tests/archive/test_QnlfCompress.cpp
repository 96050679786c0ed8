// Adding, extracting, copying and spanning with real files on the test machine.
#include <gtest/gtest.h>

#include <cmath>

#include "ArchiveTestFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/MemberNames.h"
#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "platform/files/Files.h"
#include "tests/support/LockHolder.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// Accepts at most Capacity bytes in the file, like a floppy disk that fills up.
class TSmallDiskStream : public TStream {
public:
  TSmallDiskStream(std::unique_ptr<TStream> Inner, int64_t Capacity) : FInner(std::move(Inner)), FCapacity(Capacity) {}
  int64_t Read(void* B, int64_t N) override { return FInner->Read(B, N); }
  int64_t Write(const void* B, int64_t N) override {
    int64_t room = std::max<int64_t>(0, FCapacity - FInner->Position());
    return FInner->Write(B, std::min(N, room));
  }
  int64_t Seek(int64_t O, TSeekOrigin S) override { return FInner->Seek(O, S); }
  int64_t Size() const override { return FInner->Size(); }

private:
  std::unique_ptr<TStream> FInner;
  int64_t FCapacity;
};

// An archive component whose disk files ("*.1", "*.2", ... in DiskDir) hold DiskCapacity bytes.
class TSmallDiskCompress : public TQnlfCompress {
public:
  using TQnlfCompress::TQnlfCompress;
  std::string DiskDir;
  int64_t DiskCapacity = 1 << 30;

protected:
  std::unique_ptr<TStream> OpenFile(const std::string& Path, ArchiveFiles::TOpenMode Mode) override {
    auto s = TQnlfCompress::OpenFile(Path, Mode);
    if (s && !DiskDir.empty() && StartsText(DiskDir, Path) && Mode != ArchiveFiles::TOpenMode::omReadShared)
      return std::make_unique<TSmallDiskStream>(std::move(s), DiskCapacity);
    return s;
  }
};

class ArchiveTest : public ::testing::Test {
protected:
  void SetUp() override {
    FDir = FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    FArchive = FDir + "\\out\\setup.1";
    FOut = FDir + "\\extract";
    FZip.SetCompressedFile(FArchive);
    FZip.SetExtractDirectory(FOut);
  }
  std::string Source(const std::string& Name, const std::string& Bytes) {
    std::string path = FDir + "\\src\\" + Name;
    ForceDirectories(ExtractFileDir(path));
    WriteMachineFile(path, Bytes);
    return path;
  }
  void AddFiles(std::initializer_list<std::string> Files, TlzhCommand Cmd = lzcOverwrite, int Id = 7) {
    TStringList list;
    for (auto& f : Files) list.Add(f);
    FZip.SetFilesToProcess(list);
    FZip.Add(Cmd, Id);
  }
  // A disk directory of 10,000-byte disks for this component's spanned archive.
  std::string SmallDisks() {
    std::string disks = FDir + "\\disks";
    ForceDirectories(disks);
    FZip.DiskDir = disks;
    FZip.DiskCapacity = 10000;
    return disks;
  }
  void ExtractFiles(std::initializer_list<std::string> Names) {
    TStringList list;
    for (auto& n : Names) list.Add(n);
    FZip.SetFilesToProcess(list);
    FZip.Extract();
  }
  // Puts Bytes in place of the archive and makes the component read its table again.
  void ReplaceArchive(const std::string& Bytes) {
    WriteMachineFile(FArchive, Bytes);
    FZip.SetCompressedFile(FDir + "\\other");
    FZip.SetCompressedFile(FArchive);
  }
  // The names in Out: what an extraction left there.
  std::vector<std::string> OutNames() {
    std::vector<std::string> names;
    if (DirectoryExists(FOut))
      for (const TDirEntry& e : ListDirectory(FOut)) names.push_back(e.Name);
    return names;
  }
  std::string ErrorOf(const std::function<void()>& F) {
    try {
      F();
    } catch (const Exception& e) {
      return e.Message();
    }
    return "no error";
  }
  // Runs the independent reader; its member lines, or the failure text.
  std::string PythonRead(const std::string& Disk1, int Offset = 0) {
    std::string outDir = FreshDir(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-py");
    std::string output;
    int rc = RunCommand("/usr/bin/python3 '" + SourceDir() + "/archive_reader.py' '" + UnixOf(Disk1) + "' " +
                            std::to_string(Offset) + " '" + UnixOf(outDir) + "'",
                        &output);
    FPyOut = outDir;
    return rc == 0 ? output : "FAILED: " + output;
  }
  std::string FDir, FArchive, FOut, FPyOut;
  TSmallDiskCompress FZip{nullptr};
};

} // namespace

TEST_F(ArchiveTest, RoundTripKeepsBytesAndDates) {
  std::string a = Source("alpha.txt", SampleBytes(200000, 1)), b = Source("beta.bin", NoiseBytes(70000, 2));
  SetFileDateTime(a, 40000.25);
  AddFiles({a, b});
  ASSERT_FALSE(FZip.Abort());
  EXPECT_EQ(FZip.FilesToProcess().Count(), 0);
  EXPECT_EQ(FZip.GetFileCount(), 2);
  ExtractFiles({a, b});
  EXPECT_EQ(ReadMachineFile(FOut + "\\alpha.txt"), SampleBytes(200000, 1));
  EXPECT_EQ(ReadMachineFile(FOut + "\\beta.bin"), NoiseBytes(70000, 2));
  EXPECT_DOUBLE_EQ(FileDateTime(FOut + "\\alpha.txt"), 40000.25);
  TlzhFileStats s = FZip.GetFileStats(1);
  EXPECT_EQ(s.FileName, b);
  EXPECT_EQ(s.FileSize, 70000);
  EXPECT_EQ(s.TotalSize, 270000);
}

TEST_F(ArchiveTest, IndependentReaderAgreesWithSingleFileArchive) {
  std::string a = Source("one.txt", SampleBytes(150000, 3)), e = Source("empty.dat", "");
  AddFiles({a, e}, lzcOverwrite, 12);
  std::string lines = PythonRead(FArchive);
  EXPECT_EQ(lines, "0|1|" + a + "|150000|12|0|0|\n1|2|" + e + "|0|12|0|0|\n");
  EXPECT_EQ(ReadMachineFile(FPyOut + "\\0.out"), SampleBytes(150000, 3));
  EXPECT_EQ(ReadMachineFile(FPyOut + "\\1.out"), "");
}

TEST_F(ArchiveTest, NoFilesMakeFiveZeroBytes) {
  AddFiles({});
  EXPECT_EQ(ReadMachineFile(FArchive), std::string(5, '\0'));
}

TEST_F(ArchiveTest, ASemicolonIsPartOfTheFileName) {
  std::string a = Source("part;one.txt", "semicolon");
  Source("part", "another file");
  AddFiles({a});
  EXPECT_EQ(FZip.FileHeaders().FileHeaders(0).FileName(), a);
  ExtractFiles({a});
  EXPECT_EQ(ReadMachineFile(FOut + "\\part;one.txt"), "semicolon");
}

TEST_F(ArchiveTest, EmptyFileIsACompleteStream) {
  std::string e = Source("empty.dat", "");
  SetFileDateTime(e, 39000.5);
  AddFiles({e});
  const TFileHeader& h = FZip.FileHeaders().FileHeaders(0);
  EXPECT_EQ(h.FileSize(), 0);
  EXPECT_LE(h.DataStart(), h.LastByte());
  ExtractFiles({e});
  EXPECT_EQ(ReadMachineFile(FOut + "\\empty.dat"), "");
  EXPECT_DOUBLE_EQ(FileDateTime(FOut + "\\empty.dat"), 39000.5);
}

TEST_F(ArchiveTest, PathsSharingTheirFirstHundredCharactersStayApart) {
  std::string common = std::string(110, 'd');
  std::string one = Source(common + "-one\\f.txt", "first"), two = Source(common + "-two\\f.txt", "second");
  AddFiles({one, two});
  EXPECT_NE(PythonRead(FArchive).find("\\f.txt|6|"), std::string::npos);
  EXPECT_EQ(ReadMachineFile(FPyOut + "\\1.out"), "second");
  FZip.ExtractName = "one.txt";
  ExtractFiles({one});
  // Without a destination name a member is written under its own file name, as before.
  ExtractFiles({UpperCase(two)});
  EXPECT_EQ(ReadMachineFile(FOut + "\\one.txt"), "first");
  EXPECT_EQ(ReadMachineFile(FOut + "\\f.txt"), "second");
}

TEST_F(ArchiveTest, TwoPathsForOneStoredNameAreRefusedNamingBoth) {
  std::string path = Source(std::string(110, 'd') + "\\f.txt", "f");
  // A path spelled like the name made for a long path is never stored as itself.
  std::string lookalike = Source("x|0123456789ABCDEF\\f.txt", "g");
  TStringList files;
  files.Add(lookalike);
  TFileHeaders headers;
  EXPECT_EQ(ErrorOf([&] { headers.AddFiles(files, false); }),
            "The file " + lookalike +
                " cannot be stored in the archive: its path has the form of the names the archive gives to long paths");
  // Another source whose name equals the new one's (a hash collision) is named with it.
  auto other = std::make_unique<TFileHeader>();
  other->SetFileName(MemberNameOf(path));
  other->SourcePath = "C:\\elsewhere\\f.txt";
  headers.Add(std::move(other));
  files.Clear();
  files.Add(path);
  EXPECT_EQ(ErrorOf([&] { headers.AddFiles(files, true); }),
            "The files C:\\elsewhere\\f.txt and " + path +
                " cannot both be stored in the archive: both would be named " + MemberNameOf(path));
  // The same path twice is the same file.
  headers.FileHeaders(0).SourcePath = UpperCase(path);
  EXPECT_NO_THROW(headers.AddFiles(files, true));
}

TEST_F(ArchiveTest, AFileNameOf255CharactersIsExtracted) {
  std::string name = std::string(251, 'n') + ".txt";
  std::string a = Source(name, "long name");
  AddFiles({a});
  FZip.ExtractName = name;
  ExtractFiles({a});
  EXPECT_EQ(ReadMachineFile(FOut + "\\" + name), "long name");
  EXPECT_EQ(OutNames(), std::vector<std::string>{name});
  // One character more than the file system allows: the message says so, nothing is left.
  FZip.ExtractName = name + "x";
  std::string msg = ErrorOf([&] { ExtractFiles({a}); });
  EXPECT_EQ(msg.rfind("Cannot create the file " + FOut + "\\" + name + "x (", 0), 0u) << msg;
  EXPECT_NE(msg.find("File name too long"), std::string::npos) << msg;
  EXPECT_EQ(OutNames(), std::vector<std::string>{name});
}

TEST_F(ArchiveTest, AKilledRunsPartialFileGoesWithTheNextExtractionIntoItsDirectory) {
  std::string a = Source("a.txt", "a");
  AddFiles({a});
  ForceDirectories(FOut);
  const std::vector<std::string> ours = {"~qnl0000DEAD0001.qnlpart", "~QNL0000BEEF0002.QNLPART"};
  // A file of ours that another extraction holds, and files that only look like ours.
  const std::vector<std::string> kept = {"a.txt.qnlpart", "notes.qnlpart", "~qnl00000DEAD0001.qnlpart",
                                         "~qnl0000CAFE0003.qnlpart", "~qnl0000DEAD000G.qnlpart"};
  for (auto& names : {ours, kept})
    for (auto& name : names) WriteMachineFile(FOut + "\\" + name, "left over");
  TLockHolder held(UnixOf(FOut + "\\~qnl0000CAFE0003.qnlpart"));
  ExtractFiles({a});
  for (auto& name : ours) EXPECT_FALSE(FileExists(FOut + "\\" + name)) << name;
  for (auto& name : kept) EXPECT_TRUE(FileExists(FOut + "\\" + name)) << name;
  EXPECT_EQ(OutNames().size(), kept.size() + 1);
}

TEST_F(ArchiveTest, AppendsSeeMembersAnotherComponentAddedMeanwhile) {
  std::string a = Source("a.txt", "aaa"), b = Source("b.txt", "bbbb"), c = Source("c.txt", "cc");
  AddFiles({a}, lzcOnlyAdd, 1);
  TQnlfCompress other(nullptr);
  other.SetCompressedFile(FArchive);
  TStringList list;
  list.Add(b);
  other.SetFilesToProcess(list);
  other.Add(lzcOnlyAdd, 2);
  AddFiles({c}, lzcOnlyAdd, 3); // this component's own table of a alone is out of date now
  EXPECT_EQ(PythonRead(FArchive), "0|1|" + a + "|3|1|0|0|\n1|1|" + b + "|4|2|0|0|\n2|1|" + c + "|2|3|0|0|\n");
}

TEST_F(ArchiveTest, AnAppendGoesToTheFileNowAtTheArchivesNameNotTheOneTheLastAddWrote) {
  // The same bytes under the name, as a new file: the last Add's file is gone from the name.
  std::string a = Source("a.txt", "aaa"), b = Source("b.txt", "bbbb");
  AddFiles({a}, lzcOnlyAdd, 1);
  CopyFile(FArchive, FArchive + ".copy", TExisting::exReplace);
  MoveFile(FArchive + ".copy", FArchive, TExisting::exReplace);
  AddFiles({b}, lzcOnlyAdd, 2);
  EXPECT_EQ(PythonRead(FArchive), "0|1|" + a + "|3|1|0|0|\n1|1|" + b + "|4|2|0|0|\n");
}

TEST_F(ArchiveTest, AnAppendCountsTheTotalsOfTheWholeTable) {
  // The table this component wrote last is not added up again: the totals must still be the
  // file's own, as a component that reads the table anew finds them.
  AddFiles({Source("a.txt", std::string(3000, 'a'))}, lzcOnlyAdd, 1);
  AddFiles({Source("b.txt", "bbbb and more bytes than it takes to say so")}, lzcOnlyAdd, 2);
  TQnlfCompress reader(nullptr);
  reader.SetCompressedFile(FArchive);
  TlzhFileStats before = reader.GetFileStats(0);
  TlzhFileStats seen;
  FZip.OnBeforeAdding = [&](TQnlfCompress*, const TlzhFileStats& S) { seen = S; };
  AddFiles({Source("c.txt", "cc")}, lzcOnlyAdd, 3);
  EXPECT_EQ(seen.TotalSize, before.TotalSize + 2);
  EXPECT_EQ(seen.TotalRatio, PercentByte(before.TotalCompressed, before.TotalSize + 2));
}

TEST_F(ArchiveTest, EachAddNumbersFromOneAndAppends) {
  std::string a = Source("a.txt", "aaa"), b = Source("b.txt", "bbbb"), c = Source("c.txt", "cc");
  AddFiles({a, b}, lzcOnlyAdd, 1); // a missing archive is made new
  AddFiles({c}, lzcOnlyAdd, 2);
  std::string lines = PythonRead(FArchive);
  EXPECT_EQ(lines, "0|1|" + a + "|3|1|0|0|\n1|2|" + b + "|4|1|0|0|\n2|1|" + c + "|2|2|0|0|\n");
  EXPECT_EQ(FZip.IndexOfUniqueID(2), 2);
  EXPECT_EQ(FZip.IndexOfUniqueID(1), 1);
  EXPECT_EQ(FZip.IndexOfUniqueID(500), 0);
  EXPECT_EQ(FZip.IndexOfUniqueID(2000), 0);
  AddFiles({c}, lzcOverwrite, 3);
  EXPECT_EQ(FZip.GetFileCount(), 1);
}

TEST_F(ArchiveTest, ArchiveAtAnOffsetReadsLikeTheStandaloneFile) {
  std::string a = Source("a.txt", SampleBytes(5000, 4));
  AddFiles({a});
  std::string exe = FDir + "\\setup.exe";
  WriteMachineFile(exe, std::string(4321, 'M') + ReadMachineFile(FArchive));
  FZip.SetCompressedFile(exe);
  FZip.SetOffset(4321);
  EXPECT_EQ(FZip.GetFileCount(), 1);
  ExtractFiles({a});
  EXPECT_EQ(ReadMachineFile(FOut + "\\a.txt"), SampleBytes(5000, 4));
  EXPECT_NE(PythonRead(exe, 4321).find("|" + a + "|5000|"), std::string::npos);
}

TEST_F(ArchiveTest, MissingMemberIsReportedBeforeWriting) {
  std::string a = Source("a.txt", "a");
  AddFiles({a});
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({"C:\\nope.txt"}); }),
            "The file <C:\\nope.txt> was not found in the archive <" + FArchive + ">");
  EXPECT_FALSE(DirectoryExists(FOut));
  EXPECT_EQ(ErrorOf([&] { FZip.GetFileStats(5); }), "Tried to access the 5th file. This file is not defined");
}

TEST_F(ArchiveTest, OverwriteNeverSkipsWithOneFinishedStatus) {
  std::string a = Source("a.txt", "new");
  AddFiles({a});
  ForceDirectories(FOut);
  WriteMachineFile(FOut + "\\a.txt", "old");
  FZip.SetOverwrite(owNever);
  std::vector<bool> finished;
  FZip.OnStatus = [&](TQnlfCompress*, const TlzhFileStats& S) { finished.push_back(S.Finished); };
  ExtractFiles({a});
  EXPECT_EQ(finished, std::vector<bool>{true});
  EXPECT_EQ(ReadMachineFile(FOut + "\\a.txt"), "old");
}

TEST_F(ArchiveTest, ReplaceHandlerMayRedirectTheTarget) {
  std::string a = Source("a.txt", "new");
  AddFiles({a});
  ForceDirectories(FOut);
  WriteMachineFile(FOut + "\\a.txt", "old");
  FZip.OnReplace = [&](TQnlfCompress* Z, const TlzhFileStats&) { Z->ExtractName = "moved.txt"; };
  ExtractFiles({a});
  EXPECT_EQ(ReadMachineFile(FOut + "\\a.txt"), "old");
  EXPECT_EQ(ReadMachineFile(FOut + "\\moved.txt"), "new");
  EXPECT_EQ(FZip.ExtractName, "");
}

TEST_F(ArchiveTest, AbortFromStatusStopsAddAndExtract) {
  std::string a = Source("a.txt", SampleBytes(3000, 5)), b = Source("b.txt", NoiseBytes(300000, 6));
  int aborted = 0;
  FZip.OnAborted = [&](TObject*) { ++aborted; };
  FZip.OnStatus = [&](TQnlfCompress* Z, const TlzhFileStats&) { Z->SetAbort(true); };
  AddFiles({a, b});
  EXPECT_EQ(aborted, 1);
  EXPECT_EQ(FZip.FilesToProcess().Count(), 0);

  FZip.OnStatus = nullptr;
  AddFiles({a, b});
  // A file of the same name in place stays as it was: the stopped member is never put there.
  ForceDirectories(FOut);
  WriteMachineFile(FOut + "\\b.txt", "older");
  SetFileDateTime(FOut + "\\b.txt", 30000.5);
  FZip.OnStatus = [&](TQnlfCompress* Z, const TlzhFileStats&) { Z->SetAbort(true); };
  ExtractFiles({b});
  EXPECT_EQ(aborted, 2);
  EXPECT_EQ(ReadMachineFile(FOut + "\\b.txt"), "older");
  EXPECT_EQ(OutNames(), std::vector<std::string>{"b.txt"});
  FZip.OnStatus = nullptr;
  ExtractFiles({b});
  EXPECT_EQ(ReadMachineFile(FOut + "\\b.txt").size(), 300000u);
}

TEST_F(ArchiveTest, AbortStopsCopyFileSilently) {
  std::string a = Source("a.bin", NoiseBytes(50000, 7));
  int aborted = 0;
  FZip.OnAborted = [&](TObject*) { ++aborted; };
  FZip.OnStatus = [&](TQnlfCompress* Z, const TlzhFileStats&) { Z->SetAbort(true); };
  FZip.CopyFile(a, FDir + "\\copy.bin");
  EXPECT_EQ(aborted, 0);
  EXPECT_EQ(ReadMachineFile(FDir + "\\copy.bin").size(), 8192u);
}

TEST_F(ArchiveTest, CopyFileCopiesBytesAndDate) {
  std::string a = Source("a.bin", NoiseBytes(20000, 8));
  SetFileDateTime(a, 41000.5);
  std::vector<int> done;
  FZip.OnStatus = [&](TQnlfCompress*, const TlzhFileStats& S) { done.push_back(S.BytesDone); };
  FZip.CopyFile(a, FDir + "\\copy.bin");
  EXPECT_EQ(ReadMachineFile(FDir + "\\copy.bin"), NoiseBytes(20000, 8));
  EXPECT_DOUBLE_EQ(FileDateTime(FDir + "\\copy.bin"), 41000.5);
  EXPECT_EQ(done, (std::vector<int>{8192, 16384, 20000, 20000}));
  FZip.SetOverwrite(owNever);
  WriteMachineFile(FDir + "\\keep.bin", "keep");
  FZip.CopyFile(a, FDir + "\\keep.bin");
  EXPECT_EQ(ReadMachineFile(FDir + "\\keep.bin"), "keep");
}

TEST_F(ArchiveTest, MemberNamesCannotLeaveTheExtractDirectory) {
  std::string a = Source("a.txt", "payload");
  AddFiles({a});
  // Forge the stored name in place: a member called "..\..\evil.txt", then "..".
  std::string bytes = ReadMachineFile(FArchive);
  auto rename = [&](const std::string& Name) {
    bytes[5 + 20] = char(Name.size());
    bytes.replace(5 + 21, Name.size(), Name);
    WriteMachineFile(FArchive, bytes);
    FZip.SetCompressedFile(FDir + "\\x.zz");
    FZip.SetCompressedFile(FArchive);
  };
  rename("..\\..\\evil.txt");
  ExtractFiles({"..\\..\\evil.txt"});
  EXPECT_EQ(ReadMachineFile(FOut + "\\evil.txt"), "payload");
  EXPECT_FALSE(FileExists(FDir + "\\evil.txt"));
  rename("..");
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({".."}); }), "Cannot create the file " + FOut + "\\..");
}

TEST_F(ArchiveTest, DamagedArchivesGiveErrors) {
  std::string a = Source("a.txt", SampleBytes(100000, 9));
  AddFiles({a});
  std::string good = ReadMachineFile(FArchive);
  const TFileHeaderRecord h = FZip.FileHeaders().FileHeaders(0);

  // The message names the member, the archive and what zlib found wrong.
  std::string corrupt = good;
  corrupt[h.LastByte()] ^= 0x5A; // the Adler-32 check
  WriteMachineFile(FArchive, corrupt);
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({a}); }), "The compressed data of the file " + a + " in the archive " +
                                                     FArchive + " is damaged: incorrect data check");
  EXPECT_TRUE(FZip.Abort());
  for (int i = h.DataStart() + 10; i < h.DataStart() + 60; ++i) corrupt[i] ^= 0x5A;
  WriteMachineFile(FArchive, corrupt);
  EXPECT_NE(ErrorOf([&] { ExtractFiles({a}); }).find("The compressed data of the file " + a), std::string::npos);
  EXPECT_TRUE(OutNames().empty());

  ReplaceArchive(good.substr(0, good.size() - 500));
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({a}); }), "The compressed data of the file " + a + " is incomplete");

  std::string wrongSize = good;
  wrongSize[5 + 128] ^= 1;
  ReplaceArchive(wrongSize);
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({a}); }),
            "The decompressed file's size does not match with the actual size of the file.  The file is " + a);

  ReplaceArchive(good.substr(0, 100));
  EXPECT_EQ(ErrorOf([&] { FZip.OpenArchive(); }),
            "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
  FZip.SetCompressedFile(FDir + "\\missing.1");
  EXPECT_EQ(ErrorOf([&] { FZip.OpenArchive(); }), "Cannot open the compressed file " + FDir + "\\missing.1");
}

TEST_F(ArchiveTest, AMemberDateOutsideTheCalendarIsDamage) {
  std::string a = Source("a.txt", "dated");
  AddFiles({a});
  const std::string good = ReadMachineFile(FArchive);
  for (double date : {std::nan(""), 1e300, -700000.0}) {
    std::string bytes = good;
    TFileHeaderRecord forged;
    forged.SetFileDate(date);
    bytes.replace(5 + 4, 8, reinterpret_cast<const char*>(&forged.Bytes[4]), 8);
    ReplaceArchive(bytes);
    EXPECT_EQ(ErrorOf([&] { ExtractFiles({a}); }),
              "The date of the file " + a + " in the archive " + FArchive + " is damaged")
        << date;
    EXPECT_TRUE(OutNames().empty()) << date;
  }
}

TEST_F(ArchiveTest, MemberSpansThreeDisksAndAsksOnlyForMissingOnes) {
  std::string a = Source("noise.bin", NoiseBytes(25000, 10));
  AddFiles({a});
  std::string disks = SmallDisks();
  std::vector<int> asked;
  FZip.OnNewDisk = [&](TQnlfCompress*, int N, std::string& Path) {
    asked.push_back(N);
    EXPECT_EQ(Path, disks);
  };
  FZip.SpanToDisks(disks, "files.1");
  EXPECT_EQ(asked, (std::vector<int>{2, 3}));
  EXPECT_EQ(ReadMachineFile(disks + "\\files.1").size(), 10000u);
  EXPECT_EQ(ReadMachineFile(disks + "\\files.2").size(), 10000u);
  std::string lines = PythonRead(disks + "\\files.1");
  EXPECT_EQ(lines, "0|1|" + a + "|25000|7|1|3|\n");
  EXPECT_EQ(ReadMachineFile(FPyOut + "\\0.out"), NoiseBytes(25000, 10));

  // Disk 3 moves elsewhere: only it is asked for.
  std::string other = FDir + "\\elsewhere";
  ForceDirectories(other);
  MoveFile(disks + "\\files.3", other + "\\files.3", TExisting::exFail);
  asked.clear();
  FZip.OnNewDisk = [&](TQnlfCompress*, int N, std::string& Path) {
    asked.push_back(N);
    Path = other;
  };
  FZip.SetCompressedFile(disks + "\\files.1");
  ExtractFiles({a});
  EXPECT_EQ(asked, std::vector<int>{3});
  EXPECT_EQ(ReadMachineFile(FOut + "\\noise.bin"), NoiseBytes(25000, 10));
  EXPECT_EQ(FZip.CurrentDisk(), 3);

  FZip.OnNewDisk = nullptr;
  FZip.SetCompressedFile(disks + "\\files.1");
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({a}); }), "Could not open the correct disk file 3");
}

TEST_F(ArchiveTest, AHandlerThatDeclinesTheDiskStopsTheExtractionAsAnAbort) {
  std::string a = Source("noise.bin", NoiseBytes(25000, 10));
  AddFiles({a});
  std::string disks = SmallDisks();
  FZip.OnNewDisk = [](TQnlfCompress*, int, std::string&) {};
  FZip.SpanToDisks(disks, "files.1");
  DeleteFile(disks + "\\files.2");
  std::vector<int> asked;
  FZip.OnNewDisk = [&](TQnlfCompress* Self, int N, std::string&) {
    asked.push_back(N);
    Self->SetAbort(true);
  };
  int aborted = 0;
  FZip.OnAborted = [&](TObject*) { ++aborted; };
  FZip.SetCompressedFile(disks + "\\files.1");
  ExtractFiles({a});
  // Asked once, not again; nothing is left under the member's name nor beside it.
  EXPECT_EQ(asked, std::vector<int>{2});
  EXPECT_EQ(aborted, 1);
  EXPECT_TRUE(FZip.Abort());
  EXPECT_TRUE(OutNames().empty());
}

TEST_F(ArchiveTest, MemberMayStartExactlyAtADisksEnd) {
  std::string a = Source("a.bin", NoiseBytes(9000, 11)), b = Source("b.bin", NoiseBytes(5000, 12));
  AddFiles({a, b});
  const TFileHeader& h = FZip.FileHeaders().FileHeaders(0);
  int64_t firstData = h.LastByte() - h.DataStart() + 1;
  std::string disks = FDir + "\\disks";
  ForceDirectories(disks);
  FZip.DiskDir = disks;
  FZip.DiskCapacity = 5 + 2 * 172 + firstData;
  FZip.OnNewDisk = [](TQnlfCompress*, int, std::string&) {};
  FZip.SpanToDisks(disks, "files.1");
  FZip.SetCompressedFile(disks + "\\files.1");
  const TFileHeader& second = FZip.FileHeaders().FileHeaders(1);
  EXPECT_EQ(second.FirstDisk(), 1);
  EXPECT_EQ(second.DataStart(), FZip.DiskCapacity);
  EXPECT_EQ(second.LastDisk(), 2);
  EXPECT_NE(PythonRead(disks + "\\files.1").find("|" + b + "|5000|7|1|2|"), std::string::npos);
  ExtractFiles({a, b});
  EXPECT_EQ(ReadMachineFile(FOut + "\\b.bin"), NoiseBytes(5000, 12));
}

TEST_F(ArchiveTest, SpanningWithoutNewDiskHandlerFails) {
  std::string a = Source("a.bin", NoiseBytes(30000, 13));
  AddFiles({a});
  std::string disks = SmallDisks();
  EXPECT_EQ(ErrorOf([&] { FZip.SpanToDisks(disks, "files.1"); }),
            "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
  EXPECT_TRUE(FZip.Abort());
}

TEST_F(ArchiveTest, FullDiskWhileExtractingCallsTheHandler) {
  std::string a = Source("a.txt", SampleBytes(10000, 14));
  AddFiles({a});
  FZip.DiskDir = FOut;
  FZip.DiskCapacity = 5000;
  ForceDirectories(FOut);
  EXPECT_EQ(ErrorOf([&] { ExtractFiles({a}); }), "The disk is full");
  int full = 0;
  FZip.OnFullDisk = [&](TObject*) { ++full; };
  EXPECT_NE(ErrorOf([&] { ExtractFiles({a}); }).find("does not match"), std::string::npos);
  EXPECT_GE(full, 1);
}

TEST(SharedArchive, OneInstanceServesTheProgram) {
  EXPECT_EQ(&QnlfCompress(), &QnlfCompress());
  EXPECT_EQ(QnlfCompress().CompressionLevel(), colMax);
  EXPECT_EQ(QnlfCompress().Overwrite(), owAlways);
  const TClassInfo& ci = TQnlfCompress::StaticClassInfo();
  for (const char* p : {"Abort", "CompressedFile", "CompressionLevel", "ExtractDirectory", "FilesToProcess", "Offset",
                        "Overwrite", "OnAborted", "OnAfterAdding", "OnBeforeAdding", "OnAfterExtracting",
                        "OnBeforeExtracting", "OnFullDisk", "OnListing", "OnNewDisk", "OnReplace", "OnStatus"})
    EXPECT_NE(ci.FindProp(p), nullptr) << p;
}

TEST(SharedArchive, FilesToProcessDropsBlankEntries) {
  TQnlfCompress z(nullptr);
  TStringList l;
  l.Add("a");
  l.Add("  ");
  l.Add("b");
  z.SetFilesToProcess(l);
  EXPECT_EQ(z.FilesToProcess().Count(), 2);
}

TEST_F(ArchiveTest, MembersDeflatedAheadAreByteForByteWhatOneThreadWrites) {
  // Sizes around the read chunk, at and around multiples of a deflate chunk, and above what is
  // deflated whole (those go in chunks over the workers); one file is rewritten after it was
  // announced (same size and date), so only its change time tells.
  const std::vector<size_t> sizes = {0,  1,     5000,       65536,        200000, 300, 5u << 20, (3u << 20) + 5,
                                     12, 90000, (2u << 20), (512u << 10), 70000};
  std::vector<std::string> sources;
  for (size_t i = 0; i < sizes.size(); ++i)
    sources.push_back(Source("f" + std::to_string(i) + ".bin",
                             i == 4 ? NoiseBytes(sizes[i], 9) : SampleBytes(sizes[i], unsigned(i))));
  const TDateTime date = EncodeDate(2020, 2, 2);
  struct TRun {
    std::string Archive, Statuses;
  };
  auto build = [&](const char* Threads) {
    setenv("QUENLOFT_THREADS", Threads, 1);
    for (const std::string& source : sources) SetFileDateTime(source, date);
    WriteMachineFile(sources[7], SampleBytes(sizes[7], 7));
    SetFileDateTime(sources[7], date);
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile(FArchive);
    TRun run;
    zip.OnStatus = [&](TQnlfCompress*, const TlzhFileStats& S) {
      run.Statuses += std::to_string(S.BytesDone) + "/" + std::to_string(S.TotalBytesDone) + "/" +
                      std::to_string(S.CompressedSize) + " ";
    };
    zip.ExpectSources(sources);
    for (size_t i = 0; i < sources.size(); ++i) {
      if (i == 5) { // between two additions, as a project's event may
        WriteMachineFile(sources[7], SampleBytes(sizes[7], 70));
        SetFileDateTime(sources[7], date);
      }
      TStringList list;
      list.Add(sources[i]);
      zip.SetFilesToProcess(list);
      zip.Add(i == 0 ? lzcOverwrite : lzcOnlyAdd, int32_t(i + 1));
    }
    zip.ForgetExpectedSources();
    run.Archive = ReadMachineFile(FArchive);
    return run;
  };
  TRun alone = build("1"), ahead = build("3");
  unsetenv("QUENLOFT_THREADS");
  EXPECT_TRUE(alone.Archive == ahead.Archive) << "the archives differ";
  EXPECT_EQ(alone.Statuses, ahead.Statuses);
  ASSERT_EQ(PythonRead(FArchive).substr(0, 2), "0|");
  EXPECT_TRUE(ReadMachineFile(FPyOut + "\\7.out") == SampleBytes(sizes[7], 70))
      << "the rewritten file's old bytes were stored";
  for (size_t i : {4, 6, 10, 11})
    EXPECT_TRUE(ReadMachineFile(FPyOut + "\\" + std::to_string(i) + ".out") == ReadMachineFile(sources[i])) << i;
}

TEST_F(ArchiveTest, MembersWrittenAheadExtractAsOneThreadDoes) {
  // Sizes around the block, the read chunk and the write size ahead; one member is damaged, one
  // rewritten over an older file, one kept, one not asked for, one sent elsewhere than the hint
  // said, one into a directory that cannot be made.
  const std::vector<size_t> sizes = {3,     0,  1,     4096,  40000, 65536, 200000, 5u << 20,
                                     70000, 12, 90000, 36000, 8193,  50000, 300,    262145};
  enum { kRewritten = 4, kKept = 5, kDamaged = 8, kNotAsked = 10, kElsewhere = 12, kBlocked = 14 };
  TStringList list;
  for (size_t i = 0; i < sizes.size(); ++i)
    list.Add(Source("f" + std::to_string(i) + ".bin",
                    i == 6 ? NoiseBytes(sizes[i], 6) : SampleBytes(sizes[i], unsigned(i))));
  FZip.SetFilesToProcess(list);
  FZip.Add(lzcOverwrite, 1);
  std::string archive = ReadMachineFile(FArchive);
  const TFileHeaderRecord damaged = FZip.FileHeaders().FileHeaders(kDamaged);
  for (int i = damaged.DataStart() + 3000; i < damaged.DataStart() + 3040; ++i) archive[i] ^= 0x5A;
  WriteMachineFile(FArchive, archive);

  struct TRun {
    std::string Events, Tree;
    std::vector<std::string> Files;
    int Ahead = 0;
  };
  auto extract = [&](const char* Threads) {
    setenv("QUENLOFT_THREADS", Threads, 1);
    std::string out = FDir + "\\out" + Threads, blocked = out + "\\blocker\\sub";
    ForceDirectories(out);
    WriteMachineFile(out + "\\blocker", "a file where a directory should be");
    for (int i : {int(kRewritten), int(kKept)}) {
      WriteMachineFile(out + "\\f" + std::to_string(i) + ".bin", "older");
      SetFileDateTime(out + "\\f" + std::to_string(i) + ".bin", 30000.5);
    }
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile(FArchive);
    std::vector<std::pair<std::string, std::string>> dirs;
    for (int i = 0; i < list.Count(); ++i)
      dirs.emplace_back(list[i], i == kElsewhere ? out + "\\hinted\\deeper" : i == kBlocked ? blocked : out);
    zip.ExpectDestinations(FArchive, dirs);
    TRun run;
    zip.OnStatus = [&](TQnlfCompress*, const TlzhFileStats& S) {
      run.Events += std::to_string(S.BytesDone) + "/" + std::to_string(S.TotalBytesDone) + "/" +
                    std::to_string(S.FilePercentDone) + (S.Finished ? "F " : " ");
    };
    for (int i = 0; i < list.Count(); ++i) {
      if (i == kNotAsked) continue;
      zip.SetOverwrite(i == kKept ? owNever : owAlways);
      zip.SetExtractDirectory(i == kBlocked ? blocked : out);
      TStringList one;
      one.Add(list[i]);
      zip.SetFilesToProcess(one);
      run.Events += StringReplaceAll(ErrorOf([&] { zip.Extract(); }), out, "<out>") + "\n";
      std::string path = out + "\\f" + std::to_string(i) + ".bin";
      run.Files.push_back(FileExists(path) ? ReadMachineFile(path) + FloatToStr(FileDateTime(path)) : "missing");
    }
    run.Ahead = zip.InflatedAhead();
    zip.ForgetReadAhead();
    run.Tree = MachineTree(out); // no partial file, no directory made for nothing
    return run;
  };
  TRun alone = extract("1"), ahead = extract("3");
  unsetenv("QUENLOFT_THREADS");
  EXPECT_EQ(alone.Ahead, 0);
  EXPECT_GE(ahead.Ahead, 8) << "too few members were written ahead for the comparison to tell";
  EXPECT_EQ(alone.Events, ahead.Events);
  EXPECT_TRUE(alone.Files == ahead.Files) << "the extracted files differ";
  EXPECT_EQ(alone.Tree, ahead.Tree);
  EXPECT_NE(alone.Events.find("is damaged"), std::string::npos);
  EXPECT_NE(alone.Events.find("Cannot create the file <out>\\blocker\\sub\\f14.bin"), std::string::npos);
  EXPECT_EQ(ahead.Files[kKept].substr(0, 5), "older");
  EXPECT_EQ(ahead.Files[kRewritten].substr(0, sizes[kRewritten]), SampleBytes(sizes[kRewritten], kRewritten));
}

TEST_F(ArchiveTest, AnAbortLeavesNothingWrittenAhead) {
  TStringList list;
  for (int i = 0; i < 12; ++i) list.Add(Source("f" + std::to_string(i) + ".bin", SampleBytes(70000, unsigned(i))));
  FZip.SetFilesToProcess(list);
  FZip.Add(lzcOverwrite, 1);
  setenv("QUENLOFT_THREADS", "3", 1);
  // The first members go into the extraction directory, the others into one not made yet.
  std::vector<std::pair<std::string, std::string>> dirs;
  for (int i = 0; i < list.Count(); ++i) dirs.emplace_back(list[i], i < 3 ? FOut : FOut + "\\later\\deeper");
  FZip.ExpectDestinations(FArchive, dirs);
  ForceDirectories(FOut);
  for (int i = 0; i < 3; ++i) {
    FZip.OnStatus = [&](TQnlfCompress* Z, const TlzhFileStats& S) {
      if (i == 2 && S.BytesDone > 30000) Z->SetAbort(true);
    };
    ExtractFiles({list[i]});
  }
  unsetenv("QUENLOFT_THREADS");
  EXPECT_TRUE(FZip.Abort());
  EXPECT_GE(FZip.InflatedAhead(), 1);
  EXPECT_EQ(MachineTree(FOut), "f0.bin\nf1.bin\n");
}
