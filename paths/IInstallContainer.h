// What the meta variables need of an installation container, without depending on it.
#pragma once

#include <string>

namespace qnl {

// An installation container as the meta variables %a and %c see it. The engine's install
// containers implement this.
class IInstallContainer {
public:
  virtual ~IInstallContainer() = default;
  // Its destination directory: its specifier's path followed by its DestDir, without a
  // trailing backslash.
  virtual std::string GetDestDir() = 0;
  // The container it sits in (its Container property), or nullptr when it has none or is
  // not an object that sits in a container.
  virtual IInstallContainer* GetContainer() const = 0;
};

} // namespace qnl
