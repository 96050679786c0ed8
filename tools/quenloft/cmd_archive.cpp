// quenloft list FILE [--json] and quenloft extract FILE DIR: the members of a setup program
// (the archives it carries or has beside it) or of any archive (files.1, setup.1), without
// installing.
#include <cstdio>
#include <filesystem>

#include "archive/DistributionArchives.h"
#include "platform/files/WinPaths.h"
#include "rtl/SysUtils.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {

std::string MachinePath(const std::string& HostPath) {
  return WindowsPathOf(std::filesystem::absolute(HostPath).lexically_normal().string());
}

void Write(const std::string& S) { std::fwrite(S.data(), 1, S.size(), stdout); }

} // namespace

int CmdList(const TArgs& Args) {
  bool json = Args.size() == 2 && Args[1] == "--json";
  if (Args.size() != 1 && !json) throw Exception("usage: quenloft list FILE [--json]");
  std::vector<TListedMember> members;
  for (const TArchivePlace& place : DistributionArchives(MachinePath(Args[0]))) {
    std::vector<TListedMember> some = ReadArchiveMembers(place.File, place.Offset);
    members.insert(members.end(), some.begin(), some.end());
  }
  Write(json ? MemberJson(members) : MemberTable(members));
  return 0;
}

int CmdExtract(const TArgs& Args) {
  if (Args.size() != 2) throw Exception("usage: quenloft extract FILE DIR");
  for (const std::string& written : UnpackArchives(DistributionArchives(MachinePath(Args[0])), MachinePath(Args[1])))
    Write(written + "\n");
  return 0;
}

} // namespace qnl::tool
