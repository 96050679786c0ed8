// The parts of a shell link that describe its target on the machine: the item list from My
// Computer down to the target, the LinkInfo with the drive, and the header's file facts.
#include <sys/stat.h>

#include <cctype>
#include <ctime>
#include <optional>
#include <vector>

#include "platform/files/ShortNames.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/AnsiText.h"
#include "platform/registry/Registry.h"
#include "platform/shelllink/ShellLinkFormat.h"
#include "platform/system/CodePage.h"
#include "rtl/SysUtils.h"

namespace qnl::shelllink {

namespace {

constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
// CLSID_MyComputer {20D04FE0-3AEA-1069-A2D8-08002B30309D} as stored.
constexpr std::string_view kMyComputerClsid{"\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 16};
constexpr uint64_t kFileTimeOfUnixEpoch = 116444736000000000ULL;

std::optional<struct stat> StatOf(const std::string& Target) {
  struct stat st;
  try {
    if (::stat(UnixPathOf(Target).c_str(), &st) == 0) return st;
  } catch (const Exception&) {
    // A path the machine cannot reach has no facts to tell.
  }
  return std::nullopt;
}

uint64_t FileTimeOf(const struct timespec& Time) {
  return kFileTimeOfUnixEpoch + static_cast<uint64_t>(Time.tv_sec) * 10000000ULL + Time.tv_nsec / 100;
}

// The FAT date (low word) and time (high word) in UTC, as shell items store them.
uint32_t FatDateTimeOf(const struct timespec& Time) {
  struct tm utc {};
  ::gmtime_r(&Time.tv_sec, &utc);
  if (utc.tm_year < 80) return 0;
  uint32_t date = ((utc.tm_year - 80) << 9) | ((utc.tm_mon + 1) << 5) | utc.tm_mday;
  uint32_t time = (utc.tm_hour << 11) | (utc.tm_min << 5) | (utc.tm_sec / 2);
  return date | (time << 16);
}

std::u16string Wide(std::string_view AnsiText) { return Utf8ToWide(AnsiToUtf8(AnsiText)); }

std::vector<std::string> Components(std::string_view Path) {
  std::vector<std::string> parts;
  for (size_t start = 0; start < Path.size();) {
    size_t end = Path.find('\\', start);
    if (end == std::string_view::npos) end = Path.size();
    if (end > start) parts.emplace_back(Path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// A file entry item as Windows XP writes it: the short name in the item, the long name in its
// 0xbeef0004 extension block. Size, date and attributes come from the machine when the entry
// exists; a missing one is a directory unless it is the last.
std::string FileEntryItem(const std::string& Path, const std::string& Name, bool Last) {
  std::optional<struct stat> st = StatOf(Path);
  bool directory = st ? S_ISDIR(st->st_mode) : !Last;
  TByteWriter item;
  item.U16(0); // size, set at the end
  item.U8(directory ? 0x31 : 0x32);
  item.U8(0);
  item.U32(st && !directory ? static_cast<uint32_t>(st->st_size) : 0);
  item.U32(st ? FatDateTimeOf(st->st_mtim) : 0);
  item.U16(static_cast<uint16_t>(directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE));
  std::string shortName = ShortFileName(Name);
  item.Bytes(shortName);
  item.U8(0);
  if (item.Size() % 2) item.U8(0);
  size_t extension = item.Size();
  std::u16string longName = Wide(Name);
  item.U16(static_cast<uint16_t>(22 + 2 * (longName.size() + 1)));
  item.U16(3); // the Windows XP form
  item.U32(0xBEEF0004);
  item.U32(st ? FatDateTimeOf(st->st_ctim) : 0);
  item.U32(st ? FatDateTimeOf(st->st_atim) : 0);
  item.U16(0x14);
  item.U16(0); // no localized name
  for (char16_t c : longName) item.U16(c);
  item.U16(0);
  item.U16(static_cast<uint16_t>(extension));
  std::string bytes = item.Data();
  bytes[0] = static_cast<char>(bytes.size() & 0xFF);
  bytes[1] = static_cast<char>(bytes.size() >> 8);
  return bytes;
}

// DRIVE_REMOVABLE 2, DRIVE_FIXED 3, DRIVE_REMOTE 4, DRIVE_CDROM 5, DRIVE_RAMDISK 6, from the
// type Wine records for the drive (HKLM\Software\Wine\Drives "x:"); fixed when none is given.
uint32_t DriveType(char Letter) {
  std::string type;
  try {
    if (auto key = TRegKey::Open(TRootKey::rkLocalMachine, "Software\\Wine\\Drives"))
      type = key->ReadString(std::string(1, static_cast<char>(std::tolower(Letter))) + ":").value_or("");
  } catch (const ERegistry&) {}
  if (SameText(type, "floppy")) return 2;
  if (SameText(type, "network")) return 4;
  if (SameText(type, "cdrom")) return 5;
  if (SameText(type, "ramdisk")) return 6;
  return 3;
}

} // namespace

TTargetFacts InspectTarget(const std::string& Target) {
  TTargetFacts facts;
  std::optional<struct stat> st = StatOf(Target);
  if (!st) return facts;
  bool directory = S_ISDIR(st->st_mode);
  facts.Attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  facts.CreationTime = FileTimeOf(st->st_ctim);
  facts.AccessTime = FileTimeOf(st->st_atim);
  facts.WriteTime = FileTimeOf(st->st_mtim);
  facts.Size = directory ? 0 : static_cast<uint32_t>(st->st_size);
  return facts;
}

std::string TargetIDList(const std::string& Target) {
  TByteWriter items;
  items.U16(0x14);
  items.U8(0x1F);
  items.U8(0x50); // the sort index of My Computer
  items.Bytes(kMyComputerClsid);
  std::string drive = UpperCase(Target.substr(0, 2)) + "\\";
  items.U16(0x19);
  items.U8(0x2F);
  items.Bytes(drive);
  for (size_t i = drive.size(); i < 22; ++i) items.U8(0);
  std::vector<std::string> parts = Components(std::string_view(Target).substr(3));
  std::string path = drive;
  for (size_t i = 0; i < parts.size(); ++i) {
    path += (i ? "\\" : "") + parts[i];
    items.Bytes(FileEntryItem(path, parts[i], i + 1 == parts.size()));
  }
  items.U16(0);
  TByteWriter list;
  list.U16(static_cast<uint16_t>(items.Size()));
  list.Bytes(items.Data());
  return list.Data();
}

std::string TargetLinkInfo(const std::string& Target) {
  TByteWriter volume;
  volume.U32(0x11); // the VolumeID: its size, with an empty label
  volume.U32(DriveType(Target[0]));
  volume.U32(0); // serial number
  volume.U32(0x10);
  volume.U8(0);
  const uint32_t basePath = kLinkInfoHeaderSize + static_cast<uint32_t>(volume.Size());
  const uint32_t suffix = basePath + static_cast<uint32_t>(Target.size()) + 1;
  TByteWriter info;
  info.U32(suffix + 1);
  info.U32(kLinkInfoHeaderSize);
  info.U32(VolumeIDAndLocalBasePath);
  info.U32(kLinkInfoHeaderSize);
  info.U32(basePath);
  info.U32(0); // no network location
  info.U32(suffix);
  info.Bytes(volume.Data());
  info.Bytes(Target);
  info.U8(0);
  info.U8(0); // empty common path suffix
  return info.Data();
}

} // namespace qnl::shelllink
