// Files and directories named by Windows paths: tests, dates, copy, move, delete, listing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/FileStream.h"
#include "rtl/DateTime.h"

namespace qnl {

// What to do when the destination of a copy or move exists already.
enum class TExisting { exFail, exReplace };

// One entry of a directory listing.
struct TDirEntry {
  std::string Name; // long name as stored
  bool Directory = false;
  int64_t Size = 0;   // 0 for directories
  TDateTime Time = 0; // last write, local time
};

// What a path names, links followed: nothing, a file (anything but a directory) or a directory.
enum class TPathKind { pkNothing, pkFile, pkDirectory };
TPathKind PathKind(std::string_view Path);
// True when FileName names an existing file (not a directory).
bool FileExists(std::string_view FileName);
// True when Dir names an existing directory.
bool DirectoryExists(std::string_view Dir);
// Size in bytes; EInOutError when the file does not exist.
int64_t FileSizeOf(std::string_view FileName);
// Last write time in local time; EInOutError when the file does not exist.
TDateTime FileDateTime(std::string_view FileName);
// The same of a file already open, from its identity's modification time.
TDateTime FileDateTimeOf(const TFileIdentity& Identity);
// The identity of the file FileName names (links followed); nullopt when there is none.
std::optional<TFileIdentity> FileIdentityOf(std::string_view FileName);
// The current local date and time.
TDateTime Now();
// Sets the last write time (local time).
void SetFileDateTime(std::string_view FileName, TDateTime Time);

// Copies the bytes and the last write time. With exFail an existing destination is an error.
// A destination in use raises EFileInUse; a full disk EDiskFull (the partial copy is removed).
void CopyFile(std::string_view Source, std::string_view Dest, TExisting Existing);
// Moves or renames a file or directory, across file systems too.
void MoveFile(std::string_view Source, std::string_view Dest, TExisting Existing);
// MoveFile with exReplace of a file this process has just written under a name of its own and
// closed: nobody else has a reason to hold it, so it is not asked whether it is in use.
void ReplaceWithOwnFile(std::string_view Source, std::string_view Dest);
// ReplaceWithOwnFile of a file this process made in Dest's directory, named by its host path
// HostSource as well (Source, its Windows path, names it in messages): it is not looked up.
void ReplaceWithOwnHostFile(const std::string& HostSource, std::string_view Source, std::string_view Dest);
// Deletes a file. As on Windows, a file in use cannot be deleted: EFileInUse while another
// holder has a lock on it (flock or fcntl); EInOutError when it does not exist.
void DeleteFile(std::string_view FileName);
// True while another holder has a lock on the file (the in-use rule); False for a missing file.
bool FileInUse(std::string_view FileName);

// Creates Dir and every missing parent; an existing directory is fine.
void ForceDirectories(std::string_view Dir);
// Removes an empty directory.
void RemoveDir(std::string_view Dir);
// Removes a directory with everything below it; a missing one is fine. Files in use stay and
// make it fail with EFileInUse after everything else was removed.
void DeleteTree(std::string_view Dir);
// The entries of Dir whose names match Mask ("*", "*.txt", "a?c.*"; case ignored), sorted
// by name ignoring case; "." and ".." are left out.
std::vector<TDirEntry> ListDirectory(std::string_view Dir, std::string_view Mask = "*");
// True when Name matches the DOS wildcard Mask ignoring case.
bool MatchesMask(std::string_view Name, std::string_view Mask);
// Free bytes available to this user on the disk that holds Path (which must exist).
int64_t DiskFree(std::string_view Path);

} // namespace qnl
