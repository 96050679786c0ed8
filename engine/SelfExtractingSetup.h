// Joining the distribution files into one setup program, and the trailers that end it.
#pragma once

#include <string>

#include "engine/TSelfExtractInfo.h"

namespace qnl {

inline constexpr const char* kSelfExtractingMarker = "SELFEXTRACTING";
inline constexpr const char* kNotSelfExtractMarker = "NOTSELFEXTRACT";

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

} // namespace qnl
