// Stand-ins for the GUI framework's control classes: they carry the class names and the
// published properties the translator looks for, and nothing else.
#pragma once

#include <string>
#include <vector>

#include "rtl/Collection.h"
#include "rtl/Graphics.h"
#include "rtl/Strings.h"

namespace fake {
using namespace qnl;

// A control: visibility, a caption and hint, a font; records whether it was visible
// whenever its caption changed, and its children for the control-tree hooks.
class TControl : public TComponent {
  QNL_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner) : TComponent(AOwner) {}
  bool FVisible = true;
  std::string FCaption;
  std::string FHint;
  TFont FFont;
  std::vector<bool> VisibleWhenCaptionSet;
  std::vector<TComponent*> Children;
  int Realigned = 0;
  bool ThrowOnCaption = false;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) {
    if (ThrowOnCaption) throw Exception("caption refused");
    VisibleWhenCaptionSet.push_back(FVisible);
    FCaption = Value;
  }
  TFont* Font() const { return const_cast<TFont*>(&FFont); }
};

class TCustomLabel : public TControl {
  QNL_CLASS(TCustomLabel, TControl)
public:
  using TControl::TControl;
  bool FAutoSize = true;
  std::vector<bool> AutoSizeWhenCaptionSet;
  void SetLabelCaption(const std::string& Value) {
    AutoSizeWhenCaptionSet.push_back(FAutoSize);
    SetCaption(Value);
  }
};

class TTranslateLabel : public TCustomLabel {
  QNL_CLASS(TTranslateLabel, TCustomLabel)
public:
  using TCustomLabel::TCustomLabel;
  int32_t FGLID = 0;
};

class TTranslateBitBtn : public TControl {
  QNL_CLASS(TTranslateBitBtn, TControl)
public:
  using TControl::TControl;
  int32_t FGLID = 0;
};

class TImage : public TControl {
  QNL_CLASS(TImage, TControl)
public:
  using TControl::TControl;
};

class TCustomMemo : public TControl {
  QNL_CLASS(TCustomMemo, TControl)
public:
  using TControl::TControl;
  TStringList FLines;
};

class TCustomListBox : public TControl {
  QNL_CLASS(TCustomListBox, TControl)
public:
  using TControl::TControl;
  TStringList FItems;
};

class TCustomRadioGroup : public TCustomListBox {
  QNL_CLASS(TCustomRadioGroup, TCustomListBox)
public:
  using TCustomListBox::TCustomListBox;
};

class TListColumn : public TCollectionItem {
  QNL_CLASS(TListColumn, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  std::string FCaption;
};

class TCustomListView : public TControl {
  QNL_CLASS(TCustomListView, TControl)
public:
  using TControl::TControl;
  TOwnedCollection<TListColumn> FColumns;
};

} // namespace fake
