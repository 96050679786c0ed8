// Listing and unpacking an archive's members.
#include "archive/MemberListing.h"

#include <algorithm>
#include <cstdio>

#include "archive/ArchiveFiles.h"
#include "archive/EQnlfCompress.h"
#include "archive/TQnlfCompress.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::string DateText(TDateTime Date) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
  DecodeDate(Date, year, month, day);
  DecodeTime(Date, hour, minute, second, millis);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
  return text;
}

std::string JsonText(const std::string& Text) {
  std::string json = "\"";
  for (unsigned char c : Text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += char(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else if (c < 0x80) {
      json += char(c);
    } else { // Latin-1 to UTF-8
      json += char(0xC0 | (c >> 6));
      json += char(0x80 | (c & 0x3F));
    }
  }
  return json + "\"";
}

std::string Padded(const std::string& Text, size_t Width) {
  return Text.size() >= Width ? Text : Text + std::string(Width - Text.size(), ' ');
}

// Name, or Name with " (N)" before its extension, whichever is not yet in Used.
std::string FreeName(const std::string& Name, TStringList& Used) {
  std::string candidate = Name;
  for (int n = 2; Used.IndexOf(candidate) >= 0; ++n)
    candidate = ChangeFileExt(Name, "") + " (" + std::to_string(n) + ")" + ExtractFileExt(Name);
  Used.Add(candidate);
  return candidate;
}

// A spanned archive is read from its disk files side by side: each must be there before
// anything is read from them, or a listing would look whole and an unpacking stop half-way.
void CheckDisksBeside(const std::string& File, const TFileHeaders& Headers) {
  if (!Headers.Spanned) return;
  int lastDisk = 1;
  for (int i = 0; i < Headers.Count(); ++i) lastDisk = std::max<int>(lastDisk, Headers.FileHeaders(i).LastDisk());
  for (int disk = 2; disk <= lastDisk; ++disk) {
    std::string name = ChangeFileExt(File, "." + std::to_string(disk));
    if (!ArchiveFiles::FileExists(name))
      throw EQnlfCompress("Disk %d of the archive %s is missing: %s must lie beside it, as every disk of the set does",
                          {disk, File, ExtractFileName(name)});
  }
}

} // namespace

std::vector<TListedMember> ReadArchiveMembers(const std::string& File, int32_t Offset) {
  TQnlfCompress archive(nullptr);
  archive.SetCompressedFile(File);
  archive.SetOffset(Offset);
  archive.OpenArchive();
  std::vector<TListedMember> members;
  const TFileHeaders& headers = archive.FileHeaders();
  CheckDisksBeside(File, headers);
  for (int i = 0; i < headers.Count(); ++i) {
    const TFileHeader& header = headers.FileHeaders(i);
    members.push_back({header.FileName(), header.FileSize(), header.FileDate(), header.FileVersion(), ""});
  }
  return members;
}

std::string MemberTable(const std::vector<TListedMember>& Members) {
  bool destinations = false;
  size_t nameWidth = 4;
  for (const TListedMember& member : Members) {
    destinations = destinations || !member.Destination.empty();
    nameWidth = std::max(nameWidth, member.Name.size());
  }
  auto line = [&](const std::string& Size, const std::string& Date, const std::string& Version, const std::string& Name,
                  const std::string& Destination) {
    std::string text = Padded(Size, 10) + "  " + Padded(Date, 19) + "  " + Padded(Version, 14) + "  ";
    text += destinations ? Padded(Name, nameWidth) + "  " + Destination : Name;
    return TrimRight(text) + "\n";
  };
  std::string table = line("SIZE", "DATE", "VERSION", "NAME", "DESTINATION");
  for (const TListedMember& m : Members)
    table += line(std::to_string(m.Size), DateText(m.Date), m.Version, m.Name, m.Destination);
  return table;
}

std::string MemberJson(const std::vector<TListedMember>& Members) {
  std::string json = "[";
  for (size_t i = 0; i < Members.size(); ++i) {
    const TListedMember& m = Members[i];
    json += std::string(i ? ",\n " : "\n ") + "{\"name\": " + JsonText(m.Name) +
            ", \"size\": " + std::to_string(m.Size) + ", \"date\": " + JsonText(DateText(m.Date)) +
            ", \"version\": " + JsonText(m.Version) + ", \"destination\": " + JsonText(m.Destination) + "}";
  }
  return json + "\n]\n";
}

std::string UnpackedName(const std::string& MemberName) {
  size_t slash = MemberName.find_last_of("\\/");
  std::string name = slash == std::string::npos ? MemberName : MemberName.substr(slash + 1);
  if (Trim(name).empty() || name == "." || name == ".." || name.find(':') != std::string::npos)
    throw EQnlfCompress("The member \"%s\" has no file name it could be unpacked under", {MemberName});
  return name;
}

std::vector<std::string> UnpackArchives(const std::vector<TArchivePlace>& Archives, const std::string& Dir) {
  // Every archive and every name is checked before the first file is written.
  TStringList used;
  std::vector<std::vector<TListedMember>> members;
  std::vector<std::vector<std::string>> names;
  for (const TArchivePlace& place : Archives) {
    members.push_back(ReadArchiveMembers(place.File, place.Offset));
    names.emplace_back();
    for (const TListedMember& member : members.back())
      names.back().push_back(FreeName(UnpackedName(member.Name), used));
  }
  ArchiveFiles::ForceDirectories(Dir);
  std::vector<std::string> written;
  for (size_t a = 0; a < Archives.size(); ++a) {
    TQnlfCompress archive(nullptr);
    archive.SetCompressedFile(Archives[a].File);
    archive.SetOffset(Archives[a].Offset);
    archive.SetExtractDirectory(Dir);
    archive.SetOverwrite(owAlways);
    for (size_t i = 0; i < members[a].size(); ++i) {
      archive.FilesToProcess().Add(members[a][i].Name);
      archive.ExtractName = names[a][i];
      archive.Extract();
      written.push_back(AddBackSlash(Dir) + names[a][i]);
    }
  }
  return written;
}

std::vector<std::string> UnpackArchive(const std::string& File, int32_t Offset, const std::string& Dir) {
  return UnpackArchives({{File, Offset}}, Dir);
}

} // namespace qnl
