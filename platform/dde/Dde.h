// DDE conversations with the machine's services: the client side of user32's DDEML.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qnl {

// One client conversation, from DdeConnect to DdeDisconnect (the destructor).
//
// The machine offers one service: Program Manager, service and topic "PROGMAN" (in any case),
// emulated on the Programs folder of the Start Menu the way Wine's shell does it: a group is a
// folder there (characters below 32 and *, /, :, <, >, ?, \, | of its name become "_"), an
// item a shell link in it. It understands CreateGroup, ShowGroup, DeleteGroup, AddItem,
// ReplaceItem, DeleteItem and ExitProgman, and answers requests for "Groups" (one group name a
// line) and for a group's name (Program Manager's group data: a description line "name",folder,
// item count,1 and per item "name","command line",directory,icon path,x,y,icon index,hot key,
// minimized). Where it differs from Wine: ShowGroup refuses a group without a folder, AddItem
// takes a command line with arguments after the program and does not require the program to
// exist, and a group's data can be requested. With QNL_NO_PROGMAN=1 in the environment no
// server answers (a shell without Program Manager).
class TDdeConversation {
public:
  // DdeConnect: the conversation, or nullptr when no server answers for Service and Topic.
  static std::unique_ptr<TDdeConversation> Connect(std::string_view Service, std::string_view Topic);
  virtual ~TDdeConversation() = default;

  // An XTYP_EXECUTE transaction with the command string ("[Cmd(args)][Cmd2(args)]"): True
  // when the server carried out every command; it stops at the first that fails.
  virtual bool Execute(std::string_view Command) = 0;
  // An XTYP_REQUEST for Item as text (CF_TEXT): the data, or nullopt when the server has none.
  virtual std::optional<std::string> Request(std::string_view Item) = 0;
};

} // namespace qnl
