// Partial files of extraction: their names, and the removal of those a killed run left.
#include "archive/PartialFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "archive/ArchiveFiles.h"
#include "common/routines_Strings.h"
#include "rtl/SysUtils.h"

namespace qnl::PartialFiles {

namespace {

constexpr std::string_view kPrefix = "~qnl", kSuffix = ".qnlpart";
constexpr size_t kDigits = 12;

bool IsPartialFileName(const std::string& Name) {
  if (Name.size() != kPrefix.size() + kDigits + kSuffix.size() || !StartsText(kPrefix, Name) ||
      !EndsText(kSuffix, Name))
    return false;
  auto digits = Name.begin() + static_cast<std::ptrdiff_t>(kPrefix.size());
  return std::all_of(digits, digits + kDigits, [](unsigned char C) { return std::isxdigit(C); });
}

} // namespace

std::string NewName(const std::string& Dir) {
  // The process id keeps two programs extracting at once apart, the count one program's files.
  static uint32_t count = 0;
  const uint32_t process = static_cast<uint32_t>(ArchiveFiles::ProcessId());
  std::string name;
  for (int tries = 0; tries <= 0xFFFF; ++tries) {
    name = AddBackSlash(Dir) + std::string(kPrefix) + IntToHex(process, 8) + IntToHex(count++ & 0xFFFF, 4) +
           std::string(kSuffix);
    if (!ArchiveFiles::FileExists(name)) break;
  }
  // With every name taken the last one is emptied and reused: it can only be this program's.
  return name;
}

void RemoveLeftovers(const std::string& Dir) {
  for (const std::string& name : ArchiveFiles::FileNames(Dir, std::string(kPrefix) + "*" + std::string(kSuffix)))
    if (IsPartialFileName(name)) ArchiveFiles::DeleteFile(AddBackSlash(Dir) + name);
}

} // namespace qnl::PartialFiles
