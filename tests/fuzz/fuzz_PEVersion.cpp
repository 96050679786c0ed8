// libFuzzer target: any bytes read as a PE image, and as a bare version block, give a
// version resource or none, never a crash or a hang.
#include <cstdint>
#include <string>

#include "archive/TPEVersionBlock.h"
#include "archive/TVersionResource.h"

using namespace qnl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  TVersionInfo info;
  ReadVersionInfoFromImage(bytes, cmp_TVersion::lnUSEnglish, cmp_TVersion::csMultilingual, info);
  TPEVersionBlock block(bytes);
  for (const char* path :
       {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904E4\\CompanyName", "\\StringFileInfo", "\\\\x\\"})
    (void)block.QueryString(path);
  return 0;
}
