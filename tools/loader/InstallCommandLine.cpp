// The installation program's switches and their command line.
#include "tools/loader/InstallCommandLine.h"

#include "common/routines_Strings.h"

namespace qnl {

namespace {

// Inside quotes the platform reads "" as one quote character.
std::string Quoted(const std::string& Word) {
  std::string text = "\"";
  for (char c : Word) text += c == '"' ? std::string("\"\"") : std::string(1, c);
  return text + "\"";
}

} // namespace

std::vector<std::string> InstallArguments(const TInstallRequest& Request) {
  std::vector<std::string> arguments;
  if (Request.SelfExtracting) arguments.push_back("-e" + ExtractFileName(Request.LoadingProgram));
  arguments.push_back("-s" + RemoveBackSlash(ExtractFileDir(Request.LoadingProgram)));
  arguments.push_back("-c");
  if (Request.ToDisk) arguments.push_back("-f");
  return arguments;
}

std::string InstallCommandLine(const std::string& Program, const std::vector<std::string>& Arguments) {
  std::string line = Quoted(Program);
  for (const std::string& argument : Arguments) line += " " + Quoted(argument);
  return line;
}

} // namespace qnl
