// TqnlfRegistry: absolute and relative key paths, tree deletion.
#include "settings/cmp_TQnlfRegistry.h"

namespace qnl {

std::optional<TRegKey> TqnlfRegistry::Resolve(const std::string& Key, std::string& Below) const {
  if (!Key.empty() && Key[0] == '\\') {
    Below = Key.substr(1);
    return TRegKey::Open(RootKey(), "");
  }
  Below = Key;
  return BaseKey();
}

bool TqnlfRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  std::string below;
  auto base = Resolve(Key, below);
  if (!base) return false;
  // OpenKeyReadOnly asks for reading only; every other open gets these rights.
  uint32_t access = Access() == KEY_READ ? KEY_READ : KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;
  std::optional<TRegKey> key = base->OpenSubKey(below);
  if (!key && CanCreate) {
    try {
      key = base->CreateSubKey(below);
    } catch (const ERegistry&) {
      return false;
    }
    access = KEY_ALL_ACCESS;
  }
  if (!key) return false;
  bool relative = Key.empty() || Key[0] != '\\';
  std::string path = relative && HasCurrentKey() && !CurrentPath().empty() ? CurrentPath() + "\\" + Key : Key;
  ChangeKey(*key, path, access);
  return true;
}

bool TqnlfRegistry::KeyExists(const std::string& Key) {
  std::string below;
  auto base = Resolve(Key, below);
  return base && base->OpenSubKey(below).has_value();
}

bool TqnlfRegistry::DeleteTree(const TRegKey& Parent, const std::string& Name) {
  auto key = Parent.OpenSubKey(Name);
  if (!key) return false;
  for (const auto& sub : key->SubKeyNames()) DeleteTree(*key, sub);
  return Parent.DeleteSubKey(Name);
}

bool TqnlfRegistry::DeleteKey(const std::string& Key) {
  std::string below;
  auto base = Resolve(Key, below);
  if (!base) return false;
  // The parent of the key to delete, so that DeleteSubKey gets a single name.
  size_t slash = below.find_last_of('\\');
  std::optional<TRegKey> parent = slash == std::string::npos ? base : base->OpenSubKey(below.substr(0, slash));
  if (!parent) return false;
  return DeleteTree(*parent, slash == std::string::npos ? below : below.substr(slash + 1));
}

} // namespace qnl
