// The in-memory tree of one registry hive.
#include "platform/registry/HiveTree.h"

#include <chrono>

namespace qnl {

namespace {

char16_t FoldChar(char16_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? char16_t(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 32);
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return char16_t(c & ~1u);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : char16_t(c - 1);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return char16_t(c - 32);
  if (c >= 0x430 && c <= 0x44F) return char16_t(c - 32);
  if (c >= 0x450 && c <= 0x45F) return char16_t(c - 80);
  return c;
}

} // namespace

TRegName FoldRegName(std::u16string_view name) {
  TRegName result(name);
  for (auto& c : result) c = FoldChar(c);
  return result;
}

TKeyNode* TKeyNode::FindSubKey(std::u16string_view name) const {
  auto it = SubKeys.find(FoldRegName(name));
  return it == SubKeys.end() ? nullptr : it->second.get();
}

TKeyNode* TKeyNode::EnsureSubKey(std::u16string_view name, uint64_t time) {
  auto& slot = SubKeys[FoldRegName(name)];
  if (!slot) {
    slot = std::make_unique<TKeyNode>();
    slot->Name = TRegName(name);
    slot->Modified = time;
    Modified = time;
  }
  return slot.get();
}

const TValueNode* TKeyNode::FindValue(std::u16string_view name) const {
  auto it = Values.find(FoldRegName(name));
  return it == Values.end() ? nullptr : &it->second;
}

TKeyNode* FindKey(TKeyNode& root, const TRegPath& path) {
  TKeyNode* key = &root;
  for (const auto& name : path) {
    key = key->FindSubKey(name);
    if (!key) return nullptr;
  }
  return key;
}

const TKeyNode* FindKey(const TKeyNode& root, const TRegPath& path) {
  return FindKey(const_cast<TKeyNode&>(root), path); // the walk does not change the tree
}

TKeyNode* EnsureKey(TKeyNode& root, const TRegPath& path, uint64_t time) {
  TKeyNode* key = &root;
  for (const auto& name : path) key = key->EnsureSubKey(name, time);
  return key;
}

uint64_t FileTimeNow() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
  return kTicks1601To1970 + uint64_t(ticks);
}

} // namespace qnl
