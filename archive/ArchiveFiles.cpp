// The archive's file services on top of the platform layer.
#include "archive/ArchiveFiles.h"

#include "platform/OSError.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/process/Process.h"
#include "platform/system/SystemInfo.h"

namespace qnl::ArchiveFiles {

namespace {

// A file stream whose writes report a full disk as a short count, so that the archive's
// own disk-full handling (another disk, OnFullDisk) sees what the disk accepted.
class TShortWriteFileStream : public TFileStream {
public:
  using TFileStream::TFileStream;
  int64_t Write(const void* Buffer, int64_t Count) override {
    int64_t before = Position();
    try {
      return TFileStream::Write(Buffer, Count);
    } catch (const EDiskFull&) {
      int64_t written = Position() - before;
      return written < 0 ? 0 : written;
    }
  }
};

uint16_t ModeBits(TOpenMode mode) {
  switch (mode) {
  case TOpenMode::ReadShared: return fmOpenRead | fmShareDenyNone;
  case TOpenMode::ReadWriteShared: return fmOpenReadWrite | fmShareDenyNone;
  case TOpenMode::Create: return fmCreate;
  case TOpenMode::CreateHeld: return fmCreate | fmShareExclusive;
  }
  return fmOpenRead;
}

} // namespace

bool FileExists(const std::string& path) {
  try {
    return qnl::FileExists(path);
  } catch (const Exception&) {
    return false;
  }
}

std::unique_ptr<TStream> Open(const std::string& path, TOpenMode mode) {
  try {
    return std::make_unique<TShortWriteFileStream>(path, ModeBits(mode));
  } catch (const Exception&) {
    return nullptr;
  }
}

bool ForceDirectories(const std::string& dir) {
  try {
    if (!dir.empty()) qnl::ForceDirectories(dir);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool GetFileDate(const std::string& path, TDateTime& date) {
  try {
    // The archive keeps dates at the 2-second resolution of the file-date format.
    date = FileDateToDateTime(DateTimeToFileDate(FileDateTime(path)));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool SetFileDate(const std::string& path, TDateTime date) {
  try {
    SetFileDateTime(path, date);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

std::string ProgramFileName() {
  try {
    return ModuleFileName();
  } catch (const Exception&) {
    return {};
  }
}

bool DeleteFile(const std::string& path) {
  try {
    if (qnl::FileExists(path)) qnl::DeleteFile(path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool ReplaceFile(const std::string& source, const std::string& dest, std::string* reason) {
  try {
    MoveFile(source, dest, TExisting::exReplace);
    return true;
  } catch (const std::exception& e) {
    if (reason) *reason = e.what();
    return false;
  }
}

std::vector<std::string> FileNames(const std::string& dir, const std::string& mask) {
  std::vector<std::string> names;
  try {
    for (const TDirEntry& entry : ListDirectory(dir, mask))
      if (!entry.Directory) names.push_back(entry.Name);
  } catch (const Exception&) {
  }
  return names;
}

int ProcessId() { return CurrentProcessId(); }

} // namespace qnl::ArchiveFiles
