// libFuzzer target: any text given to the RTF reader ends in a document or in ERtfError,
// never in a crash or a hang; the code pages it names go through the system's converter.
#include <cstdint>
#include <string_view>

#include "platform/system/CodePage.h"
#include "rtl/RtfReader.h"

using namespace qnl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    ReadRtf(text, [](std::string_view Bytes, int CodePage) { return AnsiToUtf8(Bytes, CodePage); });
  } catch (const ERtfError&) {}
  return 0;
}
