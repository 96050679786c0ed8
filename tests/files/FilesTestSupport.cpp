// Helpers of the file tests.
#include "FilesTestSupport.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "common/routines_Strings.h"
#include "engine/InstallSession.h"
#include "engine/RegisterEngineClasses.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "platform/files/FileStream.h"
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "rtl/FormReader.h"
#include "rtl/FormText.h"

namespace qnl::test {

void FilesTest::SetUp() {
  TMachineTest::SetUp();
  RegisterEngineClasses();
  InstallSession().Reset();
  FModule = new TDataModule(nullptr);
}

void FilesTest::TearDown() {
  delete FModule;
  TMachineTest::TearDown();
}

void FilesTest::LoadProject(const std::string& Text) {
  TMemoryStream stream;
  std::string binary = ObjectTextToBinary(Text);
  stream.Write(binary.data(), static_cast<int64_t>(binary.size()));
  stream.SetPosition(0);
  ReadRootComponent(stream, FModule);
}

void InstallDirTest::SetUp() {
  FilesTest::SetUp();
  FInstall = new TFakeInstall(FModule);
  InstallSession().RunState.ProductName = [] { return std::string("Tool"); };
  FInstallDir = new TInstallDirectory(FModule);
  FInstallDir->SetName("ToolDir");
  FInstallDir->SetArchiveFile("C:\\dist\\tool.1");
  FInstallDir->SetDestDir("C:\\Apps\\Tool");
}

void InstallDirTest::TearDown() {
  InstallSession().Reset();
  FilesTest::TearDown();
}

TInstallFile* InstallDirTest::AddFile(const std::string& Name, const std::string& Source) {
  auto* file = new TInstallFile(FModule, FInstallDir, Source);
  file->SetName(Name);
  return file;
}

std::string WindowsPathOfTestFile(const std::string& UnixPath) { return WindowsPathOf(UnixPath); }

TImmutable::TImmutable(const std::string& WindowsPath) : FUnixPath(UnixPathOf(WindowsPath)) {}

TImmutable::~TImmutable() {
  if (FSet) Change(false);
}

bool TImmutable::Set() { return FSet = Change(true); }

bool TImmutable::Change(bool On) {
  int fd = ::open(FUnixPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = On ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

} // namespace qnl::test
