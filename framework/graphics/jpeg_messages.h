#pragma once
// libjpeg's messages without libjpeg's standard error manager. That
// manager formats with sprintf and prints with fprintf, which in a Windows
// program bring MinGW's whole printf family; the codec fills its error
// manager itself and formats the few conversions the messages use here.
#include <span>
#include <string>
#include <string_view>

namespace graphics {

// libjpeg's text for a message code (J_MESSAGE_CODE), or null for a code
// it does not know.
const char* JpegMessageText(int code);

// format as libjpeg's own formatter fills it: with text when the format
// holds a %s, else with the numbers in order. Knows the conversions
// libjpeg's messages use: d, u, x, X and c, with a 0 flag and a width, and
// an l length (ignored: the numbers are ints); anything else is copied.
std::string FormatJpegMessage(std::string_view format, std::span<const int> numbers,
                              std::string_view text);

}  // namespace graphics
