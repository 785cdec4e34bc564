#pragma once
// Identifiers of resource types, names and the numbers Windows predefines for types.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace pe {

// Predefined resource types (the RT_* values).
inline constexpr std::uint16_t kRtCursor = 1;
inline constexpr std::uint16_t kRtBitmap = 2;
inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtMenu = 4;
inline constexpr std::uint16_t kRtDialog = 5;
inline constexpr std::uint16_t kRtString = 6;
inline constexpr std::uint16_t kRtRcData = 10;
inline constexpr std::uint16_t kRtGroupCursor = 12;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

// Language-neutral, the language resource compilers use unless told otherwise.
inline constexpr std::uint16_t kLangNeutral = 0;

// A resource type or name: a 16-bit number or a UTF-16 name.
//
// FindResource upper-cases the name it looks up and then compares code units exactly, which is
// why resource compilers store names upper-cased. Names compare equal here when they match
// after upper-casing, and they sort in the order Windows binary-searches them. Only ASCII
// letters are upper-cased: enough for the names this system uses, which are ASCII or CJK.
class ResourceId {
public:
  static ResourceId Number(std::uint16_t number);
  // A name as a resource compiler stores it: ASCII letters upper-cased. Throws base::Error for
  // an empty name or text that is not UTF-8.
  static ResourceId Name(std::string_view utf8);
  // A name exactly as a file stores it, so that reading and writing back keeps it.
  static ResourceId RawName(std::u16string name);
  // The inverse of ToString(), as FindResource reads its argument: "#123" is number 123,
  // anything else a name.
  static ResourceId Parse(std::string_view text);

  bool IsNumber() const { return is_number_; }
  std::uint16_t AsNumber() const { return number_; }
  const std::u16string& AsName() const { return name_; }
  // "#10" for numbers, the UTF-8 name otherwise.
  std::string ToString() const;

  friend bool operator==(const ResourceId& a, const ResourceId& b);
  // Directory order: names first, by upper-cased code units; then numbers ascending.
  friend std::strong_ordering operator<=>(const ResourceId& a, const ResourceId& b);

private:
  ResourceId() = default;

  bool is_number_ = false;
  std::uint16_t number_ = 0;
  std::u16string name_;
};

}  // namespace pe
