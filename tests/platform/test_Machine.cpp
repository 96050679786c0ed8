// Creating a machine folder, and the refusal to work under a running Wine server.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/registry/Registry.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/MachineTest.h"
#include "tests/support/TestFiles.h"

namespace qnl {
namespace {

namespace fs = std::filesystem;

class MachineTest : public test::TMachineTest {};

TEST_F(MachineTest, DirectoryComesFromWinePrefix) {
  EXPECT_EQ(TMachine::DirectoryFromEnvironment(), FDir);
  // Set but empty is not unset: Wine refuses it rather than taking ~/.wine.
  setenv("WINEPREFIX", "", 1);
  try {
    TMachine::DirectoryFromEnvironment();
    ADD_FAILURE() << "an empty WINEPREFIX was taken";
  } catch (const EMachine& e) {
    EXPECT_EQ(e.Message(), "WINEPREFIX is set but empty: set it to the machine folder, or unset it to use ~/.wine");
  }
  unsetenv("WINEPREFIX");
  if (const char* home = std::getenv("HOME"); home && *home)
    EXPECT_EQ(TMachine::DirectoryFromEnvironment(), std::string(home) + "/.wine");
}

TEST_F(MachineTest, CreateMakesTheSkeleton) {
  TMachine& machine = Machine();
  for (const char* dir : {"drive_c/windows/system32", "drive_c/windows/temp", "drive_c/Program Files/Common Files",
                          "drive_c/users/Public/Desktop"})
    EXPECT_TRUE(fs::is_directory(FDir + "/" + dir)) << dir;
  EXPECT_EQ(fs::read_symlink(FDir + "/dosdevices/c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(FDir + "/dosdevices/z:"), "/");
  auto cv = TRegKey::Open(machine, TRootKey::rkLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion");
  ASSERT_TRUE(cv);
  EXPECT_EQ(cv->ReadString("ProgramFilesDir"), "C:\\Program Files");
  EXPECT_EQ(cv->ReadString("CommonFilesDir"), "C:\\Program Files\\Common Files");
  auto cp = TRegKey::Open(machine, TRootKey::rkLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\CodePage");
  EXPECT_EQ(cp->ReadString("ACP"), "1252");
  EXPECT_EQ(TRegKey::Open(machine, TRootKey::rkCurrentUser, "Software\\Wine")->ReadString("Version"), "win10");
  auto folders = TRegKey::Open(machine, TRootKey::rkCurrentUser,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
  ASSERT_TRUE(folders);
  std::string programs = *folders->ReadString("Programs");
  EXPECT_EQ(programs.substr(0, 9), "C:\\users\\");
  std::string unixPrograms = programs.substr(3);
  for (auto& c : unixPrograms)
    if (c == '\\') c = '/';
  EXPECT_TRUE(fs::is_directory(FDir + "/drive_c/" + unixPrograms)) << programs;
  EXPECT_TRUE(fs::exists(FDir + "/system.reg"));
  EXPECT_TRUE(fs::exists(FDir + "/user.reg"));
  EXPECT_EQ(test::ReadFile(FDir + "/system.reg").substr(0, 24), "WINE REGISTRY Version 2\n");
}

TEST_F(MachineTest, CreateIsIdempotentAndKeepsChangedValues) {
  TMachine& machine = Machine();
  TRegKey::Open(machine, TRootKey::rkCurrentUser, "Software\\Wine")->WriteString("Version", "win95");
  fs::remove_all(FDir + "/drive_c/windows/temp");
  machine.Create();
  EXPECT_TRUE(fs::is_directory(FDir + "/drive_c/windows/temp"));
  EXPECT_EQ(TRegKey::Open(machine, TRootKey::rkCurrentUser, "Software\\Wine")->ReadString("Version"), "win95");
}

TEST_F(MachineTest, CurrentCreatesTheMachineOfWinePrefix) {
  TMachine& machine = TMachine::Current();
  EXPECT_EQ(machine.Directory(), FDir);
  EXPECT_TRUE(fs::is_directory(FDir + "/drive_c/windows/system32"));
  machine.Flush();
}

TEST_F(MachineTest, ProcessesStartedTogetherOnAFreshMachineAllFindItWhole) {
  // The one that creates the machine makes its folders before its registry: the others must
  // wait for the registry rather than take the folders for a machine.
  std::vector<std::pair<pid_t, int>> children;
  for (int i = 0; i < 6; ++i) {
    int fd = -1;
    pid_t pid = test::StartWithOutputPipe(
        {test::TestBinDir() + "/test_RegistryChild", "dump", "Software\\Microsoft\\Windows\\CurrentVersion"}, fd);
    ASSERT_GT(pid, 0);
    children.emplace_back(pid, fd);
  }
  for (auto [pid, fd] : children) {
    std::string output;
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) output.append(buf, size_t(n));
    close(fd);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_NE(output.find("ProgramFilesDir="), std::string::npos) << output;
  }
}

TEST_F(MachineTest, RefusesAMachineWithARunningWineServer) {
  fs::create_directories(FDir);
  TMachine machine(FDir);
  std::string serverDir = machine.WineServerDirectory();
  ASSERT_FALSE(serverDir.empty());
  // Wine insists on its own 0700 folder; one made here with other rights would drive a
  // real wineserver elsewhere, so it is made like Wine makes it and removed afterwards.
  std::string wineDir = fs::path(serverDir).parent_path().string();
  bool createdRoot = !fs::exists(wineDir);
  bool created = !fs::exists(serverDir);
  if (createdRoot) ASSERT_EQ(mkdir(wineDir.c_str(), 0700), 0);
  ASSERT_TRUE(fs::exists(serverDir) || mkdir(serverDir.c_str(), 0700) == 0);
  // Stands in for wineserver: a listening socket where Wine's clients look for it.
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::string socketPath = serverDir + "/socket";
  unlink(socketPath.c_str());
  std::strncpy(addr.sun_path, socketPath.c_str(), sizeof(addr.sun_path) - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(fd, 1), 0);
  EXPECT_TRUE(machine.WineServerRunning());
  try {
    machine.Create();
    ADD_FAILURE() << "no error";
  } catch (const EMachineBusy& e) {
    EXPECT_NE(std::string(e.what()).find("A Wine server is running on the machine \"" + FDir + "\""),
              std::string::npos);
  }
  close(fd);
  unlink(socketPath.c_str());
  EXPECT_FALSE(machine.WineServerRunning()); // a stale socket does not count
  if (created) fs::remove_all(serverDir);
  if (createdRoot) fs::remove_all(wineDir);
  EXPECT_NO_THROW(machine.Create());
}

} // namespace
} // namespace qnl
