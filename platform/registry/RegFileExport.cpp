// Export of a registry key tree in regedit's .reg format.
#include "platform/registry/RegFileExport.h"

#include <cstdio>

#include "platform/registry/AnsiText.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

// regedit escapes only the backslash and the quote in names and string data.
std::string QuoteRegText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

// The bytes regedit stores for a value of a text type: UTF-16LE (version 5) or ANSI (REGEDIT4), with NULs.
std::string TextBytes(const TRegValue& value, TRegFileFormat format) {
  if (format == TRegFileFormat::Version5) return AnsiToRegText(value.Data);
  return value.Data + std::string(1, '\0');
}

void AppendHex(std::string& line, const std::string& bytes, std::string& out) {
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", (unsigned char)bytes[i]);
    line += buf;
    if (i + 1 < bytes.size()) {
      line += ",";
      if (line.size() > 76) { // regedit wraps long hex lines the same way
        out += line + "\\\r\n";
        line = "  ";
      }
    }
  }
  out += line + "\r\n";
}

void ExportValue(const TRegValue& value, TRegFileFormat format, std::string& out) {
  std::string line = value.Name.empty() ? "@=" : QuoteRegText(value.Name) + "=";
  bool plainText = value.Data.find('\0') == std::string::npos;
  if (value.Type == TRegType::String && plainText) {
    out += line + QuoteRegText(value.Data) + "\r\n";
    return;
  }
  if (value.Type == TRegType::DWord && value.Data.size() == 4) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "dword:%08x", *value.AsDWord());
    out += line + buf + "\r\n";
    return;
  }
  std::string bytes = IsStringType(value.Type) ? TextBytes(value, format) : value.Data;
  if (value.Type == TRegType::Binary) {
    line += "hex:";
  } else {
    char buf[20];
    std::snprintf(buf, sizeof buf, "hex(%x):", unsigned(value.Type));
    line += buf;
  }
  AppendHex(line, bytes, out);
}

void ExportKey(const TRegKey& key, TRegFileFormat format, std::string& out) {
  out += "\r\n[" + key.FullName() + "]\r\n";
  for (const auto& value : key.Values()) ExportValue(value, format, out);
  for (const auto& name : key.SubKeyNames())
    if (auto sub = key.OpenSubKey(name)) ExportKey(*sub, format, out);
}

} // namespace

std::string ExportRegFile(const TRegKey& key, TRegFileFormat format) {
  std::string text = format == TRegFileFormat::Version5 ? "Windows Registry Editor Version 5.00\r\n" : "REGEDIT4\r\n";
  ExportKey(key, format, text);
  text += "\r\n";
  if (format == TRegFileFormat::Regedit4) return text;
  std::string utf16 = "\xff\xfe";
  AppendUtf16LE(utf16, AnsiToWide(text));
  return utf16;
}

} // namespace qnl
