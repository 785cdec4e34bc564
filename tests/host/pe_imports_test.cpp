// Tests of the import reader and the list of Windows' own DLLs: the builder relies on them to
// catch a stub that starts under Wine but not on a clean Windows. Malformed tables must fail
// with base::Error and never read outside the file (the host tree runs under ASan, and every
// image is handed over in an allocation of exactly its size).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "base/error.h"
#include "tools/pe/import_reader.h"
#include "tools/pe/system_dlls.h"
#include "tests/host/expect_error.h"

namespace pe {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSectionOffset = 0x200;

// An image with one section, ".idata" at RVA 0x1000, whose raw data ends the file: a test
// writes tables and names into it and points the directories at them. `file_backed` bytes of
// the section come from the file, the rest of its `mapped` size is zero-filled on load.
class ImportImage {
public:
  explicit ImportImage(bool pe32_plus, std::uint32_t file_backed = 0x400,
                       std::uint32_t mapped = 0x400)
      : pe32_plus_(pe32_plus), file_(kSectionOffset + file_backed, 0) {
    file_[0] = 'M';
    file_[1] = 'Z';
    base::PutU32(&file_[0x3C], 0x40);
    std::memcpy(&file_[0x40], "PE\0\0", 4);
    Machine(pe32_plus ? kMachineAmd64 : kMachineI386);
    base::PutU16(&file_[0x46], 1);
    base::PutU16(&file_[0x54], pe32_plus ? 240 : 224);
    base::PutU16(&file_[kOpt], pe32_plus ? 0x20B : 0x10B);
    if (pe32_plus) {
      base::PutU32(&file_[kOpt + 28], 0x1);  // ImageBase 0x100000000
    } else {
      base::PutU32(&file_[kOpt + 28], 0x400000);
    }
    base::PutU32(&file_[kOpt + 32], 0x1000);
    base::PutU32(&file_[kOpt + 36], 0x200);
    base::PutU32(&file_[kOpt + 56], 0x2000);
    base::PutU32(&file_[kOpt + 60], 0x200);
    base::PutU32(&file_[kOpt + (pe32_plus ? 108 : 92)], 16);
    std::uint8_t* section = &file_[kOpt + (pe32_plus ? 240 : 224)];
    std::memcpy(section, ".idata", 6);
    base::PutU32(section + 8, mapped);
    base::PutU32(section + 12, kSectionRva);
    base::PutU32(section + 16, file_backed);
    base::PutU32(section + 20, kSectionOffset);
  }

  std::uint64_t ImageBase() const { return pe32_plus_ ? 0x100000000u : 0x400000u; }

  void Machine(std::uint16_t machine) { base::PutU16(&file_[0x44], machine); }
  void Directory(std::size_t index, std::uint32_t rva, std::uint32_t size) {
    const std::size_t at = kOpt + (pe32_plus_ ? 112 : 96) + 8 * index;
    base::PutU32(&file_[at], rva);
    base::PutU32(&file_[at + 4], size);
  }
  void Put32(std::uint32_t rva, std::uint32_t value) { base::PutU32(At(rva), value); }
  // The text without a NUL; the section is zero-filled, so one usually follows.
  void Text(std::uint32_t rva, std::string_view text) {
    std::memcpy(At(rva), text.data(), text.size());
  }

  // An import table at `rva`: one descriptor per name RVA, then the all-zero terminator.
  void Imports(std::uint32_t rva, const std::vector<std::uint32_t>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      const auto descriptor = static_cast<std::uint32_t>(rva + 20 * i);
      Put32(descriptor, 0x300);            // OriginalFirstThunk
      Put32(descriptor + 12, names[i]);    // Name
      Put32(descriptor + 16, 0x340);       // FirstThunk
    }
    Directory(1, rva, static_cast<std::uint32_t>(20 * (names.size() + 1)));
  }
  // A delay-load table at `rva`; `rva_based` sets Attributes bit 0, the current format.
  void DelayImports(std::uint32_t rva, const std::vector<std::uint32_t>& names, bool rva_based) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      const auto descriptor = static_cast<std::uint32_t>(rva + 32 * i);
      Put32(descriptor, rva_based ? 1 : 0);
      Put32(descriptor + 4, names[i]);
      Put32(descriptor + 12, 0x380);  // ImportAddressTableRVA
    }
    Directory(13, rva, static_cast<std::uint32_t>(32 * (names.size() + 1)));
  }

  // A copy in an allocation of exactly its size, so that ASan sees any read past its end.
  base::Bytes File() const { return base::Bytes(file_.begin(), file_.end()); }

private:
  static constexpr std::size_t kOpt = 0x40 + 24;

  std::uint8_t* At(std::uint32_t rva) { return &file_.at(kSectionOffset + rva - kSectionRva); }

  bool pe32_plus_;
  base::Bytes file_;
};

std::vector<std::string> Names(const ImageImports& imports) {
  std::vector<std::string> names;
  for (const ImportedDll& dll : imports.dlls) {
    names.push_back(dll.name + (dll.delay_loaded ? " (delay)" : ""));
  }
  return names;
}

using testing_support::ExpectErrorContaining;

// ---------------------------------------------------------------------------------------------

TEST(ImportReaderTest, ReadsWhatMinGwLinked) {
  std::ifstream in(std::string(VANTO_TEST_DATA_DIR) + "/pe/resources.exe", std::ios::binary);
  ASSERT_TRUE(in);
  const base::Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const ImageImports imports = ReadImports(file);
  EXPECT_EQ(imports.machine, kMachineI386);
  // The runtime names libgcc_s_dw2-1.dll too, as a string for LoadLibrary: not an import.
  EXPECT_THAT(Names(imports), ElementsAre("KERNEL32.dll", "msvcrt.dll"));
}

TEST(ImportReaderTest, ListsImportsThenDelayImportsInTableOrder) {
  for (bool pe32_plus : {false, true}) {
    SCOPED_TRACE(pe32_plus ? "PE32+" : "PE32");
    ImportImage image(pe32_plus);
    image.Text(0x1200, "KERNEL32.dll");
    image.Text(0x1210, "zlib1.dll");
    image.Text(0x1220, "USER32.dll");
    image.Text(0x1230, "dwmapi.dll");
    image.Text(0x1240, "never.dll");
    image.Imports(0x1000, {0x1220, 0x1200, 0x1210});
    // A descriptor without a name ends the table even when its other fields are not zero.
    image.Put32(0x1000 + 3 * 20, 0x300);
    image.Put32(0x1000 + 4 * 20 + 12, 0x1240);
    image.Put32(0x1000 + 4 * 20 + 16, 0x340);
    image.DelayImports(0x1100, {0x1230, 0x1210}, true);
    const ImageImports imports = ReadImports(image.File());
    EXPECT_EQ(imports.machine, pe32_plus ? kMachineAmd64 : kMachineI386);
    EXPECT_THAT(Names(imports), ElementsAre("USER32.dll", "KERNEL32.dll", "zlib1.dll",
                                            "dwmapi.dll (delay)", "zlib1.dll (delay)"));
  }
}

TEST(ImportReaderTest, ReadsTheFirstDelayLoadFormatByVirtualAddress) {
  ImportImage image(false);
  image.Text(0x1200, "uxtheme.dll");
  image.DelayImports(0x1100, {static_cast<std::uint32_t>(image.ImageBase() + 0x1200)}, false);
  EXPECT_THAT(Names(ReadImports(image.File())), ElementsAre("uxtheme.dll (delay)"));

  // The same number read as an RVA lies outside the image: the attribute decides.
  image.DelayImports(0x1100, {static_cast<std::uint32_t>(image.ImageBase() + 0x1200)}, true);
  ExpectErrorContaining([&] { ReadImports(image.File()); }, "names a DLL outside");
  image.DelayImports(0x1100, {0x1200}, false);
  ExpectErrorContaining([&] { ReadImports(image.File()); }, "names a DLL outside");

  // Below a base above 4 GiB the same 32-bit VA must not wrap around to the RVA 0x1200.
  ImportImage wide(true);
  wide.Text(0x1200, "uxtheme.dll");
  wide.DelayImports(0x1100, {0x1200}, false);
  ExpectErrorContaining([&] { ReadImports(wide.File()); }, "names a DLL outside");
}

TEST(ImportReaderTest, AbsentOrEmptyDirectoriesHoldNoDlls) {
  ImportImage image(true);
  EXPECT_TRUE(ReadImports(image.File()).dlls.empty());
  // Size zero, pointing at garbage or nowhere: absent, not malformed.
  image.Text(0x1000, std::string(0x400, 'x'));
  image.Directory(1, 0x1000, 0);
  image.Directory(13, 0x7FFF0000, 0);
  EXPECT_TRUE(ReadImports(image.File()).dlls.empty());
  // RVA zero with a size: absent as well.
  image.Directory(1, 0, 40);
  EXPECT_TRUE(ReadImports(image.File()).dlls.empty());
}

TEST(ImportReaderTest, KeepsAnUnknownMachineAsItsNumber) {
  ImportImage image(true);
  image.Machine(0xAA64);
  EXPECT_EQ(ReadImports(image.File()).machine, 0xAA64);
  EXPECT_EQ(MachineName(kMachineI386), "x86");
  EXPECT_EQ(MachineName(kMachineAmd64), "x64");
  EXPECT_EQ(MachineName(0xAA64), "0xAA64");
  EXPECT_EQ(MachineName(0x1C4), "0x1C4");
}

TEST(ImportReaderTest, MalformedTablesFailClearly) {
  struct Case {
    const char* what;
    std::function<void(ImportImage&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"import directory outside every section",
       [](ImportImage& image) { image.Directory(1, 0x5000, 40); }, "import directory lies outside"},
      {"import directory in the headers",
       [](ImportImage& image) { image.Directory(1, 0x80, 40); }, "import directory lies outside"},
      {"delay-load directory outside every section",
       [](ImportImage& image) { image.Directory(13, 0xFFFFFFF0, 64); },
       "delay-load import directory lies outside"},
      {"a name outside every section",
       [](ImportImage& image) { image.Imports(0x1000, {0x9000}); }, "names a DLL outside"},
      {"a name RVA near 4 GiB",
       [](ImportImage& image) {
         image.Imports(0x1000, {0x1200});
         image.Put32(0x1000 + 12, 0xFFFFFFFF);
       },
       "names a DLL outside"},
      {"a name running off the end of the section and the file",
       [](ImportImage& image) {
         image.Text(0x13F8, "zlib1.dl");
         image.Imports(0x1000, {0x13F8});
       },
       "runs past its section"},
      {"an empty name",
       [](ImportImage& image) { image.Imports(0x1000, {0x1300}); }, "empty DLL name"},
      {"a name longer than a path",
       [](ImportImage& image) {
         image.Text(0x1100, std::string(261, 'a'));
         image.Imports(0x1000, {0x1100});
       },
       "longer than 260 bytes"},
      {"descriptors to the end of the section without a terminator",
       [](ImportImage& image) {
         // Each descriptor names the "a" in its own TimeDateStamp field.
         for (std::uint32_t at = 0x1000; at + 20 <= 0x1400; at += 20) {
           image.Put32(at + 4, 'a');
           image.Put32(at + 12, at + 4);
           image.Put32(at + 16, 0x340);
         }
         image.Text(0x13FC, "\x01\x01\x01\x01");
         image.Directory(1, 0x1000, 20);
       },
       "no terminating entry"},
      {"a descriptor cut by the end of the section",
       [](ImportImage& image) {
         image.Text(0x13F0, std::string(0x10, '\x01'));
         image.Directory(1, 0x13F0, 20);
       },
       "no terminating entry"},
      {"a delay-load descriptor cut by the end of the section",
       [](ImportImage& image) {
         image.Text(0x13F0, std::string(0x10, '\x01'));
         image.Directory(13, 0x13F0, 32);
       },
       "delay-load import directory has no terminating entry"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImportImage image(false);
    image.Text(0x1200, "KERNEL32.dll");
    c.damage(image);
    ExpectErrorContaining([&] { ReadImports(image.File()); }, c.message);
  }
}

TEST(ImportReaderTest, NamesMustLieInTheFileNotInZeroFilledMemory) {
  // 0x200 bytes from the file, 0x800 mapped: the loader would see zeros past 0x1200.
  ImportImage image(false, 0x200, 0x800);
  image.Imports(0x1000, {0x1200});
  ExpectErrorContaining([&] { ReadImports(image.File()); }, "names a DLL outside");
  // A name that fills the file data to its end is not ended by the zeros that follow in memory.
  image.Text(0x11F4, "KERNEL32.dll");
  image.Imports(0x1000, {0x11F4});
  ExpectErrorContaining([&] { ReadImports(image.File()); }, "runs past its section");
}

// ---------------------------------------------------------------------------------------------

TEST(SystemDllTest, KnowsWindowsOwnDllsInAnyCase) {
  for (const char* name :
       {"KERNEL32.dll", "kernel32.DLL", "Kernel32", "msvcrt.dll", "USER32.dll", "ComCtl32.dll",
        "WINSPOOL.DRV", "ws2_32.dll", "bcrypt.dll", "UxTheme.dll", "dwmapi.dll"}) {
    EXPECT_TRUE(IsWindowsSystemDll(name)) << name;
  }
}

TEST(SystemDllTest, KnowsTheApiSetsByPrefix) {
  for (const char* name : {"api-ms-win-core-synch-l1-2-0.dll", "API-MS-WIN-CRT-RUNTIME-L1-1-0.DLL",
                           "ext-ms-win-gdi-draw-l1-1-0.dll"}) {
    EXPECT_TRUE(IsWindowsSystemDll(name)) << name;
  }
  EXPECT_FALSE(IsWindowsSystemDll("api-ms-win-"));
  EXPECT_FALSE(IsWindowsSystemDll("api-ms-windows.dll"));
}

TEST(SystemDllTest, RefusesRuntimesRedistributablesAndLookAlikes) {
  for (const char* name :
       {"zlib1.dll", "libstdc++-6.dll", "libgcc_s_dw2-1.dll", "libgcc_s_seh-1.dll",
        "libwinpthread-1.dll", "ucrtbase.dll", "vcruntime140.dll", "msvcr120.dll",
        "kernel33.dll", "kernel32.exe", "kernel32.dll.bak", "winspool.dll", "kernel32.",
        "C:\\Windows\\System32\\kernel32.dll", "sys/kernel32.dll", ""}) {
    EXPECT_FALSE(IsWindowsSystemDll(name)) << name;
  }
}

}  // namespace
}  // namespace pe
