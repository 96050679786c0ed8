// The RTF reader: a tokenizer and a stack of group states that build paragraphs of runs.
#include "rtl/RtfReader.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "rtl/Graphics.h"
#include "rtl/Unicode.h"

namespace qnl {

std::string TRtfParagraph::Text() const {
  std::string out;
  for (const TRtfRun& r : Runs) out += r.Text;
  return out;
}

bool IsRtf(std::string_view Text) { return Text.substr(0, 5) == "{\\rtf"; }

namespace {

// Deeper nesting than any word processor writes; the limit keeps the state stack small.
constexpr size_t kMaxDepth = 256;

enum class TDest { dText, dSkip, dFontTable, dColorTable };

// What a group sets and its closing brace restores.
struct TState {
  TDest Dest = TDest::dText;
  TRtfFormat Format;
  int Font = -1;
  TRtfAlignment Alignment = TRtfAlignment::raLeft;
  int UnicodeSkip = 1;
};

struct TFontEntry {
  std::string Name;
  int CodePage = 0; // 0: the document's
};

// Destinations whose text is not part of the body.
const std::unordered_set<std::string_view>& SkippedDestinations() {
  static const std::unordered_set<std::string_view> names{"stylesheet",
                                                          "info",
                                                          "pict",
                                                          "header",
                                                          "headerl",
                                                          "headerr",
                                                          "headerf",
                                                          "footer",
                                                          "footerl",
                                                          "footerr",
                                                          "footerf",
                                                          "footnote",
                                                          "fldinst",
                                                          "object",
                                                          "listtable",
                                                          "listoverridetable",
                                                          "revtbl",
                                                          "rsidtbl",
                                                          "xmlnstbl",
                                                          "themedata",
                                                          "colorschememapping",
                                                          "latentstyles",
                                                          "datastore",
                                                          "generator",
                                                          "pn",
                                                          "falt",
                                                          "panose",
                                                          "filetbl",
                                                          "nonshppict",
                                                          "bkmkstart",
                                                          "bkmkend",
                                                          "template",
                                                          "annotation",
                                                          "atnid",
                                                          "atnauthor",
                                                          "txe",
                                                          "xe",
                                                          "tc",
                                                          "userprops",
                                                          "operator"};
  return names;
}

// Single characters named by control words.
const std::map<std::string_view, std::string_view>& NamedCharacters() {
  static const std::map<std::string_view, std::string_view> chars{
      {"tab", "\t"},           {"cell", "\t"},          {"line", "\u2028"},    {"emdash", "\u2014"},
      {"endash", "\u2013"},    {"bullet", "\u2022"},    {"lquote", "\u2018"},  {"rquote", "\u2019"},
      {"ldblquote", "\u201C"}, {"rdblquote", "\u201D"}, {"emspace", "\u2003"}, {"enspace", "\u2002"},
      {"qmspace", "\u2005"}};
  return chars;
}

class TRtfParser {
public:
  TRtfParser(std::string_view Text, const TRtfDecoder& Decode, int DefaultCodePage)
      : FIn(Text), FDecode(Decode), FDocCodePage(DefaultCodePage) {}

  TRtfDocument Run() {
    if (!IsRtf(FIn)) throw ERtfError("The text is not RTF: it does not start with \"{\\rtf\"");
    while (FPos < FIn.size()) {
      char c = FIn[FPos];
      if (c == '{') {
        ++FPos;
        OpenGroup();
      } else if (c == '}') {
        ++FPos;
        if (!CloseGroup()) break; // the document's own group has ended
      } else if (c == '\\') {
        ++FPos;
        ControlWord();
      } else {
        ++FPos;
        if (c == '\r' || c == '\n') continue;
        if (FSkip > 0) {
          --FSkip;
          continue;
        }
        TextByte(c);
      }
    }
    // A text cut short ends its last paragraph as the closing brace would.
    if (!FStack.empty()) {
      Flush();
      if (!FParagraph.Runs.empty()) EndParagraph();
    }
    return std::move(FDoc);
  }

private:
  TState& State() { return FStack.back(); }

  void OpenGroup() {
    Flush();
    FSkip = 0;
    if (FStack.size() >= kMaxDepth)
      throw ERtfError("RTF text is not valid: its groups nest deeper than " + std::to_string(kMaxDepth));
    FStack.push_back(FStack.empty() ? TState() : State());
  }

  bool CloseGroup() {
    Flush();
    FSkip = 0;
    if (State().Dest == TDest::dFontTable && !FFontName.empty()) EndFontEntry();
    if (FStack.size() == 1 && !FParagraph.Runs.empty()) EndParagraph(); // text after the last \par
    FStack.pop_back();
    return !FStack.empty();
  }

  // Bytes of the current code page wait until something else comes, so that the two
  // bytes of a double-byte character convert together.
  void TextByte(char C) {
    if (FStack.empty()) return; // text after the document's group
    switch (State().Dest) {
      case TDest::dText: {
        int cp = CodePage();
        if (!FPending.empty() && cp != FPendingCodePage) Flush();
        FPending += C;
        FPendingCodePage = cp;
        break;
      }
      case TDest::dFontTable:
        if (C == ';')
          EndFontEntry();
        else
          FFontName += C;
        break;
      case TDest::dColorTable:
        if (C == ';') {
          FColors.push_back(FColorSet ? std::optional<uint32_t>(FColor) : std::nullopt);
          FColor = 0;
          FColorSet = false;
        }
        break;
      case TDest::dSkip: break;
    }
  }

  int CodePage() const {
    auto f = FFonts.find(FStack.back().Font);
    return f != FFonts.end() && f->second.CodePage != 0 ? f->second.CodePage : FDocCodePage;
  }

  void Flush() {
    if (FPending.empty()) return;
    std::string text = FDecode(FPending, FPendingCodePage);
    FPending.clear();
    Append(text);
  }

  void Append(std::string_view Utf8) {
    if (Utf8.empty() || FStack.empty() || State().Dest != TDest::dText) return;
    if (FParagraph.Runs.empty() || !(FParagraph.Runs.back().Format == State().Format))
      FParagraph.Runs.push_back({std::string(), State().Format});
    FParagraph.Runs.back().Text += Utf8;
  }

  void AppendChar(char32_t C) {
    Flush();
    std::string s;
    AppendUtf8(s, C);
    Append(s);
  }

  void EndParagraph() {
    Flush();
    if (State().Dest != TDest::dText) return;
    FParagraph.Alignment = State().Alignment;
    FDoc.Paragraphs.push_back(std::move(FParagraph));
    FParagraph = TRtfParagraph();
  }

  void EndFontEntry() {
    size_t first = FFontName.find_first_not_of(' ');
    std::string name = first == std::string::npos ? std::string() : FFontName.substr(first);
    FFonts[FFontNumber].Name = FDecode(name, FDocCodePage);
    FFontName.clear();
  }

  // A control word or symbol after its backslash.
  void ControlWord() {
    if (FPos >= FIn.size()) return;
    char c = FIn[FPos];
    if (!IsLetter(c)) {
      ++FPos;
      ControlSymbol(c);
      return;
    }
    size_t start = FPos;
    while (FPos < FIn.size() && IsLetter(FIn[FPos])) ++FPos;
    std::string_view word = FIn.substr(start, std::min<size_t>(FPos - start, 32));
    std::optional<int> param;
    bool negative = FPos < FIn.size() && FIn[FPos] == '-';
    if (negative) ++FPos;
    int64_t value = 0;
    size_t digits = 0;
    while (FPos < FIn.size() && FIn[FPos] >= '0' && FIn[FPos] <= '9') {
      if (digits++ < 10) value = value * 10 + (FIn[FPos] - '0');
      ++FPos;
    }
    if (digits > 0) param = static_cast<int>(std::clamp<int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX));
    if (FPos < FIn.size() && FIn[FPos] == ' ') ++FPos; // the delimiter belongs to the word
    if (FStack.empty()) return;
    if (word == "bin") { // binary data, never text
      FPos += std::min<size_t>(static_cast<size_t>(std::max(param.value_or(0), 0)), FIn.size() - FPos);
      return;
    }
    if (FSkip > 0) {
      --FSkip;
      return;
    }
    Word(word, param);
  }

  static bool IsLetter(char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'); }

  void ControlSymbol(char C) {
    if (FStack.empty()) return;
    if (C == '\'') {
      int hi = FPos < FIn.size() ? HexValue(FIn[FPos]) : -1;
      int lo = FPos + 1 < FIn.size() ? HexValue(FIn[FPos + 1]) : -1;
      if (hi < 0 || lo < 0) return; // not a hex escape: ignored
      FPos += 2;
      if (FSkip > 0) {
        --FSkip;
        return;
      }
      TextByte(static_cast<char>(hi * 16 + lo));
      return;
    }
    if (FSkip > 0) {
      --FSkip;
      return;
    }
    switch (C) {
      case '\\':
      case '{':
      case '}': TextByte(C); break;
      case '~': AppendChar(0xA0); break;
      case '_': AppendChar(0x2011); break;
      case '*': State().Dest = TDest::dSkip; break; // a destination this reader need not know
      case '\r':
      case '\n': EndParagraph(); break; // a backslash before a line end is \par
      default: break;                   // \- (optional hyphen), \| and others show nothing
    }
  }

  static int HexValue(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
  }

  void Word(std::string_view W, std::optional<int> Param) {
    TState& s = State();
    int p = Param.value_or(1);
    if (s.Dest == TDest::dSkip) return;
    if (s.Dest == TDest::dFontTable) {
      if (W == "f") {
        if (!FFontName.empty()) EndFontEntry();
        FFontNumber = p;
        FFonts[p] = TFontEntry();
      } else if (W == "fcharset") {
        FFonts[FFontNumber].CodePage = CharsetToCodePage(static_cast<TFontCharset>(p), 0);
      } else if (W == "cpg") {
        FFonts[FFontNumber].CodePage = p;
      } else if (SkippedDestinations().count(W)) {
        s.Dest = TDest::dSkip;
      }
      return;
    }
    if (s.Dest == TDest::dColorTable) {
      uint32_t v = static_cast<uint32_t>(std::clamp(p, 0, 255));
      if (W == "red") FColor = (FColor & 0x00FFFF) | v << 16, FColorSet = true;
      if (W == "green") FColor = (FColor & 0xFF00FF) | v << 8, FColorSet = true;
      if (W == "blue") FColor = (FColor & 0xFFFF00) | v, FColorSet = true;
      return;
    }
    if (SkippedDestinations().count(W)) {
      Flush();
      s.Dest = TDest::dSkip;
    } else if (W == "fonttbl") {
      s.Dest = TDest::dFontTable;
    } else if (W == "colortbl") {
      s.Dest = TDest::dColorTable;
    } else if (W == "ansicpg") {
      if (p > 0) FDocCodePage = p;
    } else if (W == "deff") {
      FDefaultFont = p;
    } else if (W == "u") {
      Unicode(Param.value_or(0));
    } else if (W == "uc") {
      s.UnicodeSkip = std::clamp(p, 0, 16);
    } else if (W == "par" || W == "sect" || W == "page" || W == "row") {
      EndParagraph();
    } else if (W == "pard") {
      s.Alignment = TRtfAlignment::raLeft;
    } else if (W == "ql" || W == "qc" || W == "qr" || W == "qj" || W == "qd") {
      s.Alignment = W == "qc"   ? TRtfAlignment::raCenter
                    : W == "qr" ? TRtfAlignment::raRight
                    : W == "ql" ? TRtfAlignment::raLeft
                                : TRtfAlignment::raJustify;
    } else if (auto named = NamedCharacters().find(W); named != NamedCharacters().end()) {
      Flush();
      Append(named->second);
    } else {
      CharacterFormat(W, Param);
    }
  }

  void CharacterFormat(std::string_view W, std::optional<int> Param) {
    Flush(); // the text so far keeps the format it was written in
    TState& s = State();
    bool on = Param.value_or(1) != 0;
    if (W == "b") {
      s.Format.Bold = on;
    } else if (W == "i") {
      s.Format.Italic = on;
    } else if (W == "strike" || W == "striked") {
      s.Format.StrikeOut = on;
    } else if (W == "ulnone") {
      s.Format.Underline = false;
    } else if (W.substr(0, 2) == "ul" && W != "ulc") { // \ul, \uld, \uldb, \ulw ... all underline
      s.Format.Underline = on;
    } else if (W == "fs") {
      s.Format.HalfPoints = std::clamp(Param.value_or(24), 2, 3276);
    } else if (W == "f") {
      SetFont(Param.value_or(0));
    } else if (W == "cf") {
      int i = Param.value_or(0);
      s.Format.Color =
          i >= 0 && static_cast<size_t>(i) < FColors.size() ? FColors[static_cast<size_t>(i)] : std::nullopt;
    } else if (W == "plain") {
      s.Format = TRtfFormat();
      SetFont(FDefaultFont);
    }
  }

  void SetFont(int Number) {
    State().Font = Number;
    auto f = FFonts.find(Number);
    State().Format.FontName = f != FFonts.end() ? f->second.Name : std::string();
  }

  void Unicode(int Value) {
    char32_t c = static_cast<char16_t>(Value); // negative values stand for code units above 32767
    FSkip = State().UnicodeSkip;
    if (c >= 0xD800 && c < 0xDC00) { // the first half of a pair: wait for the second
      FHighSurrogate = c;
      return;
    }
    if (c >= 0xDC00 && c < 0xE000)
      c = FHighSurrogate ? 0x10000 + ((FHighSurrogate - 0xD800) << 10) + (c - 0xDC00) : 0xFFFD;
    else if (FHighSurrogate)
      AppendChar(0xFFFD); // a first half without its second
    FHighSurrogate = 0;
    AppendChar(c);
  }

  std::string_view FIn;
  size_t FPos = 0;
  const TRtfDecoder& FDecode;
  int FDocCodePage;
  int FDefaultFont = 0;
  std::vector<TState> FStack;
  int FSkip = 0; // characters still to skip after \u
  char32_t FHighSurrogate = 0;
  std::string FPending;
  int FPendingCodePage = 0;
  std::map<int, TFontEntry> FFonts;
  int FFontNumber = 0;
  std::string FFontName;
  std::vector<std::optional<uint32_t>> FColors;
  uint32_t FColor = 0;
  bool FColorSet = false;
  TRtfParagraph FParagraph;
  TRtfDocument FDoc;
};

} // namespace

TRtfDocument ReadRtf(std::string_view Text, const TRtfDecoder& Decode, int DefaultCodePage) {
  return TRtfParser(Text, Decode, DefaultCodePage).Run();
}

} // namespace qnl
