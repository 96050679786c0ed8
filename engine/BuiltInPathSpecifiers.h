// The fourteen built-in path specifier classes: their order, their registration and the
// instances every form of a project holds.
#pragma once

#include "paths/TPathSpecifierList.h"

namespace qnl {

// The built-in classes in registration order, from the first call on; the list exists for
// the whole life of the process.
TPathSpecifierClassList& PathSpecifierClasses();

// Makes the built-in specifier classes known to streaming (creatable by name).
void RegisterPathSpecifierClasses();

// For each registered class in order, unless OnlyMissing and an instance of it already
// exists, creates an instance owned by Owner and names it with its DefaultName.
void CreateMissing(TComponent* Owner, bool OnlyMissing);

// Makes sure Owner holds one instance of every standard specifier class when Owner is a
// form or a data module (other owners are left alone). Every installation container calls
// it with its owner before its own construction, so that the standard instances precede it:
//   TInstallContainer(TComponent* AOwner) : TComponent((EnsureStandardPathSpecifiers(AOwner), AOwner))
void EnsureStandardPathSpecifiers(TComponent* Owner);

} // namespace qnl
