// The dialog component of the readme page.
#pragma once

#include <memory>

#include "dialogs/dlgcmp_TBasePageDlg.h"
#include "rtl/Strings.h"

namespace qnl {

// ReadmeText is the text its page shows. Without a manager it runs by itself on the notification
// -977, which only a project sends.
class TReadmeDlg : public TBasePageDlg {
  QNL_CLASS(TReadmeDlg, TBasePageDlg)
public:
  explicit TReadmeDlg(TComponent* AOwner);
  ~TReadmeDlg() override;

  TStrings* ReadmeText() const { return FText.get(); }
  void SetReadmeText(const TStrings* Value) { FText->Assign(Value); }

protected:
  void HandOver(TBasePageForm& Page) override;

private:
  std::unique_ptr<TStringList> FText;
};

} // namespace qnl
