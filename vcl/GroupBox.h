// A group box and a radio group.
#pragma once

#include "rtl/Classes.h"
#include "rtl/Controls.h"
#include "rtl/Strings.h"

class QGroupBox;

namespace qnl {

// A frame with a caption on its top line, holding other controls.
class TGroupBox : public TWinControl {
  QNL_CLASS(TGroupBox, TWinControl)
public:
  explicit TGroupBox(TComponent* AOwner);
  void AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const override;
  std::string DisplayedText() const override;
  QGroupBox* GroupWidget() const;

protected:
  // For the radio group, which shows its own view.
  TGroupBox(TComponent* AOwner, bool OwnView);
};

// A group box of radio buttons, one per line of Items, in Columns columns (filled down
// first). ItemIndex is the checked one (-1: none); a click or a new ItemIndex runs OnClick.
class TRadioGroup : public TGroupBox {
  QNL_CLASS(TRadioGroup, TGroupBox)
public:
  explicit TRadioGroup(TComponent* AOwner);
  ~TRadioGroup() override;

  TStringList* Items() const { return FItems; }
  int32_t ItemIndex() const { return FItemIndex; }
  // An index outside the items checks none.
  void SetItemIndex(int32_t Value);
  int32_t Columns() const { return FColumns; }
  void SetColumns(int32_t Value);

  TNotifyEvent OnClick;
  std::string DisplayedText() const override;
  void Loaded() override;

private:
  TStringList* FItems;
  int32_t FItemIndex = -1;
  int32_t FColumns = 1;
};

} // namespace qnl
