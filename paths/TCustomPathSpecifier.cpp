// The base path specifier: descriptions, the OnGetPath hook and list membership.
#include "paths/cmp_TPathSpecifier.h"

#include "paths/TPathSpecifierList.h"

namespace qnl {

QNL_BEGIN_CLASS(TCustomPathSpecifier);
QNL_END_CLASS

TCustomPathSpecifier::TCustomPathSpecifier(TComponent* AOwner) : TComponent(AOwner) { PathSpecifiers().Add(this); }

TCustomPathSpecifier::~TCustomPathSpecifier() { PathSpecifiers().Remove(this); }

void TCustomPathSpecifier::Validate(TComponent*) const {}

std::string TCustomPathSpecifier::GetDescription() const { return "Unspecified"; }

std::string TCustomPathSpecifier::GetDescriptionFor(TComponent*) const { return GetDescription(); }

std::string TCustomPathSpecifier::GetPath(TComponent* Component) const {
  std::string path;
  if (FOnGetPath) FOnGetPath(Component, path);
  return path;
}

std::string TCustomPathSpecifier::GetShortName() const { return GetDescription(); }

std::string TCustomPathSpecifier::GetShortNameFor(TComponent* Component) const { return GetDescriptionFor(Component); }

QNL_BEGIN_CLASS(TStandardPathSpecifier);
QNL_END_CLASS

TStandardPathSpecifier::TStandardPathSpecifier(TComponent* AOwner) : TCustomPathSpecifier(AOwner) {
  StandardPathSpecifiers().Add(this);
}

TStandardPathSpecifier::~TStandardPathSpecifier() { StandardPathSpecifiers().Remove(this); }

} // namespace qnl
