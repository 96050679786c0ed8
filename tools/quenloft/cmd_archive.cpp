// quenloft list FILE [--json] and quenloft extract FILE DIR: the members of a setup program
// (the archives it carries) or of any archive (files.N, setup.1), without installing.
#include <cstdio>
#include <filesystem>

#include "archive/MemberListing.h"
#include "archive/TSelfExtractInfo.h"
#include "platform/HostFiles.h"
#include "platform/files/WinPaths.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {

struct TArchivePlace {
  std::string File; // Windows path
  int32_t Offset = 0;
};

std::string MachinePath(const std::string& HostPath) {
  return WindowsPathOf(std::filesystem::absolute(HostPath).lexically_normal().string());
}

// A setup program with the self-extract trailer carries its setup archive and perhaps its
// main archive; a loading program with the other trailer has setup.1 beside it; any other
// file is an archive itself.
std::vector<TArchivePlace> ArchivesOf(const std::string& HostPath) {
  std::string file = MachinePath(HostPath);
  TSelfExtractInfo info;
  {
    host::THostFileStream stream(HostPath);
    if (stream.Size() >= TSelfExtractInfo::Size) {
      stream.SetPosition(stream.Size() - TSelfExtractInfo::Size);
      info = TSelfExtractInfo::Decode(stream.ReadString(TSelfExtractInfo::Size));
    }
  }
  if (info.Marker == kSelfExtractingMarker) {
    std::vector<TArchivePlace> places{{file, info.SetupArchiveStart}};
    if (info.MainArchiveStart > 0) places.push_back({file, info.MainArchiveStart});
    return places;
  }
  if (info.Marker == kNotSelfExtractMarker)
    return {{MachinePath((std::filesystem::path(HostPath).parent_path() / "setup.1").string()), 0}};
  return {{file, 0}};
}

void Write(const std::string& S) { std::fwrite(S.data(), 1, S.size(), stdout); }

} // namespace

int CmdList(const TArgs& Args) {
  bool json = Args.size() == 2 && Args[1] == "--json";
  if (Args.size() != 1 && !json) throw Exception("usage: quenloft list FILE [--json]");
  std::vector<TListedMember> members;
  for (const TArchivePlace& place : ArchivesOf(Args[0])) {
    std::vector<TListedMember> some = ReadArchiveMembers(place.File, place.Offset);
    members.insert(members.end(), some.begin(), some.end());
  }
  Write(json ? MemberJson(members) : MemberTable(members));
  return 0;
}

int CmdExtract(const TArgs& Args) {
  if (Args.size() != 2) throw Exception("usage: quenloft extract FILE DIR");
  std::string dir = MachinePath(Args[1]);
  for (const TArchivePlace& place : ArchivesOf(Args[0]))
    for (const std::string& written : UnpackArchive(place.File, place.Offset, dir)) Write(written + "\n");
  return 0;
}

} // namespace qnl::tool
