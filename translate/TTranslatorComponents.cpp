// Translating a component tree through the published properties of its components.
#include "translate/ControlTree.h"
#include "translate/TTranslator.h"

#include "rtl/Collection.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

const TPropInfo* FindPropOfKind(const TObject& Object, const char* Name, TTypeKind Kind) {
  const TPropInfo* p = Object.ClassInfo().FindProp(Name);
  return p && p->Kind == Kind ? p : nullptr;
}

TStrings* StringsProperty(TObject& Object, const char* Name) {
  const TPropInfo* p = FindPropOfKind(Object, Name, TTypeKind::tkStrings);
  return p ? dynamic_cast<TStrings*>(p->GetObj(&Object)) : nullptr;
}

// A control's visibility and a label's auto-size, switched off while its texts change (so
// that nothing is shown half translated and a label keeps its designed size) and put back
// when the translation ends, whether it succeeds or not.
class TControlStateGuard {
public:
  explicit TControlStateGuard(TComponent* Component) : FComponent(Component) {
    if (!IsControl(Component)) return;
    FVisible = FindPropOfKind(*Component, "Visible", TTypeKind::tkBoolean);
    if (FVisible) {
      FWasVisible = FVisible->GetOrd(Component);
      if (!ClassIsA(*Component, {"TCustomForm", "TImage"})) FVisible->SetOrd(Component, 0);
    }
    if (ClassIsA(*Component, {"TCustomLabel", "TLabel"})) {
      FAutoSize = FindPropOfKind(*Component, "AutoSize", TTypeKind::tkBoolean);
      if (FAutoSize) {
        FWasAutoSize = FAutoSize->GetOrd(Component);
        FAutoSize->SetOrd(Component, 0);
      }
    }
    FIsControl = true;
  }
  // Restores on the normal path, where a failing setter may raise.
  void Restore() {
    if (!FIsControl) return;
    FIsControl = false;
    if (FAutoSize) FAutoSize->SetOrd(FComponent, FWasAutoSize);
    if (FVisible && FVisible->GetOrd(FComponent) != FWasVisible) FVisible->SetOrd(FComponent, FWasVisible);
    if (IsWindowedControl(FComponent) && ControlTreeHooks().Realign) ControlTreeHooks().Realign(FComponent);
  }
  // On the way out of a failure: the first error is the one that counts.
  ~TControlStateGuard() {
    try {
      Restore();
    } catch (...) {}
  }
  TControlStateGuard(const TControlStateGuard&) = delete;
  TControlStateGuard& operator=(const TControlStateGuard&) = delete;

private:
  TComponent* FComponent;
  bool FIsControl = false;
  const TPropInfo* FVisible = nullptr;
  int64_t FWasVisible = 0;
  const TPropInfo* FAutoSize = nullptr;
  int64_t FWasAutoSize = 0;
};

} // namespace

TQnlfLanguage TTranslator::TranslateComponent(TQnlfLanguage Source, TComponent* Component) {
  if (!Component) return Source;
  {
    TControlStateGuard guard(Component);

    bool handled = false;
    if (ClassIsA(*Component, {"TTranslateLabel", "TTranslateBitBtn"})) {
      const TPropInfo* glidProp = FindPropOfKind(*Component, "GLID", TTypeKind::tkInteger);
      const TPropInfo* caption = FindPropOfKind(*Component, "Caption", TTypeKind::tkString);
      const int64_t glid = glidProp ? glidProp->GetOrd(Component) : 0;
      if (glid > 0 && caption)
        caption->SetStr(Component, TranslateByGLID(static_cast<int32_t>(glid), caption->GetStr(Component)));
      handled = glid != 0;
    }

    if (!handled) {
      for (const TPropInfo* p : Component->ClassInfo().AllProps()) {
        if (p->Kind != TTypeKind::tkString || !p->SetStr || SameText(p->Name, "Name")) continue;
        const std::string value = p->GetStr(Component);
        if (!Trim(value).empty()) p->SetStr(Component, TranslateText(Source, value));
      }
      if (ClassIsA(*Component, {"TCustomMemo"})) {
        if (TStrings* lines = StringsProperty(*Component, "Lines")) {
          std::unique_ptr<TStringList> translated = TranslateMemo(Source, *lines);
          lines->Assign(translated.get());
        }
      } else if (ClassIsA(*Component, {"TCustomListView"})) {
        const TPropInfo* columnsProp = FindPropOfKind(*Component, "Columns", TTypeKind::tkCollection);
        if (auto* columns = columnsProp ? dynamic_cast<TCollection*>(columnsProp->GetObj(Component)) : nullptr) {
          for (int i = 0; i < columns->Count(); ++i) {
            TCollectionItem* column = columns->Items(i);
            if (const TPropInfo* caption = FindPropOfKind(*column, "Caption", TTypeKind::tkString))
              caption->SetStr(column, TranslateText(Source, caption->GetStr(column)));
          }
        }
      } else if (ClassIsA(*Component, {"TCustomListBox", "TCustomComboBox", "TCustomRadioGroup"})) {
        if (TStrings* items = StringsProperty(*Component, "Items"))
          for (int i = 0; i < items->Count(); ++i) items->Put(i, TranslateText(Source, items->Get(i)));
      }
    }

    // The owned list may change under a handler; walk a snapshot of it.
    std::vector<TComponent*> owned;
    for (int i = 0; i < Component->ComponentCount(); ++i) owned.push_back(Component->Components(i));
    for (TComponent* child : owned)
      if (!ClassIsA(*child, {"TCustomForm"})) TranslateComponent(Source, child);
    guard.Restore();
  }
  const TLanguage* target = TargetLanguage();
  if (!target || target->Strings()->Count() == 0) return Source;
  return FTranslateIntoLanguage;
}

} // namespace qnl
