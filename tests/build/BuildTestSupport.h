// Helpers of the build tests: a fresh machine, a product directory and an install component
// on a form whose compress pass can be watched.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/TFileContainer.h"
#include "engine/TInstallFile.h"
#include "engine/cmp_TInstall.h"
#include "tests/paths/PathsTestSupport.h"
#include "tests/support/MessageOf.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

// An install component without an install record, which notes every compress pass it runs.
class TBuildingInstall : public TInstall {
public:
  using TInstall::TInstall;
  std::string FindInstallRecord(bool) override { return ""; }
  void Compress(TCompressOptions Options) override;
  void CompressSetupArchive(const std::string& BuildDir, const std::string& ExeName) override;

  // Options of each pass, and what the pass found when it started.
  std::vector<TCompressOptions> PassOptions;
  std::vector<std::string> ArchiveSeenByPass;
  std::vector<int> ArchivedSeenByPass; // Archived + 10 * ArchivedOwnNet of every install file
  // Only note the pass instead of running it.
  bool NoteOnly = false;
  // Raised by CompressSetupArchive instead of doing its work, when set.
  std::function<void()> SetupArchiveFailure;
};

// Each test: a new machine, a windowless application, a form with an install component, a
// product directory C:\product (marker and loading program) named by QUENLOFT_PATH, and an
// installation program C:\tools\mysetup.exe.
class BuildTest : public TMachineTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // An install file of the install component with a new source file C:\src\<Name>.
  TInstallFile* AddFile(const std::string& Name, const std::string& Content);
  // The member names of an archive (its members' file names, without directories).
  static std::vector<std::string> MemberNames(const std::string& Archive, int32_t Offset = 0);
  // Every entry below Dir by its relative name: a file with its bytes, a directory ("name\\")
  // with none.
  static std::map<std::string, std::string> TreeOf(const std::string& Dir);

  static constexpr const char* kProductDir = "C:\\product";
  static constexpr const char* kLoaderBytes = "LOADING PROGRAM";
  static constexpr const char* kProgram = "C:\\tools\\mysetup.exe";
  static constexpr const char* kProgramBytes = "INSTALLATION PROGRAM";

  std::unique_ptr<TCustomApplication> FApp;
  std::unique_ptr<TCustomForm> FForm;
  TBuildingInstall* FInstall = nullptr;
};

} // namespace qnl::test
