// The process-wide lists of dialog forms: the wizard pages, the copy-progress windows and the
// change-disk prompts, each entry a form class with the dialog component that brought it.
#pragma once

#include <string>
#include <vector>

#include "rtl/TypInfo.h"

namespace qnl {

class TCustomBaseInstallDlg;

// A form class and its dialog component, or none for a bare entry (a form kind that takes
// part through its own DM property).
struct TFormEntry {
  const TClassInfo* FormClass = nullptr;
  TCustomBaseInstallDlg* Dialog = nullptr;
};

// Entries in registration order.
class TFormRegistry {
public:
  explicit TFormRegistry(std::string ListName) : FListName(std::move(ListName)) {}

  void Add(const TClassInfo& FormClass, TCustomBaseInstallDlg* Dialog);
  // Removes the bare entry of FormClass, when there is one.
  void RemoveBare(const TClassInfo& FormClass);
  // Removes every entry of Dialog.
  void RemoveDialog(const TCustomBaseInstallDlg* Dialog);
  int Count() const { return static_cast<int>(FEntries.size()); }
  // Index outside the list raises Exception "%d is an invalid index in the <list>".
  const TFormEntry& Items(int Index) const;
  // A copy to walk while entries may come and go.
  std::vector<TFormEntry> Entries() const { return FEntries; }

private:
  std::string FListName;
  std::vector<TFormEntry> FEntries;
};

using TBIFEntry = TFormEntry;
using TDCFEntry = TFormEntry;
using TBCDFEntry = TFormEntry;
using TBIFList = TFormRegistry;
using TDCFList = TFormRegistry;
using TBCDFList = TFormRegistry;

// The wizard pages, the copy-progress windows and the change-disk prompts.
TBIFList& PageRegistry();
TDCFList& CopyRegistry();
TBCDFList& ChangeDiskRegistry();

} // namespace qnl
