#pragma once
// The one error type of the system. Its message is GBK text, shown as it
// stands by whoever reports it (the application's error report appends the
// full stop). Operations throw it and let it travel to their caller.
#include <stdexcept>
#include <string>

namespace base {

class Error : public std::runtime_error {
public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// printf-like formatting for messages with %s placeholders only; every
// argument replaces the next %s in order, a "%%" stands for "%".
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace base
