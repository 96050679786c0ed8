// "filelist.lst", the remote file list of a network distribution: a count, then one 72-byte
// record per install file compressed by the build.
#pragma once

#include <string>

namespace qnl {

// Reads the list at Path and gives each install file named by a record (ignoring case) the
// record's size, date and version. IEInstall "Cannot read the remote list of files: %s" when
// the count or a record is cut short.
void ReadRemoteFileList(const std::string& Path);

// Writes the list of every install file whose Archived state is 1 or 2, in the order of the
// list of all install files; returns the number of records.
int WriteRemoteFileList(const std::string& Path);

} // namespace qnl
