// Types shared by the subsystems.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "rtl/TSet.h"
#include "rtl/TypInfo.h"

namespace qnl {

QNL_ENUM(TInstallType, itFull, itDefault, itCompact, itCustom)
using TInstallTypeSet = TSet<TInstallType>;

QNL_ENUM(TlzhCommand, lzcOverwrite, lzcOnlyAdd)

QNL_ENUM(TOverwriteType, owAlways, owNever, owVersion, owDate, owVersionDate)

class TObject;
// Download progress; Buffer holds the received block, or is null when only figures travel.
using TDataReceivedEvent = std::function<void(TObject* Sender, const std::string& FileName, int32_t Bytes,
                                              int32_t TotalBytes, int32_t FileSize, const void* Buffer)>;

} // namespace qnl
