// The one machine fixture of the tests: each test gets a machine folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Machine.h"
#include "platform/registry/Registry.h"

namespace qnl::test {

// Each test gets a new temporary folder FRoot holding its machine folder FDir (made empty; the
// machine is created by the first use, as in the programs). WINEPREFIX points at FDir so that
// child processes work on the same machine; the previous value is put back afterwards.
class TMachineTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Opens (and creates on first call) the machine object of this test.
  TMachine& Machine();
  // Destroys the machine object, as at the end of a process: journals are compacted.
  void CloseMachine();
  // Fills the machine folder with a copy of a machine made once per test program: creating a
  // machine writes its default registry durably, which takes a while.
  void CopyTemplateMachine();

  // The Unix path behind a Windows path of the machine.
  static std::string Unix(const std::string& WindowsPath);
  // Writes an executable shell script at a Windows path.
  static void WriteScript(const std::string& WindowsPath, const std::string& Body);
  static void SetString(TRootKey Root, const std::string& Key, const std::string& Name, const std::string& Value);
  static void DeleteValue(TRootKey Root, const std::string& Key, const std::string& Name);

  std::string FRoot; // the temporary folder
  std::string FDir;  // the machine folder, FRoot + "/prefix"
  std::unique_ptr<TMachine> FMachine;

private:
  std::string FOldPrefix;
  bool FHadPrefix = false;
};

} // namespace qnl::test
