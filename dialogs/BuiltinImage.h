// The built-in pictures of the dialogs, shown by their images.
#pragma once

#include <string_view>

namespace qnl {

class TImage;

// Image shows the built-in picture Name (a bitmap or an icon).
void ShowBuiltinPicture(TImage& Image, std::string_view Name);

} // namespace qnl
