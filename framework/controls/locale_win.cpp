#include "framework/controls/control.h"

#include "base/win_api.h"

namespace framework {

bool NativeRightToLeftLocale() { return GetSystemMetrics(SM_MIDEASTENABLED) != 0; }

}  // namespace framework
