// The 172-byte header record, the table head and the header table on memory streams.
#include <gtest/gtest.h>

#include "archive/EQnlfCompress.h"
#include "archive/TFileHeaders.h"
#include "archive/TlzhFileStats.h"

using namespace qnl;

namespace {

std::string Head(int32_t Count, uint8_t Spanned) {
  std::string s(5, '\0');
  for (int i = 0; i < 4; ++i) s[i] = char(uint32_t(Count) >> (8 * i));
  s[4] = char(Spanned);
  return s;
}

std::string Bytes(const TFileHeaderRecord& R) { return std::string(R.Bytes.begin(), R.Bytes.end()); }

TFileHeaderRecord Named(const std::string& Name, int32_t Next) {
  TFileHeaderRecord r;
  r.SetFileName(Name);
  r.SetNextHeader(Next);
  return r;
}

std::string Message(const std::function<void()>& F) {
  try {
    F();
  } catch (const EQnlfCompress& e) {
    return e.Message();
  }
  return "no error";
}

} // namespace

TEST(FileHeaderRecord, FieldsSitAtTheirOffsets) {
  TFileHeaderRecord r;
  r.SetFileNumber(0x01020304);
  r.SetFileDate(36526.5);
  r.SetLastDisk(3);
  r.SetLastByte(0x11223344);
  r.SetFileName("C:\\src\\a.txt");
  r.SetNextHeader(500);
  r.SetFileSize(600);
  r.SetDataStart(700);
  r.SetCompressedSize(800);
  r.SetFirstDisk(2);
  r.SetUniqueID(1999);
  r.SetFileVersion("1.2.3.4");
  EXPECT_EQ(r.Bytes[0], 0x04);
  EXPECT_EQ(r.Bytes[3], 0x01);
  EXPECT_EQ(r.Bytes[12], 3);
  EXPECT_EQ(r.Bytes[16], 0x44);
  EXPECT_EQ(r.Bytes[20], 12);
  EXPECT_EQ(r.Bytes[21], 'C');
  EXPECT_EQ(r.Bytes[124] | r.Bytes[125] << 8, 500);
  EXPECT_EQ(r.Bytes[128] | r.Bytes[129] << 8, 600);
  EXPECT_EQ(r.Bytes[132] | r.Bytes[133] << 8, 700);
  EXPECT_EQ(r.Bytes[136] | r.Bytes[137] << 8, 800);
  EXPECT_EQ(r.Bytes[140], 2);
  EXPECT_EQ(r.Bytes[144] | r.Bytes[145] << 8, 1999);
  EXPECT_EQ(r.Bytes[148], 7);
  EXPECT_EQ(r.Bytes[149], '1');
  EXPECT_DOUBLE_EQ(r.FileDate(), 36526.5);
  for (int gap : {13, 14, 15, 121, 122, 123, 141, 142, 143, 169, 170, 171}) EXPECT_EQ(r.Bytes[gap], 0) << gap;
}

TEST(FileHeaderRecord, ShortStringsAreCutAndZeroPadded) {
  TFileHeaderRecord r;
  r.SetFileName(std::string(130, 'x'));
  EXPECT_EQ(r.FileName(), std::string(100, 'x'));
  r.SetFileName("ab");
  EXPECT_EQ(r.FileName(), "ab");
  EXPECT_EQ(r.Bytes[23], 0); // the old tail is cleared
  r.SetFileVersion("65535.65535.65535.65535");
  EXPECT_EQ(r.FileVersion(), "65535.65535.65535.65");
  // A damaged length byte cannot reach past the field.
  r.Bytes[148] = 200;
  EXPECT_EQ(r.FileVersion().size(), 20u);
}

TEST(FileHeaders, EmptyArchiveIsFiveZeroBytes) {
  TFileHeaders headers;
  TMemoryStream m;
  headers.WriteHeaders(m);
  EXPECT_EQ(m.Data(), std::string(5, '\0'));
  headers.ReadHeaders(m, 0);
  EXPECT_EQ(headers.Count(), 0);
}

TEST(FileHeaders, ReadingFollowsNextHeaderFromTheArchiveStart) {
  // Two headers at positions 5 and 300 of an archive that starts at byte 1000.
  std::string archive = Head(2, 0) + Bytes(Named("first", 300));
  archive.resize(300, '\x55');
  archive += Bytes(Named("second", 472));
  TMemoryStream m(std::string(1000, 'P') + archive);
  TFileHeaders headers;
  headers.ReadHeaders(m, 1000);
  ASSERT_EQ(headers.Count(), 2);
  EXPECT_EQ(headers.FileHeaders(0).FileName(), "first");
  EXPECT_EQ(headers.FileHeaders(1).FileName(), "second");
  EXPECT_TRUE(headers.FileHeaders(1).InArchive);
  EXPECT_EQ(headers.Spanned, 0);
}

TEST(FileHeaders, DamagedTablesGiveTheReadMessages) {
  const std::string headersMsg =
      "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
  TFileHeaders headers;
  TMemoryStream shortHead(std::string(4, '\0'));
  EXPECT_EQ(Message([&] { headers.ReadHeaders(shortHead, 0); }),
            "Could not read the file header count for the compressed file");
  TMemoryStream pastEnd(Head(2, 0) + Bytes(Named("a", 90000)) + std::string(172, 'z'));
  EXPECT_EQ(Message([&] { headers.ReadHeaders(pastEnd, 0); }), headersMsg);
  TMemoryStream hugeCount(Head(0x7FFFFFFF, 0) + Bytes(Named("a", 5)));
  EXPECT_EQ(Message([&] { headers.ReadHeaders(hugeCount, 0); }), headersMsg);
  TMemoryStream negative(Head(-1, 0));
  EXPECT_EQ(Message([&] { headers.ReadHeaders(negative, 0); }), headersMsg);
  TMemoryStream blankName(Head(1, 0) + Bytes(Named("   ", 177)));
  EXPECT_EQ(Message([&] { headers.ReadHeaders(blankName, 0); }), "Tried to add an invalid file header");
}

TEST(FileHeaders, SpannedTableIsWrittenBackToBack) {
  TFileHeaders headers;
  headers.Spanned = 1;
  headers.Add(std::make_unique<TFileHeader>(Named("a", 0)));
  headers.Add(std::make_unique<TFileHeader>(Named("b", 0)));
  TMemoryStream m;
  headers.WriteHeaders(m);
  ASSERT_EQ(m.Size(), 5 + 2 * 172);
  EXPECT_EQ(m.Data().substr(0, 5), Head(2, 1));
  EXPECT_EQ(headers.FileHeaders(0).NextHeader(), 177);
  EXPECT_EQ(headers.FileHeaders(1).NextHeader(), 349);
  TFileHeaders again;
  again.ReadHeaders(m, 0);
  EXPECT_EQ(again.Spanned, 1);
  EXPECT_EQ(again.FileHeaders(1).FileName(), "b");
}

TEST(FileHeaders, IndexOfNameTakesTheWholeNameAndIgnoresCase) {
  TFileHeaders headers;
  headers.Add(std::make_unique<TFileHeader>(Named("C:\\Src\\One.txt", 0)));
  headers.Add(std::make_unique<TFileHeader>(Named("C:\\Src\\Two;2.txt", 0)));
  EXPECT_EQ(headers.IndexOfName("c:\\src\\two;2.TXT"), 1);
  EXPECT_EQ(headers.IndexOfName("C:\\Src\\Two"), -1);
  EXPECT_EQ(headers.IndexOfName("Two.txt"), -1);
  EXPECT_EQ(Message([&] { headers.FileHeaders(2); }),
            "2 is an invalid TFileHeader index in TFileHeaders.GetFileHeaders");
  EXPECT_EQ(Message([&] { headers.Add(std::make_unique<TFileHeader>()); }), "Tried to add an invalid file header");
}

TEST(FileHeaders, TotalsSumTheHeaders) {
  TFileHeaders headers;
  TFileHeaderRecord a = Named("a", 0), b = Named("b", 0);
  a.SetFileSize(300), a.SetCompressedSize(100);
  b.SetFileSize(100), b.SetCompressedSize(50);
  headers.Add(std::make_unique<TFileHeader>(a));
  headers.Add(std::make_unique<TFileHeader>(b));
  TlzhFileStats stats;
  stats.TotalBytesDone = 9, stats.Finished = true;
  headers.ResetTotals(stats);
  EXPECT_EQ(stats.TotalBytesDone, 0);
  EXPECT_FALSE(stats.Finished);
  EXPECT_EQ(stats.TotalCompressed, 150);
  EXPECT_EQ(stats.TotalSize, 400);
  EXPECT_EQ(stats.TotalRatio, 38); // 37.5 rounds to even
  HeaderToStats(headers.FileHeaders(0), stats);
  EXPECT_EQ(stats.Ratio, 33);
  EXPECT_EQ(stats.FileName, "a");
}

TEST(FileStats, PercentagesRoundHalfToEvenAndKeepTheLowByte) {
  EXPECT_EQ(PercentByte(1, 8), 12);     // 12.5
  EXPECT_EQ(PercentByte(3, 8), 38);     // 37.5
  EXPECT_EQ(PercentByte(5, 0), 0);      // zero divisor
  EXPECT_EQ(PercentByte(300, 100), 44); // 300 & 0xFF
}
