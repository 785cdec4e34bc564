#include "framework/core/layout_loader.h"

#include <algorithm>
#include <limits>
#include <map>

#include "base/error.h"
#include "framework/core/ascii.h"

namespace framework {
namespace {

// A component reference waits until every component of the layout exists.
struct PendingReference {
  TPersistent* instance;
  const TPropInfo* prop;
  std::string name;
  TLayoutPosition position;
};

// Runs fn; a base::Error from a setter, a factory or a seam becomes a
// TLayoutError at the text it came from.
template <typename Fn>
void At(TLayoutPosition position, Fn&& fn) {
  try {
    fn();
  } catch (const TLayoutError&) {
    throw;
  } catch (const base::Error& e) {
    throw TLayoutError(position, e.what());
  }
}

TLayoutPosition Shifted(TLayoutPosition p, std::size_t columns) {
  p.column += static_cast<int>(columns);
  return p;
}

class Loader {
public:
  Loader(TComponent& root, const TLayoutContext& context) : root_(root), context_(context) {}

  void Load(const TLayoutObject& tree) {
    CheckRootClass(tree);
    std::map<std::string, TLayoutPosition> seen;
    for (const TLayoutObject& child : tree.children) CheckNames(tree, child, seen);

    root_.BeginLoading();
    try {
      root_.SetName(tree.name);
      SetProperties(root_, tree);
      for (const TLayoutObject& child : tree.children) CreateObject(child, root_);
      ResolveReferences();
    } catch (...) {
      FreeCreated();
      root_.CancelLoading();
      throw;
    }
    for (TComponent* c : created_) c->EndLoading();
    root_.EndLoading();
  }

private:
  void CheckRootClass(const TLayoutObject& tree) {
    for (const TClassInfo* c = &root_.ClassInfo(); c; c = c->Parent()) {
      if (SameText(c->ClassName(), tree.class_name)) return;
    }
    throw TLayoutError(tree.class_position,
                       base::FormatText("the form is a %s, which is no %s",
                                        {root_.ClassInfo().ClassName(), tree.class_name}));
  }

  // Names are checked before anything is made, so that a clash is reported
  // where it is written whatever else is wrong further down.
  void CheckNames(const TLayoutObject& root, const TLayoutObject& obj,
                  std::map<std::string, TLayoutPosition>& seen) {
    std::string key = AsciiLowerCase(obj.name);
    if (auto it = seen.find(key); it != seen.end()) {
      throw TLayoutError(obj.name_position,
                         base::FormatText("a component named %s is already there (line %s)",
                                          {obj.name, std::to_string(it->second.line)}));
    }
    if (SameText(obj.name, root.name)) {
      throw TLayoutError(obj.name_position,
                         base::FormatText("%s is the name of the form itself", {obj.name}));
    }
    if (root_.FindComponent(obj.name)) {
      throw TLayoutError(obj.name_position,
                         base::FormatText("the form already has a component named %s", {obj.name}));
    }
    seen.emplace(std::move(key), obj.name_position);
    for (const TLayoutObject& child : obj.children) CheckNames(root, child, seen);
  }

  void CreateObject(const TLayoutObject& obj, TComponent& parent) {
    const TClassInfo* cls = FindClass(obj.class_name);
    if (!cls) {
      throw TLayoutError(obj.class_position,
                         base::FormatText("unknown class %s", {obj.class_name}));
    }
    TComponent* component = nullptr;
    At(obj.class_position, [&] { component = cls->Create(&root_); });
    if (!component) {
      throw TLayoutError(obj.class_position,
                         base::FormatText("class %s made no component", {obj.class_name}));
    }
    // Kept before anything else can fail, so that a failure frees it.
    created_.push_back(component);
    if (component->Owner() != &root_) component->ChangeOwner(&root_);
    component->BeginLoading();
    component->SetName(obj.name);
    if (context_.set_parent) At(obj.position, [&] { context_.set_parent(*component, parent); });
    SetProperties(*component, obj);
    for (const TLayoutObject& child : obj.children) CreateObject(child, *component);
  }

  void SetProperties(TComponent& component, const TLayoutObject& obj) {
    for (const TLayoutProperty& prop : obj.properties) {
      TPropertyPath where;
      At(prop.position, [&] { where = ResolvePropertyPath(component, prop.path); });
      if (!where.prop) throw TLayoutError(Shifted(prop.position, where.failed_at), where.problem);
      SetProperty(*where.instance, *where.prop, prop.value);
    }
  }

  [[noreturn]] static void WrongKind(const TPropInfo& prop, const TLayoutValue& value) {
    throw TLayoutError(value.position,
                       base::FormatText("property %s takes %s", {prop.Name(), prop.Describe()}));
  }

  static std::int64_t NameValue(const TPropInfo& prop, const TLayoutValue& name,
                                const char* what) {
    auto n = prop.EnumInfo() ? prop.EnumInfo()->ValueOf(name.text) : std::nullopt;
    if (!n) {
      std::string known = prop.EnumInfo() ? " (" + prop.EnumInfo()->NameList() + ")" : "";
      std::string type = prop.EnumInfo() ? std::string(prop.EnumInfo()->type_name) : "colour";
      throw TLayoutError(name.position,
                         base::FormatText("%s is not %s %s%s", {name.text, what, type, known}));
    }
    return *n;
  }

  static std::int32_t Int32(const TPropInfo& prop, const TLayoutValue& value) {
    if (value.integer < std::numeric_limits<std::int32_t>::min() ||
        value.integer > std::numeric_limits<std::int32_t>::max()) {
      throw TLayoutError(value.position,
                         base::FormatText("%s is out of range for property %s",
                                          {std::to_string(value.integer), prop.Name()}));
    }
    return static_cast<std::int32_t>(value.integer);
  }

  TPropValue Convert(TPersistent& instance, const TPropInfo& prop, const TLayoutValue& value) {
    using K = TLayoutValueKind;
    switch (prop.Kind()) {
      case TPropKind::Integer:
        if (value.kind != K::Integer) WrongKind(prop, value);
        return Int32(prop, value);
      case TPropKind::Boolean:
        if (value.kind != K::Boolean) WrongKind(prop, value);
        return value.boolean;
      case TPropKind::String:
        if (value.kind != K::String) WrongKind(prop, value);
        return value.text;
      case TPropKind::Color:
        if (value.kind == K::Integer) {
          if (value.integer < std::numeric_limits<std::int32_t>::min() ||
              value.integer > std::numeric_limits<std::uint32_t>::max()) {
            throw TLayoutError(value.position, base::FormatText("%s is no 32-bit colour",
                                                                {std::to_string(value.integer)}));
          }
          return static_cast<std::uint32_t>(value.integer);
        }
        if (value.kind == K::Identifier && prop.EnumInfo()) {
          return static_cast<std::uint32_t>(NameValue(prop, value, "a colour of"));
        }
        WrongKind(prop, value);
      case TPropKind::Enum:
        if (value.kind != K::Identifier) WrongKind(prop, value);
        return static_cast<std::int32_t>(NameValue(prop, value, "a value of"));
      case TPropKind::Set: {
        if (value.kind != K::Set) WrongKind(prop, value);
        std::uint32_t bits = 0;
        for (const TLayoutValue& item : value.items) {
          std::int64_t n = NameValue(prop, item, "an element of");
          if (n < 0 || n > 31) {
            throw TLayoutError(item.position,
                               base::FormatText("%s cannot be in a set", {item.text}));
          }
          bits |= 1u << n;
        }
        return bits;
      }
      case TPropKind::Component:
        if (value.kind != K::Identifier) WrongKind(prop, value);
        pending_.push_back({&instance, &prop, value.text, value.position});
        return {};
      case TPropKind::Event:
        if (value.kind != K::Identifier) WrongKind(prop, value);
        return Handler(prop, value);
      case TPropKind::Object:
        // A sub-object is set through its own properties; the refusal explains.
        At(value.position, [&] { rtti_detail::ThrowWrongValue(prop); });
        break;
      case TPropKind::Picture: {
        if (value.kind != K::Resource) WrongKind(prop, value);
        if (!context_.load_picture) {
          throw TLayoutError(value.position, "pictures cannot be loaded here");
        }
        TPropValue picture;
        At(value.position, [&] { picture = context_.load_picture(value.text); });
        return picture;
      }
      case TPropKind::Strings: {
        if (value.kind != K::StringList) WrongKind(prop, value);
        std::vector<std::string> lines;
        for (const TLayoutValue& item : value.items) lines.push_back(item.text);
        return lines;
      }
    }
    WrongKind(prop, value);
  }

  TPropValue Handler(const TPropInfo& prop, const TLayoutValue& name) {
    std::optional<TMethod> method;
    At(name.position, [&] { method = root_.FindMethod(name.text); });
    if (!method || !method->code.has_value()) {
      throw TLayoutError(name.position, base::FormatText("the form has no handler %s (for %s)",
                                                         {name.text, prop.Name()}));
    }
    if (method->code.type() != *prop.EventTypeId()) {
      throw TLayoutError(name.position,
                         base::FormatText("handler %s does not fit %s, a %s",
                                          {name.text, prop.Name(), prop.EventType()}));
    }
    return std::move(*method);
  }

  void SetProperty(TPersistent& instance, const TPropInfo& prop, const TLayoutValue& value) {
    TPropValue converted = Convert(instance, prop, value);
    if (prop.Kind() == TPropKind::Component) return;  // later, in ResolveReferences
    At(value.position, [&] { prop.Set(instance, converted); });
  }

  void ResolveReferences() {
    for (const PendingReference& ref : pending_) {
      TComponent* target = root_.FindComponent(ref.name);
      if (!target && SameText(ref.name, root_.Name())) target = &root_;
      if (!target) {
        throw TLayoutError(ref.position, base::FormatText("unknown component %s", {ref.name}));
      }
      if (!rtti_detail::IsOfClass(*target, ref.prop->ClassRef())) {
        throw TLayoutError(ref.position,
                           base::FormatText("property %s takes a %s; %s is a %s",
                                            {ref.prop->Name(), ref.prop->ClassRefName(), ref.name,
                                             target->ClassInfo().ClassName()}));
      }
      At(ref.position, [&] { ref.prop->Set(*ref.instance, target); });
    }
  }

  // Last made first, as an owner frees; a component that something else
  // already freed or took over is no longer the load's to free.
  void FreeCreated() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
      bool still_ours = false;
      for (int i = 0; i < root_.ComponentCount(); ++i) {
        if (root_.Components(i) == *it) still_ours = true;
      }
      if (still_ours) delete *it;
    }
    created_.clear();
  }

  TComponent& root_;
  const TLayoutContext& context_;
  std::vector<TComponent*> created_;
  std::vector<PendingReference> pending_;
};

}  // namespace

void LoadLayout(TComponent& root, const TLayoutObject& tree, const TLayoutContext& context) {
  Loader(root, context).Load(tree);
}

}  // namespace framework
