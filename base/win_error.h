#pragma once
// The system's text for a Win32 error code, as GBK, without the trailing
// line break that FormatMessage leaves.
#include <string>

namespace base {
std::string SystemErrorText(unsigned long code);
}
