// The product directory: the search path and the first directory holding the marker file.
#include <cstdlib>

#include "common/routines_Strings.h"
#include "engine/ProductDirectory.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/system/SystemInfo.h"
#include "tests/paths/PathsTestSupport.h"

using namespace qnl;
using qnl::test::TMachineTest;

namespace {

void MakeFile(const std::string& Path) {
  ForceDirectories(ExtractFileDir(Path));
  TFileStream stream(Path, fmCreate);
}

// True when a searched directory holds the marker (a test program built or installed beside
// a product directory).
bool SomeSearchedDirectoryHasMarker() {
  std::vector<std::string> path = ProductSearchPath();
  for (const std::string& dir : path)
    if (FileExists(AddBackSlash(dir) + kProductMarkerFile)) return true;
  return false;
}

} // namespace

class ProductDirectory : public TMachineTest {
protected:
  void TearDown() override {
    unsetenv("QUENLOFT_PATH");
    TMachineTest::TearDown();
  }
  static void SetSearchVariable(const std::string& Value) { setenv("QUENLOFT_PATH", Value.c_str(), 1); }
};

TEST_F(ProductDirectory, TheVariableComesFirstThenTheProgramsDirectoryThenLibQuenloftBesideIt) {
  SetSearchVariable(UnixPathOf("C:\\one") + "::" + UnixPathOf("C:\\two") + ":");
  std::vector<std::string> path = ProductSearchPath("C:\\prefix\\bin\\setup");
  ASSERT_EQ(path.size(), 4u);
  EXPECT_EQ(path[0], "C:\\one");
  EXPECT_EQ(path[1], "C:\\two");
  EXPECT_EQ(path[2], "C:\\prefix\\bin");
  EXPECT_EQ(path[3], "C:\\prefix\\lib\\quenloft");
  EXPECT_EQ(ProductSearchPath()[2], ExtractFileDir(ModuleFileName()));
}

// No build path is compiled in: a build tree and an installed product are both found from
// where their programs are.
TEST_F(ProductDirectory, TheProductIsFoundBesideTheProgramOrInLibQuenloftBesideItsBin) {
  unsetenv("QUENLOFT_PATH");
  MakeFile("C:\\build\\bin\\Q32V40.TXT");
  MakeFile("C:\\build\\lib\\quenloft\\Q32V40.TXT");
  MakeFile("C:\\usr\\lib\\quenloft\\Q32V40.TXT");
  EXPECT_EQ(FindProductDirectoryIn(ProductSearchPath("C:\\build\\bin\\setup")), "C:\\build\\bin");
  EXPECT_EQ(FindProductDirectoryIn(ProductSearchPath("C:\\usr\\bin\\setup")), "C:\\usr\\lib\\quenloft");
  EXPECT_EQ(ProductSearchPath("C:\\setup")[1], "C:\\lib\\quenloft");
}

TEST_F(ProductDirectory, WithoutTheVariableTheProgramsAndTheBuildsDirectoriesAreSearched) {
  unsetenv("QUENLOFT_PATH");
  std::vector<std::string> path = ProductSearchPath();
  ASSERT_EQ(path.size(), 2u);
  EXPECT_EQ(path[0], ExtractFileDir(ModuleFileName()));
}

TEST_F(ProductDirectory, TheFirstDirectoryHoldingTheMarkerWins) {
  MakeFile("C:\\one\\QuenloftLoadProgram.exe"); // a loading program alone does not qualify
  MakeFile("C:\\two\\Q32V40.TXT");
  MakeFile("C:\\three\\Q32V40.TXT");
  SetSearchVariable(UnixPathOf("C:\\one") + ":" + UnixPathOf("C:\\two") + ":" + UnixPathOf("C:\\three"));
  EXPECT_EQ(FindProductDirectory(), "C:\\two");
  SetSearchVariable(UnixPathOf("C:\\three") + ":" + UnixPathOf("C:\\two"));
  EXPECT_EQ(FindProductDirectory(), "C:\\three");
}

TEST_F(ProductDirectory, ADirectoryOutsideTheDrivesIsGivenOnDriveZ) {
  std::string unixDir = FDir + "/product";
  SetSearchVariable(unixDir + "/");
  MakeFile(WindowsPathOf(unixDir) + "\\Q32V40.TXT");
  std::string found = FindProductDirectory();
  EXPECT_EQ(found.substr(0, 3), "Z:\\");
  EXPECT_NE(found.back(), '\\');
  EXPECT_EQ(UnixPathOf(found), unixDir);
}

TEST_F(ProductDirectory, NoMarkerOnAGivenPathFails) {
  MakeFile("C:\\empty\\QuenloftLoadProgram.exe");
  const char* message = "Cannot find the the Quenloft directory on the VCL library search path";
  QNL_EXPECT_THROW_MESSAGE(FindProductDirectoryIn({"C:\\empty", "C:\\missing"}), IENoQuenloftPath, message);
  QNL_EXPECT_THROW_MESSAGE(FindProductDirectoryIn({}), IENoQuenloftPath, message);
  MakeFile("C:\\missing\\Q32V40.TXT");
  EXPECT_EQ(FindProductDirectoryIn({"C:\\empty", "C:\\missing"}), "C:\\missing");
}

TEST_F(ProductDirectory, NoMarkerOnTheSearchPathFails) {
  MakeFile("C:\\empty\\QuenloftLoadProgram.exe");
  SetSearchVariable(UnixPathOf("C:\\empty"));
  if (SomeSearchedDirectoryHasMarker()) GTEST_SKIP() << "the tests' own directory is beside a product directory";
  QNL_EXPECT_THROW_MESSAGE(FindProductDirectory(), IENoQuenloftPath,
                           "Cannot find the the Quenloft directory on the VCL library search path");
}
