#pragma once
// Copies of a built installer with one payload resource replaced, made by
// the builder's own PE resource writer: how the tests give the real stub a
// damaged record or package.
#include <optional>
#include <string>

#include "base/bytes.h"

namespace testing_support {

// A fresh, empty folder of that name in the temporary folder.
std::wstring TempFolder(const wchar_t* name);

// folder\setup.exe: a copy of installer with the RCDATA resource replaced
// by bytes, or removed for an empty optional; an unchanged copy for a null
// resource name.
std::wstring PatchedInstaller(const std::wstring& installer, const std::wstring& folder,
                              const char* resource, const std::optional<base::Bytes>& bytes);

}  // namespace testing_support
