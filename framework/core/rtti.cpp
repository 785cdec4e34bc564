#include "framework/core/rtti.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "base/error.h"
#include "framework/core/ascii.h"
#include "framework/core/component.h"

namespace framework {
namespace {

struct ClassRegistry {
  std::mutex mutex;
  std::map<std::string, const TClassInfo*> by_name;  // key: ASCII lower case
};

// Never destroyed: class descriptions are reachable from statics of other
// translation units whose destruction order is unknown.
ClassRegistry& Registry() {
  static auto* registry = new ClassRegistry;
  return *registry;
}

std::string Number(std::int64_t n) { return std::to_string(n); }

}  // namespace

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo& info = TClassInfo::Define<TPersistent>("TPersistent").Done();
  return info;
}

const TClassInfo& TPersistent::ClassInfo() const { return StaticClassInfo(); }

std::optional<std::int64_t> TEnumInfo::ValueOf(std::string_view name) const {
  for (const TEnumName& e : names) {
    if (SameText(e.name, name)) return e.value;
  }
  return std::nullopt;
}

const std::string_view* TEnumInfo::NameOf(std::int64_t value) const {
  for (const TEnumName& e : names) {
    if (e.value == value) return &e.name;
  }
  return nullptr;
}

std::string TEnumInfo::NameList() const {
  std::string out;
  for (const TEnumName& e : names) {
    if (!out.empty()) out += ", ";
    out += e.name;
  }
  return out;
}

TPropInfo::TPropInfo(const char* name, TPropKind kind, TGetThunk get, TSetThunk set,
                     const TAccessor& getter, const TAccessor& setter)
    : name_(name), kind_(kind), get_(get), set_(set), getter_(getter), setter_(setter) {}

const TClassInfo* TPropInfo::ClassRef() const {
  if (class_ref_) return &class_ref_();
  return class_ref_name_ ? FindClass(class_ref_name_) : nullptr;
}

std::string TPropInfo::ClassRefName() const {
  if (class_ref_) return class_ref_().ClassName();
  return class_ref_name_ ? class_ref_name_ : "";
}

std::string TPropInfo::Describe() const {
  std::string type_name = enum_info_ ? std::string(enum_info_->type_name) : std::string();
  switch (kind_) {
    case TPropKind::Integer: return "an integer";
    case TPropKind::Boolean: return "true or false";
    case TPropKind::String: return "a string";
    case TPropKind::Color: return enum_info_ ? "a colour (a number or a colour name)" : "a colour";
    case TPropKind::Enum: return "a value of " + type_name;
    case TPropKind::Set: return "a set of " + type_name;
    case TPropKind::Component: return "a component name (a " + ClassRefName() + ")";
    case TPropKind::Event: return "a handler name (a " + std::string(EventType()) + ")";
    case TPropKind::Object: return "its own properties (a " + ClassRef()->ClassName() + ")";
    case TPropKind::Picture: return "a picture";
    case TPropKind::Strings: return "a list of strings";
  }
  return "a value";
}

TPropValue TPropInfo::Get(const TPersistent& instance) const { return get_(*this, instance); }

void TPropInfo::Set(TPersistent& instance, const TPropValue& value) const {
  if (!set_) {
    if (kind_ == TPropKind::Object) rtti_detail::ThrowWrongValue(*this);
    throw base::Error(base::FormatText("property %s is read-only", {name_}));
  }
  set_(*this, instance, value);
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (c == &other) return true;
  }
  return false;
}

bool TClassInfo::InheritsFrom(std::string_view class_name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (c->name_ == class_name) return true;
  }
  return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& prop : (*it)->properties_) {
      auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* p) {
        return SameText(p->Name(), prop.Name());
      });
      if (same != out.end()) {
        *same = &prop;
      } else {
        out.push_back(&prop);
      }
    }
  }
  return out;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const TPropInfo& prop : c->properties_) {
      if (SameText(prop.Name(), name)) return &prop;
    }
  }
  return nullptr;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!factory_) {
    throw base::Error(base::FormatText("class %s is abstract and cannot be created", {name_}));
  }
  return factory_(owner);
}

const TClassInfo* FindClass(std::string_view class_name) {
  ClassRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.by_name.find(AsciiLowerCase(class_name));
  return it == registry.by_name.end() ? nullptr : it->second;
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* info : classes) rtti_detail::RegisterClass(*info);
}

TPropertyPath ResolvePropertyPath(TPersistent& instance, std::string_view path) {
  TPropertyPath result;
  TPersistent* current = &instance;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = path.find('.', start);
    std::string_view segment =
        path.substr(start, dot == std::string_view::npos ? dot : dot - start);
    const TClassInfo& cls = current->ClassInfo();
    const TPropInfo* prop = cls.FindProperty(segment);
    if (!prop) {
      result.failed_at = start;
      result.problem = segment.empty()
                           ? std::string("a property name is missing")
                           : base::FormatText("%s has no property %s", {cls.ClassName(), segment});
      return result;
    }
    if (dot == std::string_view::npos) {
      result.instance = current;
      result.prop = prop;
      return result;
    }
    TPersistent* sub = nullptr;
    if (prop->Kind() == TPropKind::Object) {
      sub = std::get<TPersistent*>(prop->Get(*current));
    }
    if (!sub) {
      result.failed_at = start;
      result.problem =
          prop->Kind() == TPropKind::Object
              ? base::FormatText("%s.%s is not there", {cls.ClassName(), prop->Name()})
              : base::FormatText("property %s of %s has no properties of its own",
                                 {prop->Name(), cls.ClassName()});
      return result;
    }
    current = sub;
    start = dot + 1;
  }
}

namespace {

// GetPropertyValue and HasPublishedProperty only read, but a path walks
// through sub-objects the way setting does.
TPropertyPath ResolveOrThrow(TPersistent& instance, std::string_view path) {
  TPropertyPath found = ResolvePropertyPath(instance, path);
  if (!found.prop) throw base::Error(found.problem);
  return found;
}

}  // namespace

bool HasPublishedProperty(const TPersistent& instance, std::string_view path) {
  return ResolvePropertyPath(const_cast<TPersistent&>(instance), path).prop != nullptr;
}

TPropValue GetPropertyValue(const TPersistent& instance, std::string_view path) {
  TPropertyPath found = ResolveOrThrow(const_cast<TPersistent&>(instance), path);
  return found.prop->Get(*found.instance);
}

void SetPropertyValue(TPersistent& instance, std::string_view path, const TPropValue& value) {
  TPropertyPath found = ResolveOrThrow(instance, path);
  found.prop->Set(*found.instance, value);
}

namespace rtti_detail {

void RegisterClass(const TClassInfo& info) {
  ClassRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  auto [it, inserted] = registry.by_name.emplace(AsciiLowerCase(info.ClassName()), &info);
  if (!inserted && it->second != &info) {
    throw base::Error(
        base::FormatText("two different classes are named %s", {info.ClassName()}));
  }
}

TClassBuilderBase::TClassBuilderBase(const char* class_name, const TClassInfo* parent)
    : info_(new TClassInfo(class_name, parent)) {}

TClassBuilderBase::~TClassBuilderBase() { delete info_; }

TPropInfo& TClassBuilderBase::AddProperty(const char* name, TPropKind kind,
                                          TPropInfo::TGetThunk get, TPropInfo::TSetThunk set,
                                          const TPropInfo::TAccessor& getter,
                                          const TPropInfo::TAccessor& setter) {
  TPropInfo& prop = info_->properties_.emplace_back(name, kind, get, set, getter, setter);
  prop.declared_by_ = info_;
  return prop;
}

const TClassInfo& TClassBuilderBase::Finish() {
  std::unique_ptr<TClassInfo> info(std::exchange(info_, nullptr));
  const auto& props = info->OwnProperties();
  for (std::size_t i = 0; i < props.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (SameText(props[i].Name(), props[j].Name())) {
        throw base::Error(base::FormatText("class %s declares property %s twice",
                                           {info->ClassName(), props[i].Name()}));
      }
    }
  }
  RegisterClass(*info);
  return *info.release();
}

void ThrowWrongValue(const TPropInfo& prop) {
  if (prop.Kind() == TPropKind::Object) {
    throw base::Error(
        base::FormatText("property %s is a %s: set its own properties (%s.Name = ...)",
                         {prop.Name(), prop.ClassRef()->ClassName(), prop.Name()}));
  }
  throw base::Error(base::FormatText("property %s takes %s", {prop.Name(), prop.Describe()}));
}

void ThrowOutOfRange(const TPropInfo& prop, std::int64_t value) {
  if (prop.Kind() == TPropKind::Enum) {
    throw base::Error(base::FormatText("%s is not a value of %s (property %s)",
                                       {Number(value), prop.EnumInfo()->type_name, prop.Name()}));
  }
  if (prop.Kind() == TPropKind::Set) {
    throw base::Error(base::FormatText("%s is not a set of %s (property %s)",
                                       {Number(value), prop.EnumInfo()->type_name, prop.Name()}));
  }
  throw base::Error(
      base::FormatText("%s is out of range for property %s", {Number(value), prop.Name()}));
}

void ThrowWrongInstance(const TPropInfo& prop) {
  throw base::Error(
      base::FormatText("property %s belongs to another class", {prop.Name()}));
}

void CheckInstance(const TPropInfo& prop, const TPersistent& instance) {
  if (!instance.ClassInfo().InheritsFrom(*prop.DeclaredBy())) ThrowWrongInstance(prop);
}

bool IsOfClass(const TComponent& component, const TClassInfo* needed) {
  return needed && component.ClassInfo().InheritsFrom(*needed);
}

void ThrowWrongComponent(const TPropInfo& prop, const TComponent& value) {
  throw base::Error(base::FormatText("property %s takes a %s; %s is a %s",
                                     {prop.Name(), prop.ClassRefName(), value.Name(),
                                      value.ClassInfo().ClassName()}));
}

std::optional<std::int64_t> AsNumber(const TPropValue& value) {
  if (auto* i = std::get_if<std::int32_t>(&value)) return *i;
  if (auto* u = std::get_if<std::uint32_t>(&value)) return *u;
  return std::nullopt;
}

std::int64_t IntegerArgument(const TPropInfo& prop, const TPropValue& value, std::int64_t lo,
                             std::int64_t hi) {
  auto n = AsNumber(value);
  if (!n) ThrowWrongValue(prop);
  if (*n < lo || *n > hi) ThrowOutOfRange(prop, *n);
  return *n;
}

std::int64_t EnumArgument(const TPropInfo& prop, const TPropValue& value) {
  auto n = AsNumber(value);
  if (!n) ThrowWrongValue(prop);
  if (!prop.EnumInfo()->NameOf(*n)) ThrowOutOfRange(prop, *n);
  return *n;
}

std::uint64_t SetArgument(const TPropInfo& prop, const TPropValue& value, std::uint64_t max) {
  auto n = AsNumber(value);
  if (!n) ThrowWrongValue(prop);
  std::int64_t allowed = 0;
  for (const TEnumName& e : prop.EnumInfo()->names) {
    if (e.value >= 0 && e.value < 32) allowed |= std::int64_t{1} << e.value;
  }
  std::int64_t bits = *n < 0 ? (*n & 0xFFFFFFFF) : *n;
  if ((bits & ~allowed) != 0 || static_cast<std::uint64_t>(bits) > max) ThrowOutOfRange(prop, *n);
  return static_cast<std::uint64_t>(bits);
}

std::uint32_t ColorArgument(const TPropInfo& prop, const TPropValue& value) {
  auto n = AsNumber(value);
  if (!n) ThrowWrongValue(prop);
  return static_cast<std::uint32_t>(*n);  // int32 and uint32 spell the same colour
}

TComponent* ComponentArgument(const TPropInfo& prop, const TPropValue& value) {
  auto* component = std::get_if<TComponent*>(&value);
  if (!component) ThrowWrongValue(prop);
  return *component;
}

const std::any* HandlerArgument(const TPropInfo& prop, const TPropValue& value) {
  auto* method = std::get_if<TMethod>(&value);
  if (!method) ThrowWrongValue(prop);
  return method->code.has_value() ? &method->code : nullptr;
}

const std::any* PictureArgument(const TPropInfo& prop, const TPropValue& value) {
  auto* picture = std::get_if<TPictureValue>(&value);
  if (!picture) ThrowWrongValue(prop);
  return picture->image.has_value() ? &picture->image : nullptr;
}

}  // namespace rtti_detail
}  // namespace framework
