// libFuzzer target: any bytes given to the picture decoders (as a BMP file, an ICO file
// and an icon's bitmap) end in a picture or in EInvalidGraphic, never in a crash, a read
// past the bytes or an allocation larger than the picture limit.
#include <cstdint>
#include <string_view>

#include "rtl/BitmapDecoder.h"
#include "rtl/IconDecoder.h"

using namespace qnl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    DecodeBmp(bytes);
  } catch (const EInvalidGraphic&) {}
  try {
    DecodeIcon(bytes);
  } catch (const EInvalidGraphic&) {}
  try {
    DecodeIconDib(bytes, "");
  } catch (const EInvalidGraphic&) {}
  return 0;
}
