// Giving controls the font of the language their texts are shown in.
#include "translate/ControlTree.h"
#include "translate/TTranslator.h"

namespace qnl {

void TTranslator::ApplyFont(const TLanguage& Language, TComponent* Control) const {
  const TPropInfo* fontProp = Control->ClassInfo().FindProp("Font");
  TFont* font =
      fontProp && fontProp->Kind == TTypeKind::tkClass ? dynamic_cast<TFont*>(fontProp->GetObj(Control)) : nullptr;
  if (font) {
    if (Language.FontOverride()) {
      font->Assign(Language.Font());
    } else {
      const TLanguageInfo* info = FindLanguageInfo(Language.LanguageIdent());
      if (!info) throw Exception("Unrecognized language");
      font->SetCharset(info->Charset);
      font->SetName(info->Face);
      if (font->Size() < info->MinimumSize) font->SetSize(info->MinimumSize);
    }
  }
  if (IsWindowedControl(Control))
    for (TComponent* child : ChildControls(Control)) ApplyFont(Language, child);
}

void TTranslator::SetControlFonts(TComponent* Control, bool Force) {
  if (!Control) return;
  const TLanguage* language = TargetLanguage();
  if (!language) return;
  if (language->Strings()->Count() == 0 && !Force) language = LanguageByIdent(qlEnglish);
  ApplyFont(*language, Control);
}

} // namespace qnl
