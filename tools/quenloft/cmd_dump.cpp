// quenloft dump FILE: the resources of a setup program, or a binary form resource, as text.
#include <cstdio>

#include "platform/HostFiles.h"
#include "platform/system/CodePage.h"
#include "rtl/FormText.h"
#include "rtl/FormValues.h"
#include "rtl/ResourceBundle.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {
// Texts are read in the machine's code page, so that the output compiles back to the same
// resource on this machine.
void Write(const std::string& S) { std::fwrite(S.data(), 1, S.size(), stdout); }
} // namespace

int CmdDump(const TArgs& Args) {
  if (Args.size() != 1) throw Exception("usage: quenloft dump FILE");
  host::THostFileStream file(Args[0]);
  std::string head = file.ReadString(file.Size() < 4 ? file.Size() : 4);
  if (head == kFormSignature) {
    file.SetPosition(0);
    Write(ObjectBinaryToText(file.ReadString(file.Size()), MachineAnsiCodePage()));
    return 0;
  }
  auto bundle = TResourceBundle::Open(file);
  // An empty directory carries nothing to show either: the file is not what was meant.
  if (!bundle || bundle->Entries().empty())
    throw Exception(Args[0] + " carries no resources and is not a binary form resource");
  for (const TResourceEntry& e : bundle->Entries()) {
    std::string data = bundle->Read(file, e);
    bool isForm = data.compare(0, kFormSignature.size(), kFormSignature) == 0;
    Write("# resource " + e.Name + ", " + std::to_string(e.Size) + " bytes" + (isForm ? "" : ", not a form") + "\n");
    if (isForm) Write(ObjectBinaryToText(data, MachineAnsiCodePage()));
  }
  return 0;
}

} // namespace qnl::tool
