// Looking inside the distribution and naming the install log.
#include "tools/loader/LookOptions.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "archive/MemberListing.h"
#include "archive/TSelfExtractInfo.h"
#include "common/InstallLog.h"
#include "platform/files/FileStream.h"
#include "platform/files/WinPaths.h"
#include "platform/system/Environment.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

// The setup program's own variables, named where it reads them.
constexpr const char* kListVariable = "QUENLOFT_LIST";

bool Has(const std::vector<std::string>& Arguments, const std::string& Option) {
  return std::find(Arguments.begin(), Arguments.end(), Option) != Arguments.end();
}

// The word after Option; ELoadProgram when Option ends the line.
std::optional<std::string> ValueOf(const std::vector<std::string>& Arguments, const std::string& Option) {
  auto at = std::find(Arguments.begin(), Arguments.end(), Option);
  if (at == Arguments.end()) return std::nullopt;
  if (at + 1 == Arguments.end()) throw ELoadProgram(Option + " needs a value");
  return *(at + 1);
}

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

std::optional<int> RunExtractOption(const std::vector<std::string>& Arguments, const TSetupArchiveSource& Source) {
  std::optional<std::string> dir = ValueOf(Arguments, "--extract");
  if (!dir) return std::nullopt;
  std::string target = WindowsPathOf(AbsoluteHostPath(*dir));
  try {
    for (const auto& [file, offset] : Archives(Source))
      for (const std::string& written : UnpackArchive(file, offset, target)) Write(written + "\n");
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot unpack %s into %s: %s", {Source.File, *dir, e.Message()}));
  }
  return 0;
}

bool PassListOption(const std::vector<std::string>& Arguments) {
  if (!Has(Arguments, "--list")) return false;
  SetEnvironmentVariable(kListVariable, Has(Arguments, "--json") ? "json" : "table");
  return true;
}

void PassLogOption(const std::vector<std::string>& Arguments) {
  if (std::optional<std::string> log = ValueOf(Arguments, "--log"))
    SetEnvironmentVariable(kInstallLogVariable, AbsoluteHostPath(*log));
}

} // namespace qnl
