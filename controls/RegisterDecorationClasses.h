// Registration of the decoration controls with the class registry.
#pragma once

namespace qnl {

// Registers the backdrop and the rotated 3-D label, so that streaming creates them by
// name. Call once before a project is loaded; calling again does no harm.
void RegisterDecorationClasses();

} // namespace qnl
