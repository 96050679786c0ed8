// The few file services the archive needs, on Windows paths, through the platform layer.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/FileStream.h"
#include "rtl/DateTime.h"
#include "rtl/Streams.h"

namespace qnl::ArchiveFiles {

enum class TOpenMode {
  omReadShared,      // existing file, read only, others may read and write
  omReadWriteShared, // existing file, read and write, others may read and write
  omCreate,          // new or emptied file, read and write
  omCreateHeld,      // as Create, and in use for every other opener until it is closed
};

bool FileExists(const std::string& Path);
// The opened file, or nullptr when it cannot be opened or created.
std::unique_ptr<TStream> Open(const std::string& Path, TOpenMode Mode);
// The identity of a file opened by Open; nullopt for another stream or when it is unknown.
std::optional<TFileIdentity> IdentityOf(const TStream& Stream);
// The same as the file was when Open opened it for reading (TFileStream::OpenedIdentity).
std::optional<TFileIdentity> OpenedIdentityOf(const TStream& Stream);
// The identity of the file Path names now; nullopt when there is none.
std::optional<TFileIdentity> IdentityOfPath(const std::string& Path);
// Reads at Offset of a file opened by Open without moving its position; safe on several
// threads at once. Raises on a read error and for another stream.
int64_t ReadAt(const TStream& Stream, void* Buffer, int64_t Count, int64_t Offset);
// Creates a directory with all missing parents; false when that fails.
bool ForceDirectories(const std::string& Dir);
// The last-write date-time in local time, at 2-second resolution; false when unknown.
bool GetFileDate(const std::string& Path, TDateTime& Date);
// The same of a file from its identity.
bool GetFileDate(const TFileIdentity& Identity, TDateTime& Date);
bool SetFileDate(const std::string& Path, TDateTime Date);
// Deletes a file; false when it cannot be deleted (a missing file counts as deleted).
bool DeleteFile(const std::string& Path);
// Renames source, a file this program has just written and closed, over dest, replacing it
// unless another program holds dest; false on failure, with the reason in *reason when it is
// given.
bool ReplaceFile(const std::string& Source, const std::string& Dest, std::string* Reason = nullptr);
// ReplaceFile of a file made in dest's directory, known by its host path too.
bool ReplaceHostFile(const std::string& HostSource, const std::string& Source, const std::string& Dest,
                     std::string* Reason);
// The names of the files in dir that match mask ("*.txt"); none when dir cannot be listed.
std::vector<std::string> FileNames(const std::string& Dir, const std::string& Mask);

// A disk was asked for: the drive links are looked at again (see TDriveLinksHeld).
void DiskChanged();

// This process's id.
int ProcessId();

// The running program's own executable as a Windows path; empty when unknown.
std::string ProgramFileName();

} // namespace qnl::ArchiveFiles
