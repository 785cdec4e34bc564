#pragma once
// A check for code that must refuse its input with a base::Error whose
// message says why.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/error.h"

namespace testing_support {

inline void ExpectErrorContaining(const std::function<void()>& action, const std::string& text) {
  try {
    action();
    ADD_FAILURE() << "no base::Error, expected one containing \"" << text << "\"";
  } catch (const base::Error& e) {
    EXPECT_THAT(e.what(), ::testing::HasSubstr(text));
  }
}

}  // namespace testing_support
