// Defines the fixed members of a built-in specifier (inside the built-in specifiers' sources only).
#pragma once

#include "paths/StandardPathSpecifiers.h"

// Class information, the constructor (DefaultName is the class name without its T), the
// long description and the short name.
#define QNL_DEFINE_STANDARD_SPECIFIER(Cls, Description, ShortName)                                              \
  QNL_BEGIN_CLASS(Cls);                                                                                         \
  QNL_END_CLASS                                                                                                 \
  Cls::Cls(TComponent* AOwner) : TStandardPathSpecifier(AOwner) { FDefaultName = std::string(#Cls).substr(1); } \
  std::string Cls::GetDescription() const { return Description; }                                               \
  std::string Cls::GetShortName() const { return ShortName; }
