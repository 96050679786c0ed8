// The application object on Qt Widgets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rtl/Forms.h"

class QApplication;

namespace qnl {

// The process's application while it exists: owns the QApplication, runs its event loop
// and shows errors. Without a display (no DISPLAY nor WAYLAND_DISPLAY, and no platform
// chosen through QT_QPA_PLATFORM), and in an unattended run (QUENLOFT_UNATTENDED=1) unless a
// platform is chosen, it runs on Qt's offscreen platform, where message boxes
// and errors go to stderr. No exception leaves a Qt event handler: each one reaches
// HandleException.
class TApplication : public TCustomApplication {
  QNL_CLASS(TApplication, TCustomApplication)
public:
  // Creates the QApplication and installs this object as Application(). One at a time.
  TApplication(int Argc, char** Argv);
  ~TApplication() override;

  // Shows the main form and handles events until Terminate. Returns at once when
  // Terminate was called before, or when there is no main form (nothing could end it).
  void Run() override;
  void Terminate() override;
  void ProcessMessages() override;
  int32_t ScreenWidth() const override;
  int32_t ScreenHeight() const override;
  int32_t CaptionHeight() const override;
  bool HasDisplay() const override;

protected:
  int DoMessageBox(const std::string& Text, const std::string& Caption, int Flags) override;

private:
  int FArgc;
  std::vector<std::string> FArgStore;
  std::vector<char*> FArgv;
  std::unique_ptr<QApplication> FQt;
  mutable int32_t FCaptionHeight = 0; // measured once
};

// Answers every message box with the exit status of a shell command, for scripts and tests
// that run with nobody to click: Command runs through /bin/sh with the box's text (UTF-8) as
// its one argument and QNL_MESSAGEBOX_BUTTONS naming the box's buttons (OK, OKCANCEL,
// ABORTRETRYIGNORE, YESNOCANCEL, YESNO, RETRYCANCEL) and QNL_MESSAGEBOX_CAPTION its caption
// in its environment. Status 0 chooses the accepting button (OK, Yes, Retry), any other
// status the declining one (Cancel, No, Abort; OK when OK is the only button). Its standard
// output is ignored. The box is still reported on stderr as "Caption: Text". TApplication
// installs it when the environment variable QNL_MESSAGEBOX_COMMAND is set.
TMessageBoxHook MessageBoxCommandHook(const std::string& Command);

} // namespace qnl
