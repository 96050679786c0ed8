// Wizard pages for the dialog tests: three page kinds A, B and C with Back, Next and Cancel
// buttons, whose Order and skipping a test chooses.
#pragma once

#include <map>
#include <string>

#include "dialogs/TBaseDuringCopyForm.h"
#include "dialogs/TBaseInstallForm.h"
#include "dialogs/TCustomBaseInstallDlg.h"

namespace qnl::test {

// A page captioned "Page <letter>" with the text "This is page <letter>."; Back shows only
// when it is not the first page, Next is the Default button (and ends a page shown by
// itself with OK), Cancel asks the install component.
class TTestPage : public TBaseInstallForm {
  QNL_CLASS(TTestPage, TBaseInstallForm)
public:
  TTestPage(TComponent* AOwner, const std::string& Letter);
  void BackClick(TObject* Sender) { PreviousPage(); }
  void NextClick(TObject* Sender);
  void CancelClick(TObject* Sender) { ConfirmCancel(); }
  void PreparePage() override;
  bool SkipPage() override;

  // What a test chooses per letter: the page's Order and whether it is skipped.
  static std::map<std::string, int>& Orders();
  static std::map<std::string, bool>& Skipped();

private:
  std::string FLetter;
};

#define QNL_TEST_PAGE(Letter)                                                  \
  class TPage##Letter : public TTestPage {                                     \
    QNL_CLASS(TPage##Letter, TTestPage)                                        \
  public:                                                                      \
    explicit TPage##Letter(TComponent* AOwner) : TTestPage(AOwner, #Letter) {} \
  };
QNL_TEST_PAGE(A)
QNL_TEST_PAGE(B)
QNL_TEST_PAGE(C)
#undef QNL_TEST_PAGE

// A dialog component whose form is page A; without a manager it runs by itself on the good
// installation's notice.
class TPageADlg : public TBaseInstallDlg {
  QNL_CLASS(TPageADlg, TBaseInstallDlg)
public:
  explicit TPageADlg(TComponent* AOwner);

protected:
  int32_t StandAloneCode() const override;
};

// A progress window that counts its updates.
class TTestCopyForm : public TBaseDuringCopyForm {
  QNL_CLASS(TTestCopyForm, TBaseDuringCopyForm)
public:
  explicit TTestCopyForm(TComponent* AOwner);
  void UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) override;
  int FileUpdates = 0;
  int DownloadUpdates = 0;
};

// A dialog component whose progress window is TTestCopyForm.
class TTestCopyDlg : public TCustomBaseInstallDlg {
  QNL_CLASS(TTestCopyDlg, TCustomBaseInstallDlg)
public:
  explicit TTestCopyDlg(TComponent* AOwner);
};

// Puts the bare entries of pages A, B and C into the page registry, and takes them out.
void RegisterTestPages();
void UnregisterTestPages();

} // namespace qnl::test
