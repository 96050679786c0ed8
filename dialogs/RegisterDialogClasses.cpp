// Makes the dialog classes that a project can hold known to the class registry.
#include "dialogs/RegisterDialogClasses.h"

#include "dialogs/TDialogManager.h"

namespace qnl {

void RegisterDialogClasses() { RegisterClass(TDialogManager::StaticClassInfo()); }

} // namespace qnl
