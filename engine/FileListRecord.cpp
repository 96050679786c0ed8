// The 72-byte file-list record.
#include "engine/FileListRecord.h"

#include <cstring>

#include "engine/InstallRegistries.h"
#include "engine/TCustomInstallFile.h"
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
  uint32_t size = static_cast<uint32_t>(Entry.SourceSize);
  for (int i = 0; i < 4; ++i) record[i] = static_cast<char>((size >> (8 * i)) & 0xFF);
  uint64_t date;
  static_assert(sizeof date == sizeof Entry.SourceDate);
  std::memcpy(&date, &Entry.SourceDate, sizeof date);
  for (int i = 0; i < 8; ++i) record[4 + i] = static_cast<char>((date >> (8 * i)) & 0xFF);
  PutText(record, kNameOffset, kNameSize, Entry.Name);
  PutText(record, kVersionOffset, kVersionSize, Entry.Version);
  return record;
}

TFileListEntry DecodeFileListRecord(std::string_view Bytes) {
  if (Bytes.size() < kFileListRecordSize) throw EReadError("Stream read error");
  TFileListEntry entry;
  uint32_t size = 0;
  for (int i = 0; i < 4; ++i) size |= static_cast<uint32_t>(static_cast<uint8_t>(Bytes[i])) << (8 * i);
  entry.SourceSize = static_cast<int32_t>(size);
  uint64_t date = 0;
  for (int i = 0; i < 8; ++i) date |= static_cast<uint64_t>(static_cast<uint8_t>(Bytes[4 + i])) << (8 * i);
  std::memcpy(&entry.SourceDate, &date, sizeof date);
  entry.Name = GetText(Bytes, kNameOffset, kNameSize);
  entry.Version = GetText(Bytes, kVersionOffset, kVersionSize);
  return entry;
}

std::string FileListRecord(const TCustomInstallFile& File) {
  return EncodeFileListRecord({File.SourceSize(), File.SourceDate(), File.Name(), File.SourceVersion()});
}

bool ApplyFileListEntry(const TFileListEntry& Entry) {
  TCustomInstallFileList& files = AllInstallFiles();
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
