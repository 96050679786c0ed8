// The files the batch interpreter's tests and fuzz target start from: where a misread path
// would land. The machine's temporary directory is "C:\my  temp" (a run of two blanks) in the
// tests; "C:\my" and C:\ are what a misread path would name instead.
#pragma once

namespace qnl::test {

inline constexpr const char* kBatchTree[] = {
    "C:\\keep.txt",
    "C:\\my\\keep.txt",
    "C:\\my  temp\\QNL1\\setup.exe",
    "C:\\my  temp\\QNL1\\sub\\f.txt",
    "C:\\windows\\win.ini",
    "C:\\windows\\system32\\kernel32.dll",
    "C:\\Program Files\\App\\app.dll",
};

} // namespace qnl::test
