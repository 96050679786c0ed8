// The dialog component, the dialog manager and the lists of dialog forms.
#pragma once

#include "dialogs/DialogRegistries.h"
#include "dialogs/TCustomBaseInstallDlg.h"
#include "dialogs/TDialogManager.h"
