// quenloft reg query|set|delete|export: the registry of the machine of $WINEPREFIX.
#include <cstdio>
#include <fstream>

#include "platform/Machine.h"
#include "platform/registry/RegFileExport.h"
#include "platform/registry/Registry.h"
#include "platform/system/CodePage.h"
#include "rtl/SysUtils.h"
#include "tools/quenloft/Commands.h"

namespace qnl::tool {

namespace {

const char* const kUsage =
    "usage: quenloft reg query KEY [NAME]\n"
    "       quenloft reg set KEY NAME TYPE DATA   (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ with items\n"
    "                                              split at \\0, REG_DWORD, REG_QWORD, REG_BINARY as hex)\n"
    "       quenloft reg delete KEY [NAME]        (a key only when it has no subkeys)\n"
    "       quenloft reg export KEY FILE [--regedit4]";

struct TTypeName {
  TRegType Type;
  const char* Name;
};
const TTypeName kTypeNames[] = {
    {TRegType::String, "REG_SZ"},       {TRegType::ExpandString, "REG_EXPAND_SZ"},
    {TRegType::MultiString, "REG_MULTI_SZ"}, {TRegType::DWord, "REG_DWORD"},
    {TRegType::QWord, "REG_QWORD"},     {TRegType::Binary, "REG_BINARY"},
    {TRegType::None, "REG_NONE"},
};

std::string TypeName(TRegType type) {
  for (const auto& t : kTypeNames)
    if (t.Type == type) return t.Name;
  return "REG_0x" + IntToHex(uint32_t(type), 1);
}

void Print(const std::string& ansi) { std::printf("%s\n", AnsiToUtf8(ansi).c_str()); }

// "HKLM\Software\X" (ANSI from the UTF-8 command line) split into the root and the path.
std::pair<TRootKey, std::string> ParseKey(const std::string& arg) {
  std::string key = Utf8ToAnsi(arg);
  size_t slash = key.find('\\');
  auto root = RootKeyFromName(key.substr(0, slash));
  if (!root) throw Exception("Unknown root key in \"" + arg + "\" (HKLM, HKCU, HKCR ...)");
  return {*root, slash == std::string::npos ? std::string() : key.substr(slash + 1)};
}

TRegKey OpenExisting(const std::string& arg) {
  auto [root, path] = ParseKey(arg);
  auto key = TRegKey::Open(root, path);
  if (!key) throw Exception("The key \"" + arg + "\" does not exist");
  return *key;
}

std::string ShowData(const TRegValue& value) {
  if (value.Type == TRegType::String || value.Type == TRegType::ExpandString) return value.Data;
  if (value.Type == TRegType::MultiString) {
    std::string shown = value.Data;
    while (!shown.empty() && shown.back() == '\0') shown.pop_back();
    return StringReplaceAll(shown, std::string(1, '\0'), "\\0");
  }
  if (auto dw = value.AsDWord(); dw && value.Type == TRegType::DWord) return "0x" + IntToHex(*dw, 1);
  std::string hex;
  for (unsigned char c : value.Data) hex += IntToHex(c, 2);
  return hex;
}

void PrintValue(const TRegValue& value) {
  Print("    " + (value.Name.empty() ? std::string("(Default)") : value.Name) + "    " + TypeName(value.Type) + "    " +
        ShowData(value));
}

std::string HexToBytes(const std::string& hex) {
  std::string clean;
  for (char c : hex)
    if (c != ',' && c != ' ') clean.push_back(c);
  if (clean.size() % 2) throw Exception("Binary data needs an even number of hex digits");
  std::string bytes;
  for (size_t i = 0; i < clean.size(); i += 2) bytes.push_back(char(StrToInt("$" + clean.substr(i, 2))));
  return bytes;
}

int Query(const TArgs& args) {
  if (args.empty() || args.size() > 2) throw Exception(kUsage);
  TRegKey key = OpenExisting(args[0]);
  if (args.size() == 2) {
    auto value = key.ReadValue(Utf8ToAnsi(args[1]));
    if (!value) throw Exception("The value \"" + args[1] + "\" does not exist in " + args[0]);
    PrintValue(*value);
    return 0;
  }
  Print(key.FullName());
  for (const auto& value : key.Values()) PrintValue(value);
  for (const auto& name : key.SubKeyNames()) Print(key.FullName() + "\\" + name);
  return 0;
}

int Set(const TArgs& args) {
  if (args.size() != 4) throw Exception(kUsage);
  auto [root, path] = ParseKey(args[0]);
  TRegKey key = TRegKey::Create(root, path);
  std::string name = Utf8ToAnsi(args[1]);
  std::string data = Utf8ToAnsi(args[3]);
  const std::string& type = args[2];
  if (SameText(type, "REG_SZ")) key.WriteString(name, data);
  else if (SameText(type, "REG_EXPAND_SZ")) key.WriteExpandString(name, data);
  else if (SameText(type, "REG_MULTI_SZ")) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t sep; (sep = data.find("\\0", start)) != std::string::npos; start = sep + 2) items.push_back(data.substr(start, sep - start));
    items.push_back(data.substr(start));
    key.WriteMultiString(name, items);
  } else if (SameText(type, "REG_DWORD")) {
    key.WriteDWord(name, uint32_t(StrToInt(StartsText("0x", data) ? "$" + data.substr(2) : data)));
  } else if (SameText(type, "REG_QWORD")) {
    key.WriteQWord(name, uint64_t(StrToInt(StartsText("0x", data) ? "$" + data.substr(2) : data)));
  } else if (SameText(type, "REG_BINARY")) {
    key.WriteBinary(name, HexToBytes(data));
  } else {
    throw Exception("Unknown value type \"" + type + "\"");
  }
  return 0;
}

int Delete(const TArgs& args) {
  if (args.empty() || args.size() > 2) throw Exception(kUsage);
  if (args.size() == 2) {
    if (!OpenExisting(args[0]).DeleteValue(Utf8ToAnsi(args[1])))
      throw Exception("The value \"" + args[1] + "\" does not exist in " + args[0]);
    return 0;
  }
  auto [root, path] = ParseKey(args[0]);
  TRegKey key = OpenExisting(args[0]);
  if (key.HasSubKeys()) throw Exception("The key \"" + args[0] + "\" has subkeys; delete them first");
  if (!TRegKey::Delete(root, path)) throw Exception("Cannot delete the key \"" + args[0] + "\"");
  return 0;
}

int Export(const TArgs& args) {
  if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--regedit4")) throw Exception(kUsage);
  TRegKey key = OpenExisting(args[0]);
  std::string bytes = ExportRegFile(key, args.size() == 3 ? TRegFileFormat::Regedit4 : TRegFileFormat::Version5);
  std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw Exception("Cannot write \"" + args[1] + "\"");
  return 0;
}

} // namespace

int CmdReg(const TArgs& args) {
  if (args.empty()) throw Exception(kUsage);
  TArgs rest(args.begin() + 1, args.end());
  if (args[0] == "query") return Query(rest);
  if (args[0] == "export") return Export(rest);
  int status;
  if (args[0] == "set") status = Set(rest);
  else if (args[0] == "delete") status = Delete(rest);
  else throw Exception(kUsage);
  // Only a change is written out (so that Wine, started next, sees it): a read must work
  // where nothing can be written, on a full disk or a read-only machine.
  TMachine::Current().Flush();
  return status;
}

} // namespace qnl::tool
