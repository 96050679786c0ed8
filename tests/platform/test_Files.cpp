// Files on Windows paths: the file stream, dates, copy, move, delete, directories, the in-use rule.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <ctime>

#include "common/routines_API.h"
#include "platform/OSError.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "tests/support/LockHolder.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

class Files : public TPlatformTest {};

TEST_F(Files, StreamWritesAndReadsBack) {
  {
    TFileStream s("C:\\windows\\temp\\data.bin", fmCreate);
    s.WriteBuffer("hello world", 11);
    EXPECT_EQ(s.Size(), 11);
    s.SetPosition(6);
    s.WriteBuffer("WORLD", 5);
  }
  TFileStream r("c:\\WINDOWS\\TEMP\\DATA.BIN", fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(r.ReadString(11), "hello WORLD");
  EXPECT_EQ(r.Read(nullptr, 0), 0);
  char c;
  EXPECT_EQ(r.Read(&c, 1), 0);
  EXPECT_EQ(r.FileName(), "c:\\WINDOWS\\TEMP\\DATA.BIN");
}

TEST_F(Files, StreamCreateTruncatesAndSetSizeCuts) {
  WriteMachineFile("C:\\a.txt", "0123456789");
  {
    TFileStream s("C:\\a.txt", fmOpenReadWrite);
    s.SetSize(4);
    EXPECT_EQ(s.Size(), 4);
  }
  EXPECT_EQ(ReadMachineFile("C:\\a.txt"), "0123");
  { TFileStream s("C:\\a.txt", fmCreate); }
  EXPECT_EQ(FileSizeOf("C:\\a.txt"), 0);
}

TEST_F(Files, StreamErrorsNameTheFile) {
  try {
    TFileStream s("C:\\no\\such\\file.txt", fmOpenRead);
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find("C:\\no\\such\\file.txt"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(TFileStream("C:\\windows", fmOpenRead), EInOutError);
}

TEST_F(Files, FullDiskIsItsOwnError) {
  // /dev/full answers every write with ENOSPC.
  TFileStream s("Z:\\dev\\full", fmOpenWrite);
  char buf[16] = {};
  EXPECT_THROW(s.Write(buf, sizeof buf), EDiskFull);
}

TEST_F(Files, CopyOntoAFullDiskIsADiskFullError) {
  WriteMachineFile("C:\\big.bin", std::string(100000, 'b'));
  EXPECT_THROW(CopyFile("C:\\big.bin", "Z:\\dev\\full", TExisting::exReplace), EDiskFull);
  EXPECT_TRUE(FileExists("Z:\\dev\\full")); // a device is never removed as a partial copy
}

TEST_F(Files, ExclusiveStreamMakesTheFileInUseForOthers) {
  WriteMachineFile("C:\\locked.txt", "x");
  TFileStream held("C:\\locked.txt", fmOpenRead | fmShareExclusive);
  EXPECT_TRUE(FileInUse("C:\\locked.txt"));
  EXPECT_THROW(TFileStream("C:\\locked.txt", fmOpenRead | fmShareExclusive), EFileInUse);
}

TEST_F(Files, InUseRuleWithAnotherProcessHoldingFlock) {
  WriteMachineFile("C:\\windows\\system32\\shared.dll", "old");
  TLockHolder holder(Unix("C:\\windows\\system32\\shared.dll"), TLockHolder::lkFlock);
  EXPECT_TRUE(FileInUse("C:\\windows\\system32\\shared.dll"));
  try {
    DeleteFile("C:\\windows\\system32\\shared.dll");
    FAIL() << "deleted a file in use";
  } catch (const EFileInUse& e) {
    EXPECT_NE(e.Message().find("in use"), std::string::npos) << e.Message();
  }
  EXPECT_FALSE(TryDeleteFile("C:\\windows\\system32\\shared.dll"));
  EXPECT_THROW(TFileStream("C:\\windows\\system32\\shared.dll", fmCreate), EFileInUse);
  EXPECT_TRUE(FileExists("C:\\windows\\system32\\shared.dll"));
  holder.Release();
  EXPECT_FALSE(FileInUse("C:\\windows\\system32\\shared.dll"));
  EXPECT_TRUE(TryDeleteFile("C:\\windows\\system32\\shared.dll"));
  EXPECT_FALSE(FileExists("C:\\windows\\system32\\shared.dll"));
}

TEST_F(Files, InUseRuleWithAnotherProcessHoldingFcntlLock) {
  WriteMachineFile("C:\\busy.exe", "old");
  TLockHolder holder(Unix("C:\\busy.exe"), TLockHolder::lkFcntl);
  EXPECT_TRUE(IsFileInUse("C:\\busy.exe"));
  EXPECT_THROW(DeleteFile("C:\\busy.exe"), EFileInUse);
  EXPECT_THROW(MoveFile("C:\\busy.exe", "C:\\moved.exe", TExisting::exReplace), EFileInUse);
  holder.Release();
  DeleteFile("C:\\busy.exe");
  EXPECT_FALSE(FileExists("C:\\busy.exe"));
}

TEST_F(Files, DatesAreLocalTimeAndCanBeSet) {
  WriteMachineFile("C:\\dated.txt", "x");
  TDateTime when = EncodeDate(2001, 9, 8) + EncodeTime(13, 45, 30, 0);
  SetFileDate("C:\\dated.txt", when);
  EXPECT_NEAR(GetFileDate("C:\\dated.txt"), when, 1.0 / 86400 / 100);
  struct tm local {};
  local.tm_year = 101;
  local.tm_mon = 8;
  local.tm_mday = 8;
  local.tm_hour = 13;
  local.tm_min = 45;
  local.tm_sec = 30;
  local.tm_isdst = -1;
  time_t expected = mktime(&local);
  struct stat st;
  ASSERT_EQ(::stat(Unix("C:\\dated.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, expected);
  EXPECT_THROW(FileDateTime("C:\\missing.txt"), EInOutError);
}

// Dates near the changes to and from summer time land on the instant mktime gives them, and
// read back as they were set where the local time exists exactly once.
TEST_F(Files, DatesAroundSummerTimeChangesMatchMktime) {
  std::string oldTz = getenv("TZ") ? getenv("TZ") : "";
  bool hadTz = getenv("TZ") != nullptr;
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  struct TCase {
    int Month, Day, Hour, Minute;
    bool Unique; // the local time exists exactly once
  };
  const TCase cases[] = {
      {3, 29, 1, 59, true},   {3, 29, 2, 30, false}, {3, 29, 3, 0, true},   {3, 30, 2, 30, true}, {10, 25, 1, 59, true},
      {10, 25, 2, 30, false}, {10, 25, 3, 0, true},  {10, 24, 2, 30, true}, {7, 1, 12, 0, true},  {1, 15, 12, 0, true},
  };
  WriteMachineFile("C:\\summer.txt", "x");
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Month) + "-" + std::to_string(c.Day) + " " + std::to_string(c.Hour));
    TDateTime when = EncodeDate(2026, c.Month, c.Day) + EncodeTime(c.Hour, c.Minute, 10, 0);
    SetFileDateTime("C:\\summer.txt", when);
    struct tm local {};
    local.tm_year = 126;
    local.tm_mon = c.Month - 1;
    local.tm_mday = c.Day;
    local.tm_hour = c.Hour;
    local.tm_min = c.Minute;
    local.tm_sec = 10;
    local.tm_isdst = -1;
    struct stat st;
    ASSERT_EQ(::stat(Unix("C:\\summer.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, mktime(&local));
    if (c.Unique) EXPECT_NEAR(FileDateTime("C:\\summer.txt"), when, 1.0 / 86400 / 100);
  }
  if (hadTz)
    setenv("TZ", oldTz.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST_F(Files, FreshFileIsDatedNow) {
  WriteMachineFile("C:\\now.txt", "x");
  double now = kUnixDateDelta + (std::time(nullptr) + 0.0) / 86400.0; // UTC
  // Local time differs from UTC by the zone offset only (at most 14 hours).
  EXPECT_LT(std::fabs(FileDateTime("C:\\now.txt") - now), 14.5 / 24);
}

TEST_F(Files, CopyKeepsBytesAndDate) {
  WriteMachineFile("C:\\src.txt", std::string(300000, 'q'));
  SetFileDateTime("C:\\src.txt", EncodeDate(1999, 12, 31));
  CopyFile("C:\\src.txt", "C:\\windows\\dst.txt", TExisting::exFail);
  EXPECT_EQ(ReadMachineFile("C:\\windows\\dst.txt"), std::string(300000, 'q'));
  EXPECT_NEAR(FileDateTime("C:\\windows\\dst.txt"), EncodeDate(1999, 12, 31), 1e-6);
  EXPECT_THROW(CopyFile("C:\\src.txt", "C:\\windows\\dst.txt", TExisting::exFail), EInOutError);
  WriteMachineFile("C:\\src.txt", "new");
  CopyFile("C:\\src.txt", "C:\\windows\\dst.txt", TExisting::exReplace);
  EXPECT_EQ(ReadMachineFile("C:\\windows\\dst.txt"), "new");
}

TEST_F(Files, MoveRenamesAndHonoursExisting) {
  WriteMachineFile("C:\\one.txt", "1");
  WriteMachineFile("C:\\two.txt", "2");
  EXPECT_THROW(MoveFile("C:\\one.txt", "C:\\TWO.TXT", TExisting::exFail), EInOutError);
  MoveFile("C:\\one.txt", "C:\\two.txt", TExisting::exReplace);
  EXPECT_FALSE(FileExists("C:\\one.txt"));
  EXPECT_EQ(ReadMachineFile("C:\\two.txt"), "1");
  // A rename that only changes the case.
  MoveFile("C:\\two.txt", "C:\\Two.TXT", TExisting::exFail);
  EXPECT_EQ(ListDirectory("C:\\", "two.*").at(0).Name, "Two.TXT");
}

TEST_F(Files, OwnHostFileReplacesTheTargetUnderAnySpellingUnlessItIsHeld) {
  WriteMachineFile("C:\\data\\Target.TXT", "old");
  WriteMachineFile("C:\\data\\new.part", "new");
  ReplaceWithOwnHostFile(Unix("C:\\data\\new.part"), "C:\\data\\new.part", "C:\\data\\target.txt");
  std::vector<TDirEntry> left = ListDirectory("C:\\data");
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Name, "Target.TXT");
  EXPECT_EQ(ReadMachineFile("C:\\data\\TARGET.txt"), "new");
  WriteMachineFile("C:\\data\\next.part", "next");
  TLockHolder holder(Unix("C:\\data\\Target.TXT"), TLockHolder::lkFlock);
  EXPECT_THROW(ReplaceWithOwnHostFile(Unix("C:\\data\\next.part"), "C:\\data\\next.part", "C:\\data\\target.txt"),
               EFileInUse);
  EXPECT_EQ(ReadMachineFile("C:\\data\\Target.TXT"), "new");
}

TEST_F(Files, DirectoriesAreCreatedListedAndRemoved) {
  ForceDirectories("C:\\Program Files\\Quenloft\\Sub\\Deeper");
  ForceDirectories("c:\\program files\\QUENLOFT\\sub");
  EXPECT_TRUE(DirectoryExists("C:\\Program Files\\Quenloft\\Sub\\Deeper"));
  WriteMachineFile("C:\\Program Files\\Quenloft\\b.TXT", "bb");
  WriteMachineFile("C:\\Program Files\\Quenloft\\a.txt", "a");
  WriteMachineFile("C:\\Program Files\\Quenloft\\c.dat", "c");
  auto all = ListDirectory("C:\\Program Files\\Quenloft");
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].Name, "a.txt");
  EXPECT_EQ(all[1].Name, "b.TXT");
  EXPECT_EQ(all[1].Size, 2);
  EXPECT_EQ(all[3].Name, "Sub");
  EXPECT_TRUE(all[3].Directory);
  EXPECT_EQ(ListDirectory("C:\\Program Files\\Quenloft", "*.txt").size(), 2u);
  EXPECT_EQ(ListDirectory("C:\\Program Files\\Quenloft", "?.d*").size(), 1u);
  EXPECT_THROW(RemoveDir("C:\\Program Files\\Quenloft"), EInOutError);
  RemoveDir("C:\\Program Files\\Quenloft\\Sub\\Deeper");
  DeleteTree("C:\\Program Files\\Quenloft");
  EXPECT_FALSE(DirectoryExists("C:\\Program Files\\Quenloft"));
  EXPECT_TRUE(DirectoryExists("C:\\Program Files"));
  DeleteTree("C:\\Program Files\\Quenloft"); // missing is fine
}

TEST_F(Files, MaskMatchingFollowsDos) {
  EXPECT_TRUE(MatchesMask("README.TXT", "*.txt"));
  EXPECT_TRUE(MatchesMask("noext", "*.*"));
  EXPECT_TRUE(MatchesMask("abc.def", "a?c.*"));
  EXPECT_FALSE(MatchesMask("abcd.def", "a?c.*"));
  EXPECT_TRUE(MatchesMask("x.tar.gz", "*.gz"));
  EXPECT_FALSE(MatchesMask("x.gzz", "*.gz"));
}

TEST_F(Files, DeleteReportsMissingFilesAndDirectories) {
  EXPECT_THROW(DeleteFile("C:\\nothing.txt"), EInOutError);
  EXPECT_THROW(DeleteFile("C:\\windows"), EInOutError);
  EXPECT_TRUE(TryDeleteFile("C:\\nothing.txt"));
  EXPECT_FALSE(TryDeleteFile("C:\\windows"));
}

TEST_F(Files, FreeSpaceIsReported) {
  EXPECT_GT(DiskFree("C:\\"), 0);
  EXPECT_THROW(DiskFree("C:\\no\\such\\dir"), EInOutError);
}

} // namespace
} // namespace qnl::test
