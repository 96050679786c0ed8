// The read-then-write of a growing list, shared by the registry tests and their second process.
#include "tests/platform/RegistryAppend.h"

#include "platform/registry/Registry.h"

namespace qnl::test {

void AppendItem(const std::string& Key) {
  TRegKey::Edit(TRootKey::rkLocalMachine, Key, [](TRegEdit& Edit) {
    std::string n = std::to_string(std::stoi(Edit.ReadString("", "Entries").value_or("0")) + 1);
    Edit.WriteString("", "Item" + n, n);
    Edit.WriteString("", "Entries", n);
  });
}

} // namespace qnl::test
