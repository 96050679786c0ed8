// The built-in path specifiers relative to the requesting object's container.
#pragma once

#include "paths/StandardPathSpecifiers.h"

namespace qnl {

// The destination directory of the requesting object's container.
class TpsContainerDestDir : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsContainerDestDir)
  void Validate(TComponent* Component) const override;
  std::string GetDescriptionFor(TComponent* Component) const override;
  std::string GetShortNameFor(TComponent* Component) const override;
};

// The archive path of the requesting object's container, which must be file-related.
class TpsContainerArchiveFile : public TStandardPathSpecifier {
  QNL_STANDARD_SPECIFIER_MEMBERS(TpsContainerArchiveFile)
  void Validate(TComponent* Component) const override;
};

} // namespace qnl
