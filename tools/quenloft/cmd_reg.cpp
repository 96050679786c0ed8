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
    {TRegType::rtString, "REG_SZ"},
    {TRegType::rtExpandString, "REG_EXPAND_SZ"},
    {TRegType::rtMultiString, "REG_MULTI_SZ"},
    {TRegType::rtDWord, "REG_DWORD"},
    {TRegType::rtQWord, "REG_QWORD"},
    {TRegType::rtBinary, "REG_BINARY"},
    {TRegType::rtNone, "REG_NONE"},
};

std::string TypeName(TRegType Type) {
  for (const auto& t : kTypeNames)
    if (t.Type == Type) return t.Name;
  return "REG_0x" + IntToHex(uint32_t(Type), 1);
}

void Print(const std::string& Ansi) { std::printf("%s\n", AnsiToUtf8(Ansi).c_str()); }

// "HKLM\Software\X" (ANSI from the UTF-8 command line) split into the root and the path.
std::pair<TRootKey, std::string> ParseKey(const std::string& Arg) {
  std::string key = Utf8ToAnsi(Arg);
  size_t slash = key.find('\\');
  auto root = RootKeyFromName(key.substr(0, slash));
  if (!root) throw Exception("Unknown root key in \"" + Arg + "\" (HKLM, HKCU, HKCR ...)");
  return {*root, slash == std::string::npos ? std::string() : key.substr(slash + 1)};
}

TRegKey OpenExisting(const std::string& Arg) {
  auto [root, path] = ParseKey(Arg);
  auto key = TRegKey::Open(root, path);
  if (!key) throw Exception("The key \"" + Arg + "\" does not exist");
  return *key;
}

std::string ShowData(const TRegValue& Value) {
  if (Value.Type == TRegType::rtString || Value.Type == TRegType::rtExpandString) return Value.Data;
  if (Value.Type == TRegType::rtMultiString) {
    std::string shown = Value.Data;
    while (!shown.empty() && shown.back() == '\0') shown.pop_back();
    return StringReplaceAll(shown, std::string(1, '\0'), "\\0");
  }
  if (auto dw = Value.AsDWord(); dw && Value.Type == TRegType::rtDWord) return "0x" + IntToHex(*dw, 1);
  std::string hex;
  for (unsigned char c : Value.Data) hex += IntToHex(c, 2);
  return hex;
}

void PrintValue(const TRegValue& Value) {
  Print("    " + (Value.Name.empty() ? std::string("(Default)") : Value.Name) + "    " + TypeName(Value.Type) + "    " +
        ShowData(Value));
}

std::string HexToBytes(const std::string& Hex) {
  std::string clean;
  for (char c : Hex)
    if (c != ',' && c != ' ') clean.push_back(c);
  if (clean.size() % 2) throw Exception("Binary data needs an even number of hex digits");
  std::string bytes;
  for (size_t i = 0; i < clean.size(); i += 2) bytes.push_back(char(StrToInt("$" + clean.substr(i, 2))));
  return bytes;
}

int Query(const TArgs& Args) {
  if (Args.empty() || Args.size() > 2) throw Exception(kUsage);
  TRegKey key = OpenExisting(Args[0]);
  if (Args.size() == 2) {
    auto value = key.ReadValue(Utf8ToAnsi(Args[1]));
    if (!value) throw Exception("The value \"" + Args[1] + "\" does not exist in " + Args[0]);
    PrintValue(*value);
    return 0;
  }
  Print(key.FullName());
  for (const auto& value : key.Values()) PrintValue(value);
  for (const auto& name : key.SubKeyNames()) Print(key.FullName() + "\\" + name);
  return 0;
}

int Set(const TArgs& Args) {
  if (Args.size() != 4) throw Exception(kUsage);
  auto [root, path] = ParseKey(Args[0]);
  TRegKey key = TRegKey::Create(root, path);
  std::string name = Utf8ToAnsi(Args[1]);
  std::string data = Utf8ToAnsi(Args[3]);
  const std::string& type = Args[2];
  if (SameText(type, "REG_SZ"))
    key.WriteString(name, data);
  else if (SameText(type, "REG_EXPAND_SZ"))
    key.WriteExpandString(name, data);
  else if (SameText(type, "REG_MULTI_SZ")) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t sep; (sep = data.find("\\0", start)) != std::string::npos; start = sep + 2)
      items.push_back(data.substr(start, sep - start));
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

int Delete(const TArgs& Args) {
  if (Args.empty() || Args.size() > 2) throw Exception(kUsage);
  if (Args.size() == 2) {
    if (!OpenExisting(Args[0]).DeleteValue(Utf8ToAnsi(Args[1])))
      throw Exception("The value \"" + Args[1] + "\" does not exist in " + Args[0]);
    return 0;
  }
  auto [root, path] = ParseKey(Args[0]);
  TRegKey key = OpenExisting(Args[0]);
  if (key.HasSubKeys()) throw Exception("The key \"" + Args[0] + "\" has subkeys; delete them first");
  if (!TRegKey::Delete(root, path)) throw Exception("Cannot delete the key \"" + Args[0] + "\"");
  return 0;
}

int Export(const TArgs& Args) {
  if (Args.size() < 2 || Args.size() > 3 || (Args.size() == 3 && Args[2] != "--regedit4")) throw Exception(kUsage);
  TRegKey key = OpenExisting(Args[0]);
  std::string bytes = ExportRegFile(key, Args.size() == 3 ? TRegFileFormat::rfRegedit4 : TRegFileFormat::rfVersion5);
  std::ofstream out(Args[1], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw Exception("Cannot write \"" + Args[1] + "\"");
  return 0;
}

} // namespace

int CmdReg(const TArgs& Args) {
  if (Args.empty()) throw Exception(kUsage);
  TArgs rest(Args.begin() + 1, Args.end());
  if (Args[0] == "query") return Query(rest);
  if (Args[0] == "export") return Export(rest);
  int status;
  if (Args[0] == "set")
    status = Set(rest);
  else if (Args[0] == "delete")
    status = Delete(rest);
  else
    throw Exception(kUsage);
  // Only a change is written out (so that Wine, started next, sees it): a read must work
  // where nothing can be written, on a full disk or a read-only machine.
  TMachine::Current().Flush();
  return status;
}

} // namespace qnl::tool
