// Short (8.3) names with Wine's mangling (ntdll's hash_short_file_name and is_legal_8dot3_name).
#include "platform/files/ShortNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/OSError.h"
#include "platform/files/ShortNameMatch.h"
#include "platform/files/WinPaths.h"
#include "platform/system/CodePage.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// DOS forbids these in 8.3 names; Wine's INVALID_DOS_CHARS.
constexpr const char* kInvalidDosChars = "*?<>|\"+=,;[] ";

// Wine works on the UTF-16 form of the Unix name; for the names this engine makes every
// character is one UTF-16 unit, so code points of the UTF-8 form stand in for them.
std::vector<uint32_t> CodePoints(std::string_view Utf8) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < Utf8.size();) {
    unsigned char c = static_cast<unsigned char>(Utf8[i]);
    uint32_t cp = c;
    size_t len = 1;
    if (c >= 0xF0) {
      cp = c & 0x07;
      len = 4;
    } else if (c >= 0xE0) {
      cp = c & 0x0F;
      len = 3;
    } else if (c >= 0xC0) {
      cp = c & 0x1F;
      len = 2;
    }
    if (i + len > Utf8.size()) {
      len = 1;
      cp = c;
    }
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(Utf8[i + k]) & 0x3F);
    out.push_back(cp);
    i += len;
  }
  return out;
}

uint32_t ToLower(uint32_t C) { return C >= 'A' && C <= 'Z' ? C + 32 : C; }
uint32_t ToUpper(uint32_t C) { return C >= 'a' && C <= 'z' ? C - 32 : C; }

bool IsInvalidDosChar(uint32_t C) {
  if (C > 0x7f) return true;
  if (C == '~' || C == '.') return true;
  return C != 0 && std::strchr(kInvalidDosChars, static_cast<int>(C)) != nullptr;
}

bool IsLegal83(const std::vector<uint32_t>& Name) {
  size_t len = Name.size();
  if (len > 12) return false;
  if (len > 0 && Name[0] == '.') return len == 1 || (len == 2 && Name[1] == '.');
  long dot = -1;
  for (size_t i = 0; i < len; ++i) {
    uint32_t c = Name[i];
    if (c > 0x7f) return false;
    if (c == ':' || c == '/' || c == '\\' || (c != 0 && std::strchr(kInvalidDosChars, static_cast<int>(c))))
      return false;
    if (c == '.') {
      if (dot != -1) return false;
      dot = static_cast<long>(i);
    }
  }
  if (dot == -1) return len <= 8;
  if (dot > 8) return false;
  long rest = static_cast<long>(len) - dot;
  return rest > 1 && rest < 5;
}

std::string HashedName(const std::vector<uint32_t>& Name) {
  static const char kHashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  size_t end = Name.size();
  uint16_t hash = 0xbeef;
  size_t p = 0;
  for (; p + 1 < end; ++p)
    hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ ToLower(Name[p]) ^ (ToLower(Name[p + 1]) << 8));
  if (end > 0) hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ ToLower(Name[p]));

  // The last dot (not the first character, not the last) starts the extension.
  long ext = -1;
  for (size_t i = 1; i + 1 < end; ++i)
    if (Name[i] == '.') ext = static_cast<long>(i);

  std::string out;
  int i = 4;
  for (size_t q = 0; i > 0; --i, ++q) {
    if (q == end || static_cast<long>(q) == ext) break;
    out += IsInvalidDosChar(Name[q]) ? '_' : static_cast<char>(ToUpper(Name[q]));
  }
  while (i-- >= 0) out += '~';
  out += kHashChars[(hash >> 10) & 0x1f];
  out += kHashChars[(hash >> 5) & 0x1f];
  out += kHashChars[hash & 0x1f];
  if (ext >= 0) {
    out += '.';
    int n = 3;
    for (size_t q = static_cast<size_t>(ext) + 1; n > 0 && q < end; --n, ++q)
      out += IsInvalidDosChar(Name[q]) ? '_' : static_cast<char>(ToUpper(Name[q]));
  }
  return out;
}

std::string ShortOfUtf8(std::string_view Utf8) {
  auto points = CodePoints(Utf8);
  // A legal 8.3 name has no alternate name; GetShortPathName then uses the stored name.
  if (IsLegal83(points)) return std::string(Utf8);
  return HashedName(points);
}

} // namespace

namespace detail {
std::string ShortNameOfUnixEntry(std::string_view Utf8) { return ShortOfUtf8(Utf8); }
bool IsLegal83Utf8(std::string_view Utf8) { return IsLegal83(CodePoints(Utf8)); }
} // namespace detail

bool IsLegal83Name(std::string_view Name) { return IsLegal83(CodePoints(AnsiToUtf8(Name))); }

std::string ShortFileName(std::string_view LongName) { return ShortOfUtf8(AnsiToUtf8(LongName)); }

std::string ShortPathName(std::string_view LongPath) {
  std::string path = NormalizeWindowsPath(LongPath);
  std::string unixPath = UnixPathOf(path);
  struct stat st;
  if (::stat(unixPath.c_str(), &st) != 0) RaiseLastFileError("get the short name of", std::string(LongPath));
  if (path.size() < 3 || path[1] != ':') path = WindowsPathOf(unixPath);
  // UnixPathOf matched every component with its stored name; walk the Unix path alongside.
  std::string result = path.substr(0, 2);
  auto target = CurrentDrives().DriveTarget(path[0]);
  std::string rest = target && unixPath.size() >= target->size() ? unixPath.substr(target->size()) : std::string();
  size_t start = 0;
  bool any = false;
  while (start < rest.size()) {
    if (rest[start] == '/') {
      ++start;
      continue;
    }
    size_t stop = rest.find('/', start);
    if (stop == std::string::npos) stop = rest.size();
    result += "\\" + Utf8ToAnsi(ShortOfUtf8(rest.substr(start, stop - start)));
    any = true;
    start = stop;
  }
  if (!any) result += "\\";
  return result;
}

} // namespace qnl
