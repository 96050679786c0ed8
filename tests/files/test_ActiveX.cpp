// ActiveX self-registration of installed native libraries: success, failures, and the retry
// after the pass for a library whose neighbour arrives later.
#include <gtest/gtest.h>

#include "FilesTestSupport.h"
#include "engine/DeferredRegistrations.h"
#include "engine/InstallSession.h"
#include "engine/TInstallDirectory.h"
#include "engine/TInstallFile.h"
#include "platform/files/Files.h"

using namespace qnl;
using namespace qnl::test;

namespace {

class ActiveX : public InstallDirTest {
protected:
  void TearDown() override {
    InstallSession().Reset();
    InstallDirTest::TearDown();
  }
  // Installs the native library Library as C:\Apps\Tool\Name (an ".ocx", so ActiveX is set).
  TInstallFile* AddControl(const std::string& Name, const char* Library) {
    CopyFile(WindowsPathOfTestFile(Library), "C:\\src\\" + Name, TExisting::exReplace);
    TInstallFile* file = AddFile(Name.substr(0, Name.find('.')), "C:\\src\\" + Name);
    EXPECT_TRUE(file->ActiveX());
    file->SetUpdateDLLCounter(false);
    return file;
  }
  void SetUp() override {
    InstallDirTest::SetUp();
    ForceDirectories("C:\\src");
  }
};

TEST_F(ActiveX, ALibraryThatRegistersItselfIsInstalled) {
  AddControl("good.ocx", QNL_TEST_ACTIVEX_OK);
  FInstallDir->Compress(coForceNetFilesLocal);
  EXPECT_NO_THROW(FInstallDir->InstallObjects());
  EXPECT_TRUE(FileExists("C:\\Apps\\Tool\\good.ocx"));
}

TEST_F(ActiveX, ANonZeroResultIsReportedWithThePath) {
  AddControl("bad.ocx", QNL_TEST_ACTIVEX_FAIL);
  FInstallDir->Compress(coForceNetFilesLocal);
  QNL_EXPECT_THROW_MESSAGE(FInstallDir->InstallObjects(), IECustomInstallFile,
                           "Could not register the ActiveX component, C:\\Apps\\Tool\\bad.ocx, because the "
                           "DllRegisterServer function returned a value of 5. The file component is bad");
  EXPECT_EQ(FInstallDir->PassState(), TPassState::pstNone);
}

TEST_F(ActiveX, AMissingEntryPointIsReportedWithThePath) {
  AddControl("plain.ocx", QNL_TEST_ACTIVEX_NOENTRY);
  FInstallDir->Compress(coForceNetFilesLocal);
  QNL_EXPECT_THROW_MESSAGE(FInstallDir->InstallObjects(), IECustomInstallFile,
                           "Could not register the ActiveX component, C:\\Apps\\Tool\\plain.ocx, because the "
                           "DllRegisterServer function could not be found. The file component is plain. The following "
                           "value is the value of the GetLastError function: 127");
}

TEST_F(ActiveX, AFailureDuringThePassIsDeferredAndTheRetrySucceeds) {
  WriteMachineFile("C:\\src\\dep.dat", "needed");
  AddFile("Dep", "C:\\src\\dep.dat");
  TInstallFile* control = AddControl("needy.ocx", QNL_TEST_ACTIVEX_NEEDS_DEP); // before Dep in the list
  FInstallDir->Compress(coForceNetFilesLocal);
  InstallSession().DeferRegistrationFailures = true;
  FInstallDir->InstallObjects();
  ASSERT_EQ(InstallSession().FailedRegistrations.Count(), 1);
  EXPECT_EQ(InstallSession().FailedRegistrations.Items(0), control);
  EXPECT_NO_THROW(RetryDeferredRegistrations());
  EXPECT_EQ(InstallSession().FailedRegistrations.Count(), 0);
  EXPECT_FALSE(InstallSession().DeferRegistrationFailures);
}

TEST_F(ActiveX, OutsideAPassTheFailureOfTheDependentLibraryIsRaised) {
  AddControl("needy.ocx", QNL_TEST_ACTIVEX_NEEDS_DEP);
  FInstallDir->Compress(coForceNetFilesLocal);
  EXPECT_THROW(FInstallDir->InstallObjects(), IECustomInstallFile);
}

TEST_F(ActiveX, AFileLeavesTheDeferredListWhenFreed) {
  auto* file = AddFile("Gone", "C:\\src\\gone.ocx");
  InstallSession().FailedRegistrations.Add(file);
  delete file;
  EXPECT_EQ(InstallSession().FailedRegistrations.Count(), 0);
}

} // namespace
