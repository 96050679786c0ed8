// The loading program's long options.
#include "tools/loader/LoaderOptions.h"

#include <filesystem>

#include "common/InstallLog.h"
#include "tools/loader/LoadProgram.h"
#include "tools/loader/LoadProgramErrors.h"

namespace qnl {

namespace {

enum class TOptionAction {
  oaHelp,
  oaVersion,
  oaSet,     // sets Variable to "1", or to the value (a file the installation program opens)
  oaSetHost, // sets Variable to the value made an absolute host path (written by the platform)
  oaList,    // sets Variable to the listing's form
  oaJson,    // the listing as JSON
  oaExtract  // unpacks into the value's folder instead of installing
};

// One row per option.
struct TOptionRow {
  const char* Name;
  const char* Value; // placeholder of its value in the help text; empty for a flag
  TOptionAction Action;
  const char* Variable;
  const char* Help;
};

constexpr TOptionRow kOptions[] = {
    {"help", "", TOptionAction::oaHelp, "", "show this text and exit"},
    {"version", "", TOptionAction::oaVersion, "", "show the version and exit"},
    {"unattended", "", TOptionAction::oaSet, "QUENLOFT_UNATTENDED",
     "answer every page and message with its default (or the answer file's) value"},
    {"quiet", "", TOptionAction::oaSet, "QUENLOFT_QUIET", "unattended: no page lines and no progress line"},
    {"answers", "FILE", TOptionAction::oaSet, "QUENLOFT_ANSWERS", "take the pages' values from the INI file FILE"},
    {"save-answers", "FILE", TOptionAction::oaSet, "QUENLOFT_SAVE_ANSWERS",
     "write the values chosen on the pages to FILE"},
    {"log", "FILE", TOptionAction::oaSetHost, kInstallLogVariable, "write a log of every step to FILE"},
    {"list", "", TOptionAction::oaList, "QUENLOFT_LIST", "list the distribution's files and destinations"},
    {"json", "", TOptionAction::oaJson, "", "with --list: as JSON"},
    {"extract", "DIR", TOptionAction::oaExtract, "", "unpack every member into DIR, installing nothing"},
};

struct TStatusRow {
  int Status;
  const char* Meaning;
};

constexpr TStatusRow kStatuses[] = {
    {kInstallSucceeded, "installed"},
    {kInstallFailed, "failed (the error was shown or written to stderr)"},
    {kInstallAborted, "aborted by the user"},
    {kInstallNeedsRestart, "installed; the machine must restart to finish"},
    {kUsageError, "the command line was not understood"},
    {kAnswerFileError, "the answer file has a value a page cannot take"},
    {kSetupAlreadyRunning, "another setup is running on the same machine"},
};

const TOptionRow* FindOption(const std::string& Name) {
  for (const TOptionRow& row : kOptions)
    if (Name == row.Name) return &row;
  return nullptr;
}

} // namespace

TLoaderOptions ParseLoaderOptions(const std::vector<std::string>& Arguments,
                                  const std::function<std::string(const std::string&)>& FilePath) {
  TLoaderOptions options;
  bool json = false;
  std::string listVariable;
  for (size_t i = 0; i < Arguments.size(); ++i) {
    const std::string& argument = Arguments[i];
    if (argument.starts_with("*")) {
      options.LoaderWords.push_back(argument);
      continue;
    }
    // Other words were always passed over; only options are refused.
    if (!argument.starts_with("-")) continue;
    if (!argument.starts_with("--") || argument.size() == 2) throw EUsage("unknown option \"" + argument + "\"");
    size_t equals = argument.find('=');
    std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const TOptionRow* row = FindOption(name);
    if (!row) throw EUsage("unknown option \"--" + name + "\"");
    bool takesValue = *row->Value != '\0';
    std::string value;
    if (equals != std::string::npos) {
      if (!takesValue) throw EUsage("the option \"--" + name + "\" takes no value");
      value = argument.substr(equals + 1);
    } else if (takesValue) {
      if (i + 1 >= Arguments.size()) throw EUsage("the option \"--" + name + "\" needs a " + row->Value);
      value = Arguments[++i];
    }
    if (takesValue && value.empty()) throw EUsage("the option \"--" + name + "\" needs a " + row->Value);
    switch (row->Action) {
      case TOptionAction::oaHelp: options.Help = true; break;
      case TOptionAction::oaVersion: options.Version = true; break;
      case TOptionAction::oaSet: options.Environment[row->Variable] = takesValue ? FilePath(value) : "1"; break;
      case TOptionAction::oaSetHost:
        options.Environment[row->Variable] = std::filesystem::absolute(value).lexically_normal().string();
        break;
      case TOptionAction::oaList:
        options.List = true;
        listVariable = row->Variable;
        break;
      case TOptionAction::oaJson: json = true; break;
      case TOptionAction::oaExtract: options.ExtractDir = value; break;
    }
  }
  if (json && !options.List) throw EUsage("the option \"--json\" needs --list");
  if (options.List) options.Environment[listVariable] = json ? "json" : "table";
  return options;
}

std::string LoaderHelpText() {
  std::string text = "Usage: setup.exe [OPTION]...\n"
                     "Installs the product of this distribution.\n\nOptions:\n";
  for (const TOptionRow& row : kOptions) {
    std::string left = std::string("  --") + row.Name + (*row.Value ? std::string(" ") + row.Value : "");
    text += left + std::string(left.size() < 24 ? 24 - left.size() : 1, ' ') + row.Help + "\n";
  }
  text += "  *TODISK                 transfer the distribution to floppy disks\n\nExit status:\n";
  for (const TStatusRow& row : kStatuses)
    text += (row.Status < 10 ? "   " : "  ") + std::to_string(row.Status) + "  " + row.Meaning + "\n";
  return text;
}

} // namespace qnl
