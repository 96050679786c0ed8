// Stored names of archive members: the source path, or a name of its own for a long path.
#include "archive/MemberNames.h"

#include <cstdint>

#include "archive/TFileHeaderRecord.h"
#include "common/routines_Strings.h"

namespace qnl {

namespace {

constexpr char kMark = '|';
constexpr size_t kHashDigits = 16;
// The mark, the digits and the backslash in front of the file name.
constexpr size_t kTagSize = 1 + kHashDigits + 1;

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// FNV-1a over the path with ASCII letters upper-cased: the same for every spelling that
// finds the same member, and the same on every machine and in every version.
uint64_t PathHash(const std::string& Path) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (char c : Path) {
    h ^= static_cast<unsigned char>(AsciiUpper(c));
    h *= 0x100000001B3ull;
  }
  return h;
}

std::string HexDigits(uint64_t Value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s(kHashDigits, '0');
  for (size_t i = kHashDigits; i-- > 0; Value >>= 4) s[i] = kDigits[Value & 15];
  return s;
}

} // namespace

std::string MemberNameOf(const std::string& SourcePath) {
  constexpr size_t room = kMaxHeaderFileName;
  if (SourcePath.size() <= room) return SourcePath;
  std::string fileName = ExtractFileName(SourcePath);
  if (fileName.size() > room - kTagSize) fileName.erase(0, fileName.size() - (room - kTagSize));
  std::string head = SourcePath.substr(0, room - kTagSize - fileName.size());
  return head + kMark + HexDigits(PathHash(SourcePath)) + '\\' + fileName;
}

bool IsLongPathMemberName(const std::string& Name) {
  for (size_t mark = Name.find(kMark); mark != std::string::npos; mark = Name.find(kMark, mark + 1)) {
    if (mark + kTagSize > Name.size() || Name[mark + kTagSize - 1] != '\\') continue;
    bool digits = true;
    for (size_t i = mark + 1; i < mark + 1 + kHashDigits; ++i) digits = digits && IsHexDigit(Name[i]);
    if (digits) return true;
  }
  return false;
}

} // namespace qnl
