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
    Install = new TInstall(Module);
    Install->SetName("Install1");
    Install->Information()->FProductName = "Tool";
    Install->SetDestDirType(nullptr);
    Install->SetDestDir("C:\\Apps\\Tool");
  }
  void TearDown() override {
    unsetenv("QUENLOFT_NO_DESKTOP_ENTRIES");
    FilesTest::TearDown();
  }
  template <class T>
  T* Add(const std::string& Name) {
    auto* component = new T(Module);
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

  TInstall* Install = nullptr;
};

} // namespace qnl::test
