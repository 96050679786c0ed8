// A form shown in a Qt window.
#include "vcl/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QWidget>

#include "rtl/ScopeGuard.h"
#include "vcl/AnsiText.h"
#include "vcl/QtGraphics.h"

namespace qnl {

// The form's top-level window: forwards window events to the form, catching everything a
// handler raises.
class TFormWindow : public QWidget {
public:
  explicit TFormWindow(TForm* Form) : FForm(Form) { setAttribute(Qt::WA_DeleteOnClose, false); }
  void Detach() { FForm = nullptr; }

protected:
  bool event(QEvent* E) override {
    if (FForm) {
      switch (E->type()) {
        case QEvent::WindowActivate: Guard([this] { FForm->Activate(); }); break;
        case QEvent::WindowDeactivate: Guard([this] { FForm->Deactivate(); }); break;
        case QEvent::Move:
        case QEvent::Resize: Guard([this] { FForm->WindowGeometryChanged(); }); break;
        default: break;
      }
    }
    return QWidget::event(E);
  }

  void closeEvent(QCloseEvent* E) override {
    // The form decides: Close hides it or ends the program.
    E->ignore();
    if (FForm) Guard([this] { FForm->Close(); });
  }

  void paintEvent(QPaintEvent* E) override {
    QWidget::paintEvent(E);
    if (FForm && FForm->OnPaint) Guard([this] { FForm->OnPaint(FForm); });
  }

private:
  template <class F>
  void Guard(F Handler) {
    try {
      Handler();
    } catch (...) {
      Application().HandleException(FForm);
    }
  }
  TForm* FForm;
};

QNL_BEGIN_CLASS(TForm);
QNL_END_CLASS

namespace {
TFormWindow* NewWindow(TForm* Form) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw EInvalidOperation("A form needs the application object: create TApplication first");
  return new TFormWindow(Form);
}
} // namespace

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner), FWindow(NewWindow(this)) {
  FWindow->setAutoFillBackground(true);
  for (TFormAspect a : {TFormAspect::faBounds, TFormAspect::faColor, TFormAspect::faFont}) UpdateWindow(a);
}

TForm::~TForm() {
  ReleaseControls();
  FWindow->Detach();
  delete FWindow;
}

QWidget* TForm::Widget() const { return FWindow; }

QWidget* TForm::ClientWidget() const { return FWindow; }
const TFont* TForm::ParentFontSource() const { return Font(); }
int32_t TForm::ClientAreaWidth() const { return ClientWidth(); }
int32_t TForm::ClientAreaHeight() const { return ClientHeight(); }

void TForm::Repaint() { FWindow->repaint(); }

void TForm::BringToFront() {
  if (!FWindow->isVisible()) return;
  FWindow->raise();
  FWindow->activateWindow();
}

void TForm::UpdateWindow(TFormAspect Aspect) {
  TFlagGuard applying(FApplying);
  switch (Aspect) {
    case TFormAspect::faBounds:
      ApplyBounds();
      Realign();
      break;
    case TFormAspect::faCaption:
      FWindow->setWindowTitle(AnsiToQString(Caption(), CharsetToCodePage(Font()->Charset(), AnsiCodePage())));
      break;
    case TFormAspect::faColor: ApplyColor(); break;
    case TFormAspect::faFont:
      ApplyFont();
      UpdateWindow(TFormAspect::faCaption); // the character set decides the caption's code page
      break;
    case TFormAspect::faWindowState: {
      Qt::WindowStates states = FWindow->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
      if (WindowState() == wsMinimized) states |= Qt::WindowMinimized;
      if (WindowState() == wsMaximized) states |= Qt::WindowMaximized;
      FWindow->setWindowState(states);
      break;
    }
    case TFormAspect::faVisible:
      if (Visible()) {
        PlaceOnFirstShow();
        FWindow->show();
      } else {
        FWindow->hide();
      }
      break;
    case TFormAspect::faBorderStyle:
    case TFormAspect::faFormStyle: ApplyFlags(); break;
  }
}

void TForm::ApplyBounds() {
  FWindow->move(Left(), Top());
  FWindow->resize(ClientWidth() > 0 ? ClientWidth() : 1, ClientHeight() > 0 ? ClientHeight() : 1);
}

void TForm::ApplyFont() {
  FWindow->setFont(QtFont(*Font()));
  QPalette pal = FWindow->palette();
  pal.setColor(QPalette::WindowText, QtColor(Font()->Color()));
  FWindow->setPalette(pal);
  ParentFontChanged();
}

void TForm::ApplyColor() {
  QPalette pal = FWindow->palette();
  pal.setColor(QPalette::Window, QtColor(Color()));
  FWindow->setPalette(pal);
}

void TForm::ApplyFlags() {
  Qt::WindowFlags flags = Qt::Window;
  switch (BorderStyle()) {
    case bsNone: flags |= Qt::FramelessWindowHint; break;
    case bsDialog: flags = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: flags = Qt::Tool; break;
    default: break;
  }
  if (BorderStyle() != bsNone) {
    flags |= Qt::WindowTitleHint;
    if (BorderIcons().Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (BorderIcons().Contains(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (BorderIcons().Contains(biMaximize) && BorderStyle() == bsSizeable) flags |= Qt::WindowMaximizeButtonHint;
    flags |= Qt::CustomizeWindowHint;
  }
  if (FormStyle() == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  if (FWindow->windowFlags() == flags) return;
  bool shown = FWindow->isVisible();
  FWindow->setWindowFlags(flags); // hides the window
  if (shown) FWindow->show();
}

void TForm::PlaceOnFirstShow() {
  if (FPlaced) return;
  FPlaced = true;
  int32_t sw = Application().ScreenWidth(), sh = Application().ScreenHeight();
  switch (Position()) {
    case poScreenCenter:
    case poDesktopCenter: SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height()); break;
    case poMainFormCenter:
    case poOwnerFormCenter:
      if (TCustomForm* main = Application().MainForm(); main && main != this)
        SetBounds(main->Left() + (main->Width() - Width()) / 2, main->Top() + (main->Height() - Height()) / 2, Width(),
                  Height());
      else
        SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
      break;
    default: break;
  }
  ApplyBounds();
}

void TForm::WindowGeometryChanged() {
  if (FApplying || !FWindow->isVisible()) return;
  // A maximised or minimised window keeps its normal bounds in the form.
  if (FWindow->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
  QPoint pos = FWindow->pos();
  QSize size = FWindow->size();
  int32_t w = size.width() + NonClientWidth(), h = size.height() + NonClientHeight();
  if (pos.x() == Left() && pos.y() == Top() && w == Width() && h == Height()) return;
  TFlagGuard applying(FApplying);
  SetBounds(pos.x(), pos.y(), w, h);
}

} // namespace qnl
