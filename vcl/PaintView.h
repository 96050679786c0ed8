// The view of a control that draws itself on a canvas.
#pragma once

#include <functional>
#include <memory>

#include "rtl/Controls.h"
#include "vcl/Canvas.h"

namespace qnl {

using TPaintHandler = std::function<void(TCanvas& Canvas)>;

// A view that shows Control by calling Paint whenever its widget is drawn. Any change of the
// control (bounds, font, colour, caption, acLook for its own values) draws it again. The
// widget fills no background, so where Paint draws nothing the parent shows through; child
// controls go into the same widget, over what Paint drew.
std::unique_ptr<TControlView> NewPaintView(TControl* Control, TPaintHandler Paint);

} // namespace qnl
