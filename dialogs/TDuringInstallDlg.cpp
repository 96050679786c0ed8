// The base of the progress, status and disk dialogs.
#include "dialogs/TDuringInstallDlg.h"

#include "engine/TInstallContainer.h"

namespace qnl {

QNL_BEGIN_CLASS(TDuringInstallDlg)
    .Prop("AutoSetFont", &C::AutoSetFont, &C::SetAutoSetFont)
    .Prop("AutoTranslate", &C::AutoTranslate, &C::SetAutoTranslate)
    .Ref<TInstallContainer>("Container", &C::Container, &C::SetContainer)
    .Prop("OverrideMainTranslator", &C::OverrideMainTranslator, &C::SetOverrideMainTranslator)
    .Sub("ThemeBitmap", &C::ThemeBitmap)
    .Prop("TranslateIntoLanguage", &C::TranslateIntoLanguage, &C::SetTranslateIntoLanguage);
QNL_END_CLASS

} // namespace qnl
