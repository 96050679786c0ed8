// The 56-byte self-extract trailer and reading the archive offset from a real file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/SelfExtractingSetup.h"
#include "paths/IInstallComponent.h"
#include "platform/files/WinPaths.h"

using namespace qnl;

namespace {
std::string Trailer(const char* Marker, int32_t A, int32_t B, int32_t C, int32_t D) {
  TSelfExtractInfo info;
  info.Marker = Marker;
  info.SetupArchiveStart = A;
  info.SetupArchiveEnd = B;
  info.MainArchiveStart = C;
  info.MainArchiveEnd = D;
  return info.Encode();
}

// A file in a fresh directory, named by its Windows path on the machine's Z: drive.
class SelfExtractFile : public ::testing::Test {
protected:
  void SetUp() override {
    const char* prefix = std::getenv("WINEPREFIX");
    FDir = std::filesystem::path(prefix ? prefix : "/tmp").parent_path() / "selfextract";
    std::filesystem::create_directories(FDir);
  }
  std::string Write(const std::string& Name, const std::string& Bytes) {
    std::ofstream(FDir / Name, std::ios::binary) << Bytes;
    return WindowsPathOf((FDir / Name).string());
  }
  std::filesystem::path FDir;
};
} // namespace

TEST(SelfExtractInfo, TheLayoutIsFixed) {
  std::string bytes = Trailer("SELFEXTRACTING", 0x1000, 0x1FFF, 0x2000, 0x12345678);
  ASSERT_EQ(bytes.size(), 56u);
  EXPECT_EQ(bytes[0], 14);
  EXPECT_EQ(bytes.substr(1, 14), "SELFEXTRACTING");
  EXPECT_EQ(bytes[15], 0);
  EXPECT_EQ(bytes.substr(16, 4), std::string("\x00\x10\x00\x00", 4));
  EXPECT_EQ(bytes.substr(28, 4), std::string("\x78\x56\x34\x12", 4));
  EXPECT_EQ(bytes.substr(32), std::string(24, '\0'));
}

TEST(SelfExtractInfo, DecodeReadsWhatEncodeWrote) {
  TSelfExtractInfo info = TSelfExtractInfo::Decode(Trailer("NOTSELFEXTRACT", 1, 2, -3, 4));
  EXPECT_EQ(info.Marker, "NOTSELFEXTRACT");
  EXPECT_EQ(info.SetupArchiveStart, 1);
  EXPECT_EQ(info.SetupArchiveEnd, 2);
  EXPECT_EQ(info.MainArchiveStart, -3);
  EXPECT_EQ(info.MainArchiveEnd, 4);
}

TEST(SelfExtractInfo, AnOversizedMarkerLengthStaysInsideItsField) {
  std::string bytes = Trailer("X", 0, 0, 0, 0);
  bytes[0] = static_cast<char>(200);
  EXPECT_EQ(TSelfExtractInfo::Decode(bytes).Marker.size(), 15u);
}

TEST_F(SelfExtractFile, TheTrailerIsTheLast56Bytes) {
  std::string path = Write("setup.exe", std::string(5000, 'M') + Trailer("SELFEXTRACTING", 100, 199, 200, 4999));
  TSelfExtractInfo info = ReadSelfExtractInfo(path);
  EXPECT_EQ(info.MainArchiveStart, 200);
  EXPECT_EQ(info.Marker, "SELFEXTRACTING");
}

TEST_F(SelfExtractFile, TheMarkerIsNotChecked) {
  std::string path = Write("other.exe", std::string(56, 'z'));
  EXPECT_EQ(ReadSelfExtractInfo(path).MainArchiveStart, 0x7a7a7a7a);
}

TEST_F(SelfExtractFile, AShortFileFailsWithTheTrailerMessage) {
  std::string path = Write("short.exe", std::string(55, 'x'));
  try {
    ReadSelfExtractInfo(path);
    ADD_FAILURE() << "no error";
  } catch (const IEInstall& e) {
    EXPECT_EQ(std::string(e.what()), "Could not read the extraction info from the archive file " + path +
                                         " when trying to find the correct offset into the self extracting file");
  }
}

TEST_F(SelfExtractFile, AMissingFileFailsWithTheTrailerMessage) {
  std::string path = WindowsPathOf((FDir / "missing.exe").string());
  EXPECT_THROW(ReadSelfExtractInfo(path), IEInstall);
}
