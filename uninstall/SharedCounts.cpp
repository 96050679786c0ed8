// Shared-file counts taken off once per uninstall.
#include "uninstall/SharedCounts.h"

#include "common/routines_API.h"
#include "engine/SystemRegistryKeys.h"
#include "platform/files/Files.h"
#include "platform/registry/Registry.h"
#include "rtl/SysUtils.h"

namespace qnl {

namespace {

// A marker: "<counted name>|<count to become>[|remove or keep]"; "|" is in no Windows path.
struct TMarker {
  std::string Counted;
  uint32_t Target = 0;
  std::optional<bool> Removal;
};

std::optional<TMarker> ParseMarker(const std::string& Text) {
  size_t first = Text.find('|');
  if (first == std::string::npos) return std::nullopt;
  size_t second = Text.find('|', first + 1);
  int64_t target = 0;
  if (!TryStrToInt(Text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1),
                   target) ||
      target < 0)
    return std::nullopt;
  TMarker marker{Text.substr(0, first), static_cast<uint32_t>(target), std::nullopt};
  if (second != std::string::npos) marker.Removal = Text.substr(second + 1) == "remove";
  return marker;
}

std::string MarkerText(const TMarker& Marker) {
  std::string text = Marker.Counted + "|" + IntToStr(Marker.Target);
  if (Marker.Removal) text += *Marker.Removal ? "|remove" : "|keep";
  return text;
}

std::optional<uint32_t> CountOf(const std::string& Name) {
  std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, kSharedDLLsKey);
  return key ? key->ReadDWord(Name) : std::nullopt;
}

} // namespace

TSharedCounts::TSharedCounts(std::string UninstallKey) : FUninstallKey(std::move(UninstallKey)) {}

std::string TSharedCounts::MarkerKey() const { return FUninstallKey + "\\Released Counts"; }

std::string TSharedCounts::CountedName(const std::string& Path) const {
  if (std::optional<std::string> text = TRegKey::ReadStringAt(TRootKey::rkLocalMachine, MarkerKey(), UpperCase(Path)))
    if (std::optional<TMarker> marker = ParseMarker(*text)) return marker->Counted;
  // The installation counts under the short name when that is counted already.
  if (FileExists(Path)) {
    std::string shortName = GetShortPath(Path);
    if (!SameText(shortName, Path) && CountOf(shortName)) return shortName;
  }
  return Path;
}

TSharedRelease TSharedCounts::Release(const std::string& Path) {
  TSharedRelease release;
  std::optional<std::string> text = TRegKey::ReadStringAt(TRootKey::rkLocalMachine, MarkerKey(), UpperCase(Path));
  std::optional<TMarker> marker = text ? ParseMarker(*text) : std::nullopt;
  if (marker) {
    // An earlier run got this far: finish what it began, never more.
    std::optional<uint32_t> count = CountOf(marker->Counted);
    if (marker->Target > 0 && count == marker->Target + 1)
      TRegKey::Create(TRootKey::rkLocalMachine, kSharedDLLsKey).WriteDWord(marker->Counted, marker->Target);
    return {true, marker->Target, marker->Removal};
  }
  std::string counted = CountedName(Path);
  std::optional<uint32_t> count = CountOf(counted);
  if (!count) return release;
  TMarker fresh{counted, *count > 0 ? *count - 1 : 0, std::nullopt};
  TRegKey::Create(TRootKey::rkLocalMachine, MarkerKey()).WriteString(UpperCase(Path), MarkerText(fresh));
  if (fresh.Target > 0) TRegKey::Create(TRootKey::rkLocalMachine, kSharedDLLsKey).WriteDWord(counted, fresh.Target);
  return {true, fresh.Target, std::nullopt};
}

void TSharedCounts::NoteRemoval(const std::string& Path, bool Remove) {
  std::optional<std::string> text = TRegKey::ReadStringAt(TRootKey::rkLocalMachine, MarkerKey(), UpperCase(Path));
  std::optional<TMarker> marker = text ? ParseMarker(*text) : std::nullopt;
  if (!marker) return;
  marker->Removal = Remove;
  TRegKey::Create(TRootKey::rkLocalMachine, MarkerKey()).WriteString(UpperCase(Path), MarkerText(*marker));
}

void TSharedCounts::Forget(const std::string& Path) {
  if (std::optional<TRegKey> key = TRegKey::Open(TRootKey::rkLocalMachine, kSharedDLLsKey))
    key->DeleteValue(CountedName(Path));
}

} // namespace qnl
