// The temporary files a member is written to until it is whole.
#pragma once

#include <string>

namespace qnl {
class THostFileAhead;
}

namespace qnl::PartialFiles {

// A name in Dir that no file has, for a member being written: "~qnl", twelve hexadecimal
// digits (this process and a count) and ".qnlpart". It is as short whatever the target is
// called, so a target name of any legal length has its partial file beside it, and its
// form is one no file but ours has.
std::string NewName(const std::string& Dir);

// Creates File as a new partial file in the host directory HostDir, on any thread: its host
// path, or empty when none could be created.
std::string CreateInHostDirectory(const std::string& HostDir, THostFileAhead& File);

// Removes from Dir the partial files a killed extraction left: files of exactly that form
// that nobody holds (a running extraction holds its own) and that this process did not make
// (it may be writing them ahead). Every other file stays.
void RemoveLeftovers(const std::string& Dir);

} // namespace qnl::PartialFiles
