// The machine's interpreter of the few batch commands the engine writes.
#include "platform/process/BatchFile.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Process.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

bool HasWildcard(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

std::string DirOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return GetCurrentDir();
  if (cut == 2 && path.size() > 1 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Join(const std::string& dir, const std::string& name) {
  return dir.empty() || dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

// The files (and, with directories, the directories) a possibly wildcarded path names.
std::vector<std::string> Expand(const std::string& path, bool directories) {
  if (!HasWildcard(path)) return {path};
  std::vector<std::string> out;
  std::string dir = DirOf(path);
  for (const auto& e : ListDirectory(dir, NameOf(path)))
    if (directories || !e.Directory) out.push_back(Join(dir, e.Name));
  return out;
}

void Fail(int& failures, const std::string& line, const std::string& why) {
  std::fprintf(stderr, "%s: %s\n", line.c_str(), why.c_str());
  ++failures;
}

// The path arguments of a command: words that are not switches. The engine writes paths without
// quotes, so a path with blanks arrives as several words; when the words together name
// something that exists (or, with one path expected, always) they are one path.
std::vector<std::string> PathArgs(const std::vector<std::string>& args, bool onePath) {
  std::vector<std::string> paths;
  for (const auto& a : args)
    if (a.empty() || a[0] != '/') paths.push_back(a);
  if (paths.size() > 1) {
    std::string joined = paths[0];
    for (size_t i = 1; i < paths.size(); ++i) joined += " " + paths[i];
    if (onePath || FileExists(joined) || DirectoryExists(joined)) return {joined};
  }
  return paths;
}

bool Exists(const std::string& path) { return FileExists(path) || DirectoryExists(path); }

void Erase(const std::vector<std::string>& args, const std::string& line, int& failures) {
  auto paths = PathArgs(args, true);
  if (paths.empty()) return Fail(failures, line, "Required parameter missing");
  for (const auto& p : paths) {
    auto files = Expand(p, false);
    if (files.empty() || (!HasWildcard(p) && !FileExists(p))) {
      Fail(failures, line, "Could Not Find " + p);
      continue;
    }
    for (const auto& f : files) {
      try {
        DeleteFile(f);
      } catch (const Exception& e) {
        Fail(failures, line, e.Message());
      }
    }
  }
}

void DelTree(const std::vector<std::string>& args, const std::string& line, int& failures) {
  auto paths = PathArgs(args, false);
  if (paths.empty()) return Fail(failures, line, "Required parameter missing");
  // /Y only suppresses the question; the interpreter never asks.
  for (const auto& p : paths) {
    for (const auto& f : Expand(p, true)) {
      try {
        if (DirectoryExists(f)) DeleteTree(f);
        else if (FileExists(f)) DeleteFile(f);
      } catch (const Exception& e) {
        Fail(failures, line, e.Message());
      }
    }
  }
}

void Move(const std::vector<std::string>& args, const std::string& line, int& failures) {
  std::vector<std::string> words;
  for (const auto& a : args)
    if (a.empty() || a[0] != '/') words.push_back(a);
  if (words.size() < 2) return Fail(failures, line, "Required parameter missing");
  // "MOVE source dest": with unquoted blanks, the source is the shortest run of words that exists.
  size_t split = 1;
  for (size_t i = 1; i < words.size(); ++i) {
    std::string source = words[0];
    for (size_t k = 1; k < i; ++k) source += " " + words[k];
    if (Exists(source) || HasWildcard(source)) {
      split = i;
      break;
    }
  }
  std::string source = words[0];
  for (size_t k = 1; k < split; ++k) source += " " + words[k];
  std::string dest = words[split];
  for (size_t k = split + 1; k < words.size(); ++k) dest += " " + words[k];
  auto sources = Expand(source, true);
  if (sources.empty() || (!HasWildcard(source) && !Exists(source))) return Fail(failures, line, "Cannot find " + source);
  for (const auto& s : sources) {
    std::string target = DirectoryExists(dest) ? Join(dest, NameOf(s)) : dest;
    try {
      MoveFile(s, target, TExisting::exReplace);
    } catch (const Exception& e) {
      Fail(failures, line, e.Message());
    }
  }
}

} // namespace

int RunBatchText(std::string_view Text) {
  int failures = 0;
  std::istringstream in{std::string(Text)};
  std::string raw;
  while (std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string line = Trim(raw);
    // The batch files run hidden: commands are never echoed, so "@" and ECHO OFF change nothing.
    while (!line.empty() && line[0] == '@') line = Trim(line.substr(1));
    if (line.empty() || line.rfind("::", 0) == 0) continue;
    auto words = SplitCommandLine(line);
    if (words.empty()) continue;
    std::string command = UpperCase(words[0]);
    std::vector<std::string> args(words.begin() + 1, words.end());
    if (command == "REM") continue;
    if (command == "ECHO") {
      std::string rest = Trim(line.substr(4));
      if (!SameText(rest, "OFF") && !SameText(rest, "ON") && rest != ".") std::printf("%s\n", rest.c_str());
      continue;
    }
    if (command == "CLS") continue;
    if (command == "ERASE" || command == "DEL") Erase(args, line, failures);
    else if (command == "DELTREE") DelTree(args, line, failures);
    else if (command == "MOVE") Move(args, line, failures);
    else Fail(failures, line, "Bad command or file name");
  }
  std::fflush(stdout);
  return failures;
}

int RunBatchFile(const std::string& WindowsPath, int WaitForPid) {
  if (WaitForPid != 0) WaitForProcessEnd(WaitForPid);
  std::ifstream in(UnixPathOf(WindowsPath), std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: Batch file missing\n", WindowsPath.c_str());
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  return RunBatchText(text.str());
}

} // namespace qnl
