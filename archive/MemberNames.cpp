// Stored names of archive members: the source path, or a name of its own for a long path.
#include "archive/MemberNames.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "archive/TFileHeaderRecord.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr char kMark = '|';
constexpr size_t kHashDigits = 16;
// The mark, the digits and the backslash in front of the file name.
constexpr size_t kTagSize = 1 + kHashDigits + 1;

// FNV-1a over the path with ASCII letters upper-cased: the same for every spelling that
// finds the same member, and the same on every machine and in every version.
uint64_t PathHash(const std::string& Path) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (char c : UpperCase(Path)) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001B3ull;
  }
  return h;
}

} // namespace

std::string MemberNameOf(const std::string& SourcePath) {
  constexpr size_t room = kMaxHeaderFileName;
  if (SourcePath.size() <= room) return SourcePath;
  std::string fileName = ExtractFileName(SourcePath);
  if (fileName.size() > room - kTagSize) fileName.erase(0, fileName.size() - (room - kTagSize));
  std::string head = SourcePath.substr(0, room - kTagSize - fileName.size());
  return head + kMark + IntToHex(PathHash(SourcePath), kHashDigits) + '\\' + fileName;
}

bool IsLongPathMemberName(const std::string& Name) {
  for (size_t mark = Name.find(kMark); mark != std::string::npos; mark = Name.find(kMark, mark + 1)) {
    if (mark + kTagSize > Name.size() || Name[mark + kTagSize - 1] != '\\') continue;
    auto digits = Name.begin() + static_cast<std::ptrdiff_t>(mark + 1);
    if (std::all_of(digits, digits + kHashDigits, [](unsigned char C) { return std::isxdigit(C); })) return true;
  }
  return false;
}

} // namespace qnl
