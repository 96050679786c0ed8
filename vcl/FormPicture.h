// A form's window as a picture, for looking at a project's windows without running them.
#pragma once

#include <string>

namespace qnl {

class TForm;

// The form's window as drawn after the pending messages are handled (its client area, without
// the window manager's frame), as the bytes of a PNG file. EInvalidOperation when the form
// has no size or the picture cannot be encoded.
std::string FormPicturePng(TForm& Form);

} // namespace qnl
