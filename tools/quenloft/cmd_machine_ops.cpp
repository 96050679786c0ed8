// quenloft machine create|version|pending|restart: look after the emulated Windows machine.
#include <algorithm>
#include <cstdio>

#include "platform/Machine.h"
#include "platform/files/DelayedMoves.h"
#include "platform/files/Files.h"
#include "platform/process/Restart.h"
#include "platform/registry/Registry.h"
#include "platform/system/CodePage.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {

void Print(const std::string& Line) { std::printf("%s\n", AnsiToUtf8(Line).c_str()); }

int MachineCreate(const TArgs& Args) {
  if (!Args.empty()) throw Exception("usage: quenloft machine create");
  TMachine& machine = TMachine::Current();
  machine.Create();
  Print("Machine ready in " + machine.Directory());
  return 0;
}

int MachineVersion(const TArgs& Args) {
  if (Args.size() > 1) throw Exception("usage: quenloft machine version [NAME]");
  if (Args.size() == 1) SetWindowsVersionName(Args[0]);
  TOSVersionInfo info;
  if (!GetVersionEx(info))
    throw Exception(Format("The machine's Windows version \"%s\" is not known", {WindowsVersionName()}));
  const char* platform = info.dwPlatformId == VER_PLATFORM_WIN32s          ? "Win32s"
                         : info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? "Windows 95 family"
                         : info.dwPlatformId == VER_PLATFORM_WIN32_NT      ? "Windows NT"
                                                                           : "another platform";
  Print(Format(
      "%s: %s %d.%d build %d%s",
      {WindowsVersionName(), std::string(platform), int64_t(info.dwMajorVersion), int64_t(info.dwMinorVersion),
       int64_t(info.dwBuildNumber & 0xFFFF),
       info.szCSDVersion.empty() || Trim(info.szCSDVersion).empty() ? std::string() : " " + Trim(info.szCSDVersion)}));
  return 0;
}

int MachinePending(const TArgs& Args) {
  if (!Args.empty()) throw Exception("usage: quenloft machine pending");
  int count = 0;
  if (FileExists(WindowsDirectory() + "\\WININIT.INI")) {
    for (const auto& r : WininitRenames()) {
      Print("WININIT.INI          " + r.Dest + "=" + r.Source);
      ++count;
    }
  }
  for (const auto& r : PendingFileRenames()) {
    if (r.Dest.empty())
      Print("PendingFileRename    delete " + r.Source);
    else
      Print("PendingFileRename    " + r.Source + " -> " + (r.Replace ? "!" : "") + r.Dest);
    ++count;
  }
  for (const char* keyPath : {"Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
                              "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"}) {
    auto key = TRegKey::Open(TRootKey::rkLocalMachine, keyPath);
    if (!key) continue;
    auto names = key->ValueNames();
    std::sort(names.begin(), names.end(),
              [](const std::string& A, const std::string& B) { return CompareText(A, B) < 0; });
    std::string label = std::string(keyPath).substr(std::string(keyPath).rfind('\\') + 1);
    for (const auto& name : names) {
      Print(label + std::string(21 - std::min<size_t>(label.size(), 20), ' ') + name + " = " +
            key->ReadString(name).value_or(""));
      ++count;
    }
  }
  if (RestartRequested()) Print("A restart was requested.");
  if (count == 0) Print("Nothing is pending.");
  return 0;
}

int MachineRestart(const TArgs& Args) {
  if (!Args.empty()) throw Exception("usage: quenloft machine restart");
  TStartReport report = RunStartOfWindows();
  for (const auto& line : report.Lines) Print(line);
  if (report.Lines.empty()) Print("Nothing to do at this start.");
  return report.Failures == 0 ? 0 : 1;
}

} // namespace

int CmdMachine(const TArgs& Args) {
  std::string what = Args.empty() ? "" : Args[0];
  TArgs rest(Args.empty() ? Args.end() : Args.begin() + 1, Args.end());
  if (what == "create") return MachineCreate(rest);
  if (what == "version") return MachineVersion(rest);
  if (what == "pending") return MachinePending(rest);
  if (what == "restart") return MachineRestart(rest);
  std::fprintf(stderr, "usage: quenloft machine create|version [NAME]|pending|restart\n");
  return 2;
}

} // namespace qnl::tool
