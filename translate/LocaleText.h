// Comparison of texts ignoring case by the machine's locale rather than by ASCII alone.
#pragma once

#include <string>
#include <string_view>

namespace qnl {

// A text decoded from the machine's ANSI code page and case-folded, ready to be compared
// with many others: two texts are the same when their folded characters are, so "Ä" and
// "ä" match where the run-time library's SameText sees different bytes. Blanks count.
class TLocaleKey {
public:
  // CodePage 0: the machine's ANSI code page.
  explicit TLocaleKey(std::string_view Text, int CodePage = 0);
  bool SameAs(std::string_view Other) const;
  const std::u32string& Folded() const { return FFolded; }

private:
  bool FAscii;
  int FCodePage;
  std::u32string FFolded;
};

// The characters of ANSI text in that code page.
std::u32string DecodeAnsi(std::string_view Text, int CodePage);
// The simple case folding of one character: Latin, Greek and Cyrillic capitals to small.
char32_t FoldCase(char32_t C);
// SameText by the locale: decoded texts equal after case folding.
bool SameTextLocale(std::string_view A, std::string_view B);

} // namespace qnl
