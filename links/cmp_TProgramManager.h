// The Program Manager client: one DDE conversation, its commands and the selected group's data.
#pragma once

#include <memory>
#include <string>

#include "common/exceptions_Quenloft.h"
#include "rtl/Classes.h"
#include "rtl/Strings.h"

namespace qnl {

class TDdeConversation;

// Program Manager failed; its own message says it could not be reached.
class EQXPMError : public EQX {
public:
  EQXPMError();

protected:
  explicit EQXPMError(const std::string& TranslatedMessage) : EQX(TranslatedMessage) {}
};

class EQXPMCannotOpen : public EQXPMError {
public:
  EQXPMCannotOpen();
};

class EQXPMCannotOpenGroup : public EQXPMError {
public:
  explicit EQXPMCannotOpenGroup(const std::string& Group);
  const std::string& Group() const { return FGroup; }

private:
  std::string FGroup;
};

class EQXPMCannotCreateGroup : public EQXPMError {
public:
  explicit EQXPMCannotCreateGroup(const std::string& Group);
  const std::string& Group() const { return FGroup; }

private:
  std::string FGroup;
};

class EQXPMCannotAddItem : public EQXPMError {
public:
  EQXPMCannotAddItem(const std::string& Group, const std::string& Command, const std::string& ItemName);
  const std::string& Group() const { return FGroup; }
  const std::string& ItemName() const { return FItemName; }
  const std::string& Command() const { return FCommand; }

private:
  std::string FGroup, FItemName, FCommand;
};

class EQXPMCannotReplaceItem : public EQXPMError {
public:
  EQXPMCannotReplaceItem(const std::string& Group, const std::string& ItemName);
  const std::string& Group() const { return FGroup; }
  const std::string& ItemName() const { return FItemName; }

private:
  std::string FGroup, FItemName;
};

// A client of Program Manager. It connects at its first operation and stays connected until it
// is destroyed; it keeps the data of the group it selected last (line 0 describes the group,
// each further line one item: "name","command line",... fields separated by commas), which
// every command that changes the group reads again.
class TProgramManager : public TComponent {
  QNL_CLASS(TProgramManager, TComponent)
public:
  explicit TProgramManager(TComponent* AOwner);
  ~TProgramManager() override;

  // Opens the conversation with "PROGMAN" when it is not open; EQXPMCannotOpen when no
  // Program Manager answers. Every operation below calls it first.
  virtual void Connect();

  // Requests the group's data; without an answer no group is selected.
  void SelectGroup(const std::string& Name);
  // [CreateGroup("Name")], then selects it; nothing for an empty name. EQXPMCannotCreateGroup.
  void CreateGroup(const std::string& Name);
  // In the selected group (nothing without one): [ShowGroup(Group,8)] (EQXPMCannotOpenGroup),
  // then [AddItem(CommandLine,ItemName,IconPath,IconIndex,,,DefaultDir,HotKey)] with the texts
  // as given (EQXPMCannotAddItem), then selects the group again.
  void AddItem(const std::string& CommandLine, const std::string& ItemName, const std::string& IconPath, int IconIndex,
               const std::string& DefaultDir, const std::string& HotKey);
  // In the selected group (nothing without one): [ShowGroup(Group,8)], then
  // [ReplaceItem("ItemName")] (EQXPMCannotReplaceItem), then selects the group again.
  void ReplaceItem(const std::string& ItemName);
  // The names of Program Manager's groups, one a line.
  void GetGroups(TStrings* List);

  // The selected group's items: its lines but the first.
  int ItemCount() const;
  // Field N (from 1) of item Index (from 1), split at commas without regard to quotes, one
  // leading and one trailing double quote taken off; empty for an index outside the items.
  std::string ItemField(int Index, int N) const;
  // The first item whose name (field 1) is Name, ignoring case; -1 when there is none.
  int IndexOfItem(const std::string& Name) const;
  // The folder the selected group's description line names (its second field).
  std::string GroupFolder() const;

  bool Connected() const { return FConnected; }
  const std::string& CurrentGroup() const { return FCurrentGroup; }
  TStrings* GroupLines() const { return FGroupLines.get(); }

private:
  // Sends Command; False when Program Manager did not carry it out.
  bool Execute(const std::string& Command);

  bool FConnected = false;
  std::unique_ptr<TDdeConversation> FConversation;
  std::string FCurrentGroup;
  std::unique_ptr<TStringList> FGroupLines;
};

// The process's Program Manager client, created at its first use and freed at exit.
TProgramManager& ProgramManager();

} // namespace qnl
