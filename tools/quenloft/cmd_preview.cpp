// quenloft preview ...: run by the preview program beside the tool, which loads projects with
// the setup program's libraries (the GUI among them) that the tool itself does without.
#include "platform/HostFiles.h"
#include "tools/quenloft/Commands.h"
#include "tools/quenloft/ToolFiles.h"

namespace qnl::tool {

int CmdPreview(const TArgs& Args) {
  host::ReplaceProcess(ProgramBesideTool("quenloft-preview", "preview program"), Args);
}

} // namespace qnl::tool
