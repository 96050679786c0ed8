// TqnlfRegistry: the registry class every settings helper goes through.
#pragma once

#include "settings/TRegistry.h"

namespace qnl {

// A TRegistry whose key paths starting with "\" are absolute (from the root key) and
// others relative to the current key (else the root); deleting a key deletes its
// whole tree, depth first.
class TqnlfRegistry : public TRegistry {
public:
  // Without creation the key is opened for reading, creating subkeys and setting values;
  // with creation an existing key is opened the same way, a missing one created with
  // full access.
  bool OpenKey(const std::string& Key, bool CanCreate) override;
  // Deletes every subkey, depth first in enumeration order, then the key; the result
  // is whether the last deletion succeeded.
  bool DeleteKey(const std::string& Key) override;
  // A read-only open test.
  bool KeyExists(const std::string& Key) override;

private:
  // The key a path starts from and the path below it.
  std::optional<TRegKey> Resolve(const std::string& Key, std::string& Below) const;
  bool DeleteTree(const TRegKey& Parent, const std::string& Name);
};

} // namespace qnl
