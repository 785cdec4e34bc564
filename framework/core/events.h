#pragma once
// Event types and the type-erased handler a stored layout binds by name.
// An event is a std::function member of the control; a layout names a
// handler ("OnClick = OkButtonClick") and the form supplies it through
// TComponent::FindMethod as a TMethod, which the loader unpacks to the
// event's exact function type, refusing any other.
#include <any>
#include <cstdint>
#include <functional>
#include <string_view>
#include <type_traits>
#include <utility>

namespace framework {

class TComponent;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Which modifier keys and mouse buttons were down; bits of TShiftState.
enum TShiftStateFlag : std::uint8_t {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6,
};
using TShiftState = std::uint8_t;

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
// key is a virtual-key code; a handler may change it, 0 swallows the key.
using TKeyEvent = std::function<void(TComponent* sender, std::uint16_t& key, TShiftState shift)>;
// key is the character typed (a GBK byte); a handler may change it, 0 swallows it.
using TKeyPressEvent = std::function<void(TComponent* sender, char& key)>;

// Names for messages ("handler Foo does not fit OnClick, a TNotifyEvent").
template <typename F>
constexpr std::string_view EventTypeName() {
  if constexpr (std::is_same_v<F, TNotifyEvent>) return "TNotifyEvent";
  else if constexpr (std::is_same_v<F, TMouseEvent>) return "TMouseEvent";
  else if constexpr (std::is_same_v<F, TMouseMoveEvent>) return "TMouseMoveEvent";
  else if constexpr (std::is_same_v<F, TKeyEvent>) return "TKeyEvent";
  else if constexpr (std::is_same_v<F, TKeyPressEvent>) return "TKeyPressEvent";
  else return "event";
}

// A handler with its type erased: code holds one of the event function
// types above (exactly; no conversions are made when it is bound), or
// nothing, which clears an event.
struct TMethod {
  std::any code;
};

// The handler obj->*handler as a TMethod whose function type follows the
// handler's parameters: a void Form::Handler(TComponent*) becomes a
// TNotifyEvent. For FindMethod overrides:
//   if (name == "OkClick") return BindMethod(this, &TMainForm::OkClick);
template <typename C, typename... Args>
TMethod BindMethod(C* obj, void (C::*handler)(Args...)) {
  return TMethod{std::function<void(Args...)>(
      [obj, handler](Args... args) { (obj->*handler)(std::forward<Args>(args)...); })};
}

}  // namespace framework
