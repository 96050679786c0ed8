// Partial files of extraction: their names, and the removal of those a killed run left.
#include "archive/PartialFiles.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>

#include "archive/ArchiveFiles.h"
#include "common/routines_Strings.h"
#include "platform/files/FilesAhead.h"
#include "rtl/SysUtils.h"

namespace qnl::PartialFiles {

namespace {

constexpr std::string_view kPrefix = "~qnl", kSuffix = ".qnlpart";
constexpr size_t kDigits = 12;

// One count for every thread: the main thread's names and the workers' never meet.
std::atomic<uint32_t> count = 0;

std::string NameOf(uint32_t Count) {
  return std::string(kPrefix) + IntToHex(static_cast<uint32_t>(ArchiveFiles::ProcessId()), 8) +
         IntToHex(Count & 0xFFFF, 4) + std::string(kSuffix);
}

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
  std::string name;
  for (int tries = 0; tries <= 0xFFFF; ++tries) {
    name = AddBackSlash(Dir) + NameOf(count++);
    if (!ArchiveFiles::FileExists(name)) break;
  }
  // With every name taken the last one is emptied and reused: it can only be this program's.
  return name;
}

std::string CreateInHostDirectory(const std::string& HostDir, THostFileAhead& File) {
  // Created exclusively: a name taken meanwhile is never opened, the next count is tried.
  for (int tries = 0; tries <= 0xFFFF; ++tries) {
    std::string path = HostDir + "/" + NameOf(count++);
    if (File.Create(path)) return path;
    if (errno != EEXIST) break;
  }
  return {};
}

void RemoveLeftovers(const std::string& Dir) {
  const std::string own = std::string(kPrefix) + IntToHex(static_cast<uint32_t>(ArchiveFiles::ProcessId()), 8);
  for (const std::string& name : ArchiveFiles::FileNames(Dir, std::string(kPrefix) + "*" + std::string(kSuffix)))
    if (IsPartialFileName(name) && !StartsText(own, name)) ArchiveFiles::DeleteFile(AddBackSlash(Dir) + name);
}

} // namespace qnl::PartialFiles
