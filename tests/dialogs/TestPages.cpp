// Wizard pages for the dialog tests.
#include "tests/dialogs/TestPages.h"

#include "dialogs/DialogRegistries.h"
#include "dialogs/dlgcmp_TBaseContainer.h"
#include "engine/TInstallContainer.h"
#include "rtl/FormText.h"
#include "rtl/SysUtils.h"

namespace qnl::test {

namespace {

std::string PageText(const std::string& Letter, int Order) {
  return Format(R"(object Page%s: TPage%s
  Caption = 'Page %s'
  ClientHeight = 370
  ClientWidth = 472
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Order = %d
  object ThemeBitmap: TImage
    Left = 8
    Top = 8
    Width = 117
    Height = 290
    Center = True
  end
  object lblText: TLabel
    Left = 144
    Top = 16
    Width = 300
    Height = 13
    Caption = 'This is page %s.'
  end
  object btnBack: TButton
    Left = 220
    Top = 336
    Width = 75
    Height = 25
    Caption = '< &Back'
    TabOrder = 0
    OnClick = BackClick
  end
  object btnNext: TButton
    Left = 300
    Top = 336
    Width = 75
    Height = 25
    Caption = '&Next >'
    Default = True
    TabOrder = 1
    OnClick = NextClick
  end
  object btnCancel: TButton
    Left = 388
    Top = 336
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    TabOrder = 2
    OnClick = CancelClick
  end
end
)",
                {Letter, Letter, Letter, Order, Letter});
}

} // namespace

QNL_BEGIN_CLASS(TTestPage)
    .Method("BackClick", &C::BackClick)
    .Method("NextClick", &C::NextClick)
    .Method("CancelClick", &C::CancelClick);
QNL_END_CLASS
QNL_BEGIN_CLASS(TPageA);
QNL_END_CLASS
QNL_BEGIN_CLASS(TPageB);
QNL_END_CLASS
QNL_BEGIN_CLASS(TPageC);
QNL_END_CLASS

std::map<std::string, int>& TTestPage::Orders() {
  static std::map<std::string, int> orders;
  return orders;
}

std::map<std::string, bool>& TTestPage::Skipped() {
  static std::map<std::string, bool> skipped;
  return skipped;
}

TTestPage::TTestPage(TComponent* AOwner, const std::string& Letter) : TBaseInstallForm(AOwner), FLetter(Letter) {
  LoadLayout(ObjectTextToBinary(PageText(Letter, Orders()[Letter])));
}

void TTestPage::PreparePage() { dynamic_cast<TControl*>(FindComponent("btnBack"))->SetVisible(!IsFirstPage()); }

void TTestPage::NextClick(TObject*) {
  // Shown by itself, Next is the dialog's OK.
  if (dynamic_cast<TBaseFormContainer*>(Owner()))
    NextPage();
  else
    SetModalResult(mrOk);
}

bool TTestPage::SkipPage() { return Skipped()[FLetter]; }

QNL_BEGIN_CLASS(TPageADlg);
QNL_END_CLASS

TPageADlg::TPageADlg(TComponent* AOwner)
    : TBaseInstallDlg(AOwner, dmBeforeInstall, &PageRegistry(), &TPageA::StaticClassInfo()) {}

int32_t TPageADlg::StandAloneCode() const { return icGoodInstall; }

QNL_BEGIN_CLASS(TTestCopyForm);
QNL_END_CLASS

TTestCopyForm::TTestCopyForm(TComponent* AOwner) : TBaseDuringCopyForm(AOwner) {
  LoadLayout(ObjectTextToBinary("object CopyForm: TTestCopyForm\n  BorderStyle = bsDialog\n  Caption = 'Copying'\n"
                                "  ClientHeight = 96\n  ClientWidth = 300\nend\n"));
}

void TTestCopyForm::UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {
  if (FileStatus) ++FileUpdates;
  if (DownloadStatus) ++DownloadUpdates;
}

QNL_BEGIN_CLASS(TTestCopyDlg);
QNL_END_CLASS

TTestCopyDlg::TTestCopyDlg(TComponent* AOwner)
    : TCustomBaseInstallDlg(AOwner, dmDuringCopyFiles, &CopyRegistry(), &TTestCopyForm::StaticClassInfo()) {}

void RegisterTestPages() {
  PageRegistry().Add(TPageA::StaticClassInfo(), nullptr);
  PageRegistry().Add(TPageB::StaticClassInfo(), nullptr);
  PageRegistry().Add(TPageC::StaticClassInfo(), nullptr);
}

void UnregisterTestPages() {
  PageRegistry().RemoveBare(TPageA::StaticClassInfo());
  PageRegistry().RemoveBare(TPageB::StaticClassInfo());
  PageRegistry().RemoveBare(TPageC::StaticClassInfo());
}

} // namespace qnl::test
