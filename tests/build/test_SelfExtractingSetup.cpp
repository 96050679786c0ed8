// The self-extracting setup program: archives appended to the loading program, and trailers.
#include <filesystem>

#include "engine/SelfExtractingSetup.h"
#include "platform/files/WinPaths.h"
#include "tests/build/BuildTestSupport.h"

using namespace qnl;
using namespace qnl::test;

class SelfExtractingSetup : public BuildTest {
protected:
  static std::string Tail(const std::string& Bytes) { return Bytes.substr(Bytes.size() - TSelfExtractInfo::Size); }
};

TEST_F(SelfExtractingSetup, BothArchivesFollowTheLoadingProgramAndTheTrailerNamesThem) {
  WriteMachineFile("C:\\d\\setup.exe", "LOADER");
  WriteMachineFile("C:\\d\\setup.1", "SETUP-ARCHIVE");
  WriteMachineFile("C:\\d\\files.1", "FILES");
  TSelfExtractInfo info = AppendSelfExtractingArchives("C:\\d\\setup.exe", "C:\\d\\setup.1", "C:\\d\\files.1");
  std::string bytes = ReadMachineFile("C:\\d\\setup.exe");
  ASSERT_EQ(bytes.size(), 6u + 13u + 5u + 56u);
  EXPECT_EQ(bytes.substr(0, 24), "LOADERSETUP-ARCHIVEFILES");
  std::string expected("\x0eSELFEXTRACTING\0", 16);
  for (int32_t v : {6, 18, 19, 23})
    for (int shift = 0; shift < 32; shift += 8) expected += static_cast<char>((v >> shift) & 0xFF);
  expected += std::string(24, '\0');
  EXPECT_EQ(Tail(bytes), expected);
  EXPECT_EQ(info.SetupArchiveStart, 6);
  EXPECT_EQ(info.MainArchiveEnd, 23);
  EXPECT_EQ(ReadSelfExtractInfo("C:\\d\\setup.exe").MainArchiveStart, 19);
}

TEST_F(SelfExtractingSetup, WithoutAMainArchiveItsPositionsStayZero) {
  WriteMachineFile("C:\\d\\setup.exe", "LOADER");
  WriteMachineFile("C:\\d\\setup.1", "SETUP");
  AppendSelfExtractingArchives("C:\\d\\setup.exe", "C:\\d\\setup.1", "C:\\d\\files.1");
  TSelfExtractInfo info = ReadSelfExtractInfo("C:\\d\\setup.exe");
  EXPECT_EQ(info.Marker, "SELFEXTRACTING");
  EXPECT_EQ(info.SetupArchiveStart, 6);
  EXPECT_EQ(info.SetupArchiveEnd, 10);
  EXPECT_EQ(info.MainArchiveStart, 0);
  EXPECT_EQ(info.MainArchiveEnd, 0);
  EXPECT_EQ(ReadMachineFile("C:\\d\\setup.exe").size(), 6u + 5u + 56u);
}

TEST_F(SelfExtractingSetup, AMissingSetupArchiveIsNamedInTheMessage) {
  WriteMachineFile("C:\\d\\setup.exe", "LOADER");
  QNL_EXPECT_THROW_MESSAGE(AppendSelfExtractingArchives("C:\\d\\setup.exe", "C:\\d\\setup.1", "C:\\d\\files.1"),
                           IEInstall,
                           "Cannot create the self-extracting exe because C:\\d\\setup.1 could not be loaded onto "
                           "C:\\d\\setup.exe");
}

// Positions past 2 GB cannot be written into the trailer: the file would not be found again.
TEST_F(SelfExtractingSetup, AFileBeyondTheTrailersPositionsIsRefusedBeforeWriting) {
  WriteMachineFile("C:\\d\\setup.exe", "");
  std::filesystem::resize_file(UnixPathOf("C:\\d\\setup.exe"), (int64_t(1) << 31) - 8); // sparse
  WriteMachineFile("C:\\d\\setup.1", "SETUP-ARCHIVE");
  QNL_EXPECT_THROW_MESSAGE(AppendSelfExtractingArchives("C:\\d\\setup.exe", "C:\\d\\setup.1", "C:\\d\\files.1"),
                           IEInstall,
                           "Cannot create the self-extracting exe because C:\\d\\setup.1 could not be loaded onto "
                           "C:\\d\\setup.exe");
  EXPECT_EQ(std::filesystem::file_size(UnixPathOf("C:\\d\\setup.exe")), (uint64_t(1) << 31) - 8);
}

TEST_F(SelfExtractingSetup, ALoadingProgramWithArchivesBesideItEndsWithTheOtherMarkerAndZeros) {
  WriteMachineFile("C:\\d\\setup.exe", "LOADER");
  AppendNotSelfExtractTrailer("C:\\d\\setup.exe");
  std::string bytes = ReadMachineFile("C:\\d\\setup.exe");
  ASSERT_EQ(bytes.size(), 62u);
  EXPECT_EQ(bytes.substr(0, 6), "LOADER");
  EXPECT_EQ(Tail(bytes), std::string("\x0eNOTSELFEXTRACT", 15) + std::string(41, '\0'));
}

TEST_F(SelfExtractingSetup, ATrailerForAMissingFileFails) {
  QNL_EXPECT_THROW_MESSAGE(AppendNotSelfExtractTrailer("C:\\nothing\\setup.exe"), IEInstall,
                           "Cannot add the self-extract info header to C:\\nothing\\setup.exe");
}
