// Loading libraries for self-registration: native shared objects and Windows DLLs.
#include "platform/files/Files.h"
#include "platform/files/WinPaths.h"
#include "platform/process/Library.h"
#include "platform/process/MachineLogs.h"
#include "tests/support/PlatformTest.h"

namespace qnl::test {
namespace {

class Library : public TPlatformTest {};

TEST_F(Library, NativeLibraryEntryPointIsCalled) {
  auto lib = TLibrary::Load(WindowsPathOf(QNL_TEST_SELFREG));
  ASSERT_NE(lib, nullptr) << LibraryLastErrorText();
  EXPECT_FALSE(lib->IsWindowsDll());
  TEntryPoint reg = lib->ProcAddress("DllRegisterServer");
  ASSERT_TRUE(reg);
  EXPECT_EQ(reg(), 0);
  EXPECT_EQ(reg(), 2); // the library's own state: it really ran
  EXPECT_FALSE(lib->ProcAddress("DllCanUnloadNow"));
  EXPECT_EQ(LibraryLastError(), 127u);
}

TEST_F(Library, MissingOrBadFilesDoNotLoad) {
  EXPECT_EQ(TLibrary::Load("C:\\windows\\system32\\none.dll"), nullptr);
  EXPECT_EQ(LibraryLastError(), 126u);
  WriteMachineFile("C:\\text.dll", "just text");
  EXPECT_EQ(TLibrary::Load("C:\\text.dll"), nullptr);
  EXPECT_EQ(LibraryLastError(), 193u);
  EXPECT_EQ(TLibrary::Load("Q:\\x.dll"), nullptr);
}

TEST_F(Library, WindowsDllRegistrationIsRecordedWithoutWine) {
  WriteMachineFile("C:\\windows\\system32\\ocx1.ocx",
                   std::string("MZ\0\0ocx1.ocx\0DllRegisterServer\0DllUnregisterServer\0", 51));
  auto lib = TLibrary::Load("C:\\windows\\system32\\ocx1.ocx");
  ASSERT_NE(lib, nullptr);
  EXPECT_TRUE(lib->IsWindowsDll());
  EXPECT_EQ(lib->ProcAddress("DllRegisterServer")(), 0);
  EXPECT_EQ(lib->ProcAddress("DllUnregisterServer")(), 0);
  auto log = ReadStartLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "regsvr32 C:\\windows\\system32\\ocx1.ocx");
  EXPECT_EQ(log[1], "regsvr32 /u C:\\windows\\system32\\ocx1.ocx");
}

TEST_F(Library, WindowsDllWithoutTheExportHasNoEntryPoint) {
  WriteMachineFile("C:\\plain.dll", std::string("MZ\0\0DllMain\0", 12));
  auto lib = TLibrary::Load("C:\\plain.dll");
  ASSERT_NE(lib, nullptr);
  EXPECT_FALSE(lib->ProcAddress("DllRegisterServer"));
}

} // namespace
} // namespace qnl::test
