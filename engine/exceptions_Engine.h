// The errors of the installation object model: containers, their lists and file containers.
#pragma once

#include "common/exceptions_Quenloft.h"

namespace qnl {

// Helper list and reference errors of every installation container.
QNL_IEXCEPTION(IEInstallContainer, IException);
QNL_IEXCEPTION(IEContainerList, IException);
QNL_IEXCEPTION(IECustomInstallFileList, IException);
QNL_IEXCEPTION(IEFileRelated, IException);
// A file-related component found no net location to fetch its archive from.
QNL_IEXCEPTION(IEFileRel_NoNetLocation, IEFileRelated);
QNL_IEXCEPTION(IEFileContainer, IException);
// A file container already holds a file with that source path.
QNL_IEXCEPTION(IEfcDuplicateFile, IEFileContainer);
QNL_IEXCEPTION(IEInstallGroup, IException);
// An answer file with a value a page cannot take; the run ends with kExitAnswerFile.
QNL_EXCEPTION(EAnswerFile, Exception);

} // namespace qnl
