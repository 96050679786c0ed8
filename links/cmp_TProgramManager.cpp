// The Program Manager client.
#include "links/cmp_TProgramManager.h"

#include "common/routines_Strings.h"
#include "platform/dde/Dde.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// A text joined into a format string before formatting keeps its percent signs as they are.
std::string LiteralInFormat(const std::string& Text) { return StringReplaceAll(Text, "%", "%%"); }

} // namespace

EQXPMError::EQXPMError()
    : EQX(TranslateMessage("The TProgramManager object was unable to communicate with Program Manager")) {}

EQXPMCannotOpen::EQXPMCannotOpen()
    : EQXPMError(TranslateMessage("The TProgramManager object was unable to establish a link with Program Manager")) {}

EQXPMCannotOpenGroup::EQXPMCannotOpenGroup(const std::string& Group)
    : EQXPMError(Format(
          TranslateMessage("The TProgramManager object was unable to open the following program group: %s"), {Group})),
      FGroup(Group) {}

EQXPMCannotCreateGroup::EQXPMCannotCreateGroup(const std::string& Group)
    : EQXPMError(
          Format(TranslateMessage("The TProgramManager object was unable to create the following program group: %s"),
                 {Group})),
      FGroup(Group) {}

EQXPMCannotAddItem::EQXPMCannotAddItem(const std::string& Group, const std::string& Command,
                                       const std::string& ItemName)
    : EQXPMError(
          Format(TranslateMessage("The TProgramManager object was unable to add the following program item: " +
                                  LiteralInFormat(ItemName) + " to the following group: %s. The arguments passed to " +
                                  " Program Manager were: %s"),
                 {Group, Command})),
      FGroup(Group), FItemName(ItemName), FCommand(Command) {}

EQXPMCannotReplaceItem::EQXPMCannotReplaceItem(const std::string& Group, const std::string& ItemName)
    : EQXPMError(Format(TranslateMessage(std::string("The TProgramManager object was unable to replace the following "
                                                     "program item: %s") +
                                         " to the following group: %s"),
                        {ItemName, Group})),
      FGroup(Group), FItemName(ItemName) {}

QNL_BEGIN_CLASS(TProgramManager);
QNL_END_CLASS

TProgramManager::TProgramManager(TComponent* AOwner)
    : TComponent(AOwner), FGroupLines(std::make_unique<TStringList>()) {}

TProgramManager::~TProgramManager() = default;

void TProgramManager::Connect() {
  if (FConnected) return;
  FConversation = TDdeConversation::Connect("PROGMAN", "PROGMAN");
  FConnected = FConversation != nullptr;
  if (!FConnected) throw EQXPMCannotOpen();
}

bool TProgramManager::Execute(const std::string& Command) {
  // DDEML copies a command into a 256-byte buffer; a longer one (a deep path) is sent whole
  // rather than cut, which would make another item than the one asked for.
  return FConversation->Execute(Command);
}

void TProgramManager::SelectGroup(const std::string& GroupName) {
  const std::string name = GroupName; // it may be CurrentGroup itself, which is cleared first
  Connect();
  FCurrentGroup.clear();
  FGroupLines->Clear();
  if (std::optional<std::string> data = FConversation->Request(name)) {
    FGroupLines->SetText(*data);
    FCurrentGroup = name;
  }
}

void TProgramManager::CreateGroup(const std::string& Name) {
  Connect();
  if (Name.empty()) return;
  if (!Execute("[CreateGroup(\"" + Name + "\")]")) throw EQXPMCannotCreateGroup(Name);
  SelectGroup(Name);
}

void TProgramManager::AddItem(const std::string& CommandLine, const std::string& ItemName, const std::string& IconPath,
                              int IconIndex, const std::string& DefaultDir, const std::string& HotKey) {
  Connect();
  if (FCurrentGroup.empty()) return;
  if (!Execute("[ShowGroup(" + FCurrentGroup + ",8)]")) throw EQXPMCannotOpenGroup(FCurrentGroup);
  std::string command = "[AddItem(" + CommandLine + "," + ItemName + "," + IconPath + "," + IntToStr(IconIndex) +
                        ",,," + DefaultDir + "," + HotKey + ")]";
  if (!Execute(command)) throw EQXPMCannotAddItem(FCurrentGroup, command, ItemName);
  SelectGroup(FCurrentGroup);
}

void TProgramManager::ReplaceItem(const std::string& ItemName) {
  Connect();
  if (FCurrentGroup.empty()) return;
  if (!Execute("[ShowGroup(" + FCurrentGroup + ",8)]")) throw EQXPMCannotOpenGroup(FCurrentGroup);
  if (!Execute("[ReplaceItem(\"" + ItemName + "\")]")) throw EQXPMCannotReplaceItem(FCurrentGroup, ItemName);
  SelectGroup(FCurrentGroup);
}

void TProgramManager::GetGroups(TStrings* List) {
  Connect();
  List->SetText(FConversation->Request("Groups").value_or(""));
}

int TProgramManager::ItemCount() const { return FGroupLines->Count() >= 2 ? FGroupLines->Count() - 1 : 0; }

std::string TProgramManager::ItemField(int Index, int N) const {
  if (Index <= 0 || Index > FGroupLines->Count() - 1) return "";
  std::string field = GetField(FGroupLines->Strings(Index), N, ',');
  if (field.size() > 1 && field.front() == '"') field.erase(0, 1);
  if (!field.empty() && field.back() == '"') field.pop_back();
  return field;
}

int TProgramManager::IndexOfItem(const std::string& Name) const {
  for (int i = 1; i <= ItemCount(); ++i)
    if (SameText(ItemField(i, 1), Name)) return i;
  return -1;
}

std::string TProgramManager::GroupFolder() const {
  return FGroupLines->Count() > 0 ? GetField(FGroupLines->Strings(0), 2, ',') : std::string();
}

TProgramManager& ProgramManager() {
  static TProgramManager manager(nullptr);
  return manager;
}

} // namespace qnl
