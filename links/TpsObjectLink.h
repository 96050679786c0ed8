// The path specifier of a shortcut's linked component.
#pragma once

#include "paths/cmp_TPathSpecifier.h"

namespace qnl {

// The standard specifier a shortcut with an ObjectLink uses as its ObjectLocationType: the
// installed path of the linked file, or the destination directory of the linked container.
// Only shortcuts with an ObjectLink may use it.
class TpsObjectLink : public TStandardPathSpecifier {
  QNL_CLASS(TpsObjectLink, TStandardPathSpecifier)
public:
  explicit TpsObjectLink(TComponent* AOwner);

  void Validate(TComponent* Component) const override;
  std::string GetDescription() const override;
  std::string GetShortName() const override;
  std::string GetPath(TComponent* Component) const override;
};

// Makes sure the standard TpsObjectLink instance exists on Owner when Owner is a form or a data
// module, as the standard specifiers do; returns Owner.
TComponent* WithObjectLinkSpecifier(TComponent* Owner);

} // namespace qnl
