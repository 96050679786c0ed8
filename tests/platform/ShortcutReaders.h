// Independent readers of what the shortcut services write: lnkinfo for shell links, the
// Desktop Entry rules for menu entries, desktop-file-validate.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qnl::test {

// True when the program Name is on PATH.
bool HaveProgram(const std::string& Name);
// lnkinfo's "Key : value" lines of the shell link at UnixPath, ASCII strings read in CodePage
// ("windows-1252"); empty when lnkinfo refuses the file.
std::map<std::string, std::string> LnkInfo(const std::string& UnixPath, const std::string& CodePage = "windows-1252");
// The keys of a desktop entry file (the [Desktop Entry] group), values as written.
std::map<std::string, std::string> DesktopEntryKeys(const std::string& UnixPath);
// The argument vector an Exec value stands for, by the Desktop Entry rules: the string
// escapes first, then the quoting, then "%%" as "%".
std::vector<std::string> ExecArguments(const std::string& ExecValue);
// desktop-file-validate's complaints about the file; empty when it accepts it silently.
std::string DesktopFileComplaints(const std::string& UnixPath);

} // namespace qnl::test
