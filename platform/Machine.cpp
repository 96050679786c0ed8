// The emulated Windows machine: its directory, skeleton and the Wine-server check.
#include "platform/Machine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "platform/files/DirectoryLock.h"
#include "platform/registry/AnsiText.h"
#include "platform/registry/Hive.h"
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"
#include "rtl/ScopeGuard.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

const char kDefaultSystemHive[] =
#include "platform/data/DefaultSystemHive.inc"
    ;
const char kDefaultUserHive[] =
#include "platform/data/DefaultUserHive.inc"
    ;

[[noreturn]] void FailOS(const std::string& Operation, const std::string& Object) {
  throw EMachine("Cannot " + Operation + " \"" + Object + "\": " + std::strerror(errno));
}

void EnsureDirectory(const std::string& Path) {
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = Path.find('/', pos + 1);
    partial = Path.substr(0, pos);
    if (partial.empty()) continue;
    if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) FailOS("create the folder", partial);
  }
  struct stat st;
  if (stat(Path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    errno = ENOTDIR;
    FailOS("create the folder", Path);
  }
}

void EnsureSymlink(const std::string& Link, const std::string& Target) {
  struct stat st;
  if (lstat(Link.c_str(), &st) == 0) return; // an existing drive mapping is the owner's choice
  if (symlink(Target.c_str(), Link.c_str()) != 0 && errno != EEXIST) FailOS("create the drive link", Link);
}

// The Unix user name, reduced to characters that are safe in a Windows folder name.
std::string ProfileName() {
  const char* name = std::getenv("USER");
  if (!name || !*name) {
    struct passwd* pw = getpwuid(getuid());
    name = pw ? pw->pw_name : "user";
  }
  std::string result;
  for (const char* p = name; *p; ++p) {
    char c = *p;
    bool safe =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    result.push_back(safe ? c : '_');
  }
  return result.empty() ? "user" : result;
}

// A string value "C:\a\b" of the default data names the folder drive_c/a/b.
void CollectFolders(const TKeyNode& Key, std::vector<std::string>& Folders) {
  for (const auto& [folded, value] : Key.Values) {
    if (value.Type != 1 && value.Type != 2) continue;
    std::string text = RegTextToAnsi(value.Data);
    if (text.size() < 3 || !SameText(text.substr(0, 3), "C:\\")) continue;
    Folders.push_back(StringReplaceAll(text.substr(3), "\\", "/"));
  }
  for (const auto& [folded, sub] : Key.SubKeys) CollectFolders(*sub, Folders);
}

// Adds every key and every missing value of `defaults` under `root`.
void ApplyDefaults(TMachine& Machine, TRootKey Root, const TKeyNode& Defaults, const std::string& Path) {
  if (!Path.empty()) {
    TRegKey key = TRegKey::Create(Machine, Root, Path);
    for (const auto& [folded, value] : Defaults.Values) {
      std::string name = WideToAnsi(value.Name);
      if (key.ValueExists(name)) continue;
      TRegType type = TRegType(value.Type);
      key.WriteValue(name, type, IsStringType(type) ? RegTextToAnsi(value.Data) : value.Data);
    }
  }
  for (const auto& [folded, sub] : Defaults.SubKeys)
    ApplyDefaults(Machine, Root, *sub, Path.empty() ? WideToAnsi(sub->Name) : Path + "\\" + WideToAnsi(sub->Name));
}

THiveText DefaultHive(const char* Text, const char* Name) {
  return ParseHiveText(StringReplaceAll(Text, "@USER@", ProfileName()), Name);
}

bool SocketAnswers(const std::string& Path) {
  struct sockaddr_un addr {};
  if (Path.size() >= sizeof(addr.sun_path)) return false;
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, Path.c_str(), Path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool answers = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
  close(fd);
  return answers;
}

std::string ReadLink(const std::string& Path) {
  char buf[PATH_MAX];
  ssize_t n = readlink(Path.c_str(), buf, sizeof buf - 1);
  return n < 0 ? std::string() : std::string(buf, size_t(n));
}

// A wineserver process works in the server directory of its prefix, named
// "server-<dev>-<inode>" under /tmp/.wine-<uid> (or another root when that one is unusable).
bool WineServerProcessIn(const std::string& ServerDir) {
  std::string serverName = ServerDir.substr(ServerDir.rfind('/'));
  DIR* proc = opendir("/proc");
  if (!proc) return false;
  bool found = false;
  while (dirent* entry = readdir(proc)) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    std::string base = std::string("/proc/") + entry->d_name;
    std::string exe = ReadLink(base + "/exe");
    std::string exeName = exe.substr(exe.rfind('/') + 1);
    if (exeName.rfind("wineserver", 0) != 0) continue;
    std::string cwd = ReadLink(base + "/cwd");
    if (cwd.size() >= serverName.size() &&
        cwd.compare(cwd.size() - serverName.size(), std::string::npos, serverName) == 0) {
      found = true;
      break;
    }
  }
  closedir(proc);
  return found;
}

std::vector<std::unique_ptr<TMachine>>& OpenMachines() {
  // Machines stay open until the program ends (keys refer to their hives); their
  // destructors then compact the journals into the .reg files.
  static std::vector<std::unique_ptr<TMachine>> machines;
  return machines;
}

} // namespace

std::string TMachine::DirectoryFromEnvironment() {
  std::string dir;
  if (const char* prefix = std::getenv("WINEPREFIX")) {
    // Wine takes a WINEPREFIX that is set as the machine, and refuses an empty one; falling
    // back to ~/.wine would quietly work on another machine than Wine does.
    if (!*prefix)
      throw EMachine("WINEPREFIX is set but empty: set it to the machine folder, or unset it to use ~/.wine");
    dir = prefix;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      struct passwd* pw = getpwuid(getuid());
      if (!pw) throw EMachine("Cannot find the machine folder: neither WINEPREFIX nor HOME is set");
      home = pw->pw_dir;
    }
    dir = std::string(home) + "/.wine";
  }
  if (dir[0] != '/') {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) FailOS("find the current folder for", dir);
    dir = std::string(cwd) + "/" + dir;
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

TMachine& TMachine::Current() {
  auto& machines = OpenMachines();
  std::string dir = DirectoryFromEnvironment();
  if (!machines.empty() && machines.back()->Directory() == dir) return *machines.back();
  for (auto& m : machines) {
    if (m->Directory() != dir) continue;
    std::swap(m, machines.back());
    return *machines.back();
  }
  auto machine = std::make_unique<TMachine>(dir);
  machine->CheckNoWineServer();
  machine->EnsureCreated();
  machines.push_back(std::move(machine));
  return *machines.back();
}

TMachine::TMachine(std::string Directory) : FDirectory(std::move(Directory)) {}

TMachine::~TMachine() = default; // the hives compact their journals as they close

std::string TMachine::DriveCDirectory() const { return FDirectory + "/drive_c"; }
std::string TMachine::DosDevicesDirectory() const { return FDirectory + "/dosdevices"; }
std::string TMachine::SystemHiveFile() const { return FDirectory + "/system.reg"; }
std::string TMachine::UserHiveFile() const { return FDirectory + "/user.reg"; }

bool TMachine::Exists() const {
  struct stat st;
  return stat(SystemHiveFile().c_str(), &st) == 0 && stat(UserHiveFile().c_str(), &st) == 0;
}

std::unique_ptr<TDirectoryLock> TMachine::ClaimForInstallation() const {
  // A folder of its own: the machine folder itself is locked while a machine is created.
  std::string dir = FDirectory + "/.quenloft-setup";
  if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) FailOS("create the installation's lock folder", dir);
  return TDirectoryLock::TryLock(dir, TLockInheritance::liThisProcess);
}

void TMachine::EnsureCreated() {
  EnsureDirectory(FDirectory);
  // flock on the machine folder itself: nothing is added to the machine, and a creator that
  // is killed gives the lock up.
  int handle = ::open(FDirectory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) FailOS("open the machine folder", FDirectory);
  TScopeExit closeHandle([handle] { ::close(handle); });
  while (::flock(handle, LOCK_EX) != 0)
    if (errno != EINTR) FailOS("lock the machine folder", FDirectory);
  if (!Exists()) Create();
}

void TMachine::Create() {
  CheckNoWineServer();
  std::string driveC = DriveCDirectory();
  EnsureDirectory(driveC + "/windows/system32");
  EnsureDirectory(driveC + "/windows/temp");
  THiveText system = DefaultHive(kDefaultSystemHive, "default system hive");
  THiveText user = DefaultHive(kDefaultUserHive, "default user hive");
  std::vector<std::string> folders;
  CollectFolders(*system.Root, folders);
  CollectFolders(*user.Root, folders);
  for (const auto& folder : folders) EnsureDirectory(driveC + "/" + folder);
  EnsureDirectory(DosDevicesDirectory());
  EnsureSymlink(DosDevicesDirectory() + "/c:", "../drive_c");
  EnsureSymlink(DosDevicesDirectory() + "/z:", "/");
  std::vector<std::string> prefix;
  THive* systemHive = Registry().HiveOf(TRootKey::rkLocalMachine, prefix);
  THive* userHive = Registry().HiveOf(TRootKey::rkCurrentUser, prefix);
  systemHive->BeginBatch();
  userHive->BeginBatch();
  try {
    ApplyDefaults(*this, TRootKey::rkLocalMachine, *system.Root, "");
    ApplyDefaults(*this, TRootKey::rkCurrentUser, *user.Root, "");
  } catch (...) {
    systemHive->EndBatch();
    userHive->EndBatch();
    throw;
  }
  systemHive->EndBatch();
  userHive->EndBatch();
  Flush(); // Wine reads only the .reg files
}

std::string TMachine::WineServerDirectory() const {
  struct stat st;
  if (stat(FDirectory.c_str(), &st) != 0) return std::string();
  char buf[128];
  std::snprintf(buf, sizeof buf, "/tmp/.wine-%u/server-%llx-%llx", unsigned(getuid()), (unsigned long long)st.st_dev,
                (unsigned long long)st.st_ino);
  return buf;
}

bool TMachine::WineServerRunning() const {
  std::string serverDir = WineServerDirectory();
  if (serverDir.empty()) return false;
  return SocketAnswers(serverDir + "/socket") || WineServerProcessIn(serverDir);
}

void TMachine::CheckNoWineServer() const {
  if (WineServerRunning())
    throw EMachineBusy("A Wine server is running on the machine \"" + FDirectory +
                       "\"; it would overwrite the registry. End it first (wineserver -k).");
}

TRegistryHives& TMachine::Registry() {
  if (!FRegistry) FRegistry = std::make_unique<TRegistryHives>(*this);
  return *FRegistry;
}

void TMachine::Flush() {
  if (FRegistry) FRegistry->Flush();
}

} // namespace qnl
