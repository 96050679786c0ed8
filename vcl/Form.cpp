// A form shown in a Qt window.
#include "vcl/Form.h"

#include <cstdio>
#include <functional>

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QWidget>

#include "rtl/ScopeGuard.h"
#include "vcl/AnsiText.h"
#include "vcl/QtGraphics.h"

namespace qnl {

namespace {
// More pages than any wizard has: an unattended form whose default button never ends it.
constexpr int kMaxUnattendedPages = 100;
} // namespace

// The form's window: forwards window events to the form, catching everything a handler
// raises.
class TFormWindow : public QWidget {
public:
  explicit TFormWindow(TForm* Form) : FForm(Form) { setAttribute(Qt::WA_DeleteOnClose, false); }
  void Detach() { FForm = nullptr; }

protected:
  bool event(QEvent* E) override;
  void closeEvent(QCloseEvent* E) override {
    // The form decides: Close hides it, ends ShowModal or ends the program.
    E->ignore();
    if (FForm) GuardHandler(FForm, [this] { FForm->Close(); });
  }
  void keyPressEvent(QKeyEvent* E) override;
  bool focusNextPrevChild(bool Next) override {
    // Tab follows the controls' TabOrder; a page placed in a form leaves it to that form.
    if (!FForm || FForm->Parent()) return QWidget::focusNextPrevChild(Next);
    GuardHandler(FForm, [this, Next] { FForm->SelectNext(Next); });
    return true;
  }
  void paintEvent(QPaintEvent* E) override {
    QWidget::paintEvent(E);
    if (FForm && FForm->OnPaint) GuardHandler(FForm, [this] { FForm->OnPaint(FForm); });
  }

private:
  TForm* FForm;
};

// The form's view: a top-level window, or a frameless child in its parent's widget.
class TFormView : public TWidgetView {
public:
  explicit TFormView(TForm* Form) : TWidgetView(Form, NewControlWidget<TFormWindow>(Form)), FForm(Form) {}
  void WindowGeometryChanged();
  bool Applying() const { return FApplying; }

protected:
  void ApplyParent() override;
  void ApplyBounds() override;
  void ApplyVisible() override;
  void ApplyFont() override {
    TWidgetView::ApplyFont();
    ApplyCaption();
  }
  void ApplyColor() override { FillBackground(true); }
  void ApplyCaption() override { Widget()->setWindowTitle(DisplayText(FForm, FForm->Caption())); }
  void ApplyLook() override;

private:
  void ApplyFlags();
  void PlaceOnFirstShow();
  bool FixedFrame() const { return FForm->BorderStyle() != bsSizeable && FForm->BorderStyle() != bsSizeToolWin; }
  TForm* FForm;
  bool FApplying = false; // true while the view writes to the window
  bool FPlaced = false;   // Position has been applied
};

bool TFormWindow::event(QEvent* E) {
  if (FForm) {
    switch (E->type()) {
      case QEvent::WindowActivate: GuardHandler(FForm, [this] { FForm->Activate(); }); break;
      case QEvent::WindowDeactivate: GuardHandler(FForm, [this] { FForm->Deactivate(); }); break;
      case QEvent::Move:
      case QEvent::Resize: GuardHandler(FForm, [this] { FForm->FormView()->WindowGeometryChanged(); }); break;
      default: break;
    }
  }
  return QWidget::event(E);
}

void TFormWindow::keyPressEvent(QKeyEvent* E) {
  // Keys the focused control left alone: Enter and Escape press the form's buttons.
  TWinControl* button = nullptr;
  if (FForm && E->modifiers() == Qt::NoModifier) {
    if (E->key() == Qt::Key_Return || E->key() == Qt::Key_Enter) button = FForm->DefaultButton();
    if (E->key() == Qt::Key_Escape) button = FForm->CancelButton();
  }
  if (!button) {
    QWidget::keyPressEvent(E);
    return;
  }
  E->accept();
  GuardHandler(FForm, [button] { dynamic_cast<IButtonControl*>(button)->Click(); });
}

void TFormView::ApplyParent() {
  TFlagGuard applying(FApplying);
  QWidget* parent = FForm->Parent() ? ClientWidgetOf(FForm->Parent()) : nullptr;
  if (parent) {
    if (Widget()->parentWidget() != parent) Widget()->setParent(parent, Qt::Widget);
  } else if (Widget()->parentWidget()) {
    Widget()->setParent(nullptr, Qt::Window);
    ApplyFlags();
  }
  ApplyBounds();
}

void TFormView::ApplyBounds() {
  TFlagGuard applying(FApplying);
  int32_t cw = std::max(FForm->ClientWidth(), 1), ch = std::max(FForm->ClientHeight(), 1);
  if (FForm->Parent()) {
    // A page placed in another form takes the size it is given, whatever frame it had alone.
    Widget()->setMinimumSize(0, 0);
    Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Widget()->setGeometry(FForm->Left(), FForm->Top(), cw, ch);
  } else {
    Widget()->move(FForm->Left(), FForm->Top());
    // A fixed frame keeps the user from resizing, not the program.
    if (FixedFrame())
      Widget()->setFixedSize(cw, ch);
    else
      Widget()->resize(cw, ch);
  }
}

void TFormView::ApplyVisible() {
  TFlagGuard applying(FApplying);
  if (FForm->Visible() && (FForm->Parent() || !Widget()->parentWidget())) {
    if (!FForm->Parent()) PlaceOnFirstShow();
    Widget()->show();
  } else {
    Widget()->hide();
  }
}

void TFormView::ApplyLook() {
  TFlagGuard applying(FApplying);
  if (!FForm->Parent()) {
    ApplyFlags();
    Qt::WindowStates states = Widget()->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (FForm->WindowState() == wsMinimized) states |= Qt::WindowMinimized;
    if (FForm->WindowState() == wsMaximized) states |= Qt::WindowMaximized;
    Widget()->setWindowState(states);
  }
  if (FForm->Active() && FForm->ActiveControl())
    if (QWidget* w = WidgetOf(FForm->ActiveControl())) w->setFocus(Qt::OtherFocusReason);
}

void TFormView::ApplyFlags() {
  Qt::WindowFlags flags = Qt::Window;
  switch (FForm->BorderStyle()) {
    case bsNone: flags |= Qt::FramelessWindowHint; break;
    case bsDialog: flags = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: flags = Qt::Tool; break;
    default: break;
  }
  if (FForm->BorderStyle() != bsNone) {
    flags |= Qt::WindowTitleHint;
    TBorderIcons icons = FForm->BorderIcons();
    if (icons.Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (icons.Contains(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (icons.Contains(biMaximize) && FForm->BorderStyle() == bsSizeable) flags |= Qt::WindowMaximizeButtonHint;
    flags |= Qt::CustomizeWindowHint;
  }
  if (FForm->FormStyle() == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  if (Widget()->windowFlags() == flags) return;
  bool shown = Widget()->isVisible();
  Widget()->setWindowFlags(flags); // hides the window
  // A fixed frame cannot be resized by the user.
  if (FixedFrame())
    Widget()->setFixedSize(Widget()->size());
  else
    Widget()->setMinimumSize(0, 0), Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (shown) Widget()->show();
}

void TFormView::PlaceOnFirstShow() {
  if (FPlaced) return;
  FPlaced = true;
  int32_t sw = Application().ScreenWidth(), sh = Application().ScreenHeight();
  int32_t w = FForm->Width(), h = FForm->Height();
  switch (FForm->Position()) {
    case poScreenCenter:
    case poDesktopCenter: FForm->SetBounds((sw - w) / 2, (sh - h) / 2, w, h); break;
    case poMainFormCenter:
    case poOwnerFormCenter:
      if (TCustomForm* main = Application().MainForm(); main && main != FForm)
        FForm->SetBounds(main->Left() + (main->Width() - w) / 2, main->Top() + (main->Height() - h) / 2, w, h);
      else
        FForm->SetBounds((sw - w) / 2, (sh - h) / 2, w, h);
      break;
    default: break;
  }
  ApplyBounds();
}

void TFormView::WindowGeometryChanged() {
  if (FApplying || FForm->Parent() || !Widget()->isVisible()) return;
  // A maximised or minimised window keeps its normal bounds in the form.
  if (Widget()->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
  QPoint pos = Widget()->pos();
  QSize size = Widget()->size();
  int32_t w = size.width() + FForm->NonClientWidth(), h = size.height() + FForm->NonClientHeight();
  if (pos.x() == FForm->Left() && pos.y() == FForm->Top() && w == FForm->Width() && h == FForm->Height()) return;
  TFlagGuard applying(FApplying);
  FForm->SetBounds(pos.x(), pos.y(), w, h);
}

// ---- TForm

QNL_BEGIN_CLASS(TForm);
QNL_END_CLASS

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) { SetView(std::make_unique<TFormView>(this)); }

TForm::~TForm() {
  Destroying();
  if (auto* window = dynamic_cast<TFormWindow*>(Widget())) window->Detach();
}

TFormView* TForm::FormView() const { return static_cast<TFormView*>(View()); }

QWidget* TForm::Widget() const { return WidgetOf(this); }

void TForm::Repaint() { Widget()->repaint(); }

void TForm::BringToFront() {
  if (!Widget()->isVisible()) return;
  // A form placed inside another one (a wizard's page) goes above its siblings only.
  Widget()->raise();
  if (!Parent()) Widget()->activateWindow();
}

void TForm::DoShow() {
  TCustomForm::DoShow();
  ApplyTabOrder();
  if (ActiveControl() && ActiveControl()->CanFocus())
    if (QWidget* w = WidgetOf(ActiveControl())) w->setFocus(Qt::OtherFocusReason);
}

namespace {

// Every windowed control in Root, depth first in tab order.
void CollectTabList(const TWinControl* Root, std::vector<TWinControl*>& List) {
  for (TWinControl* c : Root->TabList()) {
    List.push_back(c);
    CollectTabList(c, List);
  }
}

// The first showing, enabled control below Root that Test accepts.
TWinControl* FindButton(const TWinControl* Root, const std::function<bool(const IButtonControl&)>& Test) {
  std::vector<TWinControl*> list;
  CollectTabList(Root, list);
  for (TWinControl* c : list) {
    auto* b = dynamic_cast<IButtonControl*>(c);
    if (b && Test(*b) && c->Showing() && c->EnabledInTree()) return c;
  }
  return nullptr;
}

} // namespace

TWinControl* TForm::DefaultButton() const {
  return FindButton(this, [](const IButtonControl& B) { return B.IsDefault(); });
}

TWinControl* TForm::CancelButton() const {
  return FindButton(this, [](const IButtonControl& B) { return B.IsCancel(); });
}

void TForm::ApplyTabOrder() {
  // Tab itself goes through SelectNext; a control that is no tab stop still takes a click.
  std::vector<TWinControl*> list;
  CollectTabList(this, list);
  for (TWinControl* c : list) {
    QWidget* w = WidgetOf(c);
    if (w && w->focusPolicy() != Qt::NoFocus) w->setFocusPolicy(c->TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

namespace {
// Whether the control's widget (or the widget it hands the focus to) takes the focus.
bool TakesFocus(const TWinControl* C) {
  QWidget* w = WidgetOf(C);
  if (w && w->focusProxy()) w = w->focusProxy();
  return w && w->focusPolicy() != Qt::NoFocus;
}
} // namespace

void TForm::SelectNext(bool Forward) {
  std::vector<TWinControl*> list;
  CollectTabList(this, list);
  std::erase_if(list, [](TWinControl* C) { return !C->CanFocus() || !TakesFocus(C); });
  if (list.empty()) return;
  TControl* focused = ControlOfWidget(QApplication::focusWidget());
  auto at = std::find(list.begin(), list.end(), focused);
  // Inside a control that is no tab stop (a group box): from its place in the order.
  for (TControl* c = focused; at == list.end() && c; c = c->Parent()) at = std::find(list.begin(), list.end(), c);
  size_t index = 0;
  if (at != list.end()) {
    size_t i = static_cast<size_t>(at - list.begin());
    index = Forward ? (i + 1) % list.size() : (i + list.size() - 1) % list.size();
  } else if (!Forward) {
    index = list.size() - 1;
  }
  WidgetOf(list[index])->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

std::string TForm::TextLine() const {
  // A text of several lines (a licence, a readme) is run together: one line stays one form.
  std::string line = DisplayText(this, Caption()).simplified().toStdString();
  std::function<void(const TWinControl*)> walk = [&](const TWinControl* Parent) {
    for (TControl* c : Parent->Controls()) {
      if (!c->Visible()) continue;
      std::string text = c->DisplayedText();
      if (!text.empty()) line += (line.empty() ? "" : " | ") + DisplayText(c, text).simplified().toStdString();
      if (auto* w = dynamic_cast<TWinControl*>(c)) walk(w);
    }
  };
  walk(this);
  return line;
}

bool QuietRun() { return qEnvironmentVariable("QUENLOFT_QUIET") == QLatin1String("1"); }

TFormHooks& FormHooks() {
  static TFormHooks hooks;
  return hooks;
}

bool UnattendedRun() { return qEnvironmentVariable("QUENLOFT_UNATTENDED") == QLatin1String("1"); }

TModalResult TForm::ShowModal() {
  if (Visible() || Modal()) throw EInvalidOperation("Cannot make a visible window modal");
  TCustomForm::SetModalResult(mrNone);
  SetModal(true);
  TScopeExit done([this] {
    SetModal(false);
    FModalLoop = nullptr;
    try {
      Hide();
    } catch (...) {
      Application().HandleException(this);
    }
    // Qt takes a new modality only from a hidden window.
    Widget()->hide();
    Widget()->setWindowModality(Qt::NonModal);
  });
  TModalResult result = Application().HasDisplay() ? RunModalLoop() : AnswerUnattended();
  if (result == mrOk && FormHooks().AfterOk) FormHooks().AfterOk(*this);
  return result;
}

TModalResult TForm::RunModalLoop() {
  Widget()->setWindowModality(Qt::ApplicationModal);
  Show();
  if (ModalResult() == mrNone && !Application().Terminated()) {
    QEventLoop loop;
    FModalLoop = &loop;
    loop.exec();
  }
  return ModalResult() != mrNone ? ModalResult() : mrCancel;
}

std::string TForm::DialogName() const {
  return Caption().empty() ? Name() : DisplayText(this, Caption()).toStdString();
}

bool TForm::AnswerStep() {
  TWinControl* button = DefaultButton();
  if (!button) return false;
  dynamic_cast<IButtonControl*>(button)->Click();
  return true;
}

TModalResult TForm::AnswerUnattended() {
  std::string name = DialogName();
  if (!UnattendedRun())
    throw EInvalidOperation("The dialog \"" + name +
                            "\" cannot be shown without a display; set QUENLOFT_UNATTENDED=1 to answer it with its "
                            "default action");
  Show();
  std::string previous;
  for (int page = 0; page < kMaxUnattendedPages && ModalResult() == mrNone; ++page) {
    // The line shows the values the step answers with.
    if (FormHooks().BeforeAnswer) FormHooks().BeforeAnswer(*this);
    std::string line = TextLine();
    // A default button that changes nothing would be pressed for ever.
    if (page > 0 && line == previous) break;
    if (!QuietRun()) {
      std::fprintf(stderr, "%s\n", line.c_str());
      std::fflush(stderr);
    }
    previous = line;
    if (!AnswerStep()) return mrOk;
  }
  if (ModalResult() == mrNone) throw EInvalidOperation("The dialog \"" + name + "\" did not end on its default action");
  return ModalResult();
}

void TForm::SetModalResult(TModalResult Value) {
  TCustomForm::SetModalResult(Value);
  if (FModalLoop && Value != mrNone) FModalLoop->exit();
}

} // namespace qnl
