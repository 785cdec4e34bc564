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
// PictureProp. Getters and setters are what std::invoke can call with the
// object and that are plain data: member functions, pointers to data
// members, plain functions, lambdas that capture nothing. The setter is the
// class's own, so setting a property by name does exactly what the same
// call in code does. A nullptr setter makes a property read-only.
//
// A description is data, not code: each property is a row (name, kind,
// the accessors' bytes) and two thunks that know the accessors' types.
// Members (member functions, data members) are kept as members of
// TPersistent, so their thunks are made per accessor type and kind only:
// every Integer property of every class whose getter is `int X() const`
// shares one get thunk. Lambdas and functions have thunks of their own.
// Before an accessor runs, the instance is checked against the declaring
// class through ClassInfo(), so every described class must override it (as
// the example above does). A description compiles to one call per
// property. Names are C strings (the descriptions spell them as literals),
// which the row copies, so that a call passes one pointer and builds
// nothing that must be destroyed.
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
#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include "framework/core/events.h"

namespace framework {

class TClassInfo;
class TComponent;
namespace rtti_detail {
class TClassBuilderBase;
template <typename Owner>
struct TThunks;
}  // namespace rtti_detail

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

// An event type's name ("TNotifyEvent") and its function type; one constant
// per type, which every event property of that type points at.
struct TEventType {
  std::string_view name;
  const std::type_info* id;
};
template <typename F>
inline constexpr TEventType kEventType{EventTypeName<F>(), &typeid(F)};

class TPropInfo {
public:
  // The property's object is passed as the TPersistent it is described on;
  // the class's accessors are reached after a checked downcast.
  using TGetThunk = TPropValue (*)(const TPropInfo& prop, const TPersistent& instance);
  using TSetThunk = void (*)(const TPropInfo& prop, TPersistent& instance, const TPropValue& value);
  using TClassRef = const TClassInfo& (*)();

  // One accessor as the class gave it, kept as bytes: the largest is a
  // pointer to a member function, two words in the Itanium ABI that GCC and
  // MinGW follow (the address or vtable slot, and the this adjustment).
  struct TAccessor {
    alignas(void*) unsigned char bytes[2 * sizeof(void*)];
  };

  // Rows are made by TClassBuilder.
  TPropInfo(const char* name, TPropKind kind, TGetThunk get, TSetThunk set,
            const TAccessor& getter, const TAccessor& setter);

  const std::string& Name() const { return name_; }
  TPropKind Kind() const { return kind_; }
  bool IsReadOnly() const { return set_ == nullptr; }
  // Enum: its values; Set: its elements; Color: accepted constant names (or null).
  const TEnumInfo* EnumInfo() const { return enum_info_; }
  // Component: the class a referenced component must inherit from;
  // Object: the sub-object's class. Null for the other kinds. Looked up on
  // demand, so a class may refer to itself (a control's FocusControl).
  // A component property may name its class instead (NamedClassProp): then
  // this is the registered class of that name, or null while none is.
  const TClassInfo* ClassRef() const;
  // The class's name, whether it is linked or named.
  std::string ClassRefName() const;
  // Event: the event type's name ("TNotifyEvent") and its function type,
  // which a TMethod's code must hold exactly.
  std::string_view EventType() const {
    return event_type_ ? event_type_->name : std::string_view();
  }
  const std::type_info* EventTypeId() const { return event_type_ ? event_type_->id : nullptr; }
  // The class whose description declares the property: Get and Set take
  // instances of it or of a class derived from it.
  const TClassInfo* DeclaredBy() const { return declared_by_; }
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
  friend class rtti_detail::TClassBuilderBase;
  template <typename Owner>
  friend struct rtti_detail::TThunks;

  std::string name_;
  TPropKind kind_;
  TGetThunk get_;
  TSetThunk set_;  // null: read-only
  TAccessor getter_;
  TAccessor setter_;
  const TEnumInfo* enum_info_ = nullptr;
  TClassRef class_ref_ = nullptr;
  const char* class_ref_name_ = nullptr;  // NamedClassProp
  const TEventType* event_type_ = nullptr;
  const TClassInfo* declared_by_ = nullptr;
};

template <typename T>
class TClassBuilder;

class TClassInfo {
public:
  using TFactory = TComponent* (*)(TComponent* owner);

  // One description per class, which the registry and its rows point at:
  // a copy would be a class of its own that nothing inherits from.
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  // Starts the description of class T, derived from Parent (void for a
  // root of the hierarchy, TPersistent only).
  template <typename T, typename Parent = void>
  static TClassBuilder<T> Define(const char* class_name);

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
  bool CanCreate() const { return factory_ != nullptr; }
  // A new instance with that owner (owned by it when it is not null).
  // Throws base::Error for an abstract class.
  TComponent* Create(TComponent* owner) const;

private:
  template <typename T>
  friend class TClassBuilder;
  friend class rtti_detail::TClassBuilderBase;
  TClassInfo(const char* name, const TClassInfo* parent) : name_(name), parent_(parent) {}

  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> properties_;
  TFactory factory_ = nullptr;
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
// True when `component` is of class `needed` or below it (false for null).
bool IsOfClass(const TComponent& component, const TClassInfo* needed);
// The number in an int32 or uint32 alternative; nothing for other types.
std::optional<std::int64_t> AsNumber(const TPropValue& value);

// What a setter thunk gets from a value, checked as the property's kind
// demands (throwing as TPropInfo::Set documents). Out of line: every thunk
// of a kind shares the checks, whatever its class and accessor types.
std::int64_t IntegerArgument(const TPropInfo& prop, const TPropValue& value, std::int64_t lo,
                             std::int64_t hi);
std::int64_t EnumArgument(const TPropInfo& prop, const TPropValue& value);  // a value of EnumInfo()
std::uint64_t SetArgument(const TPropInfo& prop, const TPropValue& value, std::uint64_t max);
std::uint32_t ColorArgument(const TPropInfo& prop, const TPropValue& value);
TComponent* ComponentArgument(const TPropInfo& prop, const TPropValue& value);  // may be null
// The handler's or picture's std::any; null for an empty one (which clears).
const std::any* HandlerArgument(const TPropInfo& prop, const TPropValue& value);
const std::any* PictureArgument(const TPropInfo& prop, const TPropValue& value);

// Throws unless instance is of the class that declares prop (or below it),
// as its ClassInfo() tells: one check for every property of every class,
// where a dynamic_cast would be made per class.
void CheckInstance(const TPropInfo& prop, const TPersistent& instance);

// The instance as the class an accessor is called on: the class that
// declares the property for a function or lambda, TPersistent itself for a
// pointer to a member (which is kept as a pointer to a member of
// TPersistent, see TClassBuilder::Kept).
template <typename Owner>
const Owner& Cast(const TPropInfo& prop, const TPersistent& instance) {
  CheckInstance(prop, instance);
  return static_cast<const Owner&>(instance);
}
template <typename Owner>
Owner& Cast(const TPropInfo& prop, TPersistent& instance) {
  return const_cast<Owner&>(Cast<Owner>(prop, std::as_const(instance)));
}

// What events need is made once per event type, not per class and event:
// the handler of exactly type F in a value (null for an empty one, which
// clears), a handler as a value, and setting a handler field.
template <typename F>
const F* HandlerOf(const TPropInfo& prop, const TPropValue& value) {
  const std::any* code = HandlerArgument(prop, value);
  if (!code) return nullptr;
  auto* f = std::any_cast<F>(code);
  if (!f) ThrowWrongValue(prop);
  return f;
}
template <typename F>
TPropValue HandlerValue(const F& f) {
  return f ? TMethod{std::any(f)} : TMethod{};
}
template <typename F>
void AssignHandler(F& field, const F* f) {
  if (f) {
    field = *f;
  } else {
    field = nullptr;
  }
}

template <typename V>
struct IsFunction : std::false_type {};
template <typename R, typename... A>
struct IsFunction<std::function<R(A...)>> : std::true_type {};

template <typename V>
struct IsComponentPointer : std::false_type {};
template <typename C>
struct IsComponentPointer<C*> : std::is_base_of<TComponent, C> {};

// The part of describing a class that does not depend on the class,
// compiled once: making the description, adding a row, finishing.
class TClassBuilderBase {
public:
  TClassBuilderBase(const TClassBuilderBase&) = delete;
  TClassBuilderBase& operator=(const TClassBuilderBase&) = delete;

protected:
  TClassBuilderBase(const char* class_name, const TClassInfo* parent);
  // Frees a description that Finish() did not take (a throw in between).
  ~TClassBuilderBase();

  TPropInfo& AddProperty(const char* name, TPropKind kind, TPropInfo::TGetThunk get,
                         TPropInfo::TSetThunk set, const TPropInfo::TAccessor& getter,
                         const TPropInfo::TAccessor& setter);
  // Checks the description and registers it; the registry keeps it.
  const TClassInfo& Finish();

  TClassInfo* info_;
};

// A pointer to a member of M's class C (a member function or a data
// member) whose class has published properties: kept as the same member of
// TPersistent (a static_cast that C++ allows from a derived class's member
// to its base's, and whose result reaches the same member of an object of
// class C). Thunks for it are then the same for every class: all the bool
// properties of all the classes whose getter and setter are members share
// one pair.
template <typename A>
struct MemberOfPersistent : std::false_type {};
template <typename M, typename C>
  requires std::is_base_of_v<TPersistent, C>
struct MemberOfPersistent<M C::*> : std::true_type {
  using Kept = M TPersistent::*;
};

// Keeping accessors as bytes in a row and calling them back: only right
// for trivially copyable accessors, and they must fit.
template <typename A>
TPropInfo::TAccessor Pack(const A& accessor) {
  static_assert(std::is_trivially_copyable_v<A>,
                "accessors are kept as bytes: a lambda must capture nothing that owns");
  static_assert(sizeof(A) <= sizeof(TPropInfo::TAccessor) &&
                    alignof(A) <= alignof(TPropInfo::TAccessor),
                "accessors are kept in two words: member functions, data members, functions");
  TPropInfo::TAccessor bytes{};
  std::memcpy(bytes.bytes, &accessor, sizeof accessor);
  return bytes;
}
template <typename A>
const A& Stored(const TPropInfo::TAccessor& bytes) {
  return *std::launder(reinterpret_cast<const A*>(bytes.bytes));
}

// The thunks, for accessors called on an Owner: TPersistent for members
// kept as TPersistent's, the declaring class for functions and lambdas.
// Get and Set are the accessors' types as kept. Set thunks are
// instantiated for a nullptr setter too (a read-only property), which the
// builder drops; Write() must still compile.
//
// A member of TPersistent that is really a member of a derived class is
// called on the derived object, whose start is not TPersistent's when
// another base comes first. GCC's UBSan vptr check looks for a TPersistent
// at the address the call adjusted to, and so refuses such a call, which
// C++ defines ([expr.mptr.oper]: the object's dynamic type has the
// member); the accessor calls leave that one check out.
#if defined(__GNUC__)
#define VANTO_RTTI_MEMBER_CALL __attribute__((no_sanitize("vptr")))
#else
#define VANTO_RTTI_MEMBER_CALL
#endif
// Calls an accessor as std::invoke would, but in a function of its own,
// where the check is off.
template <typename A, typename O, typename... Args>
VANTO_RTTI_MEMBER_CALL decltype(auto) CallAccessor(const A& accessor, O& obj, Args&&... args) {
  if constexpr (std::is_member_function_pointer_v<A>) {
    return (obj.*accessor)(std::forward<Args>(args)...);
  } else if constexpr (std::is_member_object_pointer_v<A>) {
    static_assert(sizeof...(Args) == 0);
    return (obj.*accessor);
  } else {
    return accessor(obj, std::forward<Args>(args)...);
  }
}

template <typename Owner>
struct TThunks {
  template <typename Get>
  VANTO_RTTI_MEMBER_CALL static decltype(auto) Read(const TPropInfo& prop, const TPersistent& p) {
    return CallAccessor(Stored<Get>(prop.getter_), Cast<Owner>(prop, p));
  }
  // The value is converted and checked before the object is: a wrong value
  // is reported before a wrong object.
  template <typename Set, typename V>
  VANTO_RTTI_MEMBER_CALL static void Write(const TPropInfo& prop, TPersistent& p, V&& value) {
    if constexpr (!std::is_null_pointer_v<Set>) {
      const Set& set = Stored<Set>(prop.setter_);
      Owner& obj = Cast<Owner>(prop, p);
      if constexpr (std::is_member_object_pointer_v<Set>) {
        obj.*set = std::forward<V>(value);
      } else {
        // Setters return whatever they return (some return the object for chaining).
        CallAccessor(set, obj, std::forward<V>(value));
      }
    }
  }

  // Get thunks: Integer, Enum (Out int32), Color, Set (uint32), Boolean,
  // String, Strings, Component (TComponent*).
  template <typename Get, typename Out>
  static TPropValue GetAs(const TPropInfo& prop, const TPersistent& p) {
    return TPropValue(std::in_place_type<Out>, static_cast<Out>(Read<Get>(prop, p)));
  }
  template <typename Get, typename F>
  static TPropValue GetHandler(const TPropInfo& prop, const TPersistent& p) {
    return HandlerValue<F>(Read<Get>(prop, p));
  }
  template <typename Get, typename V>
  static TPropValue GetPicture(const TPropInfo& prop, const TPersistent& p) {
    return TPictureValue{std::any(V(Read<Get>(prop, p)))};
  }
  template <typename Get>
  VANTO_RTTI_MEMBER_CALL static TPropValue GetSubObject(const TPropInfo& prop, const TPersistent& p) {
    // A sub-object is part of its object; a path walks on to set it.
    Owner& obj = const_cast<Owner&>(Cast<Owner>(prop, p));
    decltype(auto) sub = CallAccessor(Stored<Get>(prop.getter_), obj);
    if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(sub)>>) {
      return TPropValue(std::in_place_type<TPersistent*>, static_cast<TPersistent*>(sub));
    } else {
      return TPropValue(std::in_place_type<TPersistent*>, static_cast<TPersistent*>(&sub));
    }
  }

  // Set thunks. Boolean, String, Strings: a value of exactly that type.
  template <typename Set, typename V>
  static void SetPlain(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    auto* v = std::get_if<V>(&value);
    if (!v) ThrowWrongValue(prop);
    Write<Set>(prop, p, *v);
  }
  template <typename Set, typename V>
  static void SetInteger(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    auto n = IntegerArgument(prop, value, std::numeric_limits<V>::min(),
                             std::numeric_limits<V>::max());
    Write<Set>(prop, p, static_cast<V>(n));
  }
  template <typename Set, typename V>
  static void SetEnumValue(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    Write<Set>(prop, p, static_cast<V>(EnumArgument(prop, value)));
  }
  template <typename Set, typename V>
  static void SetBits(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    auto bits = SetArgument(prop, value, std::numeric_limits<V>::max());
    Write<Set>(prop, p, static_cast<V>(bits));
  }
  template <typename Set, typename V>
  static void SetColour(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    Write<Set>(prop, p, static_cast<V>(ColorArgument(prop, value)));
  }
  template <typename Set, typename C>
  static void SetComponent(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    TComponent* component = ComponentArgument(prop, value);
    C* typed = nullptr;
    if (component) {
      typed = dynamic_cast<C*>(component);
      if (!typed) ThrowWrongComponent(prop, *component);
    }
    Write<Set>(prop, p, typed);
  }
  template <typename Set, typename C>
  static void SetNamedComponent(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    // The registry, not dynamic_cast, tells the class: a cast would link
    // C's type information, and with it the code beside it.
    TComponent* component = ComponentArgument(prop, value);
    if (component && !IsOfClass(*component, prop.ClassRef())) ThrowWrongComponent(prop, *component);
    Write<Set>(prop, p, static_cast<C*>(component));
  }
  template <typename Set, typename F>
  VANTO_RTTI_MEMBER_CALL static void SetHandler(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    const F* f = HandlerOf<F>(prop, value);
    if constexpr (std::is_member_object_pointer_v<Set>) {
      AssignHandler(Cast<Owner>(prop, p).*Stored<Set>(prop.setter_), f);
    } else if (f) {
      Write<Set>(prop, p, *f);
    } else {
      Write<Set>(prop, p, F{});
    }
  }
  template <typename Set, typename V>
  static void SetPicture(const TPropInfo& prop, TPersistent& p, const TPropValue& value) {
    const std::any* image = PictureArgument(prop, value);
    if (!image) return Write<Set>(prop, p, V{});
    auto* v = std::any_cast<V>(image);
    if (!v) ThrowWrongValue(prop);
    Write<Set>(prop, p, *v);
  }
};

}  // namespace rtti_detail

// Describes class T; made by TClassInfo::Define and finished by Done().
template <typename T>
class TClassBuilder : public rtti_detail::TClassBuilderBase {
public:
  // Instances are made with new T(owner).
  TClassBuilder& Factory() {
    info_->factory_ = &NewInstance;
    return *this;
  }
  // Instances are made by a function of the class's own.
  TClassBuilder& Factory(TClassInfo::TFactory factory) {
    info_->factory_ = factory;
    return *this;
  }

  template <typename Get, typename Set>
  TClassBuilder& Prop(const char* name, Get get, Set set) {
    using V = ValueOf<Get>;
    using G = Kept<Get>;
    using S = Kept<Set>;
    if constexpr (std::is_same_v<V, bool>) {
      Add(name, TPropKind::Boolean, &On<Get>::template GetAs<G, bool>,
          &On<Set>::template SetPlain<S, bool>, get, set);
    } else if constexpr (std::is_same_v<V, std::string>) {
      Add(name, TPropKind::String, &On<Get>::template GetAs<G, std::string>,
          &On<Set>::template SetPlain<S, std::string>, get, set);
    } else if constexpr (std::is_same_v<V, std::vector<std::string>>) {
      using Strings = std::vector<std::string>;
      Add(name, TPropKind::Strings, &On<Get>::template GetAs<G, Strings>,
          &On<Set>::template SetPlain<S, Strings>, get, set);
    } else if constexpr (std::is_integral_v<V>) {
      static_assert(sizeof(V) <= 4 && (std::is_signed_v<V> || sizeof(V) < 4),
                    "Integer properties hold 32-bit signed values; a colour is a ColorProp");
      Add(name, TPropKind::Integer, &On<Get>::template GetAs<G, std::int32_t>,
          &On<Set>::template SetInteger<S, V>, get, set);
    } else if constexpr (rtti_detail::IsComponentPointer<V>::value) {
      using C = std::remove_pointer_t<V>;
      Add(name, TPropKind::Component, &On<Get>::template GetAs<G, TComponent*>,
          &On<Set>::template SetComponent<S, C>, get, set)
          .class_ref_ = &C::StaticClassInfo;
    } else if constexpr (rtti_detail::IsFunction<V>::value) {
      Event(name, get, set);
    } else {
      static_assert(!std::is_enum_v<V>, "an enumeration is an EnumProp or a SetProp");
      static_assert(std::is_enum_v<V>, "no property kind for this type");
    }
    return *this;
  }

  // An event that is a public std::function member: Event("OnClick", &T::OnClick).
  template <typename F>
  TClassBuilder& Event(const char* name, F T::*field) {
    static_assert(rtti_detail::IsFunction<F>::value, "events are std::function members");
    return Event(name, field, field);
  }
  template <typename Get, typename Set>
  TClassBuilder& Event(const char* name, Get get, Set set) {
    using V = ValueOf<Get>;
    Add(name, TPropKind::Event, &On<Get>::template GetHandler<Kept<Get>, V>,
        &On<Set>::template SetHandler<Kept<Set>, V>, get, set)
        .event_type_ = &kEventType<V>;
    return *this;
  }

  // Value: an enumeration (or integer) whose numbers are those of values.
  template <typename Get, typename Set>
  TClassBuilder& EnumProp(const char* name, const TEnumInfo& values, Get get, Set set) {
    using V = ValueOf<Get>;
    static_assert(std::is_enum_v<V> || std::is_integral_v<V>);
    Add(name, TPropKind::Enum, &On<Get>::template GetAs<Kept<Get>, std::int32_t>,
        &On<Set>::template SetEnumValue<Kept<Set>, V>, get, set)
        .enum_info_ = &values;
    return *this;
  }

  // Value: a bit mask (an unsigned integer type); bit n is the element
  // whose value in elements is n.
  template <typename Get, typename Set>
  TClassBuilder& SetProp(const char* name, const TEnumInfo& elements, Get get, Set set) {
    using V = ValueOf<Get>;
    static_assert(std::is_integral_v<V> && std::is_unsigned_v<V>, "sets are unsigned bit masks");
    Add(name, TPropKind::Set, &On<Get>::template GetAs<Kept<Get>, std::uint32_t>,
        &On<Set>::template SetBits<Kept<Set>, V>, get, set)
        .enum_info_ = &elements;
    return *this;
  }

  // Value: a 32-bit colour. color_names, when given, are the constants a
  // layout may name ("clBtnFace") instead of a number.
  template <typename Get, typename Set>
  TClassBuilder& ColorProp(const char* name, Get get, Set set,
                           const TEnumInfo* color_names = nullptr) {
    using V = ValueOf<Get>;
    static_assert(std::is_integral_v<V> && sizeof(V) == 4);
    Add(name, TPropKind::Color, &On<Get>::template GetAs<Kept<Get>, std::uint32_t>,
        &On<Set>::template SetColour<Kept<Set>, V>, get, set)
        .enum_info_ = color_names;
    return *this;
  }

  // A component property (get returns C*) whose class is given by its
  // registered name, so that publishing the property does not link C's
  // class, and with it C's code, into every program that has the
  // publishing class: a control's PopupMenu costs a program without menus
  // nothing. A component of another class is refused as by Prop; with no
  // class of that name registered, no component fits.
  template <typename Get, typename Set>
  TClassBuilder& NamedClassProp(const char* name, Get get, Set set, const char* class_name) {
    using V = ValueOf<Get>;
    static_assert(rtti_detail::IsComponentPointer<V>::value, "a named class is a component's");
    using C = std::remove_pointer_t<V>;
    Add(name, TPropKind::Component, &On<Get>::template GetAs<Kept<Get>, TComponent*>,
        &On<Set>::template SetNamedComponent<Kept<Set>, C>, get, set)
        .class_ref_name_ = class_name;
    return *this;
  }

  // A sub-object that the object owns (get returns TSub& or TSub*); its
  // own properties are reached by path ("Font.Height").
  template <typename Get>
  TClassBuilder& ObjectProp(const char* name, Get get) {
    using R = std::invoke_result_t<Get, T&>;
    using Sub = std::remove_cvref_t<std::remove_pointer_t<std::remove_cvref_t<R>>>;
    static_assert(std::is_base_of_v<TPersistent, Sub>, "sub-objects are TPersistent");
    Add(name, TPropKind::Object, &On<Get>::template GetSubObject<Kept<Get>>, nullptr, get,
        nullptr)
        .class_ref_ = &Sub::StaticClassInfo;
    return *this;
  }

  // Value: whatever the setter takes (an image handle, a shared bitmap),
  // carried in TPictureValue; an empty one is the setter's V{}.
  template <typename Get, typename Set>
  TClassBuilder& PictureProp(const char* name, Get get, Set set) {
    using V = ValueOf<Get>;
    Add(name, TPropKind::Picture, &On<Get>::template GetPicture<Kept<Get>, V>,
        &On<Set>::template SetPicture<Kept<Set>, V>, get, set);
    return *this;
  }

  // Registers the class and hands it over; it lives as long as the program.
  // Throws base::Error when a property is declared twice or another class
  // has the same name.
  const TClassInfo& Done() { return Finish(); }

private:
  friend class TClassInfo;
  TClassBuilder(const char* class_name, const TClassInfo* parent)
      : TClassBuilderBase(class_name, parent) {}

  template <typename Get>
  using ValueOf = std::remove_cvref_t<std::invoke_result_t<Get, const T&>>;

  // An accessor as the row keeps it: a member of a class with published
  // properties as TPersistent's member, anything else (functions, lambdas,
  // members of other classes, nullptr) as it is.
  template <typename A>
  static constexpr bool kKeptAsPersistent = rtti_detail::MemberOfPersistent<A>::value;
  template <typename A>
  static auto Keep(const A& accessor) {
    if constexpr (kKeptAsPersistent<A>) {
      return static_cast<typename rtti_detail::MemberOfPersistent<A>::Kept>(accessor);
    } else {
      return accessor;
    }
  }
  template <typename A>
  using Kept = decltype(Keep(std::declval<const A&>()));
  // The thunks that call an accessor of type A.
  template <typename A>
  using On = rtti_detail::TThunks<std::conditional_t<kKeptAsPersistent<A>, TPersistent, T>>;

  static TComponent* NewInstance(TComponent* owner) { return new T(owner); }

  template <typename Get, typename Set>
  TPropInfo& Add(const char* name, TPropKind kind, TPropInfo::TGetThunk get_thunk,
                 TPropInfo::TSetThunk set_thunk, const Get& get, const Set& set) {
    if constexpr (std::is_null_pointer_v<Set>) set_thunk = nullptr;
    return AddProperty(name, kind, get_thunk, set_thunk, rtti_detail::Pack(Keep(get)),
                       rtti_detail::Pack(Keep(set)));
  }
};

template <typename T, typename Parent>
TClassBuilder<T> TClassInfo::Define(const char* class_name) {
  static_assert(std::is_base_of_v<TPersistent, T>, "described classes are TPersistent");
  const TClassInfo* parent = nullptr;
  if constexpr (!std::is_void_v<Parent>) {
    static_assert(std::is_base_of_v<Parent, T>, "Parent must be a base of T");
    parent = &Parent::StaticClassInfo();
  }
  return TClassBuilder<T>(class_name, parent);
}

}  // namespace framework
