#include "tests/win32/support/gdi_count.h"

#include <cstdint>

#include "base/win_api.h"
#include <winternl.h>

namespace testing_support {
namespace {

// Wine keeps each process's GDI handles in a table of the process's own,
// which the PEB points to where Windows keeps GdiSharedHandleTable. An
// entry is 24 bytes in both architectures (its pointers are 64-bit so that
// 32-bit and 64-bit code share the layout):
struct HandleEntry {
  std::uint64_t object;  // the object's memory (on the free list: the next free entry)
  std::uint32_t owner;   // process id and count (Wine leaves them 0)
  std::uint16_t unique;  // the upper word of the handle: kind and generation
  std::uint8_t type;     // the object type; 0 for a free entry
  std::uint8_t flags;
  std::uint64_t user;
};
static_assert(sizeof(HandleEntry) == 24);
// The lower word of a handle is its index; 16 bits, so 65536 entries.
constexpr std::size_t kTableEntries = 0x10000;
// PEB.GdiSharedHandleTable.
constexpr std::size_t kPebTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

const HandleEntry* HandleTable() {
  PROCESS_BASIC_INFORMATION info{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info,
                                nullptr) != 0 ||
      !info.PebBaseAddress)
    return nullptr;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
  return *reinterpret_cast<const HandleEntry* const*>(peb + kPebTableOffset);
}

// The table is trusted only when a brush made for the purpose shows in it
// as described above: at its handle's index, with a type and the handle's
// upper word, and free again once deleted. A layout that differs then
// gives no number rather than a wrong one.
bool TableDescribesThisProcess(const HandleEntry* table) {
  HBRUSH probe = CreateSolidBrush(0x123456);
  if (!probe) return false;
  const auto value = reinterpret_cast<std::uintptr_t>(probe);
  // Read through volatile: GDI changes the entry behind the compiler's back.
  const volatile HandleEntry& entry = table[value & 0xFFFF];
  const bool live = entry.type != 0 && entry.unique == ((value >> 16) & 0xFFFF);
  DeleteObject(probe);
  return live && entry.type == 0;
}

}  // namespace

std::optional<int> GdiObjectCount() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); n != 0)
    return static_cast<int>(n);
  const HandleEntry* table = HandleTable();
  if (!table || !TableDescribesThisProcess(table)) return std::nullopt;
  int count = 0;
  for (std::size_t i = 0; i < kTableEntries; ++i)
    if (table[i].type != 0) ++count;
  return count;
}

}  // namespace testing_support
