// Helpers of the build tests.
#include "tests/build/BuildTestSupport.h"

#include "archive/TQnlfCompress.h"
#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/RegisterEngineClasses.h"
#include "engine/TCustomInstallFile.h"
#include "paths/cmp_TPathSpecifier.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "rtl/ProgramArguments.h"

namespace qnl::test {

void TBuildingInstall::Compress(TCompressOptions Options) {
  PassOptions.push_back(Options);
  ArchiveSeenByPass.push_back((ArchiveFileType() ? ArchiveFileType()->Name() : std::string("(none)")) + " " +
                              ArchiveFile());
  TCustomInstallFileList& files = InstallSession().InstallFiles;
  for (int i = 0; i < files.Count(); ++i)
    ArchivedSeenByPass.push_back(files.Items(i)->Archived() + 10 * files.Items(i)->ArchivedOwnNet());
  if (!NoteOnly) TInstall::Compress(Options);
}

void TBuildingInstall::CompressSetupArchive(const std::string& BuildDir, const std::string& ExeName) {
  if (SetupArchiveFailure) SetupArchiveFailure();
  TInstall::CompressSetupArchive(BuildDir, ExeName);
}

void BuildTest::SetUp() {
  TMachineTest::SetUp();
  RegisterEngineClasses();
  InstallSession().Reset();
  FApp = std::make_unique<TCustomApplication>();
  SetApplication(FApp.get());
  SetProgramArguments(std::vector<std::string>{});
  WriteMachineFile(std::string(kProductDir) + "\\Q32V40.TXT", "");
  WriteMachineFile(std::string(kProductDir) + "\\QuenloftLoadProgram.exe", kLoaderBytes);
  WriteMachineFile(kProgram, kProgramBytes);
  setenv("QUENLOFT_PATH", UnixPathOf(kProductDir).c_str(), 1);
  FForm = std::make_unique<TCustomForm>(nullptr);
  FInstall = new TBuildingInstall(FForm.get());
  FInstall->SetName("Install1");
}

void BuildTest::TearDown() {
  FForm.reset();
  SetApplication(nullptr);
  FApp.reset();
  unsetenv("QUENLOFT_PATH");
  TMachineTest::TearDown();
}

TInstallFile* BuildTest::AddFile(const std::string& Name, const std::string& Content) {
  std::string source = "C:\\src\\" + Name;
  WriteMachineFile(source, Content);
  auto* file = new TInstallFile(FForm.get(), FInstall, source);
  file->SetName("File_" + ChangeFileExt(Name, ""));
  return file;
}

std::vector<std::string> BuildTest::MemberNames(const std::string& Archive, int32_t Offset) {
  TQnlfCompress reader(nullptr);
  reader.SetCompressedFile(Archive);
  reader.SetOffset(Offset);
  reader.OpenArchive();
  std::vector<std::string> names;
  for (int i = 0; i < reader.GetFileCount(); ++i)
    names.push_back(ExtractFileName(reader.GetFileStats(i).Header.FileName()));
  return names;
}

std::map<std::string, std::string> BuildTest::TreeOf(const std::string& Dir) {
  std::map<std::string, std::string> tree;
  for (const TDirEntry& entry : ListDirectory(Dir)) {
    std::string path = Dir + "\\" + entry.Name;
    if (!entry.Directory)
      tree[entry.Name] = ReadMachineFile(path);
    else {
      tree[entry.Name + "\\"] = "";
      for (const auto& [name, bytes] : TreeOf(path)) tree[entry.Name + "\\" + name] = bytes;
    }
  }
  return tree;
}

} // namespace qnl::test
