// Renames the machine performs at its next start.
#include "platform/files/DelayedMoves.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/OSError.h"
#include "platform/files/DirectoryListings.h"
#include "platform/files/WinPaths.h"
#include "platform/registry/Registry.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

constexpr const char* kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingValue = "PendingFileRenameOperations";

std::vector<std::string> SplitMultiString(const std::string& Data) {
  std::vector<std::string> items;
  std::string current;
  for (char c : Data) {
    if (c == '\0') {
      items.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) items.push_back(current);
  return items;
}

std::string StripNt(std::string Path) {
  if (Path.rfind("\\??\\", 0) == 0) Path.erase(0, 4);
  return Path;
}

std::string WininitPath() { return WindowsDirectory() + "\\WININIT.INI"; }

std::vector<std::string> ReadLines(const std::string& UnixPath) {
  std::vector<std::string> lines;
  std::ifstream in(UnixPath, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool IsSection(const std::string& Line, std::string* Name) {
  std::string t = Trim(Line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  if (Name) *Name = Trim(t.substr(1, close - 1));
  return true;
}

} // namespace

void MoveFileDelayed(std::string_view Source, std::string_view Dest, TExisting Existing) {
  const char* hook = std::getenv("QNL_FAIL_DELAYED_MOVE");
  if (hook && std::string(hook) == "1") RaiseFileError("move file at restart", std::string(Source), EACCES);
  TRegKey key = TRegKey::Create(TRootKey::rkLocalMachine, kSessionManager);
  std::vector<std::string> items;
  if (auto value = key.ReadValue(kPendingValue)) items = SplitMultiString(value->Data);
  // A lone empty string at the end is the list's own terminator, not half a pair.
  if (items.size() % 2 == 1 && items.back().empty()) items.pop_back();
  items.push_back("\\??\\" + NormalizeWindowsPath(Source));
  if (Dest.empty())
    items.push_back("");
  else
    items.push_back(std::string(Existing == TExisting::exReplace ? "!" : "") + "\\??\\" + NormalizeWindowsPath(Dest));
  key.WriteMultiString(kPendingValue, items);
}

std::vector<TPendingRename> PendingFileRenames() {
  std::vector<TPendingRename> result;
  auto key = TRegKey::Open(TRootKey::rkLocalMachine, kSessionManager);
  if (!key) return result;
  auto value = key->ReadValue(kPendingValue);
  if (!value) return result;
  auto items = SplitMultiString(value->Data);
  for (size_t i = 0; i + 1 < items.size(); i += 2) {
    if (items[i].empty()) continue;
    TPendingRename r;
    r.Source = StripNt(items[i]);
    std::string dest = items[i + 1];
    if (!dest.empty() && dest[0] == '!') {
      r.Replace = true;
      dest.erase(0, 1);
    }
    r.Dest = StripNt(dest);
    result.push_back(std::move(r));
  }
  return result;
}

void AddWininitRename(std::string_view Dest, std::string_view Source) {
  std::string unixPath = UnixPathOf(WininitPath());
  std::vector<std::string> lines = ReadLines(unixPath);
  std::string entry = std::string(Dest) + "=" + std::string(Source);
  bool isNul = SameText(Trim(Dest), "NUL");
  long sectionStart = -1;
  long insertAt = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (IsSection(lines[i], &name)) {
      if (sectionStart >= 0) break;
      if (SameText(name, "Rename")) {
        sectionStart = static_cast<long>(i);
        insertAt = static_cast<long>(i) + 1;
      }
      continue;
    }
    if (sectionStart < 0) continue;
    std::string t = Trim(lines[i]);
    if (t.empty() || t[0] == ';') continue;
    insertAt = static_cast<long>(i) + 1;
    size_t eq = t.find('=');
    if (!isNul && eq != std::string::npos && SameText(Trim(t.substr(0, eq)), Trim(Dest))) {
      lines[i] = entry;
      insertAt = -2;
      break;
    }
  }
  if (sectionStart < 0) {
    lines.push_back("[Rename]");
    lines.push_back(entry);
  } else if (insertAt != -2) {
    lines.insert(lines.begin() + insertAt, entry);
  }
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  std::string tmp = unixPath + ".new";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) RaiseLastFileError("write file", WininitPath());
  }
  int renamed = std::rename(tmp.c_str(), unixPath.c_str());
  int err = errno;
  detail::ForgetListingOf(unixPath);
  if (renamed != 0) RaiseFileError("write file", WininitPath(), err);
}

std::vector<TPendingRename> WininitRenames() {
  std::vector<TPendingRename> result;
  std::string unixPath = UnixPathOf(WininitPath());
  bool inRename = false;
  for (const auto& line : ReadLines(unixPath)) {
    std::string name;
    if (IsSection(line, &name)) {
      inRename = SameText(name, "Rename");
      continue;
    }
    if (!inRename) continue;
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') continue;
    size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    TPendingRename r;
    r.Dest = Trim(t.substr(0, eq));
    r.Source = Trim(t.substr(eq + 1));
    r.Replace = true;
    result.push_back(std::move(r));
  }
  return result;
}

} // namespace qnl
