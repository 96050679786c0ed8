// Partial files of extraction: their names, and the removal of those a killed run left.
#include "archive/PartialFiles.h"

#include <cstdint>

#include "archive/ArchiveFiles.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl::PartialFiles {

namespace {

constexpr const char* kPrefix = "~qnl";
constexpr const char* kSuffix = ".qnlpart";
constexpr size_t kDigits = 12;

std::string Hex(uint64_t Value, size_t Digits) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s(Digits, '0');
  for (size_t i = Digits; i-- > 0; Value >>= 4) s[i] = kHex[Value & 15];
  return s;
}

bool IsPartialFileName(const std::string& Name) {
  const size_t prefix = 4, suffix = 8;
  if (Name.size() != prefix + kDigits + suffix || !StartsText(kPrefix, Name) || !EndsText(kSuffix, Name)) return false;
  for (size_t i = prefix; i < prefix + kDigits; ++i) {
    char c = Name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

} // namespace

std::string NewName(const std::string& Dir) {
  // The process id keeps two programs extracting at once apart, the count one program's files.
  static uint32_t count = 0;
  const uint64_t process = static_cast<uint32_t>(ArchiveFiles::ProcessId());
  std::string name;
  for (int tries = 0; tries <= 0xFFFF; ++tries) {
    name = AddBackSlash(Dir) + kPrefix + Hex(process, 8) + Hex(count++ & 0xFFFF, 4) + kSuffix;
    if (!ArchiveFiles::FileExists(name)) break;
  }
  // With every name taken the last one is emptied and reused: it can only be this program's.
  return name;
}

void RemoveLeftovers(const std::string& Dir) {
  for (const std::string& name : ArchiveFiles::FileNames(Dir, std::string(kPrefix) + "*" + kSuffix))
    if (IsPartialFileName(name)) ArchiveFiles::DeleteFile(AddBackSlash(Dir) + name);
}

} // namespace qnl::PartialFiles
