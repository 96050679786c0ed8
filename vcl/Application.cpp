// The application object on Qt Widgets.
#include "vcl/Application.h"

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "platform/process/Process.h"
#include "vcl/AnsiText.h"
#include "vcl/FontFaces.h"
#include "vcl/Form.h"

namespace qnl {

namespace {

// Catches what an event handler let escape, so that no exception unwinds through Qt.
class TQtApplication : public QApplication {
public:
  using QApplication::QApplication;
  bool notify(QObject* Receiver, QEvent* Event) override {
    try {
      return QApplication::notify(Receiver, Event);
    } catch (...) {
      Application().HandleException(nullptr);
      return false;
    }
  }
};

// Qt's offscreen platform warns about window features it cannot show, and Qt about the
// missing session directory of a headless run; both are expected.
void QuietMessageHandler(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
  if (Type == QtDebugMsg || Type == QtInfoMsg) return;
  if (Message.startsWith(QLatin1String("This plugin does not support")) ||
      Message.contains(QLatin1String("XDG_RUNTIME_DIR")))
    return;
  std::fprintf(stderr, "%s\n", Message.toLocal8Bit().constData());
}

bool HasDisplayVariables() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

QNL_BEGIN_CLASS(TApplication);
QNL_END_CLASS

TApplication::TApplication(int Argc, char** Argv) : TCustomApplication(nullptr) {
  if (QCoreApplication::instance()) throw EInvalidOperation("Only one application object can exist at a time");
  // An unattended run shows nothing, also on a desktop: no window may wait for a person.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (!HasDisplayVariables() || UnattendedRun()))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // QApplication keeps references to argc and argv for its whole life.
  for (int i = 0; i < Argc; ++i) FArgStore.emplace_back(Argv[i]);
  if (FArgStore.empty()) FArgStore.emplace_back("setup");
  for (auto& a : FArgStore) FArgv.push_back(a.data());
  FArgv.push_back(nullptr);
  FArgc = static_cast<int>(FArgStore.size());
  qInstallMessageHandler(QuietMessageHandler);
  // A screen of 144 dpi scales every form by 1.5, not by 1 or 2.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  FQt = std::make_unique<TQtApplication>(FArgc, FArgv.data());
  InstallFontSubstitutes();
  QApplication::setQuitOnLastWindowClosed(false);
  SetExeName(FArgStore[0]);
  SetApplication(this);
  // Scripts and tests answer the message boxes through a command of their own.
  if (!qEnvironmentVariableIsEmpty("QNL_MESSAGEBOX_COMMAND"))
    MessageBoxHook = MessageBoxCommandHook(qEnvironmentVariable("QNL_MESSAGEBOX_COMMAND").toStdString());
}

TApplication::~TApplication() {
  // The forms this object owns go first, while their windows' QApplication still exists.
  DestroyComponents();
  if (&Application() == this) SetApplication(nullptr);
  FQt.reset();
  qInstallMessageHandler(nullptr);
}

void TApplication::Run() {
  if (Terminated() || !MainForm()) return;
  try {
    MainForm()->Show();
  } catch (...) {
    HandleException(MainForm());
  }
  if (Terminated()) return;
  QApplication::exec();
}

void TApplication::Terminate() {
  TCustomApplication::Terminate();
  // Ends every running loop, the modal ones included, once the current event is handled.
  QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TApplication::HasDisplay() const {
  QString name = QGuiApplication::platformName();
  return name != QLatin1String("offscreen") && name != QLatin1String("minimal");
}

int32_t TApplication::ScreenWidth() const {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().width() : TCustomApplication::ScreenWidth();
}

int32_t TApplication::ScreenHeight() const {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().height() : TCustomApplication::ScreenHeight();
}

int32_t TApplication::CaptionHeight() const {
  // Offscreen windows have no window manager's frame to measure.
  if (!HasDisplay() || QGuiApplication::platformName() == QLatin1String("offscreen"))
    return TCustomApplication::CaptionHeight();
  // Forms keep their outer size and derive their client size from it: the height must not
  // change during the run, so the first answer stays. The window manager's frame around a
  // shown window is the truth; before one is shown, the style's title bar.
  if (FCaptionHeight > 0) return FCaptionHeight;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    int top = window->geometry().top() - window->frameGeometry().top();
    if (top > 0) return FCaptionHeight = top;
  }
  return FCaptionHeight = std::max(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight), 1);
}

int TApplication::DoMessageBox(const std::string& Text, const std::string& Caption, int Flags) {
  // Nobody can click a box nobody sees: answer with its default button.
  if (!HasDisplay()) return TCustomApplication::DoMessageBox(Text, Caption, Flags);

  struct TButton {
    QMessageBox::StandardButton Qt;
    int Id;
  };
  static const std::vector<TButton> kButtons[] = {
      {{QMessageBox::Ok, IDOK}},
      {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}},
      {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}},
      {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}},
      {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}},
      {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}};
  int type = Flags & MB_TYPEMASK;
  if (type > 5) type = 0;
  const auto& buttons = kButtons[type];

  QMessageBox box;
  box.setWindowTitle(AnsiToQString(Caption));
  box.setText(AnsiToQString(Text));
  switch (Flags & MB_ICONMASK) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  QMessageBox::StandardButtons set;
  for (const auto& b : buttons) set |= b.Qt;
  box.setStandardButtons(set);
  size_t def = static_cast<size_t>((Flags & MB_DEFMASK) >> 8);
  box.setDefaultButton(buttons[def < buttons.size() ? def : 0].Qt);
  int chosen = box.exec();
  for (const auto& b : buttons)
    if (b.Qt == chosen) return b.Id;
  // Closed through the title bar: Windows answers Cancel when there is one, else OK.
  for (const auto& b : buttons)
    if (b.Id == IDCANCEL) return IDCANCEL;
  return buttons[0].Id;
}

TMessageBoxHook MessageBoxCommandHook(const std::string& Command) {
  return [Command](const std::string& Text, const std::string& Caption, int Flags) {
    struct TButtons {
      const char* Name;
      int Accept, Decline;
    };
    static const TButtons kTypes[] = {{"OK", IDOK, IDOK},
                                      {"OKCANCEL", IDOK, IDCANCEL},
                                      {"ABORTRETRYIGNORE", IDRETRY, IDABORT},
                                      {"YESNOCANCEL", IDYES, IDCANCEL},
                                      {"YESNO", IDYES, IDNO},
                                      {"RETRYCANCEL", IDRETRY, IDCANCEL}};
    int type = Flags & MB_TYPEMASK;
    const TButtons& buttons = kTypes[type <= 5 ? type : 0];
    std::string text = AnsiToQString(Text).toStdString();
    std::string caption = AnsiToQString(Caption).toStdString();
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    int status;
    try {
      status =
          RunShellCommand(Command, {text},
                          {std::string("QNL_MESSAGEBOX_BUTTONS=") + buttons.Name, "QNL_MESSAGEBOX_CAPTION=" + caption});
    } catch (const std::exception& e) {
      // A command that cannot be started declines, as nobody agreed.
      std::fprintf(stderr, "%s\n", e.what());
      status = 127;
    }
    return status == 0 ? buttons.Accept : buttons.Decline;
  };
}

} // namespace qnl
