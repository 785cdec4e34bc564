#pragma once
// The one error type of the system. Its message is GBK text, shown as it
// stands by whoever reports it (the application's error report appends the
// full stop). Operations throw it and let it travel to their caller.
//
// It derives from std::exception, not std::runtime_error: libstdc++ keeps
// runtime_error's message in its old reference-counted string, whose code
// would be the biggest part of the runtime linked into every program. The
// message is shared between copies instead, so that copying an Error (as
// throwing and catching do) never allocates and never throws.
#include <exception>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace base {

class Error : public std::exception {
public:
  explicit Error(const std::string& message)
      : message_(std::make_shared<const std::string>(message)) {}
  const char* what() const noexcept override { return message_->c_str(); }

private:
  std::shared_ptr<const std::string> message_;
};

// printf-like formatting for messages with %s placeholders only; every
// argument replaces the next %s in order, a "%%" stands for "%".
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace base
