// One application object for the GUI tests.
#include "tests/vcl/VclTestSupport.h"

#include <memory>

namespace qnl::test {

namespace {

std::unique_ptr<TTestApplication>& AppSlot() {
  static std::unique_ptr<TTestApplication> app;
  return app;
}

// Frees the application before main returns, while Qt is still intact.
class TAppEnvironment : public ::testing::Environment {
public:
  void TearDown() override { AppSlot().reset(); }
};

const bool kRegistered = (::testing::AddGlobalTestEnvironment(new TAppEnvironment), true);

} // namespace

TTestApplication& TestApp() {
  auto& app = AppSlot();
  if (!app) {
    static char name[] = "test_vcl";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<TTestApplication>(1, argv);
  }
  return *app;
}

void VclTest::SetUp() { ResetTestApp(); }

void VclTest::TearDown() { SettleTestApp(); }

void ResetTestApp() {
  TTestApplication& app = TestApp();
  app.Reset();
  app.PretendDisplay = false;
  app.OnException = nullptr;
  app.MessageBoxHook = nullptr;
  app.SetExitCode(0);
  app.SetMainForm(nullptr);
}

void SettleTestApp() {
  TApplication& app = TestApp();
  app.OnException = nullptr;
  app.SetMainForm(nullptr);
  app.ProcessMessages();
}

} // namespace qnl::test
