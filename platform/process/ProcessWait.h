// Waiting for another process of this machine to end.
#pragma once

namespace qnl {

// Blocks until process Pid has ended (returns at once when there is no such process).
void WaitForProcessEnd(int Pid);
// This process's id.
int CurrentProcessId();

} // namespace qnl
