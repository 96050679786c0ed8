// The loading program's long options.
#include "tools/loader/LoaderOptions.h"

#include <filesystem>
#include <iterator>

#include "common/InstallLog.h"
#include "common/LongOptions.h"
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

// What each option of the table does, row by row.
struct TOptionEffect {
  TOptionAction Action;
  const char* Variable;
};

constexpr TLongOption kOptions[] = {
    {"help", "", "show this text and exit"},
    {"version", "", "show the version and exit"},
    {"unattended", "", "answer every page and message with its default (or the answer file's) value"},
    {"quiet", "", "unattended: no page lines and no progress line"},
    {"answers", "FILE", "take the pages' values from the INI file FILE"},
    {"save-answers", "FILE", "write the values chosen on the pages to FILE"},
    {"log", "FILE", "write a log of every step to FILE"},
    {"list", "", "list the distribution's files and destinations"},
    {"json", "", "with --list: as JSON"},
    {"extract", "DIR", "unpack every member into DIR, installing nothing"},
};

constexpr TOptionEffect kEffects[] = {
    {TOptionAction::oaHelp, ""},
    {TOptionAction::oaVersion, ""},
    {TOptionAction::oaSet, "QUENLOFT_UNATTENDED"},
    {TOptionAction::oaSet, "QUENLOFT_QUIET"},
    {TOptionAction::oaSet, "QUENLOFT_ANSWERS"},
    {TOptionAction::oaSet, "QUENLOFT_SAVE_ANSWERS"},
    {TOptionAction::oaSetHost, kInstallLogVariable},
    {TOptionAction::oaList, "QUENLOFT_LIST"},
    {TOptionAction::oaJson, ""},
    {TOptionAction::oaExtract, ""},
};
static_assert(std::size(kOptions) == std::size(kEffects));

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

} // namespace

TLoaderOptions ParseLoaderOptions(const std::vector<std::string>& Arguments,
                                  const std::function<std::string(const std::string&)>& FilePath) {
  TLoaderOptions options;
  TParsedArguments parsed = ParseLongOptions(Arguments, kOptions);
  // Other words were always passed over; only options are refused.
  for (const std::string& word : parsed.Words)
    if (word.starts_with("*")) options.LoaderWords.push_back(word);
  bool json = false;
  std::string listVariable;
  for (const TGivenOption& given : parsed.Options) {
    const TOptionEffect& effect = kEffects[given.Option - kOptions];
    switch (effect.Action) {
      case TOptionAction::oaHelp: options.Help = true; break;
      case TOptionAction::oaVersion: options.Version = true; break;
      case TOptionAction::oaSet:
        options.Environment[effect.Variable] = *given.Option->Value ? FilePath(given.Value) : "1";
        break;
      case TOptionAction::oaSetHost:
        options.Environment[effect.Variable] = std::filesystem::absolute(given.Value).lexically_normal().string();
        break;
      case TOptionAction::oaList:
        options.List = true;
        listVariable = effect.Variable;
        break;
      case TOptionAction::oaJson: json = true; break;
      case TOptionAction::oaExtract: options.ExtractDir = given.Value; break;
    }
  }
  if (json && !options.List) throw EUsage("the option \"--json\" needs --list");
  if (options.List) options.Environment[listVariable] = json ? "json" : "table";
  return options;
}

std::string LoaderHelpText() {
  std::string text = "Usage: setup.exe [OPTION]...\n"
                     "Installs the product of this distribution.\n\nOptions:\n";
  text += LongOptionsHelp(kOptions);
  text += "  *TODISK                 transfer the distribution to floppy disks\n\nExit status:\n";
  for (const TStatusRow& row : kStatuses)
    text += (row.Status < 10 ? "   " : "  ") + std::to_string(row.Status) + "  " + row.Meaning + "\n";
  return text;
}

} // namespace qnl
