// libFuzzer target: batch lines and paths run by the machine's batch interpreter on a
// throwaway machine of its own, whose Z: drive is a scratch folder too. Fails (abort) when a
// line removes a file outside the directory it names (DELTREE: also outside the machine's
// temporary directory), removes a drive root, the Windows or the system folder, removes a
// file of theirs it does not name, or reaches anything outside the machine's drives.
//
// Input: byte 0 picks the command (ERASE, DEL, DELTREE /Y, DELTREE, MOVE, or raw text run as
// it is); byte 1 holds flags (bit 0: quote the first path, bit 1: quote the second, bits 2-3:
// the machine's TEMP); the rest is the first path, then after a line feed the second (MOVE).
//   build-fuzz/bin/fuzz_BatchLines -dict=tests/fuzz/BatchLines.dict CORPUS_DIR tests/fuzz/corpus/fuzz_BatchLines
// Set QNL_FUZZ_VERBOSE=1 to see the interpreter's reports.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Machine.h"
#include "platform/files/WinPaths.h"
#include "platform/process/BatchFile.h"
#include "platform/process/MachineLogs.h"
#include "platform/registry/Registry.h"
#include "platform/system/SystemInfo.h"
#include "rtl/SysUtils.h"
#include "tests/platform/BatchTree.h"

using namespace qnl;
namespace fs = std::filesystem;

namespace {

// The files every input starts from, besides kBatchTree (Windows paths), and what the
// machine's TEMP may be.
const char* const kMoreTree[] = {
    "C:\\my  temp\\other.txt",
    "C:\\windows\\temp\\QNL2\\setup.exe",
    "C:\\windows\\temp\\bat1.bat",
    "C:\\Program Files\\App\\new 1.dll",
    "Z:\\zfile.txt",
    "Z:\\host\\file.txt",
};
const char* const kTemps[] = {"C:\\windows\\temp", "C:\\my  temp", "C:\\", "C:\\Program Files"};

enum TMode { mErase, mDel, mDeltreeY, mDeltree, mMove, mRaw, mCount };
const char* const kCommands[] = {"ERASE", "DEL", "DELTREE /Y", "DELTREE", "MOVE"};

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz_BatchLines: %s\n", what.c_str());
  std::abort();
}

// The scratch folder with the machine, its drives and a folder outside them; never the
// user's ~/.wine. Removed at a normal exit, kept after a failure to be looked at.
class TSandbox {
public:
  TSandbox() {
    // In memory when the host has room there: every input remakes the tree.
    std::string dir = fs::is_directory("/dev/shm") ? "/dev/shm/qnl-fuzz-batch-XXXXXX" : "/tmp/qnl-fuzz-batch-XXXXXX";
    Check(::mkdtemp(dir.data()) != nullptr, "cannot make a scratch folder");
    Root = fs::canonical(dir); // the removed entries are compared with resolved paths
    Machine = Root / "machine";
    DriveC = Machine / "drive_c";
    DriveZ = Root / "zroot";
    Outside = Root / "outside";
    ::setenv("WINEPREFIX", Machine.c_str(), 1);
    TMachine::Current();
    // Only C: and a scratch Z: (a new machine's Z: is the host's root).
    for (const auto& entry : fs::directory_iterator(Machine / "dosdevices"))
      if (entry.path().filename() != "c:") fs::remove(entry.path());
    fs::create_directories(DriveZ);
    fs::create_symlink(DriveZ, Machine / "dosdevices" / "z:");
  }
  ~TSandbox() {
    std::error_code ec;
    fs::current_path(Root.parent_path(), ec);
    fs::remove_all(Root, ec);
  }
  TSandbox(const TSandbox&) = delete;
  TSandbox& operator=(const TSandbox&) = delete;

  fs::path Root, Machine, DriveC, DriveZ, Outside;
};

const TSandbox& Sandbox() {
  static const TSandbox box;
  return box;
}

void ResetTree(const TSandbox& box) {
  for (const fs::path& top : {box.DriveC, box.DriveZ, box.Outside}) {
    fs::remove_all(top);
    fs::create_directories(top);
  }
  for (const char* dir : {"windows\\system32", "windows\\temp", "Program Files\\Common Files"})
    fs::create_directories(UnixPathOf(std::string("C:\\") + dir));
  fs::create_directories(box.DriveZ / "cwd");
  fs::current_path(box.DriveZ / "cwd");
  auto make = [](const char* file) {
    fs::path path = UnixPathOf(file);
    fs::create_directories(path.parent_path());
    std::ofstream(path) << file;
  };
  for (const char* file : test::kBatchTree) make(file);
  for (const char* file : kMoreTree) make(file);
  // A link below the temporary directory to the drive's root: removing it removes the link.
  fs::create_symlink(box.DriveC, UnixPathOf("C:\\windows\\temp\\tolink"));
  std::ofstream(box.Outside / "sentinel.txt") << "outside";
  fs::remove(BatchLogPath());
}

void SetTemp(const std::string& temp) {
  static std::string current;
  if (temp == current) return;
  TRegKey::Create(TRootKey::rkCurrentUser, "Environment").WriteString("TEMP", temp);
  current = temp;
}

// Every entry below the drives and the outside folder, links not followed, with its type.
std::map<fs::path, fs::file_type> Entries(const TSandbox& box) {
  std::map<fs::path, fs::file_type> entries;
  for (const fs::path& top : {box.DriveC, box.DriveZ, box.Outside})
    for (const auto& entry : fs::recursive_directory_iterator(top))
      entries[entry.path()] = entry.symlink_status().type();
  return entries;
}

bool AtOrBelow(const fs::path& path, const fs::path& dir) {
  auto [d, p] = std::mismatch(dir.begin(), dir.end(), path.begin(), path.end());
  return d == dir.end();
}

// What a line's first path names, worked out before the line runs (a file moved away can no
// longer be matched by the spelling of its name). Paths are Unix paths with every part above
// the last resolved.
struct TNamed {
  fs::path Dir;    // the path's directory
  fs::path Target; // the path itself, or Dir when its name holds a wildcard
  fs::path Temp;   // the machine's temporary directory
};

// nullopt when the path names nothing on this machine.
std::optional<TNamed> NamedBy(const std::string& windowsPath) {
  try {
    fs::path unixPath = UnixPathOf(windowsPath);
    fs::path dir = fs::weakly_canonical(unixPath.parent_path());
    bool wildcard = unixPath.filename().string().find_first_of("*?") != std::string::npos;
    return TNamed{dir, wildcard ? dir : dir / unixPath.filename(), fs::weakly_canonical(UnixPathOf(TempDirectory()))};
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Runs the text with the interpreter's output silenced (unless asked for).
void Run(const std::string& text) {
  static const bool verbose = std::getenv("QNL_FUZZ_VERBOSE") != nullptr;
  if (verbose) {
    RunBatchText(text);
    return;
  }
  std::fflush(nullptr);
  int saved[2] = {::dup(1), ::dup(2)};
  int null = ::open("/dev/null", O_WRONLY);
  ::dup2(null, 1);
  ::dup2(null, 2);
  RunBatchText(text);
  std::fflush(nullptr);
  ::dup2(saved[0], 1);
  ::dup2(saved[1], 2);
  for (int fd : {saved[0], saved[1], null}) ::close(fd);
}

// A line built from paths whose reading is not in doubt: the words of the line are the paths
// given (a quoted path holds no quote; an unquoted one is not split into a switch, and MOVE's
// two unquoted paths cannot shift words from one to the other).
bool Unambiguous(TMode mode, const std::vector<std::string>& paths, const std::vector<bool>& quoted) {
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& p = paths[i];
    // A control character (a tab too) at the end of a line is trimmed away, inside a path
    // refused or a word break.
    for (char c : p)
      if (static_cast<unsigned char>(c) < 0x20) return false;
    bool switchWord = (!p.empty() && p[0] == '/') || p.find(" /") != std::string::npos;
    if (quoted[i] ? p.find('"') != std::string::npos : switchWord) return false;
    if (mode == mMove && !quoted[i] && Trim(p).empty()) return false;
  }
  return true;
}

// Whether removing Gone agrees with what the line names.
bool RemovalNamed(TMode mode, const std::optional<TNamed>& named, const fs::path& gone) {
  if (!named) return false;
  if (mode == mErase || mode == mDel) return gone.parent_path() == named->Dir;
  if (mode == mMove) return AtOrBelow(gone, named->Target);
  return AtOrBelow(gone, named->Target) && AtOrBelow(gone, named->Temp) && gone != named->Temp;
}

} // namespace

// The target works in a scratch folder (where a stray relative path can do no harm):
// libFuzzer's crash files go to the directory it was started in, unless told otherwise.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i)
    if (std::string((*argv)[i]).rfind("-artifact_prefix=", 0) == 0 ||
        std::string((*argv)[i]).rfind("-exact_artifact_path=", 0) == 0)
      return 0;
  static std::string prefix = "-artifact_prefix=" + fs::current_path().string() + "/";
  static std::vector<char*> args((*argv), (*argv) + *argc);
  args.insert(args.begin() + 1, prefix.data());
  args.push_back(nullptr);
  *argc += 1;
  *argv = args.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const TSandbox& box = Sandbox();
  TMode mode = static_cast<TMode>(data[0] % mCount);
  uint8_t flags = data[1];
  std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  ResetTree(box);
  SetTemp(kTemps[(flags >> 2) & 3]);

  std::string text;
  std::vector<std::string> paths;
  std::vector<bool> quoted;
  if (mode == mRaw) {
    text = rest;
  } else {
    size_t cut = rest.find('\n');
    paths.push_back(rest.substr(0, cut));
    if (mode == mMove)
      paths.push_back(cut == std::string::npos ? "" : rest.substr(cut + 1, rest.find('\n', cut + 1) - cut - 1));
    text = kCommands[mode];
    for (size_t i = 0; i < paths.size(); ++i) {
      quoted.push_back(flags & (1 << i));
      text += quoted[i] ? " \"" + paths[i] + "\"" : " " + paths[i];
    }
  }

  std::map<fs::path, fs::file_type> before = Entries(box);
  bool checkNamed = mode != mRaw && Unambiguous(mode, paths, quoted);
  std::optional<TNamed> named = checkNamed ? NamedBy(paths[0]) : std::nullopt;
  Run(text + "\r\n");
  std::string upperText = UpperCase(text);
  for (const fs::path& folder : {box.DriveC, box.DriveC / "windows", box.DriveC / "windows" / "system32", box.DriveZ})
    Check(fs::is_directory(folder), "removed the folder " + folder.string() + " with: " + text);
  for (const auto& [gone, type] : before) {
    if (fs::symlink_status(gone).type() != fs::file_type::not_found) continue;
    std::string entry = gone.string();
    Check(!AtOrBelow(gone, box.Outside), "removed " + entry + " outside the machine's drives with: " + text);
    // The files right in a drive root, the Windows or system folder have names that are their
    // own short names: a line that removes one names it.
    fs::path parent = gone.parent_path();
    bool inProtected = parent == box.DriveC || parent == box.DriveC / "windows" ||
                       parent == box.DriveC / "windows" / "system32" || parent == box.DriveZ;
    Check(!inProtected || type != fs::file_type::regular ||
              upperText.find(UpperCase(gone.filename().string())) != std::string::npos,
          "removed " + entry + ", which it does not name, with: " + text);
    if (checkNamed) Check(RemovalNamed(mode, named, gone), "removed " + entry + " outside what it names: " + text);
  }
  return 0;
}
