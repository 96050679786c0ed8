// The machine's registry keys and values.
#include "platform/registry/Registry.h"

namespace qnl {

class THive {};

TRegistryHives::TRegistryHives(TMachine& machine) : FMachine(machine) {}
TRegistryHives::~TRegistryHives() = default;

} // namespace qnl
