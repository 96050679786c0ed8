// The one machine fixture of the tests.
#include "tests/support/MachineTest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files/WinPaths.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

namespace {

// Memory-backed when available: a killed process keeps its page cache, so the tests of
// durability across SIGKILL hold there too, and the many syncs cost nothing.
std::string NewTemporaryFolder(const char* Name) {
  std::string root = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path().string();
  std::string base = root + "/" + Name + "-XXXXXX";
  return mkdtemp(base.data()) ? base : std::string();
}

const std::string& TemplateMachine() {
  // Never freed: the exit handler below still needs it after static objects are gone.
  static const std::string* dir = [] {
    std::string base = NewTemporaryFolder("qnl-machine-template");
    if (base.empty()) return new std::string();
    TMachine(base + "/prefix").Create();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::path(*dir).parent_path(), ec);
    });
    return new std::string(base + "/prefix");
  }();
  return *dir;
}

} // namespace

void TMachineTest::SetUp() {
  const char* old = std::getenv("WINEPREFIX");
  FHadPrefix = old != nullptr;
  FOldPrefix = old ? old : "";
  FRoot = NewTemporaryFolder("qnl-machine");
  ASSERT_FALSE(FRoot.empty());
  FDir = FRoot + "/prefix";
  std::filesystem::create_directories(FDir);
  setenv("WINEPREFIX", FDir.c_str(), 1);
}

void TMachineTest::TearDown() {
  FMachine.reset();
  std::error_code ec;
  if (!FRoot.empty()) std::filesystem::remove_all(FRoot, ec);
  if (FHadPrefix)
    setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
  else
    unsetenv("WINEPREFIX");
}

TMachine& TMachineTest::Machine() {
  if (!FMachine) {
    FMachine = std::make_unique<TMachine>(FDir);
    FMachine->EnsureCreated();
  }
  return *FMachine;
}

void TMachineTest::CloseMachine() { FMachine.reset(); }

void TMachineTest::CopyTemplateMachine() {
  ASSERT_FALSE(TemplateMachine().empty());
  std::filesystem::remove_all(FDir);
  std::filesystem::copy(TemplateMachine(), FDir,
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
}

std::string TMachineTest::Unix(const std::string& WindowsPath) { return UnixPathOf(WindowsPath); }

void TMachineTest::WriteScript(const std::string& WindowsPath, const std::string& Body) {
  WriteMachineFile(WindowsPath, "#!/bin/sh\n" + Body + "\n");
  ::chmod(Unix(WindowsPath).c_str(), 0755);
}

void TMachineTest::SetString(TRootKey Root, const std::string& Key, const std::string& Name, const std::string& Value) {
  TRegKey::Create(Root, Key).WriteString(Name, Value);
}

void TMachineTest::DeleteValue(TRootKey Root, const std::string& Key, const std::string& Name) {
  if (auto key = TRegKey::Open(Root, Key)) key->DeleteValue(Name);
}

} // namespace qnl::test
