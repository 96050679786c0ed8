// Helpers of the shortcut tests: a project on a data module with an install component, a main
// folder and the standard specifiers, on a machine of its own.
#pragma once

#include <string>

#include "engine/TInstall.h"
#include "links/cmp_TInstallShellLink.h"
#include "tests/files/FilesTestSupport.h"

namespace qnl::test {

class LinksTest : public FilesTest {
protected:
  void SetUp() override {
    FilesTest::SetUp();
    unsetenv("QNL_FAIL_SHELL_LINK");
    unsetenv("QNL_NO_PROGMAN");
    setenv("QUENLOFT_NO_DESKTOP_ENTRIES", "1", 1);
    FInstall = new TInstall(FModule);
    FInstall->SetName("Install1");
    FInstall->Information()->FProductName = "Tool";
    FInstall->SetDestDirType(nullptr);
    FInstall->SetDestDir("C:\\Apps\\Tool");
  }
  void TearDown() override {
    unsetenv("QUENLOFT_NO_DESKTOP_ENTRIES");
    FilesTest::TearDown();
  }
  template <class T>
  T* Add(const std::string& Name) {
    auto* component = new T(FModule);
    component->SetName(Name);
    return component;
  }
  // The message of the exception Statement raises, or "(no error)".
  template <class F>
  static std::string ErrorOf(F Statement) {
    try {
      Statement();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no error)";
  }

  TInstall* FInstall = nullptr;
};

} // namespace qnl::test
