// The process-wide lists of dialog forms.
#include "dialogs/DialogRegistries.h"

#include <algorithm>

#include "common/exceptions_Quenloft.h"

namespace qnl {

void TFormRegistry::Add(const TClassInfo& FormClass, TCustomBaseInstallDlg* Dialog) {
  FEntries.push_back({&FormClass, Dialog});
}

void TFormRegistry::RemoveBare(const TClassInfo& FormClass) {
  auto at = std::find_if(FEntries.begin(), FEntries.end(),
                         [&](const TFormEntry& E) { return E.FormClass == &FormClass && !E.Dialog; });
  if (at != FEntries.end()) FEntries.erase(at);
}

void TFormRegistry::RemoveDialog(const TCustomBaseInstallDlg* Dialog) {
  std::erase_if(FEntries, [Dialog](const TFormEntry& E) { return E.Dialog == Dialog; });
}

const TFormEntry& TFormRegistry::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw Exception(Format(TranslateMessage("%d is an invalid index in the " + FListName), {Index}));
  return FEntries[static_cast<size_t>(Index)];
}

TBIFList& PageRegistry() {
  static TBIFList list("BIFList");
  return list;
}

TDCFList& CopyRegistry() {
  static TDCFList list("DCFList");
  return list;
}

TBCDFList& ChangeDiskRegistry() {
  static TBCDFList list("BCDFList");
  return list;
}

} // namespace qnl
