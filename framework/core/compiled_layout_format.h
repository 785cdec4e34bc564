#pragma once
// What the compiled layout's writer and reader share (compiled_layout.h).
#include <string_view>

namespace framework::compiled_layout {

inline constexpr std::string_view kMagic("\0VLC", 4);

}  // namespace framework::compiled_layout
