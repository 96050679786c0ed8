// The installation object model: containers, install objects, file-related components,
// file containers, install files, their parameter objects, lists and registries.
#pragma once

#include "engine/InstallParameters.h"
#include "engine/InstallSession.h"
#include "engine/TCustomInstallFile.h"
#include "engine/TFileContainer.h"
#include "engine/TFileRelated.h"
#include "engine/TInstallContainer.h"
#include "engine/TInstallObject.h"
#include "engine/exceptions_Engine.h"
