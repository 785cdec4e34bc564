#include "framework/core/compiled_layout.h"

#include <cstdint>
#include <string_view>

#include "base/error.h"
#include "framework/core/compiled_layout_format.h"

namespace framework {
namespace {

// ---------------------------------------------------------------- reading

constexpr std::int64_t kMaxCoordinate = 0x7FFFFFFF;

class Reader {
public:
  Reader(base::ByteView in, const std::string& name) : in_(in), name_(name) {}

  [[noreturn]] void Damaged() const {
    throw base::Error("Compiled layout " + name_ + " is damaged");
  }
  bool AtEnd() const { return pos_ == in_.size(); }
  void Skip(std::size_t n) {
    if (in_.size() - pos_ < n) Damaged();
    pos_ += n;
  }
  std::uint8_t Byte() {
    if (AtEnd()) Damaged();
    return in_[pos_++];
  }
  std::uint64_t Number() {
    std::uint64_t n = 0;
    for (int shift = 0;; shift += 7) {
      const std::uint8_t b = Byte();
      if (shift == 63 && b > 1) Damaged();  // beyond 64 bits
      n |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return n;
    }
  }
  // A count of things that take at least one byte each: never more than
  // the bytes left. Only texts are allocated by their count; lists grow as
  // their items are read, so no count makes a large allocation.
  std::size_t Count() {
    const std::uint64_t n = Number();
    if (n > in_.size() - pos_) Damaged();
    return static_cast<std::size_t>(n);
  }
  std::string Text() {
    const std::size_t n = Count();
    std::string s(reinterpret_cast<const char*>(in_.data() + pos_), n);
    pos_ += n;
    return s;
  }
  std::int64_t Signed() {
    const std::uint64_t z = Number();
    return static_cast<std::int64_t>((z >> 1) ^ (~(z & 1) + 1));
  }
  // A coordinate's step: any step from one int to another fits in 32 bits
  // and a sign; the sum is then taken without overflow.
  std::int64_t Step() {
    const std::int64_t step = Signed();
    if (step < -kMaxCoordinate || step > kMaxCoordinate) Damaged();
    return step;
  }
  // The step from the position before, as the writer takes it.
  TLayoutPosition Position() {
    const std::int64_t line_step = Step();
    const std::int64_t line = last_.line + line_step;
    const std::uint64_t new_column = line_step == 0 ? 0 : Number();
    if (line_step != 0 && new_column > kMaxCoordinate) Damaged();
    const std::int64_t column = line_step == 0 ? last_.column + Step()
                                               : static_cast<std::int64_t>(new_column);
    if (line < 1 || line > kMaxCoordinate || column < 1 || column > kMaxCoordinate) Damaged();
    last_ = {static_cast<int>(line), static_cast<int>(column)};
    return last_;
  }
  TLayoutValue Value(bool is_item) {
    TLayoutValue v;
    const std::uint8_t kind = Byte();
    if (kind > static_cast<std::uint8_t>(TLayoutValueKind::Resource)) Damaged();
    v.kind = static_cast<TLayoutValueKind>(kind);
    v.position = Position();
    switch (v.kind) {
      case TLayoutValueKind::Integer:
        v.integer = Signed();
        break;
      case TLayoutValueKind::Boolean: {
        const std::uint8_t b = Byte();
        if (b > 1) Damaged();
        v.boolean = b == 1;
        break;
      }
      case TLayoutValueKind::String:
      case TLayoutValueKind::Identifier:
      case TLayoutValueKind::Resource:
        v.text = Text();
        break;
      case TLayoutValueKind::Set:
      case TLayoutValueKind::StringList: {
        if (is_item) Damaged();  // lists hold plain values
        const auto item_kind = v.kind == TLayoutValueKind::Set ? TLayoutValueKind::Identifier
                                                               : TLayoutValueKind::String;
        const std::size_t n = Count();
        for (std::size_t i = 0; i < n; ++i) {
          v.items.push_back(Value(true));
          if (v.items.back().kind != item_kind) Damaged();
        }
        break;
      }
    }
    return v;
  }
  TLayoutObject Object(int depth) {
    if (depth > kMaxLayoutDepth) Damaged();
    TLayoutObject o;
    o.position = Position();
    o.name = Text();
    o.name_position = Position();
    o.class_name = Text();
    o.class_position = Position();
    const std::size_t properties = Count();
    for (std::size_t i = 0; i < properties; ++i) {
      TLayoutProperty p;
      p.path = Text();
      p.position = Position();
      p.value = Value(false);
      o.properties.push_back(std::move(p));
    }
    const std::size_t children = Count();
    for (std::size_t i = 0; i < children; ++i) o.children.push_back(Object(depth + 1));
    return o;
  }

private:
  base::ByteView in_;
  const std::string& name_;
  std::size_t pos_ = 0;
  TLayoutPosition last_;  // line 1, column 1 before the first
};

}  // namespace

bool IsCompiledLayout(base::ByteView bytes) {
  return bytes.size() >= compiled_layout::kMagic.size() &&
         std::string_view(reinterpret_cast<const char*>(bytes.data()), compiled_layout::kMagic.size()) == compiled_layout::kMagic;
}

TLayoutObject ReadCompiledLayout(base::ByteView bytes, const std::string& name) {
  Reader r(bytes, name);
  if (!IsCompiledLayout(bytes)) r.Damaged();
  r.Skip(compiled_layout::kMagic.size());
  TLayoutObject root = r.Object(1);
  if (!r.AtEnd()) r.Damaged();
  return root;
}

}  // namespace framework
