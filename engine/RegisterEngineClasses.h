// Registration of the engine's project classes with the class registry.
#pragma once

namespace qnl {

// Registers every engine class that a project may hold, so that streaming creates them by
// name. Call once before a project is loaded; calling again does no harm.
void RegisterEngineClasses();

} // namespace qnl
