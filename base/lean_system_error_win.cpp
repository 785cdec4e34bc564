// std::__throw_system_error for the product programs; see
// lean_runtime_win.cpp. Apart from the other replacements because
// GoogleTest needs libstdc++'s system error categories, whose object
// defines this function too: the replacements' own test links the others.
#include <exception>
#include <system_error>

namespace {

// The programs' mutexes fail only when Windows cannot make a critical
// section; the error code adds nothing a user could act on.
class SystemFailure : public std::exception {
public:
  const char* what() const noexcept override { return "system error"; }
};

}  // namespace

namespace std {

void __throw_system_error(int) { throw SystemFailure(); }

}  // namespace std
