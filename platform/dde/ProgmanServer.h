// Internal to platform/dde: the Program Manager service of the machine.
#pragma once

#include <string>
#include <vector>

#include "platform/dde/Dde.h"

namespace qnl::dde {

// One command of an execute string: its name and its arguments, quotes taken off.
struct TDdeCommand {
  std::string Name;
  std::vector<std::string> Args;
};
// Parses "[Name(arg,"quoted arg",...)][Name2]" as Program Manager does; False for bad syntax.
bool ParseDdeCommands(std::string_view Text, std::vector<TDdeCommand>& Commands);

// A conversation with Program Manager: it remembers the group last created or shown, which
// AddItem, ReplaceItem and DeleteItem work in.
class TProgmanConversation : public TDdeConversation {
public:
  bool Execute(std::string_view Command) override;
  std::optional<std::string> Request(std::string_view Item) override;

private:
  bool Run(const TDdeCommand& Command);
  bool AddItem(const std::vector<std::string>& Args);
  bool DeleteItem(const std::string& Name);
  std::string FLastGroup; // the group's folder, a Windows path; empty until one is chosen
};

} // namespace qnl::dde
