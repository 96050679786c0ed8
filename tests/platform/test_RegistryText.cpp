// Wine's hive text format: what the parser reads and the writer writes.
#include <gtest/gtest.h>

#include "platform/registry/AnsiText.h"
#include "platform/registry/HiveJournal.h"
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

namespace qnl {
namespace {

const TValueNode& ValueAt(const THiveText& Hive, std::u16string_view Key, std::u16string_view Name) {
  const TKeyNode* node = FindKey(*Hive.Root, {TRegName(Key)});
  EXPECT_NE(node, nullptr);
  const TValueNode* value = node->FindValue(Name);
  EXPECT_NE(value, nullptr);
  return *value;
}

std::string Wide(std::u16string_view Text) { // raw UTF-16LE with the NUL
  std::string data;
  for (char16_t c : Text) {
    data.push_back(char(c & 0xFF));
    data.push_back(char(c >> 8));
  }
  return data + std::string(2, '\0');
}

TEST(RegistryText, ParsesEveryValueForm) {
  THiveText hive = ParseHiveText("WINE REGISTRY Version 2\n"
                                 ";; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
                                 "[K] 1700000000\n#time=1da1b2c3d4e5f60\n"
                                 "@=\"default\"\n"
                                 "\"sz\"=\"a\\\\b\\\"c\\n\\x00e9t\"\n"
                                 "\"expand\"=str(2):\"%TEMP%\\\\x\"\n"
                                 "\"multi\"=str(7):\"one\\0two\\0\"\n"
                                 "\"dw\"=dword:0000002a\n"
                                 "\"bin\"=hex:de,ad,\\\n  be,ef\n"
                                 "\"qw\"=hex(b):01,00,00,00,00,00,00,00\n"
                                 "\"none\"=hex(0):\n",
                                 "t.reg");
  EXPECT_EQ(hive.HeaderLines.size(), 2u);
  EXPECT_EQ(ValueAt(hive, u"k", u"").Data, Wide(u"default"));
  EXPECT_EQ(ValueAt(hive, u"K", u"SZ").Data, Wide(u"a\\b\"c\n\u00e9t"));
  EXPECT_EQ(ValueAt(hive, u"K", u"expand").Type, 2u);
  EXPECT_EQ(ValueAt(hive, u"K", u"multi").Data, Wide(std::u16string(u"one\0two\0", 8)));
  EXPECT_EQ(ValueAt(hive, u"K", u"dw").Data, std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(ValueAt(hive, u"K", u"bin").Data, "\xde\xad\xbe\xef");
  EXPECT_EQ(ValueAt(hive, u"K", u"qw").Type, 11u);
  EXPECT_EQ(ValueAt(hive, u"K", u"none").Data, "");
  EXPECT_EQ(FindKey(*hive.Root, {u"K"})->Modified, 0x1da1b2c3d4e5f60ULL);
}

TEST(RegistryText, WritesAsWineDoes) {
  TKeyNode root;
  TKeyNode* key = EnsureKey(root, {u"Software", u"A[b]"}, 0x01d0000000000000ULL);
  key->Values[u"S"] = {u"s", 1, Wide(u"x\"\\\u00e9f\u00e9!")};
  key->Values[u"M"] = {u"m", 7,
                       Wide(std::u16string(u"a\0"
                                           u"7\0",
                                           4))};
  key->Values[u"D"] = {u"d", 4, std::string("\x01\x02\x03\x04", 4)};
  key->Values[u"B"] = {u"b", 3, std::string(40, '\x11')};
  key->Values[u"ODD"] = {u"odd", 1, "abc"};
  std::string text = FormatHiveText(root, {";; All keys relative to \\\\Machine", "#arch=win64"});
  unsigned seconds = unsigned((0x01d0000000000000ULL - kTicks1601To1970) / kTicksPerSecond);
  std::string expected = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
                         "[Software\\\\A\\[b\\]] " +
                         std::to_string(seconds) +
                         "\n#time=1d0000000000000\n"
                         "\"b\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
                         "  11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11\n"
                         "\"d\"=dword:04030201\n"
                         "\"m\"=str(7):\"a\\0007\\0\"\n"
                         "\"odd\"=hex(1):61,62,63\n"
                         "\"s\"=\"x\\\"\\\\\\x00e9f\\xe9!\"\n";
  EXPECT_EQ(text, expected);
  // And it reads back to the same tree.
  THiveText again = ParseHiveText(text, "again.reg");
  EXPECT_EQ(FormatHiveText(*again.Root, again.HeaderLines), text);
}

TEST(RegistryText, KeysWithOnlySubkeysAreImplied) {
  TKeyNode root;
  EnsureKey(root, {u"A", u"B"}, 0);
  std::string text = FormatHiveText(root, {});
  EXPECT_EQ(text.find("[A]"), std::string::npos);
  EXPECT_NE(text.find("[A\\\\B]"), std::string::npos);
}

struct TDamagedCase {
  const char* Label;
  const char* Text;
  int Line;
};

TEST(RegistryText, DamagedHiveNamesFileAndLine) {
  const TDamagedCase cases[] = {
      {"wrong first line", "REGEDIT4\n", 1},
      {"value before key", "WINE REGISTRY Version 2\n\"a\"=\"b\"\n", 2},
      {"unclosed key", "WINE REGISTRY Version 2\n\n[Software\n", 3},
      {"unclosed string", "WINE REGISTRY Version 2\n[K]\n\"a\"=\"b\n", 3},
      {"bad hex", "WINE REGISTRY Version 2\n[K]\n\"a\"=hex:1g\n", 3},
      {"hex byte too big", "WINE REGISTRY Version 2\n[K]\n\"a\"=hex:100\n", 3},
      {"continuation at end", "WINE REGISTRY Version 2\n[K]\n\"a\"=hex:01,\\\n", 3},
      {"unknown type", "WINE REGISTRY Version 2\n[K]\n\"a\"=foo:1\n", 3},
      {"empty component", "WINE REGISTRY Version 2\n[A\\\\\\\\B]\n", 2},
      {"garbage line", "WINE REGISTRY Version 2\n[K]\nxyz\n", 3},
  };
  for (const auto& c : cases) {
    try {
      ParseHiveText(c.Text, "/m/system.reg");
      ADD_FAILURE() << c.Label << ": no error";
    } catch (const EHiveDamaged& e) {
      std::string expected = "Damaged registry file \"/m/system.reg\", line " + std::to_string(c.Line) + ":";
      EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected) << c.Label << ": " << e.what();
    }
  }
}

TEST(RegistryText, AnsiRoundTripKeepsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(char(b));
  EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
  EXPECT_EQ(AnsiToWide("\x80")[0], u'\u20ac');
  EXPECT_EQ(RegTextToAnsi(AnsiToRegText(all)), all);
}

TEST(RegistryText, JournalRecordsRoundTripAndTornTailIsRejected) {
  TJournalRecord record;
  record.Op = TJournalRecord::TOp::opSetValue;
  record.Time = 42;
  record.Path = {u"A", u"B"};
  record.Name = u"v";
  record.Type = 3;
  record.Data = std::string("\0\1\2", 3);
  std::string bytes = EncodeJournalRecord(record);
  size_t size = 0;
  auto back = DecodeJournalRecord(bytes, size);
  ASSERT_TRUE(back);
  EXPECT_EQ(size, bytes.size());
  EXPECT_EQ(back->Data, record.Data);
  EXPECT_EQ(back->Path, record.Path);
  for (size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_FALSE(DecodeJournalRecord(bytes.substr(0, cut), size)) << cut;
  std::string flipped = bytes;
  flipped.back() ^= 1;
  EXPECT_FALSE(DecodeJournalRecord(flipped, size));
}

} // namespace
} // namespace qnl
