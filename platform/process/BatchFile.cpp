// The machine's interpreter of the few batch commands the engine writes.
#include "platform/process/BatchFile.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/process/BatchGuard.h"
#include "platform/process/BatchSyntax.h"
#include "platform/process/Process.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::string DirOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, cut);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

std::string Join(const std::string& dir, const std::string& name) {
  return dir.empty() || dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

// One run of a batch text: where it came from, and how many of its commands failed.
class TBatchRun {
public:
  explicit TBatchRun(std::string Origin) : FOrigin(std::move(Origin)) {}
  int Failures() const { return FFailures + (FLineFailed ? 1 : 0); }
  // A command that fails for several files counts once.
  void NextLine() {
    FFailures = Failures();
    FLineFailed = false;
  }

  // Reports a failed or refused command on stderr and in the machine's batch log: a batch
  // started detached has no one watching its output.
  void Fail(const std::string& line, const std::string& why) { Report(line + ": " + why); }
  void Report(const std::string& failure) {
    std::string text = FOrigin.empty() ? failure : FOrigin + ": " + failure;
    std::fprintf(stderr, "%s\n", text.c_str());
    try {
      AppendBatchLog(text);
    } catch (const Exception&) {
      // The report on stderr and the failure count still say it.
    }
    FLineFailed = true;
  }

  // Runs one step of a command (one file of several): its error fails the command, and the
  // next step still runs.
  template <class Step>
  void Attempt(const std::string& line, Step&& step) {
    try {
      step();
    } catch (const Exception& e) {
      Fail(line, e.Message());
    }
  }

private:
  std::string FOrigin;
  int FFailures = 0;
  bool FLineFailed = false;
};

// Why a command's arguments are not Count valid paths (switches such as "/Y" left out), empty
// when they are; the paths go to Paths.
std::string ArgsError(const std::string& args, size_t count, std::vector<std::string>& paths) {
  std::optional<std::vector<std::string>> words = SplitBatchWords(args);
  if (!words) return "Invalid quotes: a path in quotes must be a whole word";
  for (const auto& w : *words)
    if (w.empty() || w[0] != '/') paths.push_back(w);
  if (paths.size() != count) return paths.size() < count ? "Required parameter missing" : "Too many parameters";
  for (const auto& p : paths) {
    std::string error = BatchPathError(p);
    if (!error.empty()) return error;
  }
  return "";
}

// The path arguments of a command, each checked and normalised ("..", "/" and doubled
// separators resolved; a wildcard name kept as written).
// nullopt, with the failure reported, unless there are exactly Count valid paths.
std::optional<std::vector<std::string>> PathArgs(const std::string& args, size_t count, const std::string& line,
                                                 TBatchRun& run) {
  std::vector<std::string> paths;
  std::string error = ArgsError(args, count, paths);
  if (!error.empty()) {
    run.Fail(line, error);
    return std::nullopt;
  }
  for (auto& p : paths)
    p = HasWildcard(p) ? Join(NormalizeWindowsPath(DirOf(p)), NameOf(p)) : NormalizeWindowsPath(p);
  return paths;
}

// True when Path may be removed as Kind; else the refusal is reported.
bool Allowed(const std::string& path, TBatchRemoval kind, const std::string& line, TBatchRun& run) {
  std::string refusal = BatchRemovalRefusal(path, kind);
  if (refusal.empty()) return true;
  run.Fail(line, refusal);
  return false;
}

// The files (and, with directories, the directories) a path names: itself, or what its
// wildcard matches. nullopt, with the failure reported, when it names nothing or its wildcard
// would empty a folder that must keep its files.
std::optional<std::vector<std::string>> Expand(const std::string& path, bool directories, const std::string& line,
                                               TBatchRun& run) {
  if (!HasWildcard(path)) {
    if (FileExists(path) || (directories && DirectoryExists(path))) return std::vector<std::string>{path};
    run.Fail(line, "Could Not Find " + path);
    return std::nullopt;
  }
  std::string dir = DirOf(path);
  if (!Allowed(dir, TBatchRemoval::brMatches, line, run)) return std::nullopt;
  std::vector<std::string> out;
  for (const auto& e : ListDirectory(dir, NameOf(path)))
    if (directories || !e.Directory) out.push_back(Join(dir, e.Name));
  if (out.empty()) run.Fail(line, "Could Not Find " + path);
  return out;
}

void Erase(const std::string& args, const std::string& line, TBatchRun& run) {
  auto paths = PathArgs(args, 1, line, run);
  if (!paths) return;
  const std::string& p = paths->front();
  if (!HasWildcard(p) && !Allowed(p, TBatchRemoval::brFile, line, run)) return;
  auto files = Expand(p, false, line, run);
  if (!files) return;
  for (const auto& f : *files) run.Attempt(line, [&] { DeleteFile(f); });
}

void DelTree(const std::string& args, const std::string& line, TBatchRun& run) {
  // /Y only suppresses the question; the interpreter never asks.
  auto paths = PathArgs(args, 1, line, run);
  if (!paths) return;
  const std::string& p = paths->front();
  // A tree that is not there is removed already.
  if (!HasWildcard(p) && !FileExists(p) && !DirectoryExists(p)) return;
  auto targets = Expand(p, true, line, run);
  if (!targets) return;
  for (const auto& f : *targets) {
    if (!Allowed(f, TBatchRemoval::brTree, line, run)) continue;
    run.Attempt(line, [&] {
      if (DirectoryExists(f)) DeleteTree(f);
      else if (FileExists(f)) DeleteFile(f);
    });
  }
}

void Move(const std::string& args, const std::string& line, TBatchRun& run) {
  auto paths = PathArgs(args, 2, line, run);
  if (!paths) return;
  const std::string& dest = (*paths)[1];
  if (HasWildcard(dest)) return run.Fail(line, "Invalid path " + dest + ": a destination cannot hold wildcards");
  auto sources = Expand((*paths)[0], true, line, run);
  if (!sources) return;
  for (const auto& s : *sources) {
    if (!Allowed(s, TBatchRemoval::brMoveSource, line, run)) continue;
    run.Attempt(line, [&] { MoveFile(s, DirectoryExists(dest) ? Join(dest, NameOf(s)) : dest, TExisting::exReplace); });
  }
}

// A line's command word and its arguments.
std::pair<std::string, std::string> SplitCommand(const std::string& line) {
  size_t end = line.find_first_of(" \t");
  return {UpperCase(line.substr(0, end)), end == std::string::npos ? "" : line.substr(end + 1)};
}

// How many paths a command takes; 0 for the commands that take none, -1 for an unknown one.
int PathCount(const std::string& command) {
  if (command == "REM" || command == "CLS" || command == "ECHO") return 0;
  if (command == "ERASE" || command == "DEL" || command == "DELTREE") return 1;
  if (command == "MOVE") return 2;
  return -1;
}

// Why a line cannot run at all, empty when it can.
std::string SyntaxError(const std::string& line) {
  auto [command, args] = SplitCommand(line);
  int count = PathCount(command);
  if (count < 0) return "Bad command or file name";
  std::vector<std::string> paths;
  return count == 0 ? "" : ArgsError(args, size_t(count), paths);
}

// Runs one line; a failing command does not stop the file.
void RunLine(const std::string& line, TBatchRun& run) {
  // Named copies, not structured bindings: the lambda below captures them.
  const auto parts = SplitCommand(line);
  const std::string& command = parts.first;
  const std::string& args = parts.second;
  if (command == "REM" || command == "CLS") return;
  if (command == "ECHO") {
    std::string rest = Trim(args);
    if (!SameText(rest, "OFF") && !SameText(rest, "ON") && rest != ".") std::printf("%s\n", rest.c_str());
    return;
  }
  run.Attempt(line, [&] {
    if (command == "ERASE" || command == "DEL") Erase(args, line, run);
    else if (command == "DELTREE") DelTree(args, line, run);
    else if (command == "MOVE") Move(args, line, run);
    else run.Fail(line, "Bad command or file name");
  });
}

int RunText(std::string_view Text, const std::string& Origin) {
  TBatchRun run(Origin);
  std::istringstream in{std::string(Text)};
  std::string raw;
  std::vector<std::string> lines;
  while (std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string line = Trim(raw);
    // The batch files run hidden: commands are never echoed, so "@" and ECHO OFF change nothing.
    while (!line.empty() && line[0] == '@') line = Trim(line.substr(1));
    if (line.empty() || line.rfind("::", 0) == 0) continue;
    lines.push_back(line);
  }
  // A file whose lines cannot all be read runs none of them: its lines belong together (erase
  // the old file, move the new one in its place), and running the first alone loses the file.
  for (const auto& line : lines) {
    std::string error = SyntaxError(line);
    if (error.empty()) continue;
    run.Fail(line, error + "; no line of this batch file was run");
    return run.Failures();
  }
  for (const auto& line : lines) {
    RunLine(line, run);
    run.NextLine();
  }
  std::fflush(stdout);
  return run.Failures();
}

} // namespace

int RunBatchText(std::string_view Text) { return RunText(Text, ""); }

int RunBatchFile(const std::string& WindowsPath, int WaitForPid) {
  if (WaitForPid != 0) WaitForProcessEnd(WaitForPid);
  std::ifstream in(UnixPathOf(WindowsPath), std::ios::binary);
  if (!in) {
    TBatchRun run(WindowsPath);
    run.Report("Batch file missing");
    return run.Failures();
  }
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  return RunText(text.str(), WindowsPath);
}

} // namespace qnl
