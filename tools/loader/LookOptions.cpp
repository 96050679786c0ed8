// Unpacking the distribution without installing.
#include "tools/loader/LookOptions.h"

#include <cstdio>
#include <filesystem>

#include "archive/MemberListing.h"
#include "archive/TSelfExtractInfo.h"
#include "platform/files/FileStream.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

std::string AbsoluteHostPath(const std::string& Path) {
  return std::filesystem::absolute(Path).lexically_normal().string();
}

// The distribution's archives: the setup archive, and a self-extracting file's main archive.
std::vector<std::pair<std::string, int32_t>> Archives(const TSetupArchiveSource& Source) {
  std::vector<std::pair<std::string, int32_t>> archives{{Source.File, Source.Offset}};
  if (!Source.SelfExtracting) return archives;
  TFileStream file(Source.File, fmOpenRead | fmShareDenyNone);
  file.Seek(file.Size() - TSelfExtractInfo::Size, soBeginning);
  TSelfExtractInfo info = TSelfExtractInfo::Decode(file.ReadString(TSelfExtractInfo::Size));
  if (info.MainArchiveStart > 0) archives.emplace_back(Source.File, info.MainArchiveStart);
  return archives;
}

void Write(const std::string& S) { std::fwrite(S.data(), 1, S.size(), stdout); }

} // namespace

int ExtractDistribution(const std::string& Dir, const TSetupArchiveSource& Source) {
  std::string target = WindowsPathOf(AbsoluteHostPath(Dir));
  try {
    for (const auto& [file, offset] : Archives(Source))
      for (const std::string& written : UnpackArchive(file, offset, target)) Write(written + "\n");
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot unpack %s into %s: %s", {Source.File, Dir, e.Message()}));
  }
  return 0;
}

} // namespace qnl
