// Makes the dialog classes that a project can hold known to the class registry.
#pragma once

namespace qnl {

void RegisterDialogClasses();

} // namespace qnl
