// Replacements for three corners of libstdc++ that the product programs
// (the installer stub, the uninstaller) link instead of the library's own,
// because the library's pull in far more than they do:
//   - std::terminate's default handler prints the exception's demangled
//     type to stderr, which a window program does not have, and brings the
//     demangler;
//   - the std::__throw_* functions that the containers and strings call
//     construct std::logic_error and friends, whose messages live in
//     libstdc++'s old reference-counted string, and so bring that whole
//     string's code (and, through it, std::random_device's);
//   - std::__throw_system_error (lean_system_error_win.cpp) brings the
//     system error categories, and std::system_error's message is that
//     string too.
// Defining the functions in an object linked into the program itself
// resolves their names before the linker searches libstdc++, so those
// members never join the program. Should another part of libstdc++ ever
// pull one of them in, the link fails with a duplicate definition rather
// than keep both. Tests link the library's own, whose messages say more.
//
// What changes for the programs: a container's logic error (an index out of
// range, a length beyond max_size()) arrives as a std::exception carrying
// the library's message, not as a std::logic_error. Nothing in the programs
// tells those apart: their handlers catch base::Error, std::bad_alloc or
// std::exception. The exceptions without a message (bad_alloc, bad_cast...)
// are the standard ones, as before.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <functional>
#include <new>
#include <typeinfo>

namespace {

// A library failure's message in the object itself: copying it (as
// throwing does) cannot fail.
class LibraryFailure : public std::exception {
public:
  explicit LibraryFailure(const char* text) { Append(text); }
  const char* what() const noexcept override { return text_; }

  // The conversions libstdc++'s formatted messages use: %zu, %s and %%.
  void AppendFormatted(const char* format, std::va_list args) {
    for (const char* p = format; *p; ++p) {
      if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
        AppendNumber(va_arg(args, std::size_t));
        p += 2;
      } else if (p[0] == '%' && p[1] == 's') {
        Append(va_arg(args, const char*));
        ++p;
      } else if (p[0] == '%' && p[1] == '%') {
        AppendChar('%');
        ++p;
      } else {
        AppendChar(*p);
      }
    }
  }

private:
  void AppendChar(char c) {
    if (length_ + 1 < sizeof text_) text_[length_++] = c;
    text_[length_] = '\0';
  }
  void Append(const char* text) {
    for (; text && *text; ++text) AppendChar(*text);
  }
  void AppendNumber(std::size_t n) {
    char digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
    while (count > 0) AppendChar(digits[--count]);
  }

  char text_[160] = {};
  std::size_t length_ = 0;
};

}  // namespace

namespace __gnu_cxx {

// Same end as the default handler: abort(), which ends the process with 3.
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }

void __throw_logic_error(const char* what) { throw LibraryFailure(what); }
void __throw_domain_error(const char* what) { throw LibraryFailure(what); }
void __throw_invalid_argument(const char* what) { throw LibraryFailure(what); }
void __throw_length_error(const char* what) { throw LibraryFailure(what); }
void __throw_out_of_range(const char* what) { throw LibraryFailure(what); }
void __throw_runtime_error(const char* what) { throw LibraryFailure(what); }
void __throw_range_error(const char* what) { throw LibraryFailure(what); }
void __throw_overflow_error(const char* what) { throw LibraryFailure(what); }
void __throw_underflow_error(const char* what) { throw LibraryFailure(what); }

void __throw_out_of_range_fmt(const char* format, ...) {
  LibraryFailure failure("");
  std::va_list args;
  va_start(args, format);
  failure.AppendFormatted(format, args);
  va_end(args);
  throw failure;
}

}  // namespace std
