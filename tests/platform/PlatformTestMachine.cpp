// A fresh machine for each test of the files, process and system services.
#include "PlatformTestMachine.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Machine.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Restart.h"

namespace qnl::test {

namespace {

// Creating a machine writes its default registry durably, which takes a while; every test
// starts from a copy of one machine made once per test program.
const std::string& TemplateMachine() {
  // Never freed: the exit handler below still needs it after static objects are gone.
  static const std::string* dir = [] {
    std::string base = std::filesystem::temp_directory_path().string() + "/qnl-platform-template-XXXXXX";
    if (!mkdtemp(base.data())) return new std::string();
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

void TPlatformTest::SetUp() {
  const char* old = std::getenv("WINEPREFIX");
  FHadPrefix = old != nullptr;
  FOldPrefix = old ? old : "";
  std::string base = std::filesystem::temp_directory_path().string() + "/qnl-platform-XXXXXX";
  ASSERT_NE(mkdtemp(base.data()), nullptr);
  FRoot = base;
  FMachine = FRoot + "/prefix";
  setenv("WINEPREFIX", FMachine.c_str(), 1);
  setenv("QNL_NO_WINE", "1", 1);
  unsetenv("QNL_FAIL_PRIVILEGE");
  SetPrivilegeFailure(false);
  ASSERT_FALSE(TemplateMachine().empty());
  std::filesystem::copy(TemplateMachine(), FMachine,
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
  TMachine::Current();
}

void TPlatformTest::TearDown() {
  std::error_code ec;
  std::filesystem::remove_all(FRoot, ec);
  if (FHadPrefix) setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
  else unsetenv("WINEPREFIX");
}

std::string TPlatformTest::Unix(const std::string& windowsPath) const { return UnixPathOf(windowsPath); }

void TPlatformTest::WriteText(const std::string& windowsPath, const std::string& text) const {
  std::filesystem::path path = Unix(windowsPath);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string TPlatformTest::ReadText(const std::string& windowsPath) const {
  std::ifstream in(Unix(windowsPath), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void TPlatformTest::WriteScript(const std::string& windowsPath, const std::string& body) const {
  WriteText(windowsPath, "#!/bin/sh\n" + body + "\n");
  ::chmod(Unix(windowsPath).c_str(), 0755);
}

} // namespace qnl::test
