// A row of tabs over a page area holding other controls.
#pragma once

#include "rtl/Controls.h"
#include "rtl/Strings.h"

class QTabBar;

namespace qnl {

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// A row of tabs, one per line of Tabs, over a framed area that holds other controls (the
// same controls whichever tab is chosen). A click on a tab sets TabIndex and runs
// OnChange; OnChanging may refuse the change.
class TTabControl : public TWinControl {
  QNL_CLASS(TTabControl, TWinControl)
public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;

  TStringList* Tabs() const { return FTabs; }
  int32_t TabIndex() const { return FTabIndex; }
  void SetTabIndex(int32_t Value);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  // A tab chosen by the user: OnChanging, then TabIndex and OnChange; false when refused.
  bool ChooseTab(int32_t Index);
  void AdjustClientRect(int32_t& L, int32_t& T, int32_t& R, int32_t& B) const override;
  QTabBar* TabBar() const;
  void Loaded() override;

private:
  TStringList* FTabs;
  int32_t FTabIndex = -1;
};

} // namespace qnl
