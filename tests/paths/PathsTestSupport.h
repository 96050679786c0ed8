// Helpers of the path specifier tests: a fresh machine per test and a stand-in install component.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "paths/IInstallComponent.h"
#include "platform/registry/Registry.h"
#include "rtl/Classes.h"

namespace qnl::test {

// Points WINEPREFIX at a new empty machine directory below the test's own one, and puts
// the previous value back afterwards.
class TempMachineTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* base = std::getenv("WINEPREFIX");
    FOldPrefix = base ? base : "";
    std::filesystem::path root = base ? std::filesystem::path(base).parent_path() : std::filesystem::temp_directory_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = root / (std::string("paths-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
    setenv("WINEPREFIX", FDir.c_str(), 1);
  }
  void TearDown() override {
    if (FOldPrefix.empty()) unsetenv("WINEPREFIX");
    else setenv("WINEPREFIX", FOldPrefix.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(FDir, ignored);
  }

  static void SetString(TRootKey Root, const std::string& Key, const std::string& Name, const std::string& Value) {
    TRegKey::Create(Root, Key).WriteString(Name, Value);
  }
  static void DeleteValue(TRootKey Root, const std::string& Key, const std::string& Name) {
    if (auto key = TRegKey::Open(Root, Key)) key->DeleteValue(Name);
  }

  std::filesystem::path FDir;

private:
  std::string FOldPrefix;
};

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
#define QNL_EXPECT_THROW_MESSAGE(Statement, E, Message)                                  \
  do {                                                                                    \
    try {                                                                                 \
      Statement;                                                                          \
      ADD_FAILURE() << "no exception from " #Statement;                                   \
    } catch (const E& e) {                                                                \
      EXPECT_EQ(std::string(e.what()), std::string(Message));                             \
    }                                                                                     \
  } while (0)

} // namespace qnl::test
