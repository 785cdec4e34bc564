#pragma once
// Makes a form from a parsed layout: sets the root's properties, creates
// every object inside it by class name with the root as owner, gives each
// its parent, sets its properties in the order written, binds events to
// the root's handlers by name, resolves component references once every
// component exists, and finally lets each component finish loading.
#include <functional>
#include <string>
#include <string_view>

#include "framework/core/component.h"
#include "framework/core/layout_parser.h"
#include "framework/core/rtti.h"

namespace framework {

// What loading needs from the toolkit that the portable core cannot know.
struct TLayoutContext {
  // Makes parent the parent of child (for controls: child's Parent); called
  // right after child is created and named, before its properties are set.
  // The root is the parent of the top-level objects. Left empty, objects
  // get no parent.
  std::function<void(TComponent& child, TComponent& parent)> set_parent;
  // The value a Picture property takes for resource("NAME"); it may throw
  // base::Error (no such resource). Left empty, pictures are an error.
  std::function<TPropValue(const std::string& resource_name)> load_picture;
};

// Loads tree into root (see above for the order of events). The tree's
// class must be root's class or one it inherits from; root takes the
// tree's name. Every component is in the loading state while its
// properties are set; EndLoading() (and so Loaded()) comes for the created
// components in creation order, then for the root.
//
// Throws TLayoutError with the position of the offending text: unknown or
// abstract class, unknown property, a value of the wrong kind or range,
// unknown enum or set name, unknown component, a reference to a component
// of the wrong class, unknown handler or one of the wrong type, duplicate
// component name, a picture that cannot be loaded, or whatever a setter
// throws as base::Error. Then every component the load created is freed
// again and the root leaves the loading state without Loaded(); the
// properties already set on the root stay set.
void LoadLayout(TComponent& root, const TLayoutObject& tree, const TLayoutContext& context);

// ParseLayout and LoadLayout together.
void LoadLayoutText(TComponent& root, std::string_view utf8, const TLayoutContext& context);

}  // namespace framework
