// Helpers of the GUI tests: one application object for the whole test program.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "rtl/FormReader.h"
#include "rtl/FormText.h"
#include "rtl/Streams.h"
#include "vcl/Application.h"

namespace qnl::test {

// The test program's application: a TApplication that can run its loop again after
// Terminate, so that several tests can run it.
class TTestApplication : public TApplication {
public:
  using TApplication::TApplication;
  void Reset() { SetTerminated(false); }
  // Makes the offscreen windows count as seen, so that forms run their real modal loop.
  bool PretendDisplay = false;
  bool HasDisplay() const override { return PretendDisplay || TApplication::HasDisplay(); }
};

// The test program's application (offscreen), created on first use.
TTestApplication& TestApp();

// Reads a text form through the binary resource format into Root, as the setup program
// reads its TFORMMAIN resource.
inline void LoadTextForm(TComponent* Root, const std::string& Text) {
  TMemoryStream stream(ObjectTextToBinary(Text));
  ReadRootComponent(stream, Root);
}

// Puts the application into its state before a test (for fixtures with another base).
void ResetTestApp();
// Lets the application settle after a test.
void SettleTestApp();

// Puts the application back into its state before a test.
class VclTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
};

} // namespace qnl::test
