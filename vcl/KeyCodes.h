// Qt's keys as the Windows virtual-key codes that key events carry.
#pragma once

#include <cstdint>

#include <QKeyEvent>

#include "rtl/Controls.h"

namespace qnl {

// The virtual-key code of a key (letters and digits are their upper-case characters);
// 0 for a key without one.
uint16_t VirtualKeyOf(const QKeyEvent& Event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers);

} // namespace qnl
