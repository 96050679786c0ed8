// Helpers of the file tests: a data module holding the standard specifiers, real files on
// a temporary machine, and reading a project from its text form.
#pragma once

#include <string>

#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "rtl/Forms.h"
#include "tests/paths/PathsTestSupport.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

// A fresh machine (WINEPREFIX in a temporary folder) and a data module owning the project.
class FilesTest : public TMachineTest {
protected:
  void SetUp() override;
  void TearDown() override;
  // Reads a project in text form into Module.
  void LoadProject(const std::string& Text);

  TDataModule* FModule = nullptr;
};

// A directory "ToolDir" installing into C:\Apps\Tool from the archive C:\dist\tool.1, under an
// install component (as the specifiers see it) whose product is Tool.
class InstallDirTest : public FilesTest {
protected:
  void SetUp() override;
  void TearDown() override;
  // An install file of the directory named Name with the source path Source.
  TInstallFile* AddFile(const std::string& Name, const std::string& Source);

  TFakeInstall* FInstall = nullptr;
  TInstallDirectory* FInstallDir = nullptr;
};

// The Windows path of a file built or kept beside the tests (a Unix path).
std::string WindowsPathOfTestFile(const std::string& UnixPath);

// Makes a file or directory immutable (nothing may change, delete, rename or create in it, not
// even root) until destruction: how tests make a destination that cannot be replaced for a
// reason other than another program holding it. Set() is False where the flag cannot be set
// (no CAP_LINUX_IMMUTABLE, or a file system without it).
class TImmutable {
public:
  explicit TImmutable(const std::string& WindowsPath);
  TImmutable(const TImmutable&) = delete;
  TImmutable& operator=(const TImmutable&) = delete;
  ~TImmutable();
  bool Set();

private:
  bool Change(bool On);
  std::string FUnixPath;
  bool FSet = false;
};

} // namespace qnl::test
