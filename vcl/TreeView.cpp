// A tree of text nodes to choose one from.
#include "vcl/TreeView.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "vcl/ControlView.h"
#include "vcl/QtGraphics.h"

namespace qnl {

QNL_BEGIN_CLASS(TTreeView)
    .Prop("HideSelection", &C::HideSelection, &C::SetHideSelection)
    .Prop("OnChange", &C::OnChange);
QNL_END_CLASS

TTreeNode::TTreeNode(TTreeView* Tree, TTreeNode* Parent, std::string Text)
    : FTree(Tree), FParent(Parent), FText(std::move(Text)) {}

TTreeNode* TTreeNode::AddChild(const std::string& Text) {
  FChildren.push_back(std::make_unique<TTreeNode>(FTree, this, Text));
  FTree->NodesChanged();
  return FChildren.back().get();
}

void TTreeNode::DeleteChildren() {
  for (auto& child : FChildren) FTree->NodeDeleting(child.get());
  FChildren.clear();
  FTree->NodesChanged();
}

void TTreeNode::SetHasChildren(bool Value) {
  FHasChildren = Value;
  FTree->NodesChanged();
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value && FHasChildren && FChildren.empty() && FTree->OnExpanding) {
    // The children it brings are shown at once, not one by one.
    FTree->BeginUpdate();
    try {
      FTree->OnExpanding(FTree, this);
    } catch (...) {
      FTree->EndUpdate();
      throw;
    }
    FTree->EndUpdate();
  }
  FExpanded = Value;
  FTree->NodesChanged();
}

bool TTreeNode::Contains(const TTreeNode* Node) const {
  for (; Node; Node = Node->FParent)
    if (Node == this) return true;
  return false;
}

namespace {

TTreeNode* NodeOfItem(const QTreeWidgetItem* Item) {
  return Item ? reinterpret_cast<TTreeNode*>(Item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

// The widget mirrors the nodes. A change made by code rebuilds it; a change the widget made
// itself (a click, an expansion) only adds the children an expansion brought.
class TTreeViewView : public TWidgetView {
public:
  explicit TTreeViewView(TTreeView* Tree) : TWidgetView(Tree, NewControlWidget<QTreeWidget>()), FTree(Tree) {
    QTreeWidget* w = TreeWidget();
    w->setHeaderHidden(true);
    w->setColumnCount(1);
    w->setRootIsDecorated(true);
    w->header()->setStretchLastSection(false);
    w->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QObject::connect(w, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* Item, QTreeWidgetItem*) {
      if (FApplying) return;
      FromWidget([this, Item] { FTree->SetSelected(NodeOfItem(Item)); });
    });
    QObject::connect(w, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* Item) {
      if (FApplying) return;
      TTreeNode* node = NodeOfItem(Item);
      FromWidget([node] { node->SetExpanded(true); });
      FApplying = true;
      qDeleteAll(Item->takeChildren());
      AddItems(Item, node);
      FSelectedItem = nullptr;
      FApplying = false;
    });
    QObject::connect(w, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* Item) {
      if (!FApplying) FromWidget([Item] { NodeOfItem(Item)->SetExpanded(false); });
    });
  }
  QTreeWidget* TreeWidget() const { return static_cast<QTreeWidget*>(Widget()); }

protected:
  void ApplyColor() override {
    QPalette pal = Widget()->palette();
    pal.setColor(QPalette::Base, QtColor(FTree->Color()));
    Widget()->setPalette(pal);
  }
  void ApplyFont() override {
    TWidgetView::ApplyFont();
    ApplyLook(); // the code page of the texts
  }
  void ApplyLook() override {
    FSelectedItem = nullptr;
    if (FFromWidget) return;
    FApplying = true;
    QTreeWidget* w = TreeWidget();
    QPalette pal = w->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(FTree->HideSelection() ? QPalette::Inactive : QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(FTree->HideSelection() ? QPalette::Inactive : QPalette::Active, QPalette::HighlightedText));
    w->setPalette(pal);
    w->clear();
    AddItems(w->invisibleRootItem(), FTree->Items());
    if (QTreeWidgetItem* current = FSelectedItem) {
      w->setCurrentItem(current);
      w->scrollToItem(current);
    }
    FSelectedItem = nullptr;
    FApplying = false;
  }

private:
  template <class F>
  void FromWidget(F Change) {
    FFromWidget = true;
    GuardHandler(FTree, Change);
    FFromWidget = false;
  }
  void AddItems(QTreeWidgetItem* Parent, TTreeNode* Node) {
    for (int i = 0; i < Node->Count(); ++i) {
      TTreeNode* child = Node->Item(i);
      auto* item = new QTreeWidgetItem(Parent, QStringList(DisplayText(FTree, child->Text())));
      item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(child)));
      item->setChildIndicatorPolicy(child->HasChildren() ? QTreeWidgetItem::ShowIndicator
                                                         : QTreeWidgetItem::DontShowIndicator);
      if (child == FTree->Selected()) FSelectedItem = item;
      AddItems(item, child);
      item->setExpanded(child->Expanded());
    }
  }

  TTreeView* FTree;
  QTreeWidgetItem* FSelectedItem = nullptr;
  bool FApplying = false;
  bool FFromWidget = false;
};

} // namespace

TTreeView::TTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FRoot(std::make_unique<TTreeNode>(this, nullptr, std::string())) {
  SetColor(clWindow);
  SetView(std::make_unique<TTreeViewView>(this));
  SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
  ReleaseControls();
  ReleaseView();
}

QTreeWidget* TTreeView::TreeWidget() const { return static_cast<QTreeWidget*>(WidgetOf(this)); }

void TTreeView::SetSelected(TTreeNode* Node) {
  if (Node == FRoot.get()) Node = nullptr;
  if (FSelected == Node) return;
  FSelected = Node;
  if (Node)
    for (TTreeNode* above = Node->Parent(); above && above != FRoot.get(); above = above->Parent())
      above->FExpanded = true;
  NodesChanged();
  if (OnChange) OnChange(this);
}

void TTreeView::SetHideSelection(bool Value) {
  FHideSelection = Value;
  NodesChanged();
}

void TTreeView::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedWhileUpdating) {
    FChangedWhileUpdating = false;
    Changed(TControlAspect::acLook);
  }
}

void TTreeView::NodesChanged() {
  if (FUpdateCount > 0)
    FChangedWhileUpdating = true;
  else
    Changed(TControlAspect::acLook);
}

void TTreeView::NodeDeleting(TTreeNode* Node) {
  if (Node->Contains(FSelected)) FSelected = nullptr;
}

} // namespace qnl
