// The text form converter against Free Pascal's ObjectTextToBinary, and round trips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "rtl/FormText.h"
#include "rtl/FormValues.h"
#include "tests/rtl/FormTestSupport.h"

using namespace qnl;
using namespace qnl::test;

namespace {

// Sample forms covering every construct of the text syntax (tests/tools/forms).
const char* kSamples[] = {"every_construct", "numbers", "strings", "objects", "bom"};

std::string Sample(const std::string& Name) {
  // The source folder from the test environment: __FILE__ may be relative to the build.
  const char* src = std::getenv("QNL_SOURCE");
  std::string dir = __FILE__;
  dir = src && *src ? std::string(src) + "/tests/tools/forms/" : dir.substr(0, dir.rfind('/')) + "/../tools/forms/";
  std::ifstream f(dir + Name + ".txt", std::ios::binary);
  EXPECT_TRUE(f.good()) << Name;
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string Hex(const std::string& S) {
  std::string out;
  char buf[4];
  for (unsigned char c : S) {
    snprintf(buf, sizeof buf, "%02X ", c);
    out += buf;
  }
  return out;
}

std::string ParserErrorOf(const std::string& Text) {
  try {
    ObjectTextToBinary(Text);
  } catch (const EParserError& e) {
    return e.Message();
  }
  return "no error";
}

} // namespace

TEST(FormText, BinaryIsByteForByteWhatFpcWrites) {
  if (FpcConverter().empty()) GTEST_SKIP() << "fpc is not installed";
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    std::string text = Sample(name);
    std::string ours = ObjectTextToBinary(text);
    std::string theirs = RunFpcConverter("tobin", text);
    ASSERT_FALSE(theirs.empty());
    EXPECT_EQ(Hex(ours), Hex(theirs));
  }
}

TEST(FormText, BinaryToTextToBinaryIsTheSame) {
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    std::string bin = ObjectTextToBinary(Sample(name));
    std::string text = ObjectBinaryToText(bin);
    EXPECT_EQ(Hex(ObjectTextToBinary(text)), Hex(bin)) << text;
  }
}

TEST(FormText, FpcReadsOurTextAndWeReadFpcs) {
  if (FpcConverter().empty()) GTEST_SKIP() << "fpc is not installed";
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    std::string bin = ObjectTextToBinary(Sample(name));
    EXPECT_EQ(Hex(RunFpcConverter("tobin", ObjectBinaryToText(bin))), Hex(bin));
    EXPECT_EQ(Hex(ObjectTextToBinary(RunFpcConverter("totext", bin))), Hex(bin));
  }
}

TEST(FormText, IntegersTakeTheSmallestCode) {
  std::string bin = ObjectTextToBinary("object A: T\n X = -128\n Y = 128\n Z = 32768\n W = 2147483648\nend");
  std::string expect = std::string("TPF0\x01T\x01"
                                   "A",
                                   8) +
                       std::string("\x01X\x02\x80", 4) + std::string("\x01Y\x03\x80\x00", 5) +
                       std::string("\x01Z\x04\x00\x80\x00\x00", 7) +
                       std::string("\x01W\x13\x00\x00\x00\x80\x00\x00\x00\x00", 11) + std::string("\0\0", 2);
  EXPECT_EQ(Hex(bin), Hex(expect));
}

TEST(FormText, CodesWithoutTextSyntaxAreWrittenWithSuffixes) {
  TBinBuilder b;
  b.Signature().Object("T", "A");
  b.Prop("S").Byte(15).Le(0x3FC00000, 4);
  b.Prop("C").Byte(16).Le(static_cast<uint64_t>(-123450), 8);
  b.Prop("D").Byte(17).Le(0x40E5F90000000000ull, 8);
  b.Prop("N").Byte(0);
  b.Prop("W").Byte(18).Le(2, 4).Le(0x20AC, 2).Le('\'', 2);
  b.End().End();
  std::string text = ObjectBinaryToText(b.Bytes);
  EXPECT_EQ(text, "object A: T\n  S = 1.5s\n  C = -12.345c\n  D = 45000.0d\n  N = Null\n  W = #8364''''\nend\n");
  // Read back they keep their values (as extended, the only float code of the text syntax).
  std::string again = ObjectTextToBinary(text);
  EXPECT_NE(again.find(std::string("\x01"
                                   "C\x05",
                                   3)),
            std::string::npos);
}

TEST(FormText, TextIsUtf8AndBecomesBytesOfTheCodePage) {
  // Written as UTF-8 or as character codes, beyond ASCII it is a wide string, or the bytes
  // of the code page asked for.
  for (const char* value : {"'caf\xC3\xA9 \xE2\x82\xAC'", "'caf'#233' '#8364"}) {
    SCOPED_TRACE(value);
    std::string text = std::string("object A: T\n S = ") + value + "\nend";
    EXPECT_NE(ObjectTextToBinary(text).find(std::string("\x12\x06\0\0\0c\0", 7)), std::string::npos);
    std::string bin = ObjectTextToBinary(text, &CodePage1252());
    EXPECT_NE(bin.find("\x06\x06"
                       "caf\xE9 \x80"),
              std::string::npos);
    std::string back = ObjectBinaryToText(bin, CodePage1252());
    EXPECT_EQ(back, "object A: T\n  S = 'caf'#233' '#8364\nend\n");
    EXPECT_EQ(ObjectTextToBinary(back, &CodePage1252()), bin);
  }
  // Bytes 1252 leaves undefined come back as they were.
  std::string holes = ObjectTextToBinary("object A: T\n S = 'x'\nend");
  holes.replace(holes.find("\x01x"), 2, "\x02\x81\x9D");
  EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(holes), &CodePage1252()), holes);
}

TEST(FormText, ACharacterTheCodePageLacksNamesTheProperty) {
  const char* text = "object Form1: TForm\n  object Memo1: TMemo\n    Lines.Strings = (\n      'a'\n"
                     "      'b'#20013)\n  end\nend\n";
  try {
    ObjectTextToBinary(text, &CodePage1252());
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), "Line 5: Memo1.Lines.Strings: The character U+4E2D is not in the ANSI code page 1252");
  }
}

TEST(FormText, SyntaxErrorsGiveTheLine) {
  EXPECT_EQ(ParserErrorOf("object A: T\n  S = 'open\nend"), "Line 2: Unterminated string");
  EXPECT_EQ(ParserErrorOf("object A: T\n  X = 1\n"), "Line 3: Identifier expected but end of file found");
  EXPECT_EQ(ParserErrorOf("object A: T\n  X 1\nend"), "Line 2: '=' expected but '1' found");
  EXPECT_EQ(ParserErrorOf("thing A: T\nend"), "Line 1: 'object' expected but 'thing' found");
  EXPECT_EQ(ParserErrorOf("object A: T\nend\nobject B: T\nend"), "Line 3: End of file expected but 'object' found");
  EXPECT_EQ(ParserErrorOf("object A: T\n  D = {0F 1}\nend"),
            "Line 2: Wrong number of hexadecimal digits in binary value");
  EXPECT_EQ(ParserErrorOf("object A: T\n  X = 1.5e\nend"), "Line 2: Invalid floating point number: 1.5e");
  EXPECT_EQ(ParserErrorOf("object A: T\n  X = 99999999999999999999999\nend"),
            "Line 2: Invalid integer number: 99999999999999999999999");
  EXPECT_EQ(ParserErrorOf("object A: T\n  X = )\nend"), "Line 2: Invalid property value: ')'");
  EXPECT_EQ(ParserErrorOf("object A: T\n  S = 'caf\xE9'\nend"),
            "Line 2: The text form is not UTF-8 (byte $E9 in a string): save it as UTF-8, or write the "
            "character as #nnn with its Unicode number");
  EXPECT_NE(ParserErrorOf("object A: T\n  N" + std::string(300, 'x') + " = 1\nend").find("longer than 255"),
            std::string::npos);
}

TEST(FormText, MalformedBinaryIsAReadError) {
  EXPECT_THROW(ObjectBinaryToText("TPF1"), EReadError);
  EXPECT_THROW(ObjectBinaryToText(std::string("TPF0\x01T\x01"
                                              "A\x01X\x63",
                                              10)),
               EReadError);
  std::string full = ObjectTextToBinary(Sample("every_construct"));
  for (size_t n = 0; n < full.size(); ++n) EXPECT_THROW(ObjectBinaryToText(full.substr(0, n)), EReadError) << n;
}

TEST(FormText, ExtendedConversionsKeepTheValue) {
  for (double v : {0.0, -0.0, 1.0, 0.1, -2.5e-300, 1.7976931348623157e308, 4.9e-324, 123456.789}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(ExtendedToDouble(DoubleToExtended(v)), v);
    std::array<uint8_t, 10> ext;
    ASSERT_TRUE(DecimalToExtended(ExtendedToDecimal(DoubleToExtended(v)), ext));
    EXPECT_EQ(ExtendedToDouble(ext), v);
  }
}
