// quenloft convert IN OUT: text form -> binary form resource, or binary -> text.
#include <cstdio>

#include "platform/HostFiles.h"
#include "platform/system/CodePage.h"
#include "rtl/FormText.h"
#include "rtl/FormValues.h"
#include "tools/quenloft/Commands.h"
#include "tools/quenloft/ToolFiles.h"

namespace qnl::tool {

int CmdConvert(const TArgs& Args) {
  if (Args.size() != 2) throw Exception("usage: quenloft convert IN OUT");
  std::string input = host::ReadWholeFile(Args[0]);
  std::string output;
  if (input.compare(0, kFormSignature.size(), kFormSignature) == 0)
    output = ObjectBinaryToText(input, MachineAnsiCodePage());
  else
    output = CompileFormFile(Args[0]);
  host::WriteWholeFile(Args[1], output);
  return 0;
}

} // namespace qnl::tool
