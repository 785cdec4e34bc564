#include "base/error.h"
#include "skin/sui_themes.h"

namespace skin {

// Only Windows executables carry BITMAP resources.
graphics::TBitmap LoadModulePicture(const std::string& name) {
  throw base::Error(base::FormatText("Resource %s not found", {name}));
}

}  // namespace skin
