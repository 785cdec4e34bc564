// The writer, in an object of its own: programs only read compiled layouts.
#include <cstdint>
#include <string>

#include "framework/core/compiled_layout.h"
#include "framework/core/compiled_layout_format.h"

namespace framework {
namespace {

class Writer {
public:
  std::string Take() { return std::move(out_); }

  void Number(std::uint64_t n) {
    do {
      const auto low = static_cast<char>(n & 0x7F);
      n >>= 7;
      out_ += static_cast<char>(low | (n ? 0x80 : 0));
    } while (n);
  }
  void Text(const std::string& s) {
    Number(s.size());
    out_ += s;
  }
  // Positions come in the text's order, so each is written as a step from
  // the one before: a line step, then the column's step on the same line or
  // the column itself on a new one (small numbers, which pack well).
  void Position(const TLayoutPosition& p) {
    const std::int64_t line_step = std::int64_t{p.line} - last_.line;
    Signed(line_step);
    if (line_step == 0) {
      Signed(std::int64_t{p.column} - last_.column);
    } else {
      Number(static_cast<std::uint32_t>(p.column));
    }
    last_ = p;
  }
  void Signed(std::int64_t n) {
    // Zigzag: small negative numbers stay short.
    Number((static_cast<std::uint64_t>(n) << 1) ^ static_cast<std::uint64_t>(n >> 63));
  }
  void Value(const TLayoutValue& v) {
    out_ += static_cast<char>(v.kind);
    Position(v.position);
    switch (v.kind) {
      case TLayoutValueKind::Integer:
        Signed(v.integer);
        break;
      case TLayoutValueKind::Boolean:
        out_ += static_cast<char>(v.boolean ? 1 : 0);
        break;
      case TLayoutValueKind::String:
      case TLayoutValueKind::Identifier:
      case TLayoutValueKind::Resource:
        Text(v.text);
        break;
      case TLayoutValueKind::Set:
      case TLayoutValueKind::StringList:
        Number(v.items.size());
        for (const auto& item : v.items) Value(item);
        break;
    }
  }
  void Object(const TLayoutObject& o) {
    Position(o.position);
    Text(o.name);
    Position(o.name_position);
    Text(o.class_name);
    Position(o.class_position);
    Number(o.properties.size());
    for (const auto& p : o.properties) {
      Text(p.path);
      Position(p.position);
      Value(p.value);
    }
    Number(o.children.size());
    for (const auto& child : o.children) Object(child);
  }

  std::string out_;
  TLayoutPosition last_;  // line 1, column 1 before the first
};

}  // namespace

std::string CompileLayout(const TLayoutObject& root) {
  Writer w;
  w.out_.assign(compiled_layout::kMagic);
  w.Object(root);
  return w.Take();
}

}  // namespace framework
