// quenloft classes ...: run by the program beside the tool that registers every class of the
// setup program (the tool, the build's form converter, links none of them).
#include "platform/HostFiles.h"
#include "tools/quenloft/Commands.h"
#include "tools/quenloft/ToolFiles.h"

namespace qnl::tool {

int CmdClasses(const TArgs& Args) {
  host::ReplaceProcess(ProgramBesideTool("quenloft-classes", "class reference program"), Args);
}

} // namespace qnl::tool
