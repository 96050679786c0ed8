// A group box and a radio group.
#include "vcl/GroupBox.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QRadioButton>

#include "vcl/ControlView.h"

namespace qnl {

QNL_BEGIN_CLASS(TGroupBox);
QNL_END_CLASS

QNL_BEGIN_CLASS(TRadioGroup)
    .Sub("Items", &C::Items)
    .Prop("ItemIndex", &C::ItemIndex, &C::SetItemIndex)
    .Prop("Columns", &C::Columns, &C::SetColumns)
    .Prop("OnClick", &C::OnClick);
QNL_END_CLASS

namespace {

class TGroupBoxView : public TWidgetView {
public:
  explicit TGroupBoxView(TGroupBox* Box) : TWidgetView(Box, NewControlWidget<QGroupBox>()), FBox(Box) {}
  QGroupBox* GroupWidget() const { return static_cast<QGroupBox*>(Widget()); }

protected:
  void ApplyCaption() override { GroupWidget()->setTitle(DisplayText(FBox, FBox->Caption())); }
  void ApplyColor() override { FillBackground(true); }

private:
  TGroupBox* FBox;
};

// The radio group's buttons, placed as Windows places them: the rows share the height
// below the caption, the columns the width.
class TRadioGroupView : public TGroupBoxView {
public:
  explicit TRadioGroupView(TRadioGroup* Group) : TGroupBoxView(Group), FGroup(Group) {
    FButtons = new QButtonGroup(Widget());
    QObject::connect(FButtons, &QButtonGroup::idClicked,
                     [this](int Id) { GuardHandler(FGroup, [this, Id] { FGroup->SetItemIndex(Id); }); });
  }

protected:
  void ApplyBounds() override {
    TGroupBoxView::ApplyBounds();
    Arrange();
  }
  void ApplyFont() override {
    TGroupBoxView::ApplyFont();
    ApplyLook();
  }
  void ApplyLook() override {
    int count = FGroup->Items()->Count();
    while (static_cast<int>(FButtons->buttons().size()) > count) delete FButtons->buttons().back();
    for (int i = static_cast<int>(FButtons->buttons().size()); i < count; ++i) {
      auto* b = new QRadioButton(Widget());
      FButtons->addButton(b, i);
      b->setVisible(true);
    }
    for (int i = 0; i < count; ++i) {
      QAbstractButton* b = FButtons->button(i);
      b->setText(DisplayText(FGroup, FGroup->Items()->Get(i)));
      b->setFont(Widget()->font());
      b->setPalette(Widget()->palette());
    }
    // A group without a checked button: exclusive buttons cannot all be unchecked.
    FButtons->setExclusive(false);
    for (int i = 0; i < count; ++i) FButtons->button(i)->setChecked(i == FGroup->ItemIndex());
    FButtons->setExclusive(true);
    // Tab enters the group at its checked button, or its first.
    int focus = FGroup->ItemIndex() >= 0 ? FGroup->ItemIndex() : 0;
    Widget()->setFocusProxy(count > 0 ? FButtons->button(focus) : nullptr);
    Arrange();
  }

private:
  void Arrange() {
    int count = static_cast<int>(FButtons->buttons().size());
    if (count == 0) return;
    int columns = std::max(FGroup->Columns(), 1);
    int perColumn = (count + columns - 1) / columns;
    int textHeight = QFontMetrics(Widget()->font()).height();
    int buttonWidth = (FGroup->Width() - 10) / columns;
    int free = FGroup->Height() - textHeight - 5;
    int buttonHeight = free / perColumn;
    int top = textHeight + 1 + (free % perColumn) / 2;
    for (int i = 0; i < count; ++i)
      FButtons->button(i)->setGeometry(8 + (i / perColumn) * buttonWidth, top + (i % perColumn) * buttonHeight,
                                       buttonWidth, buttonHeight);
  }
  TRadioGroup* FGroup;
  QButtonGroup* FButtons;
};

} // namespace

// ---- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TGroupBox(AOwner, false) {
  SetView(std::make_unique<TGroupBoxView>(this));
  SetBounds(0, 0, 185, 105);
}

TGroupBox::TGroupBox(TComponent* AOwner, bool OwnView) : TWinControl(AOwner) {
  (void)OwnView;
  SetTabStop(false);
}

QGroupBox* TGroupBox::GroupWidget() const { return static_cast<QGroupBox*>(WidgetOf(this)); }

void TGroupBox::AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const {
  // A line of the caption's height on top, a pixel of frame on each side.
  int32_t textHeight = -Font()->Height() + 3;
  if (QGroupBox* box = GroupWidget()) textHeight = QFontMetrics(box->font()).height();
  L += 1;
  T += textHeight;
  R -= 1;
  B -= 1;
}

std::string TGroupBox::DisplayedText() const { return WithoutAccelerators(Caption()); }

// ---- TRadioGroup

TRadioGroup::TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner, true), FItems(new TStringList()) {
  SetTabStop(true);
  FItems->OnChange = [this](TObject*) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    Changed(TControlAspect::acLook);
  };
  SetView(std::make_unique<TRadioGroupView>(this));
  SetBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup() {
  ReleaseControls();
  ReleaseView();
  delete FItems;
}

void TRadioGroup::SetItemIndex(int32_t Value) {
  // While loading the items may come after the index.
  if (!IsLoading() && (Value < 0 || Value >= FItems->Count())) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  Changed(TControlAspect::acLook);
  if (!IsLoading() && OnClick) OnClick(this);
}

void TRadioGroup::SetColumns(int32_t Value) {
  FColumns = std::clamp(Value, 1, 16);
  Changed(TControlAspect::acLook);
}

void TRadioGroup::Loaded() {
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  TGroupBox::Loaded();
}

std::string TRadioGroup::DisplayedText() const {
  std::string text = WithoutAccelerators(Caption());
  if (FItemIndex >= 0) text += (text.empty() ? "" : ": ") + WithoutAccelerators(FItems->Get(FItemIndex));
  return text;
}

} // namespace qnl
