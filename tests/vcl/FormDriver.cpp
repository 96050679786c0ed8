// Drives a real form on the offscreen platform as a user would.
#include "tests/vcl/FormDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include "vcl/StdCtrls.h"

namespace qnl::test {

namespace {

TControl* FindIn(const TComponent& Owner, const std::string& Name) {
  if (auto* c = dynamic_cast<TControl*>(Owner.FindComponent(Name))) return c;
  for (int i = 0; i < Owner.ComponentCount(); ++i)
    if (auto* form = dynamic_cast<TCustomForm*>(Owner.Components(i)))
      if (TControl* c = FindIn(*form, Name)) return c;
  return nullptr;
}

// Where a click lands on the widget: a check box or radio button takes clicks only on its
// mark and text, which start at the left.
QPoint HitPoint(const QWidget* W) {
  if (qobject_cast<const QCheckBox*>(W) || qobject_cast<const QRadioButton*>(W)) return QPoint(6, W->height() / 2);
  return W->rect().center();
}

} // namespace

TControl& TFormDriver::Find(const std::string& Name) const {
  TControl* c = FindIn(FForm, Name);
  if (!c) {
    ADD_FAILURE() << "no control named " << Name;
    throw Exception("no control named " + Name);
  }
  return *c;
}

QWidget* TFormDriver::WidgetNamed(const std::string& Name) const { return WidgetOf(&Find(Name)); }

void TFormDriver::Click(const std::string& Name) {
  TControl& c = Find(Name);
  QWidget* w = WidgetOf(&c);
  if (!c.Showing() || !c.EnabledInTree() || !w->isVisible() || !w->isEnabled()) {
    ADD_FAILURE() << Name << " cannot be clicked: it is hidden or disabled";
    return;
  }
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, HitPoint(w));
}

void TFormDriver::ClickItem(const std::string& Name, int Index) {
  TControl& c = Find(Name);
  if (auto* list = dynamic_cast<TListBox*>(&c)) {
    QListWidget* w = list->ListWidget();
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, w->visualItemRect(w->item(Index)).center());
  } else if (auto* tabs = dynamic_cast<TTabControl*>(&c)) {
    QTabBar* bar = tabs->TabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(Index).center());
  } else if (dynamic_cast<TRadioGroup*>(&c)) {
    auto buttons = WidgetOf(&c)->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
    ASSERT_LT(Index, buttons.size());
    QTest::mouseClick(buttons[Index], Qt::LeftButton, Qt::NoModifier, HitPoint(buttons[Index]));
  } else {
    ADD_FAILURE() << Name << " has no items";
  }
}

void TFormDriver::Type(const std::string& Name, const std::string& Text) {
  QWidget* w = WidgetNamed(Name);
  w->setFocus(Qt::OtherFocusReason);
  QTest::keyClicks(w, QString::fromUtf8(Text));
}

void TFormDriver::PressKey(int Key, Qt::KeyboardModifiers Modifiers) {
  QWidget* target = QApplication::focusWidget();
  if (!target || target->window() != FForm.Widget()->window()) target = FForm.Widget();
  QTest::keyClick(target, static_cast<Qt::Key>(Key), Modifiers);
}

std::string TFormDriver::FocusedName() const {
  TControl* c = ControlOfWidget(QApplication::focusWidget());
  return c ? c->Name() : std::string();
}

bool TFormDriver::IsShowing(const std::string& Name) const { return WidgetNamed(Name)->isVisible(); }

bool TFormDriver::IsEnabled(const std::string& Name) const { return WidgetNamed(Name)->isEnabled(); }

std::string TFormDriver::ShownText(const std::string& Name) const {
  QWidget* w = WidgetNamed(Name);
  QString text;
  if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
  return text.toStdString();
}

QImage TFormDriver::Grab(const std::string& Path) const {
  QApplication::processEvents();
  QImage image = FForm.Widget()->grab().toImage();
  if (!Path.empty()) {
    EXPECT_TRUE(image.save(QString::fromStdString(Path), "PNG")) << Path;
  }
  return image;
}

} // namespace qnl::test
