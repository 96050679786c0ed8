// libFuzzer target: any bytes given to the form reader (and to the binary-to-text
// converter) end in one of their own errors, never in a crash, a leak or a hang.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rtl/FormReader.h"
#include "rtl/FormText.h"
#include "tests/rtl/FormFixtureClasses.h"

using namespace qnl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool registered = (test::RegisterFormTestClasses(), true);
  (void)registered;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    auto* form = new test::TTestForm();
    TMemoryStream stream(bytes);
    try {
      ReadRootComponent(stream, form);
    } catch (const EStreamError&) {
    } catch (const EPropertyError&) {}
    delete form;
  }
  try {
    ObjectBinaryToText(bytes);
  } catch (const EStreamError&) {}
  test::StreamLog().clear();
  return 0;
}
