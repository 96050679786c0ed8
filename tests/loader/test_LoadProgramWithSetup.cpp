// The loading program with the real installation program, which removes its own directory.
#include "tests/loader/LoaderTestFiles.h"

using namespace qnl::test;

namespace {

void ExpectNoDirectoryLeft(const std::vector<std::string>& TempEntries) {
  for (const std::string& entry : TempEntries) EXPECT_NE(entry.rfind("QNL", 0), 0u) << "left behind: " << entry;
}

} // namespace

// One test for both layouts: the setup program is large, and packing it is the slow part.
TEST_F(LoadProgramTest, TheRealSetupIsGoneWhenTheLoadingProgramReturns) {
  if (!std::filesystem::exists(Bin("setup")) || !std::filesystem::exists(Bin("quenloft")))
    GTEST_SKIP() << "the setup program is not built";
  CompileSetup(WriteFile("formMain.txt", MinimalInstallProject("Loader test", "\\LoaderTest")));
  MakeArchive("dist/setup.1", {"setup"}, qnl::colNone);

  std::string beside = CopyLoader("dist/setup.exe");
  TProcessResult r = Run(Quote(beside));
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  ExpectNoDirectoryLeft(TempEntries());

  std::string selfExtracting = CopyLoader("single/setup.exe");
  std::string setup1 = ReadFile((FDir / "dist" / "setup.1").string());
  auto start = static_cast<int32_t>(std::filesystem::file_size(selfExtracting));
  Append(selfExtracting,
         setup1 + Trailer("SELFEXTRACTING", start, start + static_cast<int32_t>(setup1.size()) - 1, 0, 0));
  r = Run(Quote(selfExtracting));
  EXPECT_EQ(r.ExitStatus, 0) << r.Err;
  ExpectNoDirectoryLeft(TempEntries());
}
