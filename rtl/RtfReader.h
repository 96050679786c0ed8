// The rich text of licence and readme texts: a reader of the common RTF subset into
// paragraphs of formatted runs, for a read-only view.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/Exceptions.h"

namespace qnl {

QNL_EXCEPTION(ERtfError, Exception);

// The character formatting of a run. Empty FontName and Color mean the view's own.
struct TRtfFormat {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int HalfPoints = 24;           // font size in half points (\fs)
  std::optional<uint32_t> Color; // 0xRRGGBB
  std::string FontName;
  bool operator==(const TRtfFormat&) const = default;
};

// Text of one formatting, in UTF-8; a forced line break is U+2028, a tab "\t".
struct TRtfRun {
  std::string Text;
  TRtfFormat Format;
};

enum class TRtfAlignment { raLeft, raCenter, raRight, raJustify };

struct TRtfParagraph {
  TRtfAlignment Alignment = TRtfAlignment::raLeft;
  std::vector<TRtfRun> Runs;
  std::string Text() const; // the runs' text joined
};

struct TRtfDocument {
  std::vector<TRtfParagraph> Paragraphs;
};

// Whether Text is RTF (it starts with "{\rtf"); other texts are plain lines.
bool IsRtf(std::string_view Text);

// Converts bytes of an ANSI code page to UTF-8; the reader stays free of the system's
// converters, which the caller brings.
using TRtfDecoder = std::function<std::string(std::string_view Bytes, int CodePage)>;

// Reads RTF: groups, \b \i \ul \strike \fs \f \cf \plain, \par \pard \ql \qc \qr \qj,
// \line \tab and the named punctuation, \'hh in the code page of the current font (its
// \fcharset or \cpg, else \ansicpg, else DefaultCodePage), \uN with its \ucN skip count,
// and the font and colour tables. Destinations that hold no body text (\*, stylesheet,
// info, pict, headers, field instructions ...) are skipped. A missing closing brace ends
// the text quietly; ERtfError when the text is not RTF or nests groups absurdly deep.
TRtfDocument ReadRtf(std::string_view Text, const TRtfDecoder& Decode, int DefaultCodePage = 1252);

} // namespace qnl
