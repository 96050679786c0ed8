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
#include "platform/process/MachineLogs.h"
#include "platform/process/ProcessWait.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

std::string DirOf(const std::string& Path) {
  size_t cut = Path.find_last_of("\\/");
  if (cut == 2 && Path[1] == ':') return Path.substr(0, 3);
  return Path.substr(0, cut);
}

std::string NameOf(const std::string& Path) { return Path.substr(Path.find_last_of("\\/") + 1); }

std::string Join(const std::string& Dir, const std::string& Name) {
  return Dir.empty() || Dir.back() == '\\' ? Dir + Name : Dir + "\\" + Name;
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
  void Fail(const std::string& Line, const std::string& Why) { Report(Line + ": " + Why); }
  void Report(const std::string& Failure) {
    std::string text = FOrigin.empty() ? Failure : FOrigin + ": " + Failure;
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
  template <class TStep>
  void Attempt(const std::string& Line, TStep&& Step) {
    try {
      Step();
    } catch (const Exception& e) {
      Fail(Line, e.Message());
    }
  }

private:
  std::string FOrigin;
  int FFailures = 0;
  bool FLineFailed = false;
};

// Why a command's arguments are not Count valid paths (switches such as "/Y" left out), empty
// when they are; the paths go to Paths.
std::string ArgsError(const std::string& Args, size_t Count, std::vector<std::string>& Paths) {
  std::optional<std::vector<std::string>> words = SplitBatchWords(Args);
  if (!words) return "Invalid quotes: a path in quotes must be a whole word";
  for (const auto& w : *words)
    if (w.empty() || w[0] != '/') Paths.push_back(w);
  if (Paths.size() != Count) return Paths.size() < Count ? "Required parameter missing" : "Too many parameters";
  for (const auto& p : Paths) {
    std::string error = BatchPathError(p);
    if (!error.empty()) return error;
  }
  return "";
}

// The path arguments of a command, each checked and normalised ("..", "/" and doubled
// separators resolved; a wildcard name kept as written).
// nullopt, with the failure reported, unless there are exactly Count valid paths.
std::optional<std::vector<std::string>> PathArgs(const std::string& Args, size_t Count, const std::string& Line,
                                                 TBatchRun& Run) {
  std::vector<std::string> paths;
  std::string error = ArgsError(Args, Count, paths);
  if (!error.empty()) {
    Run.Fail(Line, error);
    return std::nullopt;
  }
  for (auto& p : paths) p = HasWildcard(p) ? Join(NormalizeWindowsPath(DirOf(p)), NameOf(p)) : NormalizeWindowsPath(p);
  return paths;
}

// True when Path may be removed as Kind; else the refusal is reported.
bool Allowed(const std::string& Path, TBatchRemoval Kind, const std::string& Line, TBatchRun& Run) {
  std::string refusal = BatchRemovalRefusal(Path, Kind);
  if (refusal.empty()) return true;
  Run.Fail(Line, refusal);
  return false;
}

// The files (and, with directories, the directories) a path names: itself, or what its
// wildcard matches. nullopt, with the failure reported, when it names nothing or its wildcard
// would empty a folder that must keep its files.
std::optional<std::vector<std::string>> Expand(const std::string& Path, bool Directories, const std::string& Line,
                                               TBatchRun& Run) {
  if (!HasWildcard(Path)) {
    if (FileExists(Path) || (Directories && DirectoryExists(Path))) return std::vector<std::string>{Path};
    Run.Fail(Line, "Could Not Find " + Path);
    return std::nullopt;
  }
  std::string dir = DirOf(Path);
  if (!Allowed(dir, TBatchRemoval::brMatches, Line, Run)) return std::nullopt;
  std::vector<std::string> out;
  for (const auto& e : ListDirectory(dir, NameOf(Path)))
    if (Directories || !e.Directory) out.push_back(Join(dir, e.Name));
  if (out.empty()) Run.Fail(Line, "Could Not Find " + Path);
  return out;
}

void Erase(const std::string& Args, const std::string& Line, TBatchRun& Run) {
  auto paths = PathArgs(Args, 1, Line, Run);
  if (!paths) return;
  const std::string& p = paths->front();
  if (!HasWildcard(p) && !Allowed(p, TBatchRemoval::brFile, Line, Run)) return;
  auto files = Expand(p, false, Line, Run);
  if (!files) return;
  for (const auto& f : *files) Run.Attempt(Line, [&] { DeleteFile(f); });
}

void DelTree(const std::string& Args, const std::string& Line, TBatchRun& Run) {
  // /Y only suppresses the question; the interpreter never asks.
  auto paths = PathArgs(Args, 1, Line, Run);
  if (!paths) return;
  const std::string& p = paths->front();
  // A tree that is not there is removed already.
  if (!HasWildcard(p) && !FileExists(p) && !DirectoryExists(p)) return;
  auto targets = Expand(p, true, Line, Run);
  if (!targets) return;
  for (const auto& f : *targets) {
    if (!Allowed(f, TBatchRemoval::brTree, Line, Run)) continue;
    Run.Attempt(Line, [&] {
      if (DirectoryExists(f))
        DeleteTree(f);
      else if (FileExists(f))
        DeleteFile(f);
    });
  }
}

void Move(const std::string& Args, const std::string& Line, TBatchRun& Run) {
  auto paths = PathArgs(Args, 2, Line, Run);
  if (!paths) return;
  const std::string& dest = (*paths)[1];
  if (HasWildcard(dest)) return Run.Fail(Line, "Invalid path " + dest + ": a destination cannot hold wildcards");
  auto sources = Expand((*paths)[0], true, Line, Run);
  if (!sources) return;
  for (const auto& s : *sources) {
    if (!Allowed(s, TBatchRemoval::brMoveSource, Line, Run)) continue;
    Run.Attempt(Line, [&] { MoveFile(s, DirectoryExists(dest) ? Join(dest, NameOf(s)) : dest, TExisting::exReplace); });
  }
}

// A line's command word and its arguments.
std::pair<std::string, std::string> SplitCommand(const std::string& Line) {
  size_t end = Line.find_first_of(" \t");
  return {UpperCase(Line.substr(0, end)), end == std::string::npos ? "" : Line.substr(end + 1)};
}

// How many paths a command takes; 0 for the commands that take none, -1 for an unknown one.
int PathCount(const std::string& Command) {
  if (Command == "REM" || Command == "CLS" || Command == "ECHO") return 0;
  if (Command == "ERASE" || Command == "DEL" || Command == "DELTREE") return 1;
  if (Command == "MOVE") return 2;
  return -1;
}

// Why a line cannot run at all, empty when it can.
std::string SyntaxError(const std::string& Line) {
  auto [command, args] = SplitCommand(Line);
  int count = PathCount(command);
  if (count < 0) return "Bad command or file name";
  std::vector<std::string> paths;
  return count == 0 ? "" : ArgsError(args, size_t(count), paths);
}

// Runs one line; a failing command does not stop the file.
void RunLine(const std::string& Line, TBatchRun& Run) {
  // Named copies, not structured bindings: the lambda below captures them.
  const auto parts = SplitCommand(Line);
  const std::string& command = parts.first;
  const std::string& args = parts.second;
  if (command == "REM" || command == "CLS") return;
  if (command == "ECHO") {
    std::string rest = Trim(args);
    if (!SameText(rest, "OFF") && !SameText(rest, "ON") && rest != ".") std::printf("%s\n", rest.c_str());
    return;
  }
  Run.Attempt(Line, [&] {
    if (command == "ERASE" || command == "DEL")
      Erase(args, Line, Run);
    else if (command == "DELTREE")
      DelTree(args, Line, Run);
    else if (command == "MOVE")
      Move(args, Line, Run);
    else
      Run.Fail(Line, "Bad command or file name");
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
