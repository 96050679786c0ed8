// Self-registrations that failed during an installation pass and are tried once more after it.
#pragma once

namespace qnl {

// Clears InstallSession().DeferRegistrationFailures and runs RegisterActiveX once more for every file on the deferred
// list, in list order, emptying the list; errors now propagate.
void RetryDeferredRegistrations();

} // namespace qnl
