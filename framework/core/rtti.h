#pragma once
// Published properties: the run-time type information through which stored
// layouts (and anything else that works by name) reach a class's
// properties. Each class describes itself once, in its .cpp, with a builder:
//
//   const TClassInfo& TsuiButton::StaticClassInfo() {
//     static const TClassInfo& info =
//         TClassInfo::Define<TsuiButton, TsuiCustomButton>("TsuiButton")
//             .Factory()                                         // new TsuiButton(owner)
//             .Prop("Spacing", &TsuiButton::Spacing, &TsuiButton::SetSpacing)
//             .Prop("Caption", &TsuiButton::Caption, &TsuiButton::SetCaption)
//             .Prop("FocusControl", &TsuiButton::FocusControl, &TsuiButton::SetFocusControl)
//             .EnumProp("Layout", kButtonLayouts, &TsuiButton::Layout, &TsuiButton::SetLayout)
//             .SetProp("Anchors", kAnchorKinds, &TsuiButton::Anchors, &TsuiButton::SetAnchors)
//             .ColorProp("Color", &TsuiButton::Color, &TsuiButton::SetColor)
//             .ObjectProp("Font", &TsuiButton::Font)
//             .PictureProp("Glyph", &TsuiButton::Glyph, &TsuiButton::SetGlyph)
//             .Event("OnClick", &TsuiButton::OnClick)
//             .Done();
//     return info;
//   }
//   const TClassInfo& TsuiButton::ClassInfo() const { return StaticClassInfo(); }
//
// Prop() takes the kind from the getter's type: bool is Boolean, another
// integer type Integer, std::string String, std::vector<std::string>
// Strings, a pointer to a component class Component (references must
// inherit from that class), a std::function Event. Types that could mean
// two things say what they are: EnumProp, SetProp, ColorProp, ObjectProp,
// PictureProp. Getters and setters are anything std::invoke can call with
// the object (const member functions, setters taking the value, free
// functions, lambdas); the setter is the class's own, so setting a property
// by name does exactly what the same call in code does. A nullptr setter
// makes a property read-only.
//
// Enum names are constant tables, so nothing depends on the order in which
// static objects are made:
//   constexpr TEnumName kButtonLayoutNames[] = {{"blGlyphLeft", blGlyphLeft}, ...};
//   constexpr TEnumInfo kButtonLayouts{"TButtonLayout", kButtonLayoutNames};
//
// A class is registered (FindClass finds it) when its StaticClassInfo() first
// runs; a program that creates classes by name (the layout loader) calls
// RegisterClasses first with the classes its layouts may name.
//
// Values travel as TPropValue; each kind uses one alternative:
//   Integer, Enum     std::int32_t (Enum: the value's number)
//   Color, Set        std::uint32_t (Set: bit n stands for the element whose value is n)
//   Boolean           bool
//   String            std::string (GBK)
//   Strings           std::vector<std::string>
//   Component         TComponent* (may be null)
//   Event             TMethod (an empty one clears the event)
//   Object            TPersistent* (the sub-object; read only: set its own properties)
//   Picture           TPictureValue (std::any holding the setter's parameter type)
// The numeric kinds take either of the two integer alternatives and check
// the range. Any other mismatch is a base::Error naming the property.
#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <variant>
#include <vector>

#include "framework/core/events.h"

namespace framework {

class TClassInfo;
class TComponent;

// The base of everything that has published properties: components and
// their sub-objects (fonts, pictures, string lists).
class TPersistent {
public:
  virtual ~TPersistent() = default;
  // The class of the object as it is (the most derived class that
  // describes itself); every described class overrides it.
  virtual const TClassInfo& ClassInfo() const;
  static const TClassInfo& StaticClassInfo();
};

enum class TPropKind : std::uint8_t {
  Integer,
  Boolean,
  String,
  Color,
  Enum,
  Set,
  Component,
  Event,
  Object,
  Picture,
  Strings,
};

// A picture as a property value: whatever the Picture property's setter
// takes (a bitmap handle, a shared image), which the core does not know.
struct TPictureValue {
  std::any image;
};

using TPropValue = std::variant<std::int32_t, std::uint32_t, bool, std::string, TComponent*,
                                TMethod, TPersistent*, TPictureValue, std::vector<std::string>>;

// One name of an enumeration and its number.
struct TEnumName {
  template <typename V>
    requires std::is_integral_v<V> || std::is_enum_v<V>
  constexpr TEnumName(std::string_view n, V v) : name(n), value(static_cast<std::int64_t>(v)) {}
  std::string_view name;
  std::int64_t value;
};

// The names of an enumeration's values (Enum properties), of a set's
// elements (Set properties, whose element values are 0..31), or of named
// constants a Color property accepts. Names match ASCII-case-insensitively.
struct TEnumInfo {
  std::string_view type_name;
  std::span<const TEnumName> names;

  std::optional<std::int64_t> ValueOf(std::string_view name) const;
  // Null when no name has that value.
  const std::string_view* NameOf(std::int64_t value) const;
  // The names joined with ", ", for messages.
  std::string NameList() const;
};

class TPropInfo {
public:
  // The property's object is passed as the TPersistent it is described on;
  // the class's accessors are reached after a checked downcast.
  using TGetter = std::function<TPropValue(const TPropInfo&, const TPersistent&)>;
  using TSetter = std::function<void(const TPropInfo&, TPersistent&, const TPropValue&)>;
  using TClassRef = const TClassInfo& (*)();

  TPropInfo(std::string name, TPropKind kind, TGetter get, TSetter set);

  const std::string& Name() const { return name_; }
  TPropKind Kind() const { return kind_; }
  bool IsReadOnly() const { return !set_; }
  // Enum: its values; Set: its elements; Color: accepted constant names (or null).
  const TEnumInfo* EnumInfo() const { return enum_info_; }
  // Component: the class a referenced component must inherit from;
  // Object: the sub-object's class. Null for the other kinds. Looked up on
  // demand, so a class may refer to itself (a control's FocusControl).
  const TClassInfo* ClassRef() const { return class_ref_ ? &class_ref_() : nullptr; }
  // Event: the event type's name ("TNotifyEvent") and its function type,
  // which a TMethod's code must hold exactly.
  std::string_view EventType() const { return event_type_; }
  const std::type_info* EventTypeId() const { return event_type_id_; }
  // "an integer", "a value of TButtonLayout", "a TNotifyEvent handler"...
  std::string Describe() const;

  // instance must be of the class the property was found on (or derived).
  TPropValue Get(const TPersistent& instance) const;
  // Throws base::Error when the value has the wrong type or range, or when
  // the property is read-only; whatever the class's setter throws passes.
  void Set(TPersistent& instance, const TPropValue& value) const;

private:
  template <typename T>
  friend class TClassBuilder;

  std::string name_;
  TPropKind kind_;
  TGetter get_;
  TSetter set_;
  const TEnumInfo* enum_info_ = nullptr;
  TClassRef class_ref_ = nullptr;
  std::string_view event_type_;
  const std::type_info* event_type_id_ = nullptr;
};

template <typename T>
class TClassBuilder;

class TClassInfo {
public:
  using TFactory = std::function<TComponent*(TComponent* owner)>;

  // Starts the description of class T, derived from Parent (void for a
  // root of the hierarchy, TPersistent only).
  template <typename T, typename Parent = void>
  static TClassBuilder<T> Define(std::string class_name);

  const std::string& ClassName() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // True for this class and every class derived from it.
  bool InheritsFrom(const TClassInfo& other) const;
  // The same by class name, compared with case as class names are spelt;
  // for layers that must not name a higher layer's class in code. Unlike
  // FindClass it needs no registration.
  bool InheritsFrom(std::string_view class_name) const;

  // The class's own published properties, in declaration order.
  const std::vector<TPropInfo>& OwnProperties() const { return properties_; }
  // Every published property, inherited ones first; a property that a class
  // declares again keeps its place with the new declaration.
  std::vector<const TPropInfo*> Properties() const;
  // By name (ASCII-case-insensitive), the most derived declaration first;
  // null when there is none.
  const TPropInfo* FindProperty(std::string_view name) const;

  // Abstract classes (no factory) cannot be created by name.
  bool CanCreate() const { return static_cast<bool>(factory_); }
  // A new instance with that owner (owned by it when it is not null).
  // Throws base::Error for an abstract class.
  TComponent* Create(TComponent* owner) const;

private:
  template <typename T>
  friend class TClassBuilder;
  TClassInfo(std::string name, const TClassInfo* parent)
      : name_(std::move(name)), parent_(parent) {}

  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> properties_;
  TFactory factory_;
};

// The registry of classes that can be named: every class whose
// StaticClassInfo() has run. ASCII-case-insensitive; null when unknown.
const TClassInfo* FindClass(std::string_view class_name);
// Makes sure these classes are registered (naming them runs their
// StaticClassInfo()). Throws base::Error when two different classes share
// a name.
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);

// Where a property path ("Caption", "Font.Height") leads: each segment but
// the last must be an Object property whose sub-object exists.
struct TPropertyPath {
  TPersistent* instance = nullptr;  // the object the last segment belongs to
  const TPropInfo* prop = nullptr;  // null when the path leads nowhere
  std::size_t failed_at = 0;        // then: byte offset of the segment that failed
  std::string problem;              // then: why ("TButton has no property Heigth")
};
TPropertyPath ResolvePropertyPath(TPersistent& instance, std::string_view path);

bool HasPublishedProperty(const TPersistent& instance, std::string_view path);
// Throw base::Error for a path that leads nowhere, and as TPropInfo::Get/Set do.
TPropValue GetPropertyValue(const TPersistent& instance, std::string_view path);
void SetPropertyValue(TPersistent& instance, std::string_view path, const TPropValue& value);

namespace rtti_detail {

void RegisterClass(const TClassInfo& info);
[[noreturn]] void ThrowWrongValue(const TPropInfo& prop);
[[noreturn]] void ThrowOutOfRange(const TPropInfo& prop, std::int64_t value);
[[noreturn]] void ThrowWrongInstance(const TPropInfo& prop);
[[noreturn]] void ThrowWrongComponent(const TPropInfo& prop, const TComponent& value);
// The number in an int32 or uint32 alternative; nothing for other types.
std::optional<std::int64_t> AsNumber(const TPropValue& value);

template <typename T>
const T& Cast(const TPropInfo& prop, const TPersistent& instance) {
  auto* p = dynamic_cast<const T*>(&instance);
  if (!p) ThrowWrongInstance(prop);
  return *p;
}
template <typename T>
T& Cast(const TPropInfo& prop, TPersistent& instance) {
  auto* p = dynamic_cast<T*>(&instance);
  if (!p) ThrowWrongInstance(prop);
  return *p;
}

template <typename V>
V CheckedNumber(const TPropInfo& prop, const TPropValue& value, std::int64_t lo, std::int64_t hi) {
  auto n = AsNumber(value);
  if (!n) ThrowWrongValue(prop);
  if (*n < lo || *n > hi) ThrowOutOfRange(prop, *n);
  return static_cast<V>(*n);
}

template <typename V>
struct IsFunction : std::false_type {};
template <typename R, typename... A>
struct IsFunction<std::function<R(A...)>> : std::true_type {};

template <typename V>
struct IsComponentPointer : std::false_type {};
template <typename C>
struct IsComponentPointer<C*> : std::is_base_of<TComponent, C> {};

}  // namespace rtti_detail

// Describes class T; made by TClassInfo::Define and finished by Done().
template <typename T>
class TClassBuilder {
public:
  explicit TClassBuilder(std::unique_ptr<TClassInfo> info) : info_(std::move(info)) {}

  // Instances are made with new T(owner).
  TClassBuilder& Factory() {
    info_->factory_ = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return *this;
  }
  TClassBuilder& Factory(TClassInfo::TFactory factory) {
    info_->factory_ = std::move(factory);
    return *this;
  }

  template <typename Get, typename Set>
  TClassBuilder& Prop(std::string name, Get get, Set set) {
    using V = ValueOf<Get>;
    using namespace rtti_detail;
    if constexpr (std::is_same_v<V, bool>) {
      return Simple<bool>(std::move(name), TPropKind::Boolean, get, set);
    } else if constexpr (std::is_same_v<V, std::string>) {
      return Simple<std::string>(std::move(name), TPropKind::String, get, set);
    } else if constexpr (std::is_same_v<V, std::vector<std::string>>) {
      return Simple<std::vector<std::string>>(std::move(name), TPropKind::Strings, get, set);
    } else if constexpr (std::is_integral_v<V>) {
      static_assert(sizeof(V) <= 4 && (std::is_signed_v<V> || sizeof(V) < 4),
                    "Integer properties hold 32-bit signed values; a colour is a ColorProp");
      return Integer(std::move(name), get, set);
    } else if constexpr (IsComponentPointer<V>::value) {
      return Component(std::move(name), get, set);
    } else if constexpr (IsFunction<V>::value) {
      return Event(std::move(name), get, set);
    } else {
      static_assert(!std::is_enum_v<V>, "an enumeration is an EnumProp or a SetProp");
      static_assert(std::is_enum_v<V>, "no property kind for this type");
      return *this;
    }
  }

  // An event that is a public std::function member: Event("OnClick", &T::OnClick).
  template <typename F>
  TClassBuilder& Event(std::string name, F T::*field) {
    static_assert(rtti_detail::IsFunction<F>::value, "events are std::function members");
    return Event(
        std::move(name), [field](const T& obj) -> const F& { return obj.*field; },
        [field](T& obj, const F& f) { obj.*field = f; });
  }
  template <typename Get, typename Set>
  TClassBuilder& Event(std::string name, Get get, Set set) {
    using V = ValueOf<Get>;
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      const V& f = std::invoke(get, rtti_detail::Cast<T>(prop, p));
      return f ? TMethod{std::any(f)} : TMethod{};
    };
    auto setter = [set](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto* method = std::get_if<TMethod>(&value);
      if (!method) rtti_detail::ThrowWrongValue(prop);
      if (!method->code.has_value()) return Call(set, rtti_detail::Cast<T>(prop, p), V{});
      auto* f = std::any_cast<V>(&method->code);
      if (!f) rtti_detail::ThrowWrongValue(prop);
      Call(set, rtti_detail::Cast<T>(prop, p), *f);
    };
    TPropInfo& info = Add(std::move(name), TPropKind::Event, getter, Setter<Set>(setter));
    info.event_type_ = EventTypeName<V>();
    info.event_type_id_ = &typeid(V);
    return *this;
  }

  // Value: an enumeration (or integer) whose numbers are those of values.
  template <typename Get, typename Set>
  TClassBuilder& EnumProp(std::string name, const TEnumInfo& values, Get get, Set set) {
    using V = ValueOf<Get>;
    static_assert(std::is_enum_v<V> || std::is_integral_v<V>);
    const TEnumInfo* names = &values;
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return static_cast<std::int32_t>(std::invoke(get, rtti_detail::Cast<T>(prop, p)));
    };
    auto setter = [set, names](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto n = rtti_detail::AsNumber(value);
      if (!n) rtti_detail::ThrowWrongValue(prop);
      if (!names->NameOf(*n)) rtti_detail::ThrowOutOfRange(prop, *n);
      Call(set, rtti_detail::Cast<T>(prop, p), static_cast<V>(*n));
    };
    Add(std::move(name), TPropKind::Enum, getter, Setter<Set>(setter)).enum_info_ = names;
    return *this;
  }

  // Value: a bit mask (an unsigned integer type); bit n is the element
  // whose value in elements is n.
  template <typename Get, typename Set>
  TClassBuilder& SetProp(std::string name, const TEnumInfo& elements, Get get, Set set) {
    using V = ValueOf<Get>;
    static_assert(std::is_integral_v<V> && std::is_unsigned_v<V>, "sets are unsigned bit masks");
    const TEnumInfo* names = &elements;
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return static_cast<std::uint32_t>(std::invoke(get, rtti_detail::Cast<T>(prop, p)));
    };
    auto setter = [set, names](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto n = rtti_detail::AsNumber(value);
      if (!n) rtti_detail::ThrowWrongValue(prop);
      std::int64_t allowed = 0;
      for (const TEnumName& e : names->names) {
        if (e.value >= 0 && e.value < 32) allowed |= std::int64_t{1} << e.value;
      }
      std::int64_t bits = *n < 0 ? (*n & 0xFFFFFFFF) : *n;
      if ((bits & ~allowed) != 0 ||
          static_cast<std::uint64_t>(bits) > std::numeric_limits<V>::max()) {
        rtti_detail::ThrowOutOfRange(prop, *n);
      }
      Call(set, rtti_detail::Cast<T>(prop, p), static_cast<V>(bits));
    };
    Add(std::move(name), TPropKind::Set, getter, Setter<Set>(setter)).enum_info_ = names;
    return *this;
  }

  // Value: a 32-bit colour. color_names, when given, are the constants a
  // layout may name ("clBtnFace") instead of a number.
  template <typename Get, typename Set>
  TClassBuilder& ColorProp(std::string name, Get get, Set set,
                           const TEnumInfo* color_names = nullptr) {
    using V = ValueOf<Get>;
    static_assert(std::is_integral_v<V> && sizeof(V) == 4);
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return static_cast<std::uint32_t>(std::invoke(get, rtti_detail::Cast<T>(prop, p)));
    };
    auto setter = [set](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto n = rtti_detail::AsNumber(value);
      if (!n) rtti_detail::ThrowWrongValue(prop);
      auto bits = static_cast<std::uint32_t>(*n);  // int32 and uint32 spell the same colour
      Call(set, rtti_detail::Cast<T>(prop, p), static_cast<V>(bits));
    };
    Add(std::move(name), TPropKind::Color, getter, Setter<Set>(setter)).enum_info_ = color_names;
    return *this;
  }

  // A sub-object that the object owns (get returns TSub& or TSub*); its
  // own properties are reached by path ("Font.Height").
  template <typename Get>
  TClassBuilder& ObjectProp(std::string name, Get get) {
    using R = std::invoke_result_t<Get, T&>;
    using Sub = std::remove_cvref_t<std::remove_pointer_t<std::remove_cvref_t<R>>>;
    static_assert(std::is_base_of_v<TPersistent, Sub>, "sub-objects are TPersistent");
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      // A sub-object is part of its object; a path walks on to set it.
      T& obj = const_cast<T&>(rtti_detail::Cast<T>(prop, p));
      if constexpr (std::is_pointer_v<std::remove_cvref_t<R>>) {
        return static_cast<TPersistent*>(std::invoke(get, obj));
      } else {
        return static_cast<TPersistent*>(&std::invoke(get, obj));
      }
    };
    Add(std::move(name), TPropKind::Object, getter, {}).class_ref_ = &Sub::StaticClassInfo;
    return *this;
  }

  // Value: whatever the setter takes (an image handle, a shared bitmap),
  // carried in TPictureValue; an empty one is the setter's V{}.
  template <typename Get, typename Set>
  TClassBuilder& PictureProp(std::string name, Get get, Set set) {
    using V = ValueOf<Get>;
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return TPictureValue{std::any(V(std::invoke(get, rtti_detail::Cast<T>(prop, p))))};
    };
    auto setter = [set](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto* picture = std::get_if<TPictureValue>(&value);
      if (!picture) rtti_detail::ThrowWrongValue(prop);
      if (!picture->image.has_value()) return Call(set, rtti_detail::Cast<T>(prop, p), V{});
      auto* v = std::any_cast<V>(&picture->image);
      if (!v) rtti_detail::ThrowWrongValue(prop);
      Call(set, rtti_detail::Cast<T>(prop, p), *v);
    };
    Add(std::move(name), TPropKind::Picture, getter, Setter<Set>(setter));
    return *this;
  }

  // Registers the class and hands it over; it lives as long as the program.
  // Throws base::Error when a property is declared twice or another class
  // has the same name.
  const TClassInfo& Done();

private:
  template <typename Get>
  using ValueOf = std::remove_cvref_t<std::invoke_result_t<Get, const T&>>;

  // Setters return whatever they return (some return the object for chaining).
  // A nullptr setter (read-only) never gets called: Setter() drops the
  // lambda that would, but it must still compile.
  template <typename Set, typename V>
  static void Call(const Set& set, T& obj, V&& value) {
    if constexpr (!std::is_null_pointer_v<Set>) std::invoke(set, obj, std::forward<V>(value));
  }

  template <typename Set, typename Fn>
  static TPropInfo::TSetter Setter(Fn fn) {
    if constexpr (std::is_null_pointer_v<Set>) {
      return {};
    } else {
      return fn;
    }
  }

  template <typename V, typename Get, typename Set>
  TClassBuilder& Simple(std::string name, TPropKind kind, Get get, Set set) {
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return V(std::invoke(get, rtti_detail::Cast<T>(prop, p)));
    };
    auto setter = [set](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto* v = std::get_if<V>(&value);
      if (!v) rtti_detail::ThrowWrongValue(prop);
      Call(set, rtti_detail::Cast<T>(prop, p), *v);
    };
    Add(std::move(name), kind, getter, Setter<Set>(setter));
    return *this;
  }

  template <typename Get, typename Set>
  TClassBuilder& Integer(std::string name, Get get, Set set) {
    using V = ValueOf<Get>;
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return static_cast<std::int32_t>(std::invoke(get, rtti_detail::Cast<T>(prop, p)));
    };
    auto setter = [set](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      V v = rtti_detail::CheckedNumber<V>(prop, value, std::numeric_limits<V>::min(),
                                          std::numeric_limits<V>::max());
      Call(set, rtti_detail::Cast<T>(prop, p), v);
    };
    Add(std::move(name), TPropKind::Integer, getter, Setter<Set>(setter));
    return *this;
  }

  template <typename Get, typename Set>
  TClassBuilder& Component(std::string name, Get get, Set set) {
    using V = ValueOf<Get>;  // C*
    using C = std::remove_pointer_t<V>;
    auto getter = [get](const TPropInfo& prop, const TPersistent& p) -> TPropValue {
      return static_cast<TComponent*>(std::invoke(get, rtti_detail::Cast<T>(prop, p)));
    };
    auto setter = [set](const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
      auto* component = std::get_if<TComponent*>(&value);
      if (!component) rtti_detail::ThrowWrongValue(prop);
      C* typed = nullptr;
      if (*component) {
        typed = dynamic_cast<C*>(*component);
        if (!typed) rtti_detail::ThrowWrongComponent(prop, **component);
      }
      Call(set, rtti_detail::Cast<T>(prop, p), typed);
    };
    Add(std::move(name), TPropKind::Component, getter, Setter<Set>(setter)).class_ref_ =
        &C::StaticClassInfo;
    return *this;
  }

  TPropInfo& Add(std::string name, TPropKind kind, TPropInfo::TGetter get,
                 TPropInfo::TSetter set) {
    return info_->properties_.emplace_back(std::move(name), kind, std::move(get), std::move(set));
  }

  std::unique_ptr<TClassInfo> info_;
};

namespace rtti_detail {
// Checks the description and registers it; the registry keeps it.
const TClassInfo& Finish(std::unique_ptr<TClassInfo> info);
}  // namespace rtti_detail

template <typename T>
const TClassInfo& TClassBuilder<T>::Done() {
  return rtti_detail::Finish(std::move(info_));
}

template <typename T, typename Parent>
TClassBuilder<T> TClassInfo::Define(std::string class_name) {
  static_assert(std::is_base_of_v<TPersistent, T>, "described classes are TPersistent");
  const TClassInfo* parent = nullptr;
  if constexpr (!std::is_void_v<Parent>) {
    static_assert(std::is_base_of_v<Parent, T>, "Parent must be a base of T");
    parent = &Parent::StaticClassInfo();
  }
  return TClassBuilder<T>(
      std::unique_ptr<TClassInfo>(new TClassInfo(std::move(class_name), parent)));
}

}  // namespace framework
