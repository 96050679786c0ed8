// Names looked up ignoring case stay true to the directory, whoever changes it.
#include <filesystem>

#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

class DirectoryListings : public TPlatformTest {
protected:
  // C:\Dir holding Listed.txt, looked up once under another spelling so that its listing is
  // kept; its times are put in the past first, so that any later change moves them however
  // soon it comes.
  void SetUp() override {
    TPlatformTest::SetUp();
    MakeDir();
  }
  void MakeDir() {
    DeleteTree("C:\\Dir");
    DeleteTree("C:\\Old");
    ForceDirectories("C:\\Dir");
    TFileStream("C:\\Dir\\Listed.txt", fmCreate);
    FDirUnix = UnixPathOf("C:\\Dir");
    std::filesystem::last_write_time(FDirUnix, std::filesystem::last_write_time(FDirUnix) - std::chrono::hours(1));
    ASSERT_EQ(UnixPathOf("C:\\dir\\LISTED.TXT"), FDirUnix + "/Listed.txt");
  }

  std::string FDirUnix;
};

struct TWriterCase {
  const char* Label;
  const char* Command; // run by sh in the directory
  const char* Lookup;
  const char* Expected; // the name the look-up must give
};

TEST_F(DirectoryListings, AnotherProcessesChangesAreSeen) {
  const TWriterCase cases[] = {
      {"creates", "touch Added.TXT", "added.txt", "Added.TXT"},
      {"deletes", "rm Listed.txt", "LISTED.TXT", "LISTED.TXT"},
      {"renames", "mv Listed.txt LISTED.txt", "listed.TXT", "LISTED.txt"},
      {"replaces the directory", "cd .. && mv Dir Old && mkdir Dir && touch Dir/Fresh.txt", "FRESH.TXT", "Fresh.txt"},
  };
  for (const TWriterCase& c : cases) {
    SCOPED_TRACE(c.Label);
    MakeDir();
    std::string output;
    ASSERT_EQ(RunProgram({"/bin/sh", "-c", "cd \"$0\" && " + std::string(c.Command), FDirUnix}, output), 0);
    EXPECT_EQ(UnixPathOf(std::string("C:\\dir\\") + c.Lookup), FDirUnix + "/" + c.Expected);
  }
}

// Our own creations keep the listing without reading it again; a file another process makes
// right after one of them is still found under any spelling by the next look-up.
TEST_F(DirectoryListings, AnotherProcessesFileIsSeenAfterOurCreations) {
  TFileStream("C:\\Dir\\Mine.txt", fmCreate);
  EXPECT_EQ(UnixPathOf("C:\\DIR\\MINE.TXT"), FDirUnix + "/Mine.txt");
  std::string output;
  ASSERT_EQ(RunProgram({"/bin/sh", "-c", "touch \"$0/Theirs.TXT\"", FDirUnix}, output), 0);
  EXPECT_TRUE(FileExists("C:\\dir\\theirs.txt"));
  EXPECT_EQ(UnixPathOf("C:\\dir\\THEIRS.txt"), FDirUnix + "/Theirs.TXT");
  TFileStream("C:\\Dir\\Second.txt", fmCreate);
  EXPECT_EQ(UnixPathOf("C:\\DIR\\mine.TXT"), FDirUnix + "/Mine.txt");
}

TEST_F(DirectoryListings, ThisProcessesChangesAreSeen) {
  CopyFile("C:\\Dir\\Listed.txt", "C:\\Dir\\Copied.txt", TExisting::exFail);
  EXPECT_EQ(UnixPathOf("C:\\DIR\\COPIED.TXT"), FDirUnix + "/Copied.txt");
  MoveFile("C:\\Dir\\Copied.txt", "C:\\Dir\\Moved.txt", TExisting::exFail);
  EXPECT_EQ(UnixPathOf("C:\\DIR\\MOVED.TXT"), FDirUnix + "/Moved.txt");
  EXPECT_EQ(UnixPathOf("C:\\DIR\\COPIED.TXT"), FDirUnix + "/COPIED.TXT");
  DeleteFile("C:\\Dir\\Listed.txt");
  EXPECT_EQ(UnixPathOf("C:\\DIR\\LISTED.TXT"), FDirUnix + "/LISTED.TXT");
}

} // namespace
} // namespace qnl::test
