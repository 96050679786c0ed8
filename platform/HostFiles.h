// Whole-file helpers on Unix paths, for the tools and program entries (which run on the
// host, outside the emulated Windows machine).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/Streams.h"

namespace qnl::host {

// Errors raise EInOutError whose message names the file and the system's reason:
// Cannot read file "/tmp/x": No such file or directory.

std::string ReadWholeFile(const std::string& Path);

enum class TFileMode { fmRegular, fmExecutable };
// Writes Data beside Path under a temporary name, makes it durable, then renames it over
// Path: a reader never sees a half-written file.
void WriteWholeFile(const std::string& Path, std::string_view Data, TFileMode Mode = TFileMode::fmRegular);

// The running program's own file (/proc/self/exe).
std::string RunningExecutablePath();
// The directory part of a path ("." when there is none), without a trailing slash.
std::string DirectoryOf(const std::string& Path);
bool FileExists(const std::string& Path); // a regular file (after symbolic links)

// Runs the host program Program with Args in this process's place, so that its exit status
// and output are this process's; returns only by EOSError when it cannot be started.
[[noreturn]] void ReplaceProcess(const std::string& Program, const std::vector<std::string>& Args);

// A new empty directory of this user's under the host's temporary directory ($TMPDIR, else
// /tmp), its name starting with Prefix.
std::string MakeTemporaryDirectory(const std::string& Prefix);
// Creates the directory Path and the missing ones above it.
void ForceDirectories(const std::string& Path);
// Whether Path names nothing, or a directory with nothing in it.
bool IsMissingOrEmptyDirectory(const std::string& Path);
// Removes Path and everything under it (symbolic links are removed, never followed); nothing
// when it does not exist.
void RemoveDirectoryTree(const std::string& Path);

// A read-only stream over a host file, reading only what is asked for (so that a
// resource directory at the end of a large program is found without reading it all).
class THostFileStream : public TStream {
public:
  explicit THostFileStream(const std::string& Path);
  ~THostFileStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override; // EInOutError: read-only
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() const override { return FSize; }

private:
  std::string FPath;
  int FHandle = -1;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

} // namespace qnl::host
