// The self-extracting setup program: the loading program, setup.1, files.1 and the trailer.
#include "engine/SelfExtractingSetup.h"

#include <limits>
#include <tuple>
#include <utility>

#include "paths/IInstallComponent.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"

namespace qnl {

namespace {

constexpr const char* kCannotAppend = "Cannot create the self-extracting exe because %s could not be loaded onto %s";

// The trailer stores positions as signed 32-bit numbers: a larger file could not be found again.
int32_t TrailerPosition(int64_t Position, const std::string& Archive, const std::string& SetupExe) {
  if (Position < 0 || Position > std::numeric_limits<int32_t>::max())
    throw IEInstall(kCannotAppend, {Archive, SetupExe});
  return static_cast<int32_t>(Position);
}

// Appends the whole of Archive at Target's end; returns the positions of its first and last byte.
std::pair<int32_t, int32_t> AppendArchive(TFileStream& Target, const std::string& Archive) {
  int64_t start = Target.Seek(0, soEnd);
  int64_t copied = 0, size = 0;
  try {
    TFileStream source(Archive, fmOpenRead | fmShareDenyNone);
    size = source.Size();
    // Checked before writing, so that a distribution too large for the trailer is not written at all.
    TrailerPosition(start + size, Archive, Target.FileName());
    copied = size > 0 ? Target.CopyFrom(source, 0) : 0;
  } catch (const IEInstall&) {
    throw;
  } catch (const std::exception&) {
    copied = -1;
  }
  if (copied != size) throw IEInstall(kCannotAppend, {Archive, Target.FileName()});
  return {TrailerPosition(start, Archive, Target.FileName()),
          TrailerPosition(start + size - 1, Archive, Target.FileName())};
}

} // namespace

TSelfExtractInfo AppendSelfExtractingArchives(const std::string& SetupExe, const std::string& Setup1,
                                              const std::string& Files1) {
  TFileStream target(SetupExe, fmOpenReadWrite | fmShareDenyNone);
  TSelfExtractInfo info;
  info.Marker = kSelfExtractingMarker;
  std::tie(info.SetupArchiveStart, info.SetupArchiveEnd) = AppendArchive(target, Setup1);
  if (FileExists(Files1)) std::tie(info.MainArchiveStart, info.MainArchiveEnd) = AppendArchive(target, Files1);
  std::string trailer = info.Encode();
  target.WriteBuffer(trailer.data(), static_cast<int64_t>(trailer.size()));
  return info;
}

void AppendNotSelfExtractTrailer(const std::string& FileName) {
  TSelfExtractInfo info;
  info.Marker = kNotSelfExtractMarker;
  std::string trailer = info.Encode();
  try {
    TFileStream target(FileName, fmOpenReadWrite | fmShareDenyNone);
    target.Seek(0, soEnd);
    target.WriteBuffer(trailer.data(), static_cast<int64_t>(trailer.size()));
  } catch (const std::exception&) {
    throw IEInstall("Cannot add the self-extract info header to %s", {FileName});
  }
}

TSelfExtractInfo ReadSelfExtractInfo(const std::string& FileName) {
  std::string bytes;
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
    int64_t size = file.Size();
    if (size >= TSelfExtractInfo::Size) {
      file.Seek(size - TSelfExtractInfo::Size, soBeginning);
      bytes = file.ReadString(TSelfExtractInfo::Size);
    }
  } catch (const Exception&) {
    bytes.clear(); // cannot be opened or read: the same message as a short file
  }
  if (bytes.size() < static_cast<size_t>(TSelfExtractInfo::Size))
    throw IEInstall("Could not read the extraction info from the archive file %s when trying to find the "
                    "correct offset into the self extracting file",
                    {FileName});
  return TSelfExtractInfo::Decode(bytes);
}

} // namespace qnl
