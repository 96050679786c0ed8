// Helpers of the file tests: a data module holding the standard specifiers, real files on
// a temporary machine, and reading a project from its text form.
#pragma once

#include <string>

#include "tests/paths/PathsTestSupport.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "rtl/Forms.h"

namespace qnl::test {

// A fresh machine (WINEPREFIX in a temporary folder) and a data module owning the project.
class FilesTest : public TempMachineTest {
protected:
  void SetUp() override;
  void TearDown() override;
  // Writes Text to the Windows path Path, creating its directories.
  static void WriteFile(const std::string& Path, const std::string& Text);
  static std::string ReadFile(const std::string& Path);
  // Reads a project in text form into Module.
  void LoadProject(const std::string& Text);

  TDataModule* Module = nullptr;
};

// A directory "ToolDir" installing into C:\Apps\Tool from the archive C:\dist\tool.1, under an
// install component (as the specifiers see it) whose product is Tool.
class InstallDirTest : public FilesTest {
protected:
  void SetUp() override;
  void TearDown() override;
  // An install file of the directory named Name with the source path Source.
  TInstallFile* AddFile(const std::string& Name, const std::string& Source);

  TFakeInstall* install = nullptr;
  TInstallDirectory* dir = nullptr;
};

// The Windows path of a file built or kept beside the tests (a Unix path).
std::string WindowsPathOfTestFile(const std::string& UnixPath);

} // namespace qnl::test
