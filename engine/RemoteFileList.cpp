// The remote file list of a network distribution.
#include "engine/RemoteFileList.h"

#include "engine/FileListRecord.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "paths/IInstallComponent.h"
#include "platform/files/FileStream.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {
constexpr const char* kUnreadableList = "Cannot read the remote list of files: %s";

// Reads exactly Count bytes or reports the list as unreadable.
std::string ReadExactly(TStream& Stream, size_t Count, const std::string& Path) {
  std::string bytes(Count, '\0');
  if (Stream.Read(bytes.data(), static_cast<int64_t>(Count)) != static_cast<int64_t>(Count))
    throw IEInstall(kUnreadableList, {Path});
  return bytes;
}
} // namespace

void ReadRemoteFileList(const std::string& Path) {
  std::unique_ptr<TFileStream> stream;
  try {
    stream = std::make_unique<TFileStream>(Path, fmOpenRead | fmShareDenyNone);
  } catch (const std::exception&) {
    throw IEInstall(kUnreadableList, {Path});
  }
  std::string countBytes = ReadExactly(*stream, 4, Path);
  int32_t count = static_cast<int32_t>(ReadLE32(countBytes, 0));
  // A negative count reads no record, as a loop up to it would.
  for (int32_t i = 0; i < count; ++i)
    ApplyFileListEntry(DecodeFileListRecord(ReadExactly(*stream, kFileListRecordSize, Path)));
}

int WriteRemoteFileList(const std::string& Path) {
  std::string records;
  int32_t count = 0;
  TCustomInstallFileList& files = InstallSession().InstallFiles;
  for (int i = 0; i < files.Count(); ++i) {
    TCustomInstallFile* file = files.Items(i);
    if (file->Archived() != 1 && file->Archived() != 2) continue;
    records += FileListRecord(*file);
    ++count;
  }
  std::string bytes;
  AppendLE32(bytes, static_cast<uint32_t>(count));
  bytes += records;
  TFileStream stream(Path, fmCreate);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return count;
}

} // namespace qnl
