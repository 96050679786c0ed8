// A list of lines to choose one from.
#include "vcl/ListBox.h"

#include <QListWidget>

#include "vcl/ControlView.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TListBox)
    .Sub("Items", &C::Items)
    .Prop("Sorted", &C::Sorted, &C::SetSorted)
    .Prop("ItemIndex", &C::ItemIndex, &C::SetItemIndex)
    .Prop("ItemHeight", &C::ItemHeight, &C::SetItemHeight)
    .Prop("IntegralHeight", &C::IntegralHeight, &C::SetIntegralHeight)
    .Prop("OnClick", &C::OnClick)
    .Prop("OnDblClick", &C::OnDblClick);
QNL_END_CLASS

namespace {

class TListBoxView : public TWidgetView {
public:
  explicit TListBoxView(TListBox* List) : TWidgetView(List, NewControlWidget<QListWidget>()), FList(List) {
    QObject::connect(ListWidget(), &QListWidget::currentRowChanged, [this](int Row) {
      if (!FApplying) GuardHandler(FList, [this, Row] { FList->SetItemIndex(Row); });
    });
    QObject::connect(ListWidget(), &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) {
      GuardHandler(FList, [this] {
        if (FList->OnDblClick) FList->OnDblClick(FList);
      });
    });
  }
  QListWidget* ListWidget() const { return static_cast<QListWidget*>(Widget()); }

protected:
  void ApplyColor() override {
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, QtColor(FList->Color()));
    Widget()->setPalette(pal);
  }
  void ApplyFont() override {
    TWidgetView::ApplyFont();
    ApplyLook(); // the code page of the lines
  }
  void ApplyLook() override {
    FApplying = true;
    QListWidget* w = ListWidget();
    w->clear();
    for (int i = 0; i < FList->Items()->Count(); ++i) w->addItem(DisplayText(FList, FList->Items()->Get(i)));
    w->setCurrentRow(FList->ItemIndex());
    FApplying = false;
  }

private:
  TListBox* FList;
  bool FApplying = false;
};

} // namespace

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner), FItems(new TStringList()) {
  SetColor(clWindow);
  FItems->OnChange = [this](TObject*) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    Changed(TControlAspect::acLook);
  };
  SetView(std::make_unique<TListBoxView>(this));
  SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() {
  ReleaseControls();
  ReleaseView();
  delete FItems;
}

QListWidget* TListBox::ListWidget() const { return static_cast<QListWidget*>(WidgetOf(this)); }

void TListBox::SetItemIndex(int32_t Value) {
  if (!IsLoading() && (Value < 0 || Value >= FItems->Count())) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  Changed(TControlAspect::acLook);
  if (!IsLoading() && OnClick) OnClick(this);
}

void TListBox::Loaded() {
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  TWinControl::Loaded();
}

} // namespace qnl
