// A tree of text nodes to choose one from.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rtl/Controls.h"

class QTreeWidget;

namespace qnl {

class TTreeView;

// One node of a tree view. Its children may be filled late: a node marked HasChildren shows
// an expand mark, and expanding it while it has none runs the tree's OnExpanding.
class TTreeNode {
public:
  TTreeNode(TTreeView* Tree, TTreeNode* Parent, std::string Text);
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& Text() const { return FText; }
  TTreeNode* Parent() const { return FParent; }
  TTreeView* Tree() const { return FTree; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int Index) const { return FChildren.at(static_cast<size_t>(Index)).get(); }
  TTreeNode* AddChild(const std::string& Text);
  void DeleteChildren();
  bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool Value);
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  // Whether Node is this node or one below it.
  bool Contains(const TTreeNode* Node) const;

  // Free for the tree's owner (a folder browser keeps the node's path here).
  std::string Data;

private:
  friend class TTreeView;
  TTreeView* FTree;
  TTreeNode* FParent;
  std::string FText;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  bool FHasChildren = false;
  bool FExpanded = false;
};

// A tree of nodes under an invisible root (Items). Selected is the chosen node (nullptr:
// none); a new selection, by a click or by code, runs OnChange. HideSelection false keeps the
// selection marked while the tree has no focus.
class TTreeView : public TWinControl {
  QNL_CLASS(TTreeView, TWinControl)
public:
  explicit TTreeView(TComponent* AOwner);
  ~TTreeView() override;

  // The invisible root: its children are the top-level nodes.
  TTreeNode* Items() const { return FRoot.get(); }
  TTreeNode* Selected() const { return FSelected; }
  // Selects Node (expanding the nodes above it) and runs OnChange when it is new.
  void SetSelected(TTreeNode* Node);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // Between these, changes of the nodes are shown once, at the last EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  TNotifyEvent OnChange;
  // Runs when a node marked HasChildren but without children is expanded: the place to add them.
  std::function<void(TObject* Sender, TTreeNode* Node)> OnExpanding;
  QTreeWidget* TreeWidget() const;

private:
  friend class TTreeNode;
  void NodeDeleting(TTreeNode* Node);
  void NodesChanged();
  std::unique_ptr<TTreeNode> FRoot;
  TTreeNode* FSelected = nullptr;
  bool FHideSelection = true;
  int FUpdateCount = 0;
  bool FChangedWhileUpdating = false;
};

} // namespace qnl
