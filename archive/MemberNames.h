// The names archive members are stored and found under.
#pragma once

#include <string>

namespace qnl {

// The name the member for SourcePath is stored under when it is added and looked up by when
// it is extracted. A path of up to 100 characters (the header's room) is its own name, so
// every archive written before long paths were given names of their own reads as before. A
// longer path is named by as much of its start as fits, "|", sixteen hexadecimal digits of a
// hash of the whole path (ASCII letter case ignored, as member names compare) and "\" with
// its file name (the file name's end, when the name alone is too long): two paths that share
// their first 100 characters get different names, and the name still ends in the file's.
std::string MemberNameOf(const std::string& SourcePath);

// True when Name has the form MemberNameOf gives a long path ("|", sixteen hexadecimal digits,
// "\"). '|' cannot be part of a Windows file name; a source path of this form is refused, so
// that no path is ever stored under the name made for another.
bool IsLongPathMemberName(const std::string& Name);

} // namespace qnl
