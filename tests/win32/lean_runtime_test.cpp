// The product programs' replacements for libstdc++'s exception helpers
// (base/lean_runtime_win.cpp), linked into this test as into the programs.
#include <gtest/gtest.h>

#include <bits/functexcept.h>

#include <functional>
#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "base/error.h"

namespace {

// What a library failure looks like to the programs' handlers: a
// std::exception with the library's message, not a std::logic_error.
template <typename F>
std::string FailureText(F f) {
  try {
    f();
  } catch (const std::logic_error&) {
    return "a std::logic_error";
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no exception";
}

TEST(LeanRuntime, ContainerFailuresCarryTheLibrarysMessage) {
  std::vector<int> v(2);
  EXPECT_EQ(FailureText([&] { (void)v.at(5); }),
            "vector::_M_range_check: __n (which is 5) >= this->size() (which is 2)");
  const std::string s = "abc";
  EXPECT_EQ(FailureText([&] { (void)s.substr(7); }),
            "basic_string::substr: __pos (which is 7) > this->size() (which is 3)");
  std::map<int, int> m;
  EXPECT_EQ(FailureText([&] { (void)m.at(1); }), "map::at");
  EXPECT_EQ(FailureText([&] { v.reserve(v.max_size() + 1); }), "vector::reserve");
}

TEST(LeanRuntime, ExceptionsWithoutAMessageKeepTheirTypes) {
  EXPECT_THROW(std::function<void()>{}(), std::bad_function_call);
  struct Base {
    virtual ~Base() = default;
  };
  struct Other : Base {};
  Base b;
  EXPECT_THROW((void)dynamic_cast<Other&>(b), std::bad_cast);
  // A length the allocator can never give is bad_alloc, as before.
  std::size_t huge = static_cast<std::size_t>(-1) / 2;
  EXPECT_THROW((void)std::allocator<char>().allocate(huge), std::bad_alloc);
}

TEST(LeanRuntime, ALongMessageIsCutNotOverrun) {
  std::string text(1000, 'x');
  std::string what = FailureText([&] { std::__throw_out_of_range_fmt("%s", text.c_str()); });
  EXPECT_GT(what.size(), 100u);
  EXPECT_LT(what.size(), 1000u);
  EXPECT_EQ(what, std::string(what.size(), 'x'));
  EXPECT_EQ(FailureText([] { std::__throw_out_of_range_fmt("100%% of %zu", std::size_t{42}); }),
            "100% of 42");
}

TEST(LeanRuntime, OurErrorsAreUntouched) {
  base::Error e("disk full");
  base::Error copy = e;  // shares the message
  EXPECT_STREQ(copy.what(), "disk full");
  EXPECT_EQ(copy.what(), e.what());
  EXPECT_EQ(FailureText([] { throw base::Error("no such file"); }), "no such file");
}

}  // namespace
