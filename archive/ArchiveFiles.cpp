// The archive's file services on top of the platform layer.
#include "archive/ArchiveFiles.h"

#include <algorithm>

#include "platform/OSError.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/process/ProcessWait.h"
#include "platform/system/SystemInfo.h"

namespace qnl::ArchiveFiles {

namespace {

// A file stream whose writes report a full disk as a short count, so that the archive's
// own disk-full handling (another disk, OnFullDisk) sees what the disk accepted.
// One opened for writing is the archive being written, whose size only its own writes change:
// the size is asked for once, not at every progress call.
class TShortWriteFileStream : public TFileStream {
public:
  TShortWriteFileStream(const std::string& Path, uint16_t Mode, bool Writing)
      : TFileStream(Path, Mode), FTrackSize(Writing) {}
  int64_t Size() const override {
    if (!FTrackSize) return TFileStream::Size();
    if (!FSize) FSize = TFileStream::Size();
    return *FSize;
  }
  int64_t Write(const void* Buffer, int64_t Count) override {
    // The position is asked for once after a seek or read, not before every block written.
    int64_t before = FPosition.value_or(-1);
    if (before < 0) before = Position();
    FPosition.reset();
    try {
      int64_t written = TFileStream::Write(Buffer, Count);
      FPosition = before + written;
      if (FSize) FSize = std::max(*FSize, *FPosition);
      return written;
    } catch (const EDiskFull&) {
      FSize.reset();
      int64_t written = Position() - before;
      return written < 0 ? 0 : written;
    }
  }
  int64_t Read(void* Buffer, int64_t Count) override {
    FPosition.reset();
    return TFileStream::Read(Buffer, Count);
  }
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
    FPosition.reset();
    return TFileStream::Seek(Offset, Origin);
  }
  void SetSize(int64_t NewSize) override {
    FPosition.reset();
    FSize.reset();
    TFileStream::SetSize(NewSize);
  }

private:
  std::optional<int64_t> FPosition; // known after a write
  bool FTrackSize;
  mutable std::optional<int64_t> FSize;
};

uint16_t ModeBits(TOpenMode Mode) {
  switch (Mode) {
    case TOpenMode::omReadShared: return fmOpenRead | fmShareDenyNone;
    case TOpenMode::omReadWriteShared: return fmOpenReadWrite | fmShareDenyNone;
    case TOpenMode::omCreate: return fmCreate;
    case TOpenMode::omCreateHeld: return fmCreate | fmShareExclusive;
  }
  return fmOpenRead;
}

} // namespace

bool FileExists(const std::string& Path) {
  try {
    return qnl::FileExists(Path);
  } catch (const Exception&) {
    return false;
  }
}

std::unique_ptr<TStream> Open(const std::string& Path, TOpenMode Mode) {
  try {
    return std::make_unique<TShortWriteFileStream>(Path, ModeBits(Mode), Mode != TOpenMode::omReadShared);
  } catch (const Exception&) {
    return nullptr;
  }
}

namespace {
// The identity a file stream gives (now, or as opened); none for other streams or on failure.
std::optional<TFileIdentity> FileStreamIdentity(const TStream& Stream, bool AsOpened) {
  auto* file = dynamic_cast<const TFileStream*>(&Stream);
  if (!file) return std::nullopt;
  try {
    return AsOpened ? file->OpenedIdentity() : file->Identity();
  } catch (const Exception&) {
    return std::nullopt;
  }
}
} // namespace

std::optional<TFileIdentity> IdentityOf(const TStream& Stream) { return FileStreamIdentity(Stream, false); }

std::optional<TFileIdentity> OpenedIdentityOf(const TStream& Stream) { return FileStreamIdentity(Stream, true); }

void DiskChanged() { ForgetDriveLinks(); }

int64_t ReadAt(const TStream& Stream, void* Buffer, int64_t Count, int64_t Offset) {
  auto* file = dynamic_cast<const TFileStream*>(&Stream);
  if (!file) throw EStreamError("Invalid stream operation");
  return file->ReadAt(Buffer, Count, Offset);
}

bool ForceDirectories(const std::string& Dir) {
  try {
    if (!Dir.empty()) qnl::ForceDirectories(Dir);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool GetFileDate(const std::string& Path, TDateTime& Date) {
  try {
    // The archive keeps dates at the 2-second resolution of the file-date format.
    Date = FileDateToDateTime(DateTimeToFileDate(FileDateTime(Path)));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool GetFileDate(const TFileIdentity& Identity, TDateTime& Date) {
  try {
    Date = FileDateToDateTime(DateTimeToFileDate(FileDateTimeOf(Identity)));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

std::optional<TFileIdentity> IdentityOfPath(const std::string& Path) {
  try {
    return FileIdentityOf(Path);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

bool SetFileDate(const std::string& Path, TDateTime Date) {
  try {
    SetFileDateTime(Path, Date);
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

bool DeleteFile(const std::string& Path) {
  try {
    if (qnl::FileExists(Path)) qnl::DeleteFile(Path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

namespace {
// Whether Replace succeeded; the reason of its failure in *Reason when it is given.
template <class TReplace>
bool Replaced(const TReplace& Replace, std::string* Reason) {
  try {
    Replace();
    return true;
  } catch (const std::exception& e) {
    if (Reason) *Reason = e.what();
    return false;
  }
}
} // namespace

bool ReplaceFile(const std::string& Source, const std::string& Dest, std::string* Reason) {
  return Replaced([&] { ReplaceWithOwnFile(Source, Dest); }, Reason);
}

bool ReplaceHostFile(const std::string& HostSource, const std::string& Source, const std::string& Dest,
                     std::string* Reason) {
  return Replaced([&] { ReplaceWithOwnHostFile(HostSource, Source, Dest); }, Reason);
}

std::vector<std::string> FileNames(const std::string& Dir, const std::string& Mask) {
  std::vector<std::string> names;
  try {
    for (const TDirEntry& entry : ListDirectory(Dir, Mask))
      if (!entry.Directory) names.push_back(entry.Name);
  } catch (const Exception&) {}
  return names;
}

int ProcessId() { return CurrentProcessId(); }

} // namespace qnl::ArchiveFiles
