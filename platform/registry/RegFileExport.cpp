// Export of a registry key tree in regedit's .reg format.
#include "platform/registry/RegFileExport.h"

#include <cstdio>

#include "platform/registry/AnsiText.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

// regedit escapes only the backslash and the quote in names and string data.
std::string QuoteRegText(const std::string& Text) {
  std::string out = "\"";
  for (char c : Text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

// The bytes regedit stores for a value of a text type: UTF-16LE (version 5) or ANSI (REGEDIT4), with NULs.
std::string TextBytes(const TRegValue& Value, TRegFileFormat Format) {
  if (Format == TRegFileFormat::rfVersion5) return AnsiToRegText(Value.Data);
  return Value.Data + std::string(1, '\0');
}

void AppendHex(std::string& Line, const std::string& Bytes, std::string& Out) {
  char buf[4];
  for (size_t i = 0; i < Bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", (unsigned char)Bytes[i]);
    Line += buf;
    if (i + 1 < Bytes.size()) {
      Line += ",";
      if (Line.size() > 76) { // regedit wraps long hex lines the same way
        Out += Line + "\\\r\n";
        Line = "  ";
      }
    }
  }
  Out += Line + "\r\n";
}

void ExportValue(const TRegValue& Value, TRegFileFormat Format, std::string& Out) {
  std::string line = Value.Name.empty() ? "@=" : QuoteRegText(Value.Name) + "=";
  bool plainText = Value.Data.find('\0') == std::string::npos;
  if (Value.Type == TRegType::rtString && plainText) {
    Out += line + QuoteRegText(Value.Data) + "\r\n";
    return;
  }
  if (Value.Type == TRegType::rtDWord && Value.Data.size() == 4) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "dword:%08x", *Value.AsDWord());
    Out += line + buf + "\r\n";
    return;
  }
  std::string bytes = IsStringType(Value.Type) ? TextBytes(Value, Format) : Value.Data;
  if (Value.Type == TRegType::rtBinary) {
    line += "hex:";
  } else {
    char buf[20];
    std::snprintf(buf, sizeof buf, "hex(%x):", unsigned(Value.Type));
    line += buf;
  }
  AppendHex(line, bytes, Out);
}

void ExportKey(const TRegKey& Key, TRegFileFormat Format, std::string& Out) {
  Out += "\r\n[" + Key.FullName() + "]\r\n";
  for (const auto& value : Key.Values()) ExportValue(value, Format, Out);
  for (const auto& name : Key.SubKeyNames())
    if (auto sub = Key.OpenSubKey(name)) ExportKey(*sub, Format, Out);
}

} // namespace

std::string ExportRegFile(const TRegKey& Key, TRegFileFormat Format) {
  std::string text = Format == TRegFileFormat::rfVersion5 ? "Windows Registry Editor Version 5.00\r\n" : "REGEDIT4\r\n";
  ExportKey(Key, Format, text);
  text += "\r\n";
  if (Format == TRegFileFormat::rfRegedit4) return text;
  std::string utf16 = "\xff\xfe";
  AppendUtf16LE(utf16, AnsiToWide(text));
  return utf16;
}

} // namespace qnl
