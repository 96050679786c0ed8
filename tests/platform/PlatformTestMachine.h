// A fresh machine for each test of the files, process and system services.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace qnl::test {

// Points WINEPREFIX at a new machine in a temporary folder (created through TMachine::Current,
// as the programs do) and removes it afterwards. Windows programs are never started through
// Wine here (QNL_NO_WINE=1), so that results do not depend on whether Wine is installed.
class TPlatformTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // The Unix path behind a Windows path of the machine.
  std::string Unix(const std::string& windowsPath) const;
  // Writes a file, making its directories.
  void WriteText(const std::string& windowsPath, const std::string& text) const;
  std::string ReadText(const std::string& windowsPath) const;
  // Writes an executable shell script.
  void WriteScript(const std::string& windowsPath, const std::string& body) const;

  std::string FRoot;    // the temporary folder
  std::string FMachine; // FRoot + "/prefix"
  std::string FOldPrefix;
  bool FHadPrefix = false;
};

} // namespace qnl::test
