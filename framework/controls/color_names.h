#pragma once
// The colour constants a layout may name ("clBtnFace") instead of a number,
// for the Color properties of every control class.
#include "framework/core/rtti.h"

namespace framework {

const TEnumInfo& ColorNames();

}  // namespace framework
