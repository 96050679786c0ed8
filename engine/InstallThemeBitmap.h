// The built-in picture "INSTALLTHEME1" shown by wizard dialogs that have none of their own.
#pragma once

#include <string>

namespace qnl {

// A 117 x 290 pixel, 24-bit Windows bitmap file (BMP bytes).
const std::string& InstallTheme1Bmp();

} // namespace qnl
