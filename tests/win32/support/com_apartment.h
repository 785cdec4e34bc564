#pragma once
// The test program's main thread enters its single-threaded apartment once,
// for the whole run, as the installer does at its start: the shell helpers
// rely on it. Include this in one file of a test program.
#include <gtest/gtest.h>

#include <optional>

#include "base/com_ptr_win.h"

namespace testing_support {

class ComApartmentEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    apartment_.emplace();
    ASSERT_TRUE(apartment_->entered()) << "no single-threaded apartment for the tests";
  }
  void TearDown() override { apartment_.reset(); }

private:
  std::optional<base::ComApartment> apartment_;
};

inline ::testing::Environment* const kComApartment =
    ::testing::AddGlobalTestEnvironment(new ComApartmentEnvironment);

}  // namespace testing_support
