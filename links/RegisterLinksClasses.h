// Registration of the shortcut classes with the class registry.
#pragma once

namespace qnl {

// Registers the shortcut folders, the shortcuts and the psObjectLink specifier, so that
// streaming creates them by name. Call once before a project is loaded; calling again does no harm.
void RegisterLinksClasses();

} // namespace qnl
