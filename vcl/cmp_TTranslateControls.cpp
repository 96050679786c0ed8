// A label and a bitmap button that the translator translates by line identifier.
#include "vcl/cmp_TTranslateControls.h"

namespace qnl {

QNL_BEGIN_CLASS(TTranslateLabel).Prop("GLID", &C::GLID, &C::SetGLID);
QNL_END_CLASS

QNL_BEGIN_CLASS(TTranslateBitBtn).Prop("GLID", &C::GLID, &C::SetGLID);
QNL_END_CLASS

} // namespace qnl
