// The view of a control that draws itself on a canvas.
#pragma once

#include <functional>
#include <memory>

#include "rtl/Controls.h"
#include "vcl/Canvas.h"

namespace qnl {

using TPaintHandler = std::function<void(TCanvas& Canvas)>;
// A click of the left button released over the control, or a double click.
enum class TClickKind { ckClick, ckDoubleClick };
using TClickHandler = std::function<void(TClickKind Kind)>;

// A view that shows Control by calling Paint whenever its widget is drawn. Any change of the
// control (bounds, font, colour, caption, acLook for its own values) draws it again. The
// widget fills no background, so where Paint draws nothing the parent shows through; child
// controls go into the same widget, over what Paint drew. Click, when given, hears the
// control's clicks.
std::unique_ptr<TControlView> NewPaintView(TControl* Control, TPaintHandler Paint, TClickHandler Click = nullptr);

} // namespace qnl
