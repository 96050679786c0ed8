// Joining the distribution files into one setup program, and the trailers that end it.
#pragma once

#include <string>

#include "archive/TSelfExtractInfo.h"

namespace qnl {

// Appends Setup1 and, when it exists, Files1 to the end of SetupExe, then the trailer
// "SELFEXTRACTING" with their positions (MainArchiveStart and MainArchiveEnd stay 0 without
// Files1); returns the trailer written. IEInstall "Cannot create the self-extracting exe
// because %s could not be loaded onto %s" when an archive cannot be read or appended whole,
// and when the file would outgrow the trailer's 32-bit positions.
TSelfExtractInfo AppendSelfExtractingArchives(const std::string& SetupExe, const std::string& Setup1,
                                              const std::string& Files1);

// Appends the trailer "NOTSELFEXTRACT" with all other bytes zero to FileName. IEInstall
// "Cannot add the self-extract info header to %s" when it cannot be written whole.
void AppendNotSelfExtractTrailer(const std::string& FileName);

// Reads the trailer from the last 56 bytes of FileName (opened for reading, shared). A file
// that cannot be opened or is shorter than 56 bytes raises IEInstall "Could not read the
// extraction info from the archive file %s ...".
TSelfExtractInfo ReadSelfExtractInfo(const std::string& FileName);

} // namespace qnl
