// The list of decoration classes a project may hold.
#include "controls/RegisterDecorationClasses.h"

#include "controls/cmp_Rotate3DLabel.h"
#include "controls/cmp_TBackDrop.h"

namespace qnl {

void RegisterDecorationClasses() {
  for (const TClassInfo* info : {&TBackdrop::StaticClassInfo(), &TRotate3DLabel::StaticClassInfo()})
    RegisterClass(*info);
}

} // namespace qnl
