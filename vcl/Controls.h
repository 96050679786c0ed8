// The controls of the GUI framework: their model (rtl/Controls.h) and their Qt views.
#pragma once

#include "rtl/Controls.h"
#include "vcl/ControlView.h"

namespace qnl {

// Registers the control classes for streaming and lets the translator see the control
// tree (children, windowed controls, realignment).
void RegisterControlsClasses();

} // namespace qnl
