// The in-memory tree of one registry hive.
#include "platform/registry/HiveTree.h"

#include <chrono>

namespace qnl {

namespace {

char16_t FoldChar(char16_t C) {
  if (C < 0x80) return (C >= 'a' && C <= 'z') ? char16_t(C - 32) : C;
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return char16_t(C - 32);
  if (C == 0xFF) return 0x178;
  if ((C >= 0x100 && C <= 0x137) || (C >= 0x14A && C <= 0x177)) return char16_t(C & ~1u);
  if ((C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E)) return (C & 1) ? C : char16_t(C - 1);
  if (C >= 0x3B1 && C <= 0x3C9 && C != 0x3C2) return char16_t(C - 32);
  if (C >= 0x430 && C <= 0x44F) return char16_t(C - 32);
  if (C >= 0x450 && C <= 0x45F) return char16_t(C - 80);
  return C;
}

} // namespace

TRegName FoldRegName(std::u16string_view Name) {
  TRegName result(Name);
  for (auto& c : result) c = FoldChar(c);
  return result;
}

TKeyNode* TKeyNode::FindSubKey(std::u16string_view Name) const {
  auto it = SubKeys.find(FoldRegName(Name));
  return it == SubKeys.end() ? nullptr : it->second.get();
}

TKeyNode* TKeyNode::EnsureSubKey(std::u16string_view Name, uint64_t Time) {
  auto& slot = SubKeys[FoldRegName(Name)];
  if (!slot) {
    slot = std::make_unique<TKeyNode>();
    slot->Name = TRegName(Name);
    slot->Modified = Time;
    Modified = Time;
  }
  return slot.get();
}

const TValueNode* TKeyNode::FindValue(std::u16string_view Name) const {
  auto it = Values.find(FoldRegName(Name));
  return it == Values.end() ? nullptr : &it->second;
}

TKeyNode* FindKey(TKeyNode& Root, const TRegPath& Path) {
  TKeyNode* key = &Root;
  for (const auto& name : Path) {
    key = key->FindSubKey(name);
    if (!key) return nullptr;
  }
  return key;
}

const TKeyNode* FindKey(const TKeyNode& Root, const TRegPath& Path) {
  return FindKey(const_cast<TKeyNode&>(Root), Path); // the walk does not change the tree
}

TKeyNode* EnsureKey(TKeyNode& Root, const TRegPath& Path, uint64_t Time) {
  TKeyNode* key = &Root;
  for (const auto& name : Path) key = key->EnsureSubKey(name, Time);
  return key;
}

uint64_t FileTimeNow() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
  return kTicks1601To1970 + uint64_t(ticks);
}

} // namespace qnl
