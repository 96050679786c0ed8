// Looking inside an archive without installing: its members listed as a table or JSON, and
// every member unpacked into one directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rtl/DateTime.h"

namespace qnl {

// One member as the archive's table describes it; Destination is where an installation would
// put it (blank when only the archive is known).
struct TListedMember {
  std::string Name;
  int64_t Size = 0;
  TDateTime Date = 0;
  std::string Version;
  std::string Destination;
};

// Where one archive starts: byte Offset of File (its first disk file when spanned).
struct TArchivePlace {
  std::string File;
  int32_t Offset = 0;
};

// The members of the archive whose first (or only) file is File, its table at Offset.
// EQnlfCompress for a file that is no archive, and for a spanned archive whose disk files
// (files.2, files.3... for files.1) do not all lie beside its first, naming the first missing.
std::vector<TListedMember> ReadArchiveMembers(const std::string& File, int32_t Offset = 0);

// A table with a header line, one member a line: size, date ("YYYY-MM-DD HH:MM:SS"), version,
// name, and the destination column when any member has one.
std::string MemberTable(const std::vector<TListedMember>& Members);
// A JSON array of objects {"name", "size", "date", "version", "destination"}; texts are the
// archive's bytes taken as Latin-1.
std::string MemberJson(const std::vector<TListedMember>& Members);

// The file name a member is unpacked under: the last part of its name after "\" or "/", so
// that absolute names, drive letters and ".." never lead out of the directory; a member whose
// last part is blank, "." or ".." (or holds a ':') is refused with EQnlfCompress naming it.
std::string UnpackedName(const std::string& MemberName);

// Unpacks every member of the archives, in order, into Dir (made when missing) under its
// UnpackedName; a later member whose name was already used, in the same archive or an earlier
// one, gets " (2)", " (3)"... before its extension. Returns the files written. Nothing is
// written outside Dir, and nothing at all when a member name is hostile or a disk is missing:
// every archive is checked before the first file is written.
std::vector<std::string> UnpackArchives(const std::vector<TArchivePlace>& Archives, const std::string& Dir);
// The same for one archive.
std::vector<std::string> UnpackArchive(const std::string& File, int32_t Offset, const std::string& Dir);

} // namespace qnl
