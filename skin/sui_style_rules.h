#pragma once
// The rules every skinned control follows for its theme beyond the table:
// the style a new control starts with, and handing a style and file theme
// down to a container's children.
#include "framework/core/component.h"
#include "skin/sui_themes.h"

namespace framework {
class TWinControl;
}

namespace skin {

// The UIStyle of the first skinned form component (TsuiForm) among the
// owner form's direct child controls; DeepBlue when the owner is no form or
// carries none.
TsuiUIStyle GetOwnerUIStyle(framework::TComponent* owner);

// Sets "FileTheme" and then "UIStyle" (through their setters) on every
// direct child control of container that publishes both; grandchildren are
// left to their parents.
void PropagateUIStyle(framework::TWinControl* container, TsuiUIStyle style,
                      framework::TComponent* file_theme);

// The file theme a control refers to, as the look-ups see it (null when the
// component is no file theme).
const TsuiFileTheme* AsFileTheme(const framework::TComponent* component);

}  // namespace skin
