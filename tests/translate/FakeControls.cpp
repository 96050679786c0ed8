// Stand-ins for the GUI framework's control classes.
#include "FakeControls.h"

namespace fake {

QNL_BEGIN_CLASS(TControl)
    .Prop("Visible", &C::FVisible)
    .Prop("Caption", &C::Caption, &C::SetCaption)
    .Prop("Hint", &C::FHint)
    .Sub("Font", &C::Font);
QNL_END_CLASS

QNL_BEGIN_CLASS(TCustomLabel).Prop("AutoSize", &C::FAutoSize).Prop("Caption", &C::Caption, &C::SetLabelCaption);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTranslateLabel).Prop("GLID", &C::FGLID);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTranslateBitBtn).Prop("GLID", &C::FGLID);
QNL_END_CLASS

QNL_BEGIN_CLASS(TImage);
QNL_END_CLASS

QNL_BEGIN_CLASS(TCustomMemo).Sub("Lines", &C::FLines);
QNL_END_CLASS

QNL_BEGIN_CLASS(TCustomListBox).Sub("Items", &C::FItems);
QNL_END_CLASS

QNL_BEGIN_CLASS(TCustomRadioGroup);
QNL_END_CLASS

QNL_BEGIN_CLASS(TListColumn).Prop("Caption", &C::FCaption);
QNL_END_CLASS

QNL_BEGIN_CLASS(TCustomListView).Sub("Columns", &C::FColumns);
QNL_END_CLASS

} // namespace fake
