// Helpers of the file tests.
#include "FilesTestSupport.h"

#include "engine/InstallRegistries.h"
#include "engine/RegisterEngineClasses.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "platform/files/WinPaths.h"
#include "engine/UniqueIDTable.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "common/routines_Strings.h"
#include "rtl/FormReader.h"
#include "rtl/FormText.h"

namespace qnl::test {

void FilesTest::SetUp() {
  TempMachineTest::SetUp();
  RegisterEngineClasses();
  UniqueIDTable().Reset();
  Module = new TDataModule(nullptr);
}

void FilesTest::TearDown() {
  delete Module;
  TempMachineTest::TearDown();
}

void FilesTest::WriteFile(const std::string& Path, const std::string& Text) {
  ForceDirectories(ExtractFileDir(Path));
  TFileStream stream(Path, fmCreate);
  stream.Write(Text.data(), static_cast<int64_t>(Text.size()));
}

std::string FilesTest::ReadFile(const std::string& Path) {
  TFileStream stream(Path, fmOpenRead | fmShareDenyNone);
  std::string text(static_cast<size_t>(stream.Size()), '\0');
  stream.Read(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

void FilesTest::LoadProject(const std::string& Text) {
  TMemoryStream stream;
  std::string binary = ObjectTextToBinary(Text);
  stream.Write(binary.data(), static_cast<int64_t>(binary.size()));
  stream.SetPosition(0);
  ReadRootComponent(stream, Module);
}

void InstallDirTest::SetUp() {
  FilesTest::SetUp();
  install = new TFakeInstall(Module);
  InstallRunState().ProductName = [] { return std::string("Tool"); };
  dir = new TInstallDirectory(Module);
  dir->SetName("ToolDir");
  dir->SetArchiveFile("C:\\dist\\tool.1");
  dir->SetDestDir("C:\\Apps\\Tool");
}

void InstallDirTest::TearDown() {
  InstallRunState() = TInstallRunState{};
  FilesTest::TearDown();
}

TInstallFile* InstallDirTest::AddFile(const std::string& Name, const std::string& Source) {
  auto* file = new TInstallFile(Module, dir, Source);
  file->SetName(Name);
  return file;
}

std::string WindowsPathOfTestFile(const std::string& UnixPath) { return WindowsPathOf(UnixPath); }

} // namespace qnl::test
