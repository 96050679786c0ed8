// Long options read by one table.
#include "common/LongOptions.h"

namespace qnl {

namespace {

const TLongOption* FindOption(std::span<const TLongOption> Table, const std::string& Name) {
  for (const TLongOption& row : Table)
    if (Name == row.Name) return &row;
  return nullptr;
}

} // namespace

TParsedArguments ParseLongOptions(const std::vector<std::string>& Arguments, std::span<const TLongOption> Table) {
  TParsedArguments parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < Arguments.size(); ++i) {
    const std::string& argument = Arguments[i];
    if (optionsEnded || !argument.starts_with("-")) {
      parsed.Words.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (!argument.starts_with("--")) throw EUsage("unknown option \"" + argument + "\"");
    size_t equals = argument.find('=');
    std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const TLongOption* row = FindOption(Table, name);
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
    parsed.Options.push_back({row, value});
  }
  return parsed;
}

std::string LongOptionsHelp(std::span<const TLongOption> Table) {
  std::string text;
  for (const TLongOption& row : Table) {
    std::string left = std::string("  --") + row.Name + (*row.Value ? std::string(" ") + row.Value : "");
    text += left + std::string(left.size() < 24 ? 24 - left.size() : 1, ' ') + row.Help + "\n";
  }
  return text;
}

} // namespace qnl
