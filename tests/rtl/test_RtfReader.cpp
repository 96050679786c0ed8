// RTF texts read into paragraphs of formatted runs.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/system/CodePage.h"
#include "rtl/RtfReader.h"
#include "tests/support/MessageOf.h"

using namespace qnl;
using namespace qnl::test;

namespace {

TRtfDocument Read(const std::string& Rtf, int DefaultCodePage = 1252) {
  return ReadRtf(
      Rtf, [](std::string_view Bytes, int CodePage) { return AnsiToUtf8(Bytes, CodePage); }, DefaultCodePage);
}

// A paragraph as "C:<b>bold|plain": its alignment, then each run with its formatting.
std::string Describe(const TRtfParagraph& P) {
  const char* align = "LCRJ";
  std::string out(1, align[static_cast<int>(P.Alignment)]);
  out += ':';
  for (size_t i = 0; i < P.Runs.size(); ++i) {
    const TRtfFormat& f = P.Runs[i].Format;
    std::string flags;
    if (f.Bold) flags += 'b';
    if (f.Italic) flags += 'i';
    if (f.Underline) flags += 'u';
    if (f.StrikeOut) flags += 's';
    if (f.HalfPoints != 24) flags += "fs" + std::to_string(f.HalfPoints);
    if (f.Color) {
      char rgb[8];
      std::snprintf(rgb, sizeof rgb, "#%06X", *f.Color);
      flags += rgb;
    }
    if (!f.FontName.empty()) flags += "@" + f.FontName;
    out += (i ? "|" : "") + (flags.empty() ? "" : "<" + flags + ">") + P.Runs[i].Text;
  }
  return out;
}

std::vector<std::string> Describe(const TRtfDocument& D) {
  std::vector<std::string> out;
  for (const TRtfParagraph& p : D.Paragraphs) out.push_back(Describe(p));
  return out;
}

} // namespace

TEST(RtfReader, CharacterAndParagraphFormatting) {
  TRtfDocument doc = Read(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}})"
                          R"({\colortbl;\red255\green0\blue0;}\pard\qc\b Title\b0\par)"
                          R"(\pard Normal {\i italic} \ul under\ulnone  \cf1 red\cf0 \fs32 big\par)"
                          R"(\qr\f1\strike gone\strike0\par\qj\plain end})");
  EXPECT_EQ(Describe(doc), (std::vector<std::string>{
                               "C:<b>Title",
                               "L:Normal |<i>italic| |<u>under| |<#FF0000>red|<fs32>big",
                               "R:<sfs32@Courier New>gone",
                               "J:<@Arial>end",
                           }));
}

TEST(RtfReader, HexEscapesFollowTheFontsCodePage) {
  // Russian by the font's character set, Western by its own, Japanese double bytes, and the
  // document's code page for a font without a set.
  TRtfDocument doc = Read(R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset204 Times;}{\f1\fcharset0 Arial;})"
                          R"({\f2\fcharset128 Gothic;}{\f3\fnil Plain;}})"
                          R"(\f0 \'cf\'f0\'e8\f1 \'e9\f2 \'82\'a0\f3 \'b9\par})");
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  EXPECT_EQ(doc.Paragraphs[0].Text(), "При\u00e9\u3042\u0105");
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallback) {
  TRtfDocument doc = Read(R"({\rtf1\ansi\uc1 \u1055?\u-10179?\u-8704?{\uc2\u8364 xx}\u233\'e9 end\par})");
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  EXPECT_EQ(doc.Paragraphs[0].Text(), "П\U0001F600€é end");
}

TEST(RtfReader, DestinationsWithoutBodyTextAreSkipped) {
  TRtfDocument doc =
      Read(R"({\rtf1{\info{\title Secret}}{\stylesheet{\s1 Heading;}}{\*\generator Tool;})"
           R"({\pict\wmetafile8 0123abcd}{\pict\bin4 \}{}}{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}})"
           R"({\header H\par}Body\line next\tab x \{\}\\\~y\par})");
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  EXPECT_EQ(doc.Paragraphs[0].Text(), "linkBody\u2028next\tx {}\\\u00a0y");
}

TEST(RtfReader, PlainTextAndBrokenRtf) {
  EXPECT_TRUE(IsRtf("{\\rtf1 x}"));
  EXPECT_FALSE(IsRtf("The licence\r\nLine two"));
  EXPECT_EQ(MessageOf([] { Read("plain"); }), "The text is not RTF: it does not start with \"{\\rtf\"");
  EXPECT_EQ(MessageOf([] { Read("{\\rtf1 " + std::string(300, '{')); }),
            "RTF text is not valid: its groups nest deeper than 256");
  // A text cut short keeps what it has; text after the document's group is not part of it.
  EXPECT_EQ(Describe(Read("{\\rtf1 Hello\\par World")), (std::vector<std::string>{"L:Hello", "L:World"}));
  EXPECT_EQ(Describe(Read("{\\rtf1 In}Out")), (std::vector<std::string>{"L:In"}));
}
