// Registration of the control classes.
#include "vcl/Controls.h"

#include "rtl/EventTypes.h"
#include "rtl/Forms.h"
#include "translate/ControlTree.h"
#include "vcl/StdCtrls.h"
#include "vcl/cmp_TTranslateControls.h"

namespace qnl {

void RegisterControlsClasses() {
  for (const TClassInfo* c :
       {&TLabel::StaticClassInfo(), &TButton::StaticClassInfo(), &TBitBtn::StaticClassInfo(),
        &TPanel::StaticClassInfo(), &TBevel::StaticClassInfo(), &TEdit::StaticClassInfo(),
        &TCheckBox::StaticClassInfo(), &TGroupBox::StaticClassInfo(), &TRadioGroup::StaticClassInfo(),
        &TListBox::StaticClassInfo(), &TProgressBar::StaticClassInfo(), &TTabControl::StaticClassInfo(),
        &TTreeView::StaticClassInfo(), &TImage::StaticClassInfo(), &TRichEdit::StaticClassInfo(),
        &TTranslateLabel::StaticClassInfo(), &TTranslateBitBtn::StaticClassInfo()})
    RegisterClass(*c);
  RegisterEventType<TTabChangingEvent>("TTabChangingEvent", {"Sender", "AllowChange"});
  TControlTreeHooks hooks;
  hooks.IsControl = [](TComponent* C) {
    if (dynamic_cast<TControl*>(C)) return true;
    // Controls of other libraries are known by their published visibility.
    const TPropInfo* visible = C->ClassInfo().FindProp("Visible");
    return visible && visible->Kind == TTypeKind::tkBoolean;
  };
  hooks.IsWindowed = [](TComponent* C) { return dynamic_cast<TWinControl*>(C) != nullptr; };
  hooks.ChildControls = [](TComponent* C) {
    std::vector<TComponent*> children;
    if (auto* p = dynamic_cast<TWinControl*>(C))
      for (TControl* child : p->Controls()) children.push_back(child);
    return children;
  };
  hooks.Realign = [](TComponent* C) {
    if (auto* p = dynamic_cast<TWinControl*>(C)) p->Realign();
  };
  SetControlTreeHooks(std::move(hooks));
}

} // namespace qnl
