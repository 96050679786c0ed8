// The typed lists of installation containers and of install files.
#pragma once

#include "engine/TTypedList.h"
#include "engine/exceptions_Engine.h"

namespace qnl {

class TInstallContainer;
class TCustomInstallFile;

class TInstallContainerList : public TTypedList<TInstallContainer, IEContainerList> {
public:
  TInstallContainerList() : TTypedList("Cannot add a blank entry to the TInstallContainerList object") {}
};

class TCustomInstallFileList : public TTypedList<TCustomInstallFile, IECustomInstallFileList> {
public:
  TCustomInstallFileList() : TTypedList("Cannot add a blank entry to the TCustomInstallFileList object") {}
};

} // namespace qnl
