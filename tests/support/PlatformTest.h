// The machine of the tests of the files, process and system services.
#pragma once

#include <cstdlib>

#include "platform/process/Restart.h"
#include "tests/support/MachineTest.h"
#include "tests/support/TestFiles.h"

namespace qnl::test {

// The test machine, created before the test (through TMachine::Current, as the programs do).
// Windows programs are never started through Wine here (QNL_NO_WINE=1), so that results do
// not depend on whether Wine is installed.
class TPlatformTest : public TMachineTest {
protected:
  void SetUp() override {
    TMachineTest::SetUp();
    setenv("QNL_NO_WINE", "1", 1);
    unsetenv("QNL_FAIL_PRIVILEGE");
    SetPrivilegeFailure(false);
    CopyTemplateMachine();
    TMachine::Current();
  }
};

} // namespace qnl::test
