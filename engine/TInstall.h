// The install component as projects store it: TCustomInstall with its properties published.
#pragma once

#include "engine/TCustomInstall.h"

namespace qnl {

// Publishes every property and event of TCustomInstall; adds no behaviour.
class TInstall : public TCustomInstall {
  QNL_CLASS(TInstall, TCustomInstall)
public:
  explicit TInstall(TComponent* AOwner) : TCustomInstall(AOwner) {}
};

} // namespace qnl
