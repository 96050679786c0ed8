// Where a distribution's archives lie.
#include "archive/DistributionArchives.h"

#include "archive/ArchiveFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/TSelfExtractInfo.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

TSelfExtractInfo TrailerOf(const std::string& File) {
  std::unique_ptr<TStream> stream = ArchiveFiles::Open(File, ArchiveFiles::TOpenMode::omReadShared);
  if (!stream) throw EQnlfCompress("Cannot open the file %s", {File});
  if (stream->Size() < TSelfExtractInfo::Size) return {};
  stream->SetPosition(stream->Size() - TSelfExtractInfo::Size);
  return TSelfExtractInfo::Decode(stream->ReadString(TSelfExtractInfo::Size));
}

} // namespace

std::vector<TArchivePlace> DistributionArchives(const std::string& File) {
  TSelfExtractInfo info = TrailerOf(File);
  if (info.Marker == kSelfExtractingMarker) {
    std::vector<TArchivePlace> places{{File, info.SetupArchiveStart}};
    if (info.MainArchiveStart > 0) places.push_back({File, info.MainArchiveStart});
    return places;
  }
  if (info.Marker != kNotSelfExtractMarker) return {{File, 0}};
  std::vector<TArchivePlace> places;
  std::string dir = AddBackSlash(ExtractFileDir(File));
  for (const char* name : {"setup.1", "files.1"})
    if (ArchiveFiles::FileExists(dir + name)) places.push_back({dir + name, 0});
  if (places.empty())
    throw EQnlfCompress("Neither setup.1 nor files.1 lies beside %s, whose archives are not inside it", {File});
  return places;
}

} // namespace qnl
