// The copy window's progress as one line on a terminal, for unattended runs.
#pragma once

namespace qnl {

class TFileStatusParameter;
class TDownloadStatusParameter;

// Unattended, not quiet, and with a terminal on stderr: draws the file and total progress on
// one line that is redrawn in place. Elsewhere nothing.
void DrawTerminalProgress(const TFileStatusParameter* FileStatus, const TDownloadStatusParameter* DownloadStatus);
// Ends the line, when one was drawn.
void EndTerminalProgress();

} // namespace qnl
