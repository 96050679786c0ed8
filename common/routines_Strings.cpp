// Field helpers: texts split at a separator.
#include "common/routines_Strings.h"

#include "rtl/Strings.h"

namespace qnl {

std::string GetField(std::string_view text, int n, char separator) {
  if (n < 1) return {};
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    size_t p = text.find(separator, start);
    if (p == std::string_view::npos) return {};
    start = p + 1;
  }
  size_t end = text.find(separator, start);
  return std::string(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

int FieldCount(std::string_view text, char separator) {
  if (text.empty()) return 0;
  int count = 1;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == separator && i + 1 < text.size()) ++count;
  return count;
}

void FieldsToStrings(std::string_view text, TStrings& list, char separator) {
  list.BeginUpdate();
  list.Clear();
  int n = FieldCount(text, separator);
  for (int i = 1; i <= n; ++i) list.Add(GetField(text, i, separator));
  list.EndUpdate();
}

} // namespace qnl
