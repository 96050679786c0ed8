// Where the loading program finds its setup archive: inside itself or beside it.
#pragma once

#include <cstdint>
#include <string>

namespace qnl {

// The bytes of one setup archive: the archive starts at Offset in File and its last byte is
// LastByte (inclusive); both lie inside File.
struct TSetupArchiveSource {
  std::string File;
  int32_t Offset = 0;
  int64_t LastByte = -1;
  bool SelfExtracting = false;
};

// The file name of the setup archive beside a loading program.
constexpr const char* kSetupArchiveName = "setup.1";

// Reads the trailer at the end of ProgramFile. A "SELFEXTRACTING" trailer gives the setup
// archive inside ProgramFile; a "NOTSELFEXTRACT" trailer, or none on a file that is the
// loading program alone, gives setup.1 in the directory of ProgramFile. ELoadProgram when
// ProgramFile cannot be read, when the trailer points outside the file, when a file without
// a trailer is longer or shorter than the program (a damaged download), or when there is no
// setup.1 beside it.
TSetupArchiveSource FindSetupArchive(const std::string& ProgramFile);

} // namespace qnl
