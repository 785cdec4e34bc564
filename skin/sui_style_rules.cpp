#include "skin/sui_style_rules.h"

#include "framework/controls/form.h"
#include "framework/core/rtti.h"
#include "skin/sui_file_theme.h"

namespace skin {

TsuiUIStyle GetOwnerUIStyle(framework::TComponent* owner) {
  auto* form = dynamic_cast<framework::TCustomForm*>(owner);
  if (!form) return DeepBlue;
  // By name: the skinned form is a later layer than the controls that ask,
  // and a program without one simply never finds it.
  for (int i = 0; i < form->ControlCount(); ++i) {
    framework::TControl* c = form->Controls(i);
    if (!c->ClassInfo().InheritsFrom("TsuiForm")) continue;
    auto value = framework::GetPropertyValue(*c, "UIStyle");
    if (auto* n = std::get_if<std::int32_t>(&value)) return static_cast<TsuiUIStyle>(*n);
    return DeepBlue;
  }
  return DeepBlue;
}

void PropagateUIStyle(framework::TWinControl* container, TsuiUIStyle style,
                      framework::TComponent* file_theme) {
  if (!container) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    framework::TControl* c = container->Controls(i);
    if (!framework::HasPublishedProperty(*c, "FileTheme") ||
        !framework::HasPublishedProperty(*c, "UIStyle"))
      continue;
    framework::SetPropertyValue(*c, "FileTheme", file_theme);
    framework::SetPropertyValue(*c, "UIStyle", static_cast<std::int32_t>(style));
  }
}

const TsuiFileTheme* AsFileTheme(const framework::TComponent* component) {
  // By the class registry rather than dynamic_cast, whose type information
  // would link the file theme's code into every program with a skinned
  // control. The component's ClassInfo() comes first: it registers its
  // class, so a file theme is always found.
  if (!component) return nullptr;
  const framework::TClassInfo& info = component->ClassInfo();
  const framework::TClassInfo* theme = framework::FindClass("TsuiFileTheme");
  return theme && info.InheritsFrom(*theme) ? static_cast<const TsuiFileTheme*>(component)
                                            : nullptr;
}

}  // namespace skin
