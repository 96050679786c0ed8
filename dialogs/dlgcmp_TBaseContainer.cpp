// The wizard window.
#include "dialogs/dlgcmp_TBaseContainer.h"

#include "common/InstallLog.h"
#include "common/exceptions_Quenloft.h"
#include "dialogs/DialogLayouts.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/TBaseInstallForm.h"
#include "dialogs/TCustomBaseInstallDlg.h"
#include "dialogs/TDialogManager.h"
#include "rtl/FormReader.h"
#include "rtl/Streams.h"
#include "vcl/Panel.h"
#include "vcl/TabControl.h"

namespace qnl {

QNL_BEGIN_CLASS(TBaseFormContainer);
QNL_END_CLASS

TBaseFormContainer::TBaseFormContainer(TComponent* AOwner) : TForm(AOwner) {
  TMemoryStream layout{std::string(DialogLayout("TBaseFormContainer"))};
  ReadRootComponent(layout, this);
  FTabs = dynamic_cast<TTabControl*>(FindComponent("tcPages"));
  FDisplay = dynamic_cast<TPanel*>(FindComponent("pnlDisplay"));
  if (!FTabs || !FDisplay) throw Exception("The wizard's layout lacks its tab control or display panel");
  FTabs->OnChanging = [this](TObject*, bool& AllowChange) { TabChanging(AllowChange); };
  FTabs->OnChange = [this](TObject*) { TabChanged(); };
  Font()->SetCharset(ANSI_CHARSET);
  SetBounds(Left(), Top(), 478, 395);
  OnResize = [this](TObject*) { PlacePages(); };
  FResizeSuspended = false;
}

TBaseFormContainer::~TBaseFormContainer() {
  OnResize = nullptr;
  // The pages go first, while the window they sit in still exists.
  std::vector<TBaseInstallForm*> pages;
  pages.swap(FPages);
  for (TBaseInstallForm* page : pages) delete page;
}

void TBaseFormContainer::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove) std::erase_if(FPages, [AComponent](TBaseInstallForm* P) { return P == AComponent; });
}

int TBaseFormContainer::BuildPages() {
  TDialogManager* manager = CurrentDialogManager();
  if (!manager) throw Exception(TranslateMessage("The current dialog manager is not defined"));
  for (const TBIFEntry& entry : PageRegistry().Entries()) {
    TCustomBaseInstallDlg* dialog = entry.Dialog;
    if (dialog && (dialog->DialogManager() != manager || !dialog->CanExecute())) continue;
    TComponent* created = entry.FormClass->CreateComponent(this);
    auto* page = dynamic_cast<TBaseInstallForm*>(created);
    if (!page || (!dialog && page->DM() != manager)) {
      delete created;
      continue;
    }
    page->SetDC(dialog);
    if (dialog) {
      page->SetContainer(dialog->Container());
      page->SetOrder(dialog->Order());
      dialog->SetCurrentForm(page);
      dialog->AssignDialogProperties();
    }
    FTabs->Tabs()->Add(page->Caption());
    page->SetParent(this);
    page->SetBounds(FDisplay->Left(), FDisplay->Top(), FDisplay->Width(), FDisplay->Height());
    page->ApplyLanguage();
    page->Show();
    FPages.push_back(page);
  }
  // Exactly this exchange sort: pages of equal Order may change places.
  for (size_t i = 0; i < FPages.size(); ++i)
    for (size_t j = i + 1; j < FPages.size(); ++j)
      if (FPages[j]->Order() < FPages[i]->Order()) std::swap(FPages[i], FPages[j]);
  return PageCount();
}

int TBaseFormContainer::PageIndex() const { return FTabs->TabIndex(); }

TBaseInstallForm* TBaseFormContainer::CurrentPage() const {
  int index = PageIndex();
  return index >= 0 && index < PageCount() ? Pages(index) : nullptr;
}

bool TBaseFormContainer::ShowPage(int Index, bool Backward) {
  // Walks over skipped pages; each step is one page, so the walk ends at either end.
  while (Index >= 0 && Index < PageCount()) {
    TBaseInstallForm* page = Pages(Index);
    if (page->SkipPage()) {
      Index += Backward ? -1 : 1;
      continue;
    }
    FTabs->SetTabIndex(Index);
    SetCaption(page->Caption());
    page->ActivatePage();
    if (InstallLog().On())
      InstallLog().Step("page", page->Caption() + (page->DC() ? " (" + page->DC()->Name() + ")" : ""));
    return true;
  }
  return false;
}

void TBaseFormContainer::Next() {
  int current = PageIndex();
  if (TBaseInstallForm* page = CurrentPage()) LogPageAnswers(*page);
  if (!ShowPage(current + 1, false)) ShowPage(current + 1, true);
  if (PageIndex() == current) {
    FFinishing = true;
    SetModalResult(mrOk);
    Close();
  }
}

void TBaseFormContainer::Previous() {
  int current = PageIndex();
  if (!ShowPage(current - 1, true)) ShowPage(current - 1, false);
}

void TBaseFormContainer::SetPosition(TQuenloftDialogPosition Position, int32_t RelativeLeftOffset,
                                     int32_t RelativeTopOffset) {
  PlaceDialog(*this, Position, RelativeLeftOffset, RelativeTopOffset, TCentreRounding::crTruncate);
}

bool TBaseFormContainer::CloseQuery() {
  if (!FFinishing && ModalResult() != mrCancel) return false;
  return TForm::CloseQuery();
}

void TBaseFormContainer::DoShow() {
  TForm::DoShow();
  if (!ShowPage(0, true)) ShowPage(0, false);
  BringToFront();
}

void TBaseFormContainer::PlacePages() {
  if (FResizeSuspended) return;
  for (TBaseInstallForm* page : FPages) {
    page->SetBounds(FDisplay->Left(), FDisplay->Top(), FDisplay->Width(), FDisplay->Height());
    page->Repaint();
  }
}

void TBaseFormContainer::TabChanging(bool& AllowChange) {
  if (TBaseInstallForm* page = CurrentPage()) page->PageLeaving();
}

void TBaseFormContainer::TabChanged() {
  int index = PageIndex();
  if (!ShowPage(index, true)) ShowPage(index, false);
}

TWinControl* TBaseFormContainer::DefaultButton() const {
  TBaseInstallForm* page = CurrentPage();
  return page ? page->DefaultButton() : nullptr;
}

TWinControl* TBaseFormContainer::CancelButton() const {
  TBaseInstallForm* page = CurrentPage();
  return page ? page->CancelButton() : nullptr;
}

std::string TBaseFormContainer::TextLine() const {
  TBaseInstallForm* page = CurrentPage();
  return page ? page->TextLine() : TForm::TextLine();
}

std::string TBaseFormContainer::DialogName() const {
  return FPages.empty() ? TForm::DialogName() : FPages.front()->DialogName();
}

bool TBaseFormContainer::AnswerStep() {
  TBaseInstallForm* page = CurrentPage();
  if (!page) return false;
  if (TWinControl* button = page->DefaultButton())
    dynamic_cast<IButtonControl*>(button)->Click();
  else
    Next();
  return true;
}

} // namespace qnl
