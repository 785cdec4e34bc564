#pragma once
// How many GDI objects the process holds, for tests that check that
// drawing gives back everything it takes.
#include <optional>

namespace testing_support {

// Windows answers GetGuiResources(GR_GDIOBJECTS). Wine answers 0 there (the
// call is not implemented), so there the count comes from the process's
// GDI handle table (see gdi_count_win.cpp). Nothing when neither way gives
// a number that can be trusted.
std::optional<int> GdiObjectCount();

}  // namespace testing_support
