// The Qt side of a control: the widget that shows it.
#include "vcl/ControlView.h"

#include <QApplication>
#include <QVariant>

#include "rtl/Forms.h"
#include "vcl/AnsiText.h"
#include "vcl/QtGraphics.h"

namespace qnl {

namespace {
// The widget property that leads from a widget back to its control.
constexpr const char* kControlProperty = "qnlControl";
} // namespace

void RequireApplicationForControls() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw EInvalidOperation("A control needs the application object: create TApplication first");
}

void HandleControlException(TControl* Control) { Application().HandleException(Control); }

TWidgetView::TWidgetView(TControl* Control, QWidget* Widget) : FControl(Control), FWidget(Widget) {
  FWidget->hide();
  FWidget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(Control)));
}

TWidgetView::~TWidgetView() { delete FWidget.data(); }

void TWidgetView::Changed(TControlAspect Aspect) {
  if (!FWidget) return;
  switch (Aspect) {
    case TControlAspect::acParent: ApplyParent(); break;
    case TControlAspect::acBounds: ApplyBounds(); break;
    case TControlAspect::acVisible: ApplyVisible(); break;
    case TControlAspect::acEnabled: FWidget->setEnabled(FControl->Enabled()); break;
    case TControlAspect::acFont:
      ApplyFont();
      // The character set decides the code page of the texts.
      ApplyCaption();
      FWidget->setToolTip(DisplayText(FControl, FControl->Hint()));
      break;
    case TControlAspect::acColor: ApplyColor(); break;
    case TControlAspect::acCaption: ApplyCaption(); break;
    case TControlAspect::acHint: FWidget->setToolTip(DisplayText(FControl, FControl->Hint())); break;
    case TControlAspect::acLook: ApplyLook(); break;
  }
}

void TWidgetView::ApplyParent() {
  QWidget* parent = FControl->Parent() ? ClientWidgetOf(FControl->Parent()) : nullptr;
  if (FWidget->parentWidget() != parent) FWidget->setParent(parent);
  ApplyBounds();
}

void TWidgetView::ApplyBounds() {
  FWidget->setGeometry(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
}

void TWidgetView::ApplyVisible() { FWidget->setVisible(FControl->Visible() && FWidget->parentWidget()); }

void TWidgetView::ApplyFont() {
  FWidget->setFont(QtFont(*FControl->Font()));
  QPalette pal = FWidget->palette();
  QColor text = QtColor(FControl->Font()->Color());
  pal.setColor(QPalette::WindowText, text);
  pal.setColor(QPalette::ButtonText, text);
  pal.setColor(QPalette::Text, text);
  FWidget->setPalette(pal);
}

void TWidgetView::FillBackground(bool Fill) {
  QPalette pal = FWidget->palette();
  pal.setColor(QPalette::Window, QtColor(FControl->Color()));
  FWidget->setPalette(pal);
  FWidget->setAutoFillBackground(Fill);
}

QWidget* WidgetOf(const TControl* Control) {
  auto* view = Control ? dynamic_cast<TWidgetView*>(Control->View()) : nullptr;
  return view ? view->Widget() : nullptr;
}

QWidget* ClientWidgetOf(const TControl* Control) {
  auto* view = Control ? dynamic_cast<TWidgetView*>(Control->View()) : nullptr;
  return view ? view->ClientWidget() : nullptr;
}

TControl* ControlOfWidget(const QWidget* Widget) {
  for (const QWidget* w = Widget; w; w = w->parentWidget()) {
    QVariant v = w->property(kControlProperty);
    if (v.isValid()) return static_cast<TControl*>(v.value<void*>());
  }
  return nullptr;
}

QString DisplayText(const TControl* Control, const std::string& Text) {
  return AnsiToQString(Text, CharsetToCodePage(Control->Font()->Charset(), AnsiCodePage()));
}

std::string WithoutAccelerators(const std::string& Text) {
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != '&') {
      out += Text[i];
    } else if (i + 1 < Text.size() && Text[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

} // namespace qnl
