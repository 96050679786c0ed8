// Fuzz target: the registry hive parser and the journal decoder never crash; a hive
// they accept is written and read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry/HiveJournal.h"
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t recordSize = 0;
  while (auto record = qnl::DecodeJournalRecord(input, recordSize)) {
    qnl::TKeyNode root;
    record->ApplyTo(root);
    input.remove_prefix(recordSize);
  }
  std::string text("WINE REGISTRY Version 2\n");
  text.append(reinterpret_cast<const char*>(data), size);
  try {
    qnl::THiveText hive = qnl::ParseHiveText(text, "fuzz.reg");
    std::string written = qnl::FormatHiveText(*hive.Root, hive.HeaderLines);
    qnl::THiveText again = qnl::ParseHiveText(written, "fuzz-again.reg");
    if (qnl::FormatHiveText(*again.Root, again.HeaderLines) != written) std::abort();
  } catch (const qnl::EHiveDamaged& e) {
    if (std::string(e.what()).find("\"fuzz.reg\", line ") == std::string::npos) std::abort();
  }
  return 0;
}
