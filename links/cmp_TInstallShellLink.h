// The shortcut unit: shortcut folders, shortcuts, the psObjectLink specifier and their registries.
#pragma once

#include "links/ShellLinkRegistries.h"
#include "links/TCustomInstallShellLink.h"
#include "links/TCustomShellLinkGroup.h"
#include "links/TpsObjectLink.h"
#include "links/exceptions_Links.h"
