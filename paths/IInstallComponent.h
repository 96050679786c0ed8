// What the path specifiers need of the project's install component, without depending on it.
#pragma once

#include <optional>
#include <string>

#include "common/exceptions_Quenloft.h"

namespace qnl {

// Every error of the install component, including those its path specifiers raise for it.
QNL_IEXCEPTION(IEInstall, IException);

class TComponent;

// The project's install component as the path specifiers see it. The install component
// implements this and registers itself while it exists; at most one is current.
class IInstallComponent {
public:
  virtual ~IInstallComponent() = default;
  // The install component itself.
  virtual TComponent* InstallComponent() = 0;
  // The directory the installation runs from, without a trailing backslash.
  virtual std::string InstallSource() const = 0;
  // The install component's expanded destination directory.
  virtual std::string MainInstallDir() = 0;
  // The argument of the self-extractor switch (-e) when that switch was given.
  virtual std::optional<std::string> SelfExtractorArgument() const = 0;
};

// The current install component, or nullptr when the project has none (yet).
IInstallComponent* CurrentInstallComponent();
void SetCurrentInstallComponent(IInstallComponent* Install);

} // namespace qnl
