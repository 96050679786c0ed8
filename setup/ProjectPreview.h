// Looking at a project's windows without installing: the project is loaded as the setup
// program loads it, nothing is run, and one window is drawn to a picture.
#pragma once

#include <string>

#include "setup/SetupProgram.h"

namespace qnl {

struct TPreviewRequest {
  // The project: its binary form resource.
  std::string Project;
  // Empty: the main window. Otherwise the name of a form of the project (FormName) or of
  // a dialog component (DialogName); only one of the two is set.
  std::string FormName;
  std::string DialogName;
  // The translator's language to show the dialogs in ("German", "qlGerman" or "lgGerman");
  // empty: the language the project chooses.
  std::string Language;
};

// Loads Request.Project into the main form CreateMainForm makes (no installation starts,
// no project event runs) and draws the asked window, on the platform the environment
// chooses (offscreen when none), returning the PNG file's bytes:
// - the main window at its stored size, its client area (without caption bar);
// - a wizard page inside its manager's wizard window as the wizard shows it at that page
//   (buttons for its place, the page prepared, its theme picture), or in its own window for
//   a page without manager; the copy-progress window with sample progress, the status window
//   with a sample message, the disk prompt asking for disk 2.
// Errors (Exception) name what is wrong: an unknown dialog lists the project's dialog
// components, an unknown language the languages the project offers.
std::string PreviewProject(const TPreviewRequest& Request, const TMainFormFactory& CreateMainForm);

} // namespace qnl
