// The form's graphic values as Qt sees them.
#pragma once

#include <QColor>
#include <QFont>

#include "rtl/Graphics.h"

namespace qnl {

// The Qt font of a stored font (its face, pixel height, style and pitch).
QFont QtFont(const TFont& Font);
// The RGB colour of a stored colour, system colours through the classic scheme.
QColor QtColor(TColor Color);

} // namespace qnl
