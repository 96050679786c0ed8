// Field helpers: texts split at a separator.
#include "common/routines_Strings.h"

#include "rtl/Strings.h"

namespace qnl {

std::string GetField(std::string_view Text, int N, char Separator) {
  if (N < 1) return {};
  size_t start = 0;
  for (int i = 1; i < N; ++i) {
    size_t p = Text.find(Separator, start);
    if (p == std::string_view::npos) return {};
    start = p + 1;
  }
  size_t end = Text.find(Separator, start);
  return std::string(Text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

int FieldCount(std::string_view Text, char Separator) {
  if (Text.empty()) return 0;
  int count = 1;
  for (size_t i = 0; i < Text.size(); ++i)
    if (Text[i] == Separator && i + 1 < Text.size()) ++count;
  return count;
}

void FieldsToStrings(std::string_view Text, TStrings& List, char Separator) {
  List.BeginUpdate();
  List.Clear();
  int n = FieldCount(Text, Separator);
  for (int i = 1; i <= n; ++i) List.Add(GetField(Text, i, Separator));
  List.EndUpdate();
}

} // namespace qnl
