// Finding the setup archive through the self-extract trailer.
#include "tools/loader/SetupArchiveSource.h"

#include "archive/TSelfExtractInfo.h"
#include "common/routines_Strings.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/ProgramImage.h"
#include "rtl/SysUtils.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

struct TTrailer {
  TSelfExtractInfo Info;
  int64_t FileSize = 0;
  int64_t ProgramSize = 0; // the loading program's own bytes at the start of the file
};

TTrailer ReadTrailer(const std::string& ProgramFile) {
  TTrailer trailer;
  try {
    TFileStream file(ProgramFile, fmOpenRead | fmShareDenyNone);
    trailer.FileSize = file.Size();
    trailer.ProgramSize = ProgramImageSize(ProgramFile);
    // A file shorter than a trailer simply has none.
    if (trailer.FileSize >= TSelfExtractInfo::Size) {
      file.Seek(trailer.FileSize - TSelfExtractInfo::Size, soBeginning);
      trailer.Info = TSelfExtractInfo::Decode(file.ReadString(TSelfExtractInfo::Size));
    }
  } catch (const Exception& e) {
    throw ELoadProgram(Format("cannot read the program file %s: %s", {ProgramFile, e.Message()}));
  }
  return trailer;
}

} // namespace

TSetupArchiveSource FindSetupArchive(const std::string& ProgramFile) {
  TTrailer trailer = ReadTrailer(ProgramFile);
  const TSelfExtractInfo& info = trailer.Info;
  if (info.Marker == kSelfExtractingMarker) {
    // The archive must lie between the program's own bytes and the trailer; anything else is
    // a damaged file, and reading it would unpack whatever lies at the forged position.
    int64_t trailerStart = trailer.FileSize - TSelfExtractInfo::Size;
    if (info.SetupArchiveStart <= 0 || info.SetupArchiveEnd < info.SetupArchiveStart ||
        info.SetupArchiveEnd >= trailerStart)
      throw ELoadProgram(
          Format("the self-extract information of %s points outside the file: the setup archive is "
                 "said to take bytes %d to %d of a file whose trailer starts at byte %s",
                 {ProgramFile, info.SetupArchiveStart, info.SetupArchiveEnd, std::to_string(trailerStart)}));
    return {ProgramFile, info.SetupArchiveStart, info.SetupArchiveEnd, true};
  }
  // Without a trailer the file is the bare loading program; anything longer lost its end, and
  // the archives beside it may belong to another distribution altogether.
  if (info.Marker != kNotSelfExtractMarker && trailer.FileSize != trailer.ProgramSize)
    throw ELoadProgram(Format("%s is damaged, perhaps an incomplete download: it has %s bytes where the loading "
                              "program alone has %s, and no self-extract information at its end; get it again",
                              {ProgramFile, std::to_string(trailer.FileSize), std::to_string(trailer.ProgramSize)}));
  std::string beside = AddBackSlash(ExtractFileDir(ProgramFile)) + kSetupArchiveName;
  if (!FileExists(beside)) throw ELoadProgram(Format("cannot find the setup archive %s beside the program", {beside}));
  return {beside, 0, FileSizeOf(beside) - 1, false};
}

} // namespace qnl
