// The Windows font faces that stored forms name, on free faces of the same metrics.
#pragma once

namespace qnl {

// Makes Qt draw "Arial", "MS Sans Serif", "Times New Roman", "Courier New" and the other
// Windows faces with the Liberation faces (Debian's fonts-liberation2), whose letters
// have the widths of Arial, Times New Roman and Courier New, so that a layout measured in
// pixels fits on every machine. Once per process, after the QApplication exists.
void InstallFontSubstitutes();

} // namespace qnl
