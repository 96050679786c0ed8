// The batch interpreter's guard: a damaged or hostile line removes nothing beyond what it
// names, and its refusal is reported.
#include <cstdio>
#include <string>
#include <vector>

#include "BatchTree.h"
#include "platform/files/Files.h"
#include "platform/process/BatchFile.h"
#include "platform/process/MachineLogs.h"
#include "platform/process/Process.h"
#include "platform/registry/Registry.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

// No refused line may touch the files of kBatchTree.
class BatchGuard : public TPlatformTest {
protected:
  void SetUp() override {
    TPlatformTest::SetUp();
    for (const char* file : kBatchTree) WriteMachineFile(file, "x");
    TRegKey::Create(TRootKey::rkCurrentUser, "Environment").WriteString("TEMP", "C:\\my  temp");
  }
  void ExpectTreeKept(const std::string& Line) const {
    for (const char* file : kBatchTree) EXPECT_TRUE(FileExists(file)) << Line << " removed " << file;
  }
};

struct TRefusedLine {
  const char* Line;
  const char* Why; // found in the report
};

const TRefusedLine kRefused[] = {
    // A path with a run of blanks, unquoted, as the clean-up batch used to write it.
    {"DELTREE /Y C:\\my  temp\\QNL1", "Too many parameters"},
    {"DELTREE /Y C:\\", "Refused: C:\\ is the root of a drive"},
    {"DELTREE /Y C:\\WINDOWS\\SYSTEM32", "Refused: C:\\WINDOWS\\SYSTEM32 is or holds the folder C:\\windows\\system32"},
    {"DELTREE /Y \"C:\\Program Files\\App\"", "is not below the temporary directory C:\\my  temp"},
    {"DELTREE /Y \"C:\\my  temp\"", "is not below the temporary directory"},
    {"DELTREE /Y \"C:\\my  temp\\QNL1\\..\\..\\my\"", "Refused: C:\\my is not below the temporary directory"},
    {"DELTREE /Y C:\\*", "Refused: C:\\ is the root of a drive"},
    {"DELTREE /Y \"C:\\Program Files\\A*\"", "Refused: C:\\Program Files\\App is not below the temporary directory"},
    {"DELTREE /Y my", "Invalid path my: a full path (drive and folder) is needed"},
    {"DELTREE /Y \"C:\\my  temp\\QNL1\" C:\\my", "Too many parameters"},
    {"ERASE C:\\*.*", "Refused: C:\\ is the root of a drive"},
    {"DEL C:\\windows\\*", "Refused: C:\\windows is or holds the folder C:\\windows"},
    {"ERASE C:\\my", "Refused: C:\\my is a directory, and ERASE removes files only"},
    {"ERASE C:\\my\\keep.txt C:\\keep.txt", "Too many parameters"},
    {"ERASE \"C:\\my\\keep.txt\"x", "Invalid quotes"},
    {"ERASE \"C:\\my\\keep.txt", "Invalid quotes"},
    {"ERASE C:\\m*\\keep.txt", "wildcards are allowed in the file name only"},
    {"MOVE C:\\windows C:\\old", "Refused: C:\\windows is or holds the folder C:\\windows"},
    {"MOVE C:\\k* C:\\my", "Refused: C:\\ is the root of a drive"},
    {"MOVE C:\\my C:\\my\\*.txt", "a destination cannot hold wildcards"},
    {"MOVE \"C:\\my\\keep.txt\"", "Required parameter missing"},
};

TEST_F(BatchGuard, RefusedLinesRemoveNothingAndAreReported) {
  for (const TRefusedLine& row : kRefused) {
    std::remove(BatchLogPath().c_str());
    EXPECT_EQ(RunBatchText(row.Line), 1) << row.Line;
    ExpectTreeKept(row.Line);
    std::vector<std::string> log = ReadBatchLog();
    ASSERT_EQ(log.size(), 1u) << row.Line;
    EXPECT_NE(log[0].find(std::string(row.Line) + ": "), std::string::npos) << log[0];
    EXPECT_NE(log[0].find(row.Why), std::string::npos) << log[0];
  }
}

TEST_F(BatchGuard, ARefusalFailsTheBatchRunAndIsLoggedWithItsFile) {
  WriteMachineFile("C:\\clean.bat", "DELTREE /Y C:\\\r\nERASE C:\\keep.txt\r\n");
  EXPECT_EQ(RunAndWait("C:\\clean.bat"), 1);
  EXPECT_EQ(ReadBatchLog(),
            std::vector<std::string>{"C:\\clean.bat: DELTREE /Y C:\\: Refused: C:\\ is the root of a drive"});
  EXPECT_FALSE(FileExists("C:\\keep.txt")); // the next line still ran
  EXPECT_TRUE(FileExists("C:\\clean.bat"));
}

TEST_F(BatchGuard, AFileWithALineThatCannotBeReadRunsNoneOfItsLines) {
  // A restart batch of an earlier version, its new file's name with a blank, unquoted: the
  // erase alone would lose the old file with no new one put in its place.
  WriteMachineFile("C:\\my\\new one.1", "new");
  WriteMachineFile("C:\\restart.bat", "erase C:\\my\\keep.txt\r\nmove C:\\my\\new one.1 C:\\my\\keep.txt\r\n");
  EXPECT_EQ(RunAndWait("C:\\restart.bat"), 1);
  ExpectTreeKept("restart.bat");
  std::vector<std::string> log = ReadBatchLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("Too many parameters; no line of this batch file was run"), std::string::npos) << log[0];
}

} // namespace
} // namespace qnl::test
