// The install component unit: TCustomInstall, TInstall, their build settings, command line
// and self-extract trailer.
#pragma once

#include "engine/SelfExtractingSetup.h"
#include "engine/TBuildInfo.h"
#include "engine/TCommandLine.h"
#include "engine/TCustomInstall.h"
#include "engine/TInstall.h"
