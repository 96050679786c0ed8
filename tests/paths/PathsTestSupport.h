// Helpers of the path specifier tests: a stand-in install component and an error check.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "paths/IInstallComponent.h"
#include "rtl/Classes.h"
#include "tests/support/MachineTest.h"

namespace qnl::test {

// An install component as the specifiers see it, with values set by the test. Registers
// itself as the current one while it exists.
class TFakeInstall : public TComponent, public IInstallComponent {
public:
  explicit TFakeInstall(TComponent* AOwner) : TComponent(AOwner) { SetCurrentInstallComponent(this); }
  ~TFakeInstall() override {
    if (CurrentInstallComponent() == this) SetCurrentInstallComponent(nullptr);
  }
  TComponent* InstallComponent() override { return this; }
  std::string InstallSource() const override { return Source; }
  std::string MainInstallDir() override { return DestDir; }
  std::optional<std::string> SelfExtractorArgument() const override { return SelfExtractor; }

  std::string Source = "C:\\Dist";
  std::string DestDir = "C:\\Program Files\\MyApplication";
  std::optional<std::string> SelfExtractor;
};

// The message of the exception Statement raises as type E; fails the test when it raises none.
#define QNL_EXPECT_THROW_MESSAGE(Statement, E, Message)       \
  do {                                                        \
    try {                                                     \
      Statement;                                              \
      ADD_FAILURE() << "no exception from " #Statement;       \
    } catch (const E& e) {                                    \
      EXPECT_EQ(std::string(e.what()), std::string(Message)); \
    }                                                         \
  } while (0)

} // namespace qnl::test
