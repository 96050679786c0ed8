// Comparison of texts ignoring case by the machine's locale.
#include "translate/LocaleText.h"

#include "platform/system/CodePage.h"

namespace qnl {

namespace {

bool IsAscii(std::string_view Text) {
  for (unsigned char c : Text)
    if (c >= 0x80) return false;
  return true;
}

// UTF-8 as the platform writes it; a malformed byte stands for itself.
std::u32string DecodeUtf8(std::string_view S) {
  std::u32string r;
  r.reserve(S.size());
  for (size_t i = 0; i < S.size();) {
    const unsigned char c = S[i];
    const int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra <= 0 || i + extra >= S.size()) {
      r.push_back(c);
      ++i;
      continue;
    }
    char32_t cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(S[i + k]) & 0x3F);
    r.push_back(cp);
    i += extra + 1;
  }
  return r;
}

} // namespace

std::u32string DecodeAnsi(std::string_view Text, int CodePage) {
  if (IsAscii(Text)) return std::u32string(Text.begin(), Text.end());
  return DecodeUtf8(AnsiToUtf8(Text, CodePage));
}

char32_t FoldCase(char32_t C) {
  if (C >= 'A' && C <= 'Z') return C + 32;
  if (C < 0xC0) return C;
  if (C <= 0xDE) return C == 0xD7 ? C : C + 32; // Latin-1 capitals, not the multiplication sign
  if (C == 0x178) return 0xFF;                  // Y with diaeresis
  if (C >= 0x100 && C <= 0x17F) {               // Latin Extended-A: capitals on one parity
    const bool oddPairs = (C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E);
    if (C == 0x130 || C == 0x131 || C == 0x138 || C == 0x149 || C == 0x17F) return C;
    if (oddPairs) return (C & 1) ? C + 1 : C;
    return (C & 1) ? C : C + 1;
  }
  if (C >= 0x391 && C <= 0x3AB && C != 0x3A2) return C + 32; // Greek
  if (C >= 0x410 && C <= 0x42F) return C + 32;               // Cyrillic
  if (C >= 0x400 && C <= 0x40F) return C + 80;
  return C;
}

namespace {

// The machine's code page; a machine that cannot be read is taken as the default one, since
// a look-up must never fail (messages are translated while an error is being raised).
int LookupCodePage() {
  try {
    return MachineCodePage();
  } catch (...) {
    return 1252;
  }
}

} // namespace

// Only text beyond ASCII needs the code page: ASCII folds to ASCII in every code page, and
// no character beyond it folds into ASCII, so the machine is not asked for plain texts.
TLocaleKey::TLocaleKey(std::string_view Text, int CodePage)
    : FAscii(IsAscii(Text)), FCodePage(CodePage ? CodePage
                                       : FAscii ? 0
                                                : LookupCodePage()),
      FFolded(FAscii ? std::u32string(Text.begin(), Text.end()) : DecodeAnsi(Text, FCodePage)) {
  for (char32_t& c : FFolded) c = FoldCase(c);
}

bool TLocaleKey::SameAs(std::string_view Other) const {
  if (FAscii) {
    if (Other.size() != FFolded.size()) return false;
    for (size_t i = 0; i < Other.size(); ++i) {
      const unsigned char c = Other[i];
      if (c >= 0x80 || FoldCase(c) != FFolded[i]) return false;
    }
    return true;
  }
  const std::u32string other = DecodeAnsi(Other, FCodePage);
  if (other.size() != FFolded.size()) return false;
  for (size_t i = 0; i < other.size(); ++i)
    if (FoldCase(other[i]) != FFolded[i]) return false;
  return true;
}

bool SameTextLocale(std::string_view A, std::string_view B) { return TLocaleKey(A).SameAs(B); }

} // namespace qnl
