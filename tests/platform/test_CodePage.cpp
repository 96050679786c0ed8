// The ANSI code pages through iconv: real text both ways, and every byte back as it was.
#include <gtest/gtest.h>

#include "platform/system/CodePage.h"

namespace qnl {
namespace {

TEST(CodePage, RealTextBothWays) {
  struct {
    const char* Label;
    int Number;
    std::u16string Text;
    std::string Bytes;
  } rows[] = {
      {"Cyrillic in 1251", 1251, u"Привет", "\xCF\xF0\xE8\xE2\xE5\xF2"},
      {"Chinese in 936", 936, u"中文", "\xD6\xD0\xCE\xC4"},
      {"Japanese in 932", 932, u"日本", "\x93\xFA\x96\x7B"},
      {"Western in 1252", 1252, u"€ café", "\x80 caf\xE9"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    auto codePage = CodePageByNumber(row.Number);
    EXPECT_EQ(codePage->FromWide(row.Text), row.Bytes);
    EXPECT_EQ(codePage->ToWide(row.Bytes), row.Text);
  }
}

TEST(CodePage, ACharacterItLacksIsAnErrorOrTheDefaultCharacter) {
  auto codePage = CodePageByNumber(1252);
  for (const auto& [text, code] : {std::pair<std::u16string, std::string>{u"a中", "U+4E2D"}, {u"a😀", "U+1F600"}}) {
    try {
      codePage->FromWide(text);
      ADD_FAILURE() << code << ": no error";
    } catch (const ECodePageError& e) {
      EXPECT_EQ(e.Message(), "The character " + code + " is not in the ANSI code page 1252");
    }
    EXPECT_EQ(codePage->FromWide(text, TUnmappable::umDefaultChar), "a?");
  }
  EXPECT_THROW(CodePageByNumber(4711), ECodePageError);
}

TEST(CodePage, EveryByteComesBackAsItWas) {
  for (int number : {1252, 1251, 936, 932}) {
    auto codePage = CodePageByNumber(number);
    for (int b = 1; b < 256; ++b) {
      std::string byte(1, static_cast<char>(b));
      EXPECT_EQ(codePage->FromWide(codePage->ToWide(byte)), byte) << number << " byte " << b;
      if (number == 1252) EXPECT_EQ(codePage->ToWide(byte), CodePage1252().ToWide(byte)) << b;
    }
  }
}

} // namespace
} // namespace qnl
