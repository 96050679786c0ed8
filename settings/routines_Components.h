// Helpers for components: a unique name.
#pragma once

#include <string>

#include "rtl/Classes.h"

namespace qnl {

// Names the component BaseName, or else BaseName1, BaseName2 ..., the first its owner accepts.
void UniqueComponentName(TComponent* Component, const std::string& BaseName);

} // namespace qnl
