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
  TMachine::Current().Create();
}

void TPlatformTest::TearDown() {
  std::error_code ec;
  std::filesystem::remove_all(FRoot, ec);
  if (FHadPrefix) setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
  else unsetenv("WINEPREFIX");
}

std::string TPlatformTest::Unix(const std::string& windowsPath) const { return UnixPathOf(windowsPath); }

void TPlatformTest::WriteText(const std::string& windowsPath, const std::string& text) const {
  std::ofstream out(Unix(windowsPath), std::ios::binary | std::ios::trunc);
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
