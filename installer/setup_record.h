#pragma once
// The setup configuration record: 207160 bytes of fixed layout describing
// the one product an installer installs. It is produced by the builder and
// read byte for byte into this structure; the field offsets are the file
// format, so each one is pinned by a static_assert below.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace installer {

static_assert(std::endian::native == std::endian::little,
              "the record is read byte for byte and is little-endian");

// A length-prefixed GBK text of fixed capacity N: one length byte, then N
// bytes of storage. Only the first Length bytes are the value; the storage
// after them may hold left-overs of an earlier, longer value.
template <std::size_t N>
struct ShortString {
  std::uint8_t Length;
  char Storage[N];

  static constexpr std::size_t kCapacity = N;

  // The value. A length byte above the capacity (damaged data, refused by
  // validation) never reads past the storage.
  std::string Value() const { return std::string(Storage, std::min<std::size_t>(Length, N)); }
  bool LengthInRange() const { return Length <= N; }

  // Stores at most N bytes of text (a longer text is cut) and sets the
  // length; storage bytes after the new value keep what they held.
  void Assign(std::string_view text) {
    std::size_t n = std::min(text.size(), N);
    std::copy_n(text.data(), n, Storage);
    Length = static_cast<std::uint8_t>(n);
  }
};

struct TSetupFileEntry {
  ShortString<128> Name;  // relative to the target folder, starting with '\'
  std::uint8_t Flag1;     // kOwnUninstallerMark or 0; nothing else reads it
  std::uint8_t Flag2;     // not read by the installer
  std::uint32_t Offset;   // first byte in the unpacked package
  std::uint32_t Size;
};

// Flag1 of the file entry the builder adds for our own uninstaller
// ("\Uninstall.exe", which understands /S): only then does the uninstall
// entry get a QuietUninstallString. A product's own uninstaller, or a
// record from an older builder, has 0 there.
inline constexpr std::uint8_t kOwnUninstallerMark = 0x55;

// Where a shortcut goes. Values other than 0 and 1 mean both places.
enum ShortcutLocation : std::uint8_t { kDesktopOnly = 0, kProgramsOnly = 1, kDesktopAndPrograms = 2 };

struct TSetupShortcutEntry {
  ShortString<128> Name;  // the link file is Name + ".lnk"
  std::int32_t FileIndex;  // the target: Files[FileIndex]
  std::uint8_t Location;
  ShortString<128> Arguments;
};

// The type of an extra registry value; any other Kind writes nothing.
enum RegValueKind : std::uint8_t { kRegBool = 0, kRegString = 1, kRegInteger = 2 };

struct TSetupRegValueEntry {
  ShortString<128> ValueName;
  std::uint8_t CurrentUser;  // nonzero: HKEY_CURRENT_USER, else HKEY_LOCAL_MACHINE
  ShortString<128> KeyPath;
  std::uint8_t Kind;
  std::uint8_t BoolValue;
  ShortString<128> StrValue;
  std::int32_t IntValue;
};

constexpr int kTableSlots = 256;

struct TSetupRecord {
  ShortString<128> Author;
  ShortString<128> PublisherKey;
  ShortString<128> WebSite;
  ShortString<128> RightsNotice;
  ShortString<128> Version;
  ShortString<8> ReleaseDate;
  ShortString<128> ProductName;
  ShortString<128> ShortName;
  ShortString<128> Category;
  ShortString<128> Description;
  ShortString<8> Date1;
  ShortString<8> Date2;
  ShortString<128> InstallDir;
  std::uint32_t PackChecksum;
  TSetupFileEntry Files[kTableSlots];
  std::int32_t FileCount;
  TSetupShortcutEntry Shortcuts[kTableSlots];
  std::int32_t ShortcutCount;
  TSetupRegValueEntry RegValues[kTableSlots];
  std::int32_t RegValueCount;
};

constexpr std::size_t kSetupRecordSize = 207160;

// The layout is the file format: every offset below is a contract with the
// builder and with records already in the field.
static_assert(sizeof(TSetupFileEntry) == 140 && offsetof(TSetupFileEntry, Flag1) == 129 &&
              offsetof(TSetupFileEntry, Offset) == 132 && offsetof(TSetupFileEntry, Size) == 136);
static_assert(sizeof(TSetupShortcutEntry) == 268 &&
              offsetof(TSetupShortcutEntry, FileIndex) == 132 &&
              offsetof(TSetupShortcutEntry, Location) == 136 &&
              offsetof(TSetupShortcutEntry, Arguments) == 137);
static_assert(sizeof(TSetupRegValueEntry) == 396 &&
              offsetof(TSetupRegValueEntry, CurrentUser) == 129 &&
              offsetof(TSetupRegValueEntry, KeyPath) == 130 &&
              offsetof(TSetupRegValueEntry, Kind) == 259 &&
              offsetof(TSetupRegValueEntry, BoolValue) == 260 &&
              offsetof(TSetupRegValueEntry, StrValue) == 261 &&
              offsetof(TSetupRegValueEntry, IntValue) == 392);
static_assert(offsetof(TSetupRecord, PublisherKey) == 129 && offsetof(TSetupRecord, WebSite) == 258 &&
              offsetof(TSetupRecord, RightsNotice) == 387 && offsetof(TSetupRecord, Version) == 516 &&
              offsetof(TSetupRecord, ReleaseDate) == 645 &&
              offsetof(TSetupRecord, ProductName) == 654 && offsetof(TSetupRecord, ShortName) == 783 &&
              offsetof(TSetupRecord, Category) == 912 && offsetof(TSetupRecord, Description) == 1041 &&
              offsetof(TSetupRecord, Date1) == 1170 && offsetof(TSetupRecord, Date2) == 1179 &&
              offsetof(TSetupRecord, InstallDir) == 1188 &&
              offsetof(TSetupRecord, PackChecksum) == 1320 && offsetof(TSetupRecord, Files) == 1324 &&
              offsetof(TSetupRecord, FileCount) == 37164 &&
              offsetof(TSetupRecord, Shortcuts) == 37168 &&
              offsetof(TSetupRecord, ShortcutCount) == 105776 &&
              offsetof(TSetupRecord, RegValues) == 105780 &&
              offsetof(TSetupRecord, RegValueCount) == 207156);
static_assert(sizeof(TSetupRecord) == kSetupRecordSize);

// Fills the record from unpacked record data: the first 207160 bytes, byte
// for byte. Shorter data fills only the front; the rest keeps its contents.
void LoadRecordBytes(TSetupRecord& record, base::ByteView data);

// The record's bytes as stored (for the builder and tests).
base::ByteView RecordBytes(const TSetupRecord& record);

// The number of used entries a table walk visits: a count of 0 or below
// visits nothing, and no walk goes past the 256 slots.
inline int UsedEntries(std::int32_t count) { return std::clamp(count, 0, kTableSlots); }

// A file entry whose name contains "*." is a pattern, not a file: the
// installation skips it.
bool IsSkippedFileEntry(const TSetupFileEntry& entry);

// Where a shortcut goes, from its Location byte.
inline bool ShortcutOnDesktop(std::uint8_t location) { return location != kProgramsOnly; }
inline bool ShortcutInPrograms(std::uint8_t location) { return location != kDesktopOnly; }

}  // namespace installer
