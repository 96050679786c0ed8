// The 72-byte record of one archived file in "filelist.lst": its size, date, name and version.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtl/DateTime.h"

namespace qnl {

class TCustomInstallFile;

constexpr size_t kFileListRecordSize = 72;

// One record's fields; Name is the install file's component name.
struct TFileListEntry {
  int32_t SourceSize = 0;
  TDateTime SourceDate = 0;
  std::string Name;    // at most 39 characters are stored
  std::string Version; // at most 19 characters are stored
};

// The record of File: size (little-endian), date (IEEE double), then name and version, each
// zero-terminated and cut to fit.
std::string FileListRecord(const TCustomInstallFile& File);
std::string EncodeFileListRecord(const TFileListEntry& Entry);
// Bytes must hold at least 72 bytes; a field without its terminator ends at its field's end.
TFileListEntry DecodeFileListRecord(std::string_view Bytes);
// Sets SourceSize, SourceDate and SourceVersion of the install file whose name matches
// Entry's, ignoring case; False when there is none.
bool ApplyFileListEntry(const TFileListEntry& Entry);

} // namespace qnl
