// The pictures drawn for this system's dialogs, compiled into the program: the progress
// window's copy and transfer pictures, the status window's icon, the change-disk picture
// and the wizard's default theme. tools/scripts/draw-pictures.py draws them.
#pragma once

#include <string_view>

namespace qnl {

// Names of the built-in pictures, as resources of the program.
inline constexpr std::string_view kPictureInstallTheme = "INSTALLTHEME1";  // BMP, 117 x 290
inline constexpr std::string_view kPictureCopyFiles = "COPYFILES";         // BMP with alpha, 36 x 37
inline constexpr std::string_view kPictureTransfer = "TRANSFER";           // BMP with alpha, 36 x 37
inline constexpr std::string_view kPictureInstallStatus = "INSTALLSTATUS"; // ICO, 32 and 48
inline constexpr std::string_view kPictureChangeDisk = "CHANGEDISK";       // BMP with alpha, 48 x 57

// The file (BMP or ICO bytes) of a built-in picture; empty for a name that is none.
std::string_view BuiltinPicture(std::string_view Name);

} // namespace qnl
