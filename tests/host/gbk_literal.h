#pragma once
// Tests write the system's texts as UTF-8 literals (u8"...") and compare
// them as the GBK bytes the program holds.
#include <stdexcept>
#include <string>

#include "base/text_codec.h"

namespace testing_support {

inline std::string Gbk(const char8_t* utf8) {
  auto gbk = base::Utf8ToGbk(reinterpret_cast<const char*>(utf8));
  if (!gbk) throw std::invalid_argument("no GBK form");
  return *gbk;
}

}  // namespace testing_support
