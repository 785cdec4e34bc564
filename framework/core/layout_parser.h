#pragma once
// Stored layouts (docs/layout-format.md): UTF-8 text describing a form, its
// properties and the objects on it, parsed into a tree that the loader
// (layout_loader.h) turns into components. Strings are GBK in the tree.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace framework {

// 1-based; columns count characters (a tab is one).
struct TLayoutPosition {
  int line = 1;
  int column = 1;
  friend bool operator==(const TLayoutPosition&, const TLayoutPosition&) = default;
};

// "line 7, column 12"
std::string PositionText(TLayoutPosition position);

// "line 7, column 12: expected '=' after the property name"
class TLayoutError : public base::Error {
public:
  TLayoutError(TLayoutPosition position, const std::string& detail);
  TLayoutPosition Position() const { return position_; }
  // The message without its position.
  const std::string& Detail() const { return detail_; }

private:
  TLayoutPosition position_;
  std::string detail_;
};

enum class TLayoutValueKind : std::uint8_t {
  Integer,     // 200, -5, 0xFFFFFF
  String,      // "text", "a" + "b": GBK, concatenations joined
  Boolean,     // true, false
  Identifier,  // alTop, Button1, FormCreate: an enum value, a reference, a handler
  Set,         // [fsBold, fsItalic]: items are Identifiers
  StringList,  // ("one", "two"): items are Strings
  Resource,    // resource("WELCOME_JPG"): text is the name (GBK)
};

struct TLayoutValue {
  TLayoutValueKind kind = TLayoutValueKind::Integer;
  TLayoutPosition position;  // where the value starts
  std::int64_t integer = 0;
  bool boolean = false;
  std::string text;                 // String, Identifier, Resource
  std::vector<TLayoutValue> items;  // Set, StringList, each with its own position
  friend bool operator==(const TLayoutValue&, const TLayoutValue&) = default;
};

struct TLayoutProperty {
  std::string path;  // "Caption", "Font.Style": segments without spaces
  TLayoutPosition position;
  TLayoutValue value;
  friend bool operator==(const TLayoutProperty&, const TLayoutProperty&) = default;
};

struct TLayoutObject {
  std::string name;
  std::string class_name;
  TLayoutPosition position;  // of the word "object"
  TLayoutPosition name_position;
  TLayoutPosition class_position;
  std::vector<TLayoutProperty> properties;  // in the order written
  std::vector<TLayoutObject> children;      // in the order written
  friend bool operator==(const TLayoutObject&, const TLayoutObject&) = default;
};

// Objects may nest this deep (the root is level 1); deeper is an error, so
// that no input can exhaust the stack.
inline constexpr int kMaxLayoutDepth = 64;

// Parses a whole layout: exactly one root object. Throws TLayoutError.
TLayoutObject ParseLayout(std::string_view utf8);

}  // namespace framework
