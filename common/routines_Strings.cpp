// Path and field helpers.
#include "common/routines_Strings.h"

#include "rtl/Strings.h"

namespace qnl {

namespace {
bool IsSep(char c) { return c == '\\' || c == '/'; }
size_t LastSep(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsSep(path[i - 1]) || path[i - 1] == ':') return i - 1;
  return std::string_view::npos;
}
} // namespace

std::string AddBackSlash(std::string_view path) {
  std::string r(path);
  if (!r.empty() && r.back() != '\\') r += '\\';
  return r;
}

std::string RemoveBackSlash(std::string_view path) {
  std::string r(path);
  if (!r.empty() && r.back() == '\\') r.pop_back();
  return r;
}

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

std::string ExtractFileDir(std::string_view path) {
  size_t p = LastSep(path);
  if (p == std::string_view::npos) return {};
  if (path[p] == ':') return std::string(path.substr(0, p + 1));
  // keep the root backslash of "C:\"
  if (p == 2 && path[1] == ':') return std::string(path.substr(0, 3));
  return std::string(path.substr(0, p));
}

std::string ExtractFileName(std::string_view path) {
  size_t p = LastSep(path);
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string name = ExtractFileName(path);
  size_t dot = name.rfind('.');
  std::string base(path);
  if (dot != std::string::npos) base.resize(base.size() - (name.size() - dot));
  return base + std::string(ext);
}

} // namespace qnl
