// A list of lines to choose one from.
#pragma once

#include "rtl/Controls.h"
#include "rtl/Strings.h"

class QListWidget;

namespace qnl {

// A list of lines, kept in order when Sorted. ItemIndex is the selected line (-1: none);
// a click on a line and a new ItemIndex run OnClick.
class TListBox : public TWinControl {
  QNL_CLASS(TListBox, TWinControl)
public:
  explicit TListBox(TComponent* AOwner);
  ~TListBox() override;

  TStringList* Items() const { return FItems; }
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value) { FItems->SetSorted(Value); }
  int32_t ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int32_t Value);
  int32_t ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int32_t Value) { FItemHeight = Value; }
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value) { FIntegralHeight = Value; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  QListWidget* ListWidget() const;
  void Loaded() override;

private:
  TStringList* FItems;
  int32_t FItemIndex = -1;
  int32_t FItemHeight = 13;
  bool FIntegralHeight = false;
};

} // namespace qnl
