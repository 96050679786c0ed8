// Listing and unpacking an archive's members without installing.
#include <gtest/gtest.h>

#include "ArchiveTestFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/MemberListing.h"
#include "archive/TQnlfCompress.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/Files.h"
#include "rtl/SysUtils.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class MemberListing : public ::testing::Test {
protected:
  void SetUp() override {
    FDir = FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    FArchive = FDir + "\\files.1";
  }
  // An archive of one file per entry of Bytes, named 0.txt, 1.txt... in the folder src.
  void MakeArchive(const std::vector<std::string>& Bytes) {
    TQnlfCompress zip(nullptr);
    zip.SetCompressedFile(FArchive);
    for (size_t i = 0; i < Bytes.size(); ++i) {
      std::string path = FDir + "\\src\\" + std::to_string(i) + ".txt";
      ForceDirectories(ExtractFileDir(path));
      WriteMachineFile(path, Bytes[i]);
      zip.FilesToProcess().Add(path);
    }
    zip.Add(lzcOverwrite, 1);
  }
  // Gives the first member the name Name, as a forged archive would.
  void RenameFirstMember(const std::string& Name) {
    std::string bytes = ReadMachineFile(FArchive);
    const size_t at = 5 + 20; // the table's head, then the header's name field
    bytes.replace(at, 101, std::string(101, '\0'));
    bytes[at] = char(Name.size());
    bytes.replace(at + 1, Name.size(), Name);
    WriteMachineFile(FArchive, bytes);
  }
  // Every file below the test's directory (Unix paths), wherever it lies.
  std::vector<std::string> FilesBelow(const std::string& Dir) {
    std::vector<std::string> files;
    for (const TDirEntry& e : ListDirectory(Dir)) {
      if (e.Name == "." || e.Name == "..") continue;
      std::string path = Dir + "\\" + e.Name;
      if (DirectoryExists(path)) {
        for (const std::string& f : FilesBelow(path)) files.push_back(f);
      } else {
        files.push_back(path);
      }
    }
    return files;
  }
  std::string FDir, FArchive;
};

} // namespace

TEST_F(MemberListing, AgreesWithTheIndependentReader) {
  MakeArchive({SampleBytes(5000, 1), "", SampleBytes(123, 2)});
  std::vector<TListedMember> members = ReadArchiveMembers(FArchive);
  std::string output;
  ASSERT_EQ(RunCommand("/usr/bin/python3 '" + SourceDir() + "/archive_reader.py' '" + UnixOf(FArchive) + "' 0 '" +
                           UnixOf(FreshDir("listing-py")) + "'",
                       &output),
            0)
      << output;
  // Its lines: index|FileNumber|FileName|FileSize|UniqueID|FirstDisk|LastDisk|FileVersion
  std::string expected, got;
  for (const TListedMember& m : members) expected += m.Name + "|" + std::to_string(m.Size) + "|" + m.Version + "\n";
  TStringList lines;
  lines.SetText(output);
  for (int i = 0; i < lines.Count(); ++i) {
    std::vector<std::string> fields;
    for (size_t from = 0;;) {
      size_t bar = lines[i].find('|', from);
      fields.push_back(lines[i].substr(from, bar - from));
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
    if (fields.size() == 8) got += fields[2] + "|" + fields[3] + "|" + fields[7] + "\n";
  }
  EXPECT_EQ(got, expected);
  EXPECT_NE(MemberTable(members).find("5000"), std::string::npos);
  EXPECT_NE(MemberJson(members).find("\"size\": 123"), std::string::npos);
}

TEST_F(MemberListing, HostileNamesNeverLeadOutOfTheDirectory) {
  struct TRow {
    const char* Name;
    const char* Unpacked; // nullptr: refused
  } rows[] = {
      {"..\\..\\evil.txt", "evil.txt"},
      {"/tmp/evil.txt", "evil.txt"},
      {"C:\\Windows\\evil.txt", "evil.txt"},
      {"..", nullptr},
      {"src\\..", nullptr},
      {"C:evil.txt", nullptr},
      {"a/b\\", nullptr},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUp();
    MakeArchive({"hostile"});
    RenameFirstMember(row.Name);
    std::string out = FDir + "\\deep\\out";
    if (!row.Unpacked) {
      EXPECT_THROW(UnpackArchive(FArchive, 0, out), EQnlfCompress);
    } else {
      EXPECT_EQ(UnpackArchive(FArchive, 0, out), std::vector<std::string>{out + "\\" + row.Unpacked});
    }
    // Only the archive, its source and what went into out.
    for (const std::string& file : FilesBelow(FDir))
      EXPECT_TRUE(StartsText(out + "\\", file) || SameText(file, FArchive) || StartsText(FDir + "\\src\\", file))
          << file;
  }
}

TEST_F(MemberListing, MembersOfTheSameFileNameAreKeptApart) {
  MakeArchive({"one", "two"});
  RenameFirstMember("a\\1.txt");
  std::string out = FDir + "\\out";
  std::vector<std::string> written = UnpackArchive(FArchive, 0, out);
  EXPECT_EQ(written, (std::vector<std::string>{out + "\\1.txt", out + "\\1 (2).txt"}));
  EXPECT_EQ(ReadMachineFile(out + "\\1 (2).txt"), "two");
}
