// The 72-byte file-list record.
#include "engine/FileListRecord.h"

#include <cstring>

#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "rtl/ByteOrder.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr size_t kNameOffset = 12, kNameSize = 40, kVersionOffset = 52, kVersionSize = 20;

void PutText(std::string& Record, size_t Offset, size_t Size, const std::string& Text) {
  std::string cut = Text.substr(0, Size - 1);
  std::memcpy(Record.data() + Offset, cut.data(), cut.size());
}

std::string GetText(std::string_view Bytes, size_t Offset, size_t Size) {
  std::string_view field = Bytes.substr(Offset, Size);
  return std::string(field.substr(0, field.find('\0')));
}

} // namespace

std::string EncodeFileListRecord(const TFileListEntry& Entry) {
  std::string record(kFileListRecordSize, '\0');
  WriteLE32(record, 0, static_cast<uint32_t>(Entry.SourceSize));
  WriteLEDouble(record.data() + 4, Entry.SourceDate);
  PutText(record, kNameOffset, kNameSize, Entry.Name);
  PutText(record, kVersionOffset, kVersionSize, Entry.Version);
  return record;
}

TFileListEntry DecodeFileListRecord(std::string_view Bytes) {
  if (Bytes.size() < kFileListRecordSize) throw EReadError("Stream read error");
  TFileListEntry entry;
  entry.SourceSize = static_cast<int32_t>(ReadLE32(Bytes, 0));
  entry.SourceDate = ReadLEDouble(Bytes, 4);
  entry.Name = GetText(Bytes, kNameOffset, kNameSize);
  entry.Version = GetText(Bytes, kVersionOffset, kVersionSize);
  return entry;
}

std::string FileListRecord(const TCustomInstallFile& File) {
  return EncodeFileListRecord({File.SourceSize(), File.SourceDate(), File.Name(), File.SourceVersion()});
}

bool ApplyFileListEntry(const TFileListEntry& Entry) {
  TCustomInstallFileList& files = InstallSession().InstallFiles;
  for (int i = 0; i < files.Count(); ++i) {
    TCustomInstallFile* file = files.Items(i);
    if (!SameText(file->Name(), Entry.Name)) continue;
    file->SetSourceSize(Entry.SourceSize);
    file->SetSourceDate(Entry.SourceDate);
    file->SetSourceVersion(Entry.Version);
    return true;
  }
  return false;
}

} // namespace qnl
