// Self-registrations that failed during an installation pass and are tried once more after it.
#pragma once

namespace qnl {

// Whether a failed ActiveX registration is deferred (during an installation pass) rather than
// raised at once. Starts False; the install component sets it when its pass starts.
bool& DeferRegistrationFailures();
// Clears the flag and runs RegisterActiveX once more for every file on the deferred list, in
// list order, emptying the list; errors now propagate.
void RetryDeferredRegistrations();

} // namespace qnl
