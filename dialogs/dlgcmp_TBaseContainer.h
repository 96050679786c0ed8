// The wizard window: one modal window holding every page of a phase, moved through with
// Back and Next.
#pragma once

#include <vector>

#include "dialogs/DialogTypes.h"
#include "vcl/Form.h"

namespace qnl {

class TBaseInstallForm;
class TPanel;
class TTabControl;

// Its pages are child forms stacked on the display panel, the current one in front; a hidden
// tab control keeps the current index. It refuses to close unless it finishes or its result
// is Cancel.
class TBaseFormContainer : public TForm {
  QNL_CLASS(TBaseFormContainer, TForm)
public:
  explicit TBaseFormContainer(TComponent* AOwner);
  ~TBaseFormContainer() override;

  // Creates the pages of CurrentDialogManager() from the page registry, sorted by Order;
  // returns their number.
  int BuildPages();
  // Shows the page at Index, passing over skipped pages towards the start (Backward) or the
  // end; false when no page is left that way.
  bool ShowPage(int Index, bool Backward);
  void Next();
  void Previous();
  // Places the window on the screen (truncated centre offsets).
  void SetPosition(TQuenloftDialogPosition Position, int32_t RelativeLeftOffset, int32_t RelativeTopOffset);

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TBaseInstallForm* Pages(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
  // The index of the current page; -1 before the first is shown.
  int PageIndex() const;
  TBaseInstallForm* CurrentPage() const;

  bool CloseQuery() override;
  // The current page's buttons and texts stand for the window's.
  TWinControl* DefaultButton() const override;
  TWinControl* CancelButton() const override;
  std::string TextLine() const override;
  // Named by its first page.
  std::string DialogName() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  void DoShow() override;
  // Unattended, a wizard goes Next from page to page.
  bool AnswerStep() override;

private:
  void PlacePages();
  void TabChanging(bool& AllowChange);
  void TabChanged();
  std::vector<TBaseInstallForm*> FPages;
  TTabControl* FTabs = nullptr;
  TPanel* FDisplay = nullptr;
  bool FFinishing = false;
  bool FResizeSuspended = true;
};

} // namespace qnl
