// The path specifier of one file container: the directory that container installs into.
#pragma once

#include "paths/cmp_TPathSpecifier.h"

namespace qnl {

class TFileContainer;

// Names the destination directory of its FileContainer for shortcuts and other components;
// files and containers may never use it. Renaming it to a name another component of the
// owner holds moves that other component aside (nameClash1, nameClash2, ...).
class TpsFileContainer : public TCustomPathSpecifier {
  QNL_CLASS(TpsFileContainer, TCustomPathSpecifier)
public:
  explicit TpsFileContainer(TComponent* AOwner);

  TFileContainer* FileContainer() const { return FFileContainer; }
  void SetFileContainer(TFileContainer* Value);

  void Validate(TComponent* Component) const override;
  std::string GetPath(TComponent* Component) const override;
  std::string GetDescription() const override;
  std::string GetShortName() const override;
  void SetName(const std::string& NewName) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Named by its container at creation: the first free of psFileContainer, psFileContainer1, ...
  void NameAutomatically();

private:
  TFileContainer* FFileContainer = nullptr;
  // Set while the container names it, so that no clash handling runs.
  bool FNamingByContainer = false;
};

} // namespace qnl
