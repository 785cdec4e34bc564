// Checks of what a Windows tree built, run on the build machine itself, so
// that they hold for both trees on every machine, including one that cannot
// run the tree's programs under Wine. Wine forgives what Windows does not:
// these look at the files the way a clean Windows would load them.
//
//   built_files_test --machine x86|x64 --stub SETUP.exe --installer BUILT.exe
//                    --pictures DIR... [--program FILE]... [gtest flags]
//
// Each --pictures DIR is a picture folder of the tree (resources/skin or
// resources/wizard, pictures/): DIR/NAME.bmp the 24-bit picture, and
// DIR/packed/NAME.bmp the form the stub carries as BITMAP resource NAME.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "framework/graphics/bmp_codec.h"
#include "tools/pe/import_reader.h"
#include "tools/pe/resources.h"
#include "tools/pe/system_dlls.h"

namespace {

struct Inputs {
  std::uint16_t machine = 0;
  std::string stub, installer;
  std::vector<std::string> programs;  // the product's own programs
  std::vector<std::string> pictures;  // picture folders
};
Inputs g_inputs;

base::Bytes Read(const std::string& path) { return base::NativeFileSystem().ReadWholeFile(path); }

std::vector<std::string> AllPrograms() {
  std::vector<std::string> all = {g_inputs.stub, g_inputs.installer};
  all.insert(all.end(), g_inputs.programs.begin(), g_inputs.programs.end());
  return all;
}

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

const pe::Section* FindSection(const pe::PeHeaders& h, std::string_view name) {
  for (const pe::Section& s : h.sections) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

// A clean Windows has none of the DLLs that Wine carries besides its own
// (zlib1.dll, the MinGW runtime's): every program is linked statically.
TEST(BuiltFiles, EveryProgramImportsOnlyWindowsOwnDllsAndIsOfTheTreesArchitecture) {
  for (const std::string& path : AllPrograms()) {
    const pe::ImageImports imports = pe::ReadImports(Read(path));
    EXPECT_EQ(pe::MachineName(imports.machine), pe::MachineName(g_inputs.machine)) << path;
    EXPECT_FALSE(imports.dlls.empty()) << path;
    for (const pe::ImportedDll& dll : imports.dlls) {
      EXPECT_TRUE(pe::IsWindowsSystemDll(dll.name)) << path << " imports " << dll.name;
    }
  }
}

// Both identities in the manifest, the program's own and that of the common
// controls it asks for, name the program's architecture.
TEST(BuiltFiles, TheManifestNamesTheStubsOwnArchitecture) {
  const pe::PeImage stub = pe::PeImage::Parse(Read(g_inputs.stub));
  const pe::ResourceTree resources = stub.ReadResources();
  const pe::ResourceData* manifest =
      resources.Find(pe::ResourceId::Number(24), pe::ResourceId::Number(1));
  ASSERT_NE(manifest, nullptr) << "no RT_MANIFEST 1";
  const std::string text(manifest->bytes.begin(), manifest->bytes.end());
  const std::string expected = g_inputs.machine == pe::kMachineAmd64 ? "amd64" : "x86";
  const std::string key = "processorArchitecture=\"";
  int identities = 0;
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    const std::size_t begin = at + key.size();
    EXPECT_EQ(text.substr(begin, text.find('"', begin) - begin), expected);
    ++identities;
  }
  EXPECT_EQ(identities, 2);
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("requireAdministrator"), std::string::npos);
}

// Every section of a built installer is live: the stub's own resources are
// replaced where they stood, not kept as a dead copy beside the new ones.
// So the installer is the stub without its resources, plus the new
// resource section, plus at most the file alignment's padding.
TEST(BuiltFiles, TheBuiltInstallerHasNoDeadSectionAndIsNoLargerThanItsParts) {
  const base::Bytes stub_bytes = Read(g_inputs.stub);
  const base::Bytes installer_bytes = Read(g_inputs.installer);
  const pe::PeHeaders stub = pe::ParseHeaders(stub_bytes);
  const pe::PeHeaders installer = pe::ParseHeaders(installer_bytes);

  std::vector<std::string> stub_names, installer_names;
  for (const pe::Section& s : stub.sections) stub_names.push_back(s.name);
  for (const pe::Section& s : installer.sections) installer_names.push_back(s.name);
  EXPECT_EQ(installer_names, stub_names) << "a section was added or renamed";

  const pe::Section* old_resources = FindSection(stub, ".rsrc");
  const pe::Section* resources = FindSection(installer, ".rsrc");
  ASSERT_NE(old_resources, nullptr);
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(installer.Directory(2).rva, resources->virtual_address);
  const std::uint64_t bound = stub_bytes.size() - old_resources->raw_size +
                              AlignUp(resources->virtual_size, installer.file_alignment) +
                              installer.file_alignment;
  EXPECT_LE(installer_bytes.size(), bound);
  // The payload is really in it: the resources grew by far more than the
  // alignment, so the bound above is not met by accident.
  EXPECT_GT(resources->virtual_size, old_resources->virtual_size + installer.file_alignment);
}

// The pictures are carried packed (resources/pack_picture.py): every BITMAP
// resource of the stub is byte for byte a packed form of the build, less
// its file header as windres stores it, and reads back through the
// programs' own reader as exactly its 24-bit picture; every packed form is
// in the stub.
TEST(BuiltFiles, TheStubCarriesEveryPictureInItsPackedForm) {
  const pe::PeImage stub = pe::PeImage::Parse(Read(g_inputs.stub));
  const pe::ResourceTree resources = stub.ReadResources();
  std::size_t packed_forms = 0;
  for (const std::string& dir : g_inputs.pictures) {
    for (const auto& file : std::filesystem::directory_iterator(dir + "/packed")) {
      if (file.path().extension() == ".bmp") ++packed_forms;
    }
  }
  const auto bitmaps = resources.Types().find(pe::ResourceId::Number(pe::kRtBitmap));
  ASSERT_NE(bitmaps, resources.Types().end()) << "no BITMAP resources";
  EXPECT_EQ(bitmaps->second.size(), packed_forms);

  std::size_t compressed = 0;
  for (const auto& [id, languages] : bitmaps->second) {
    const std::string name = id.ToString();
    SCOPED_TRACE(name);
    std::string dir;
    for (const std::string& d : g_inputs.pictures) {
      if (std::filesystem::exists(d + "/packed/" + name + ".bmp")) dir = d;
    }
    ASSERT_FALSE(dir.empty()) << "no packed form of this BITMAP resource";
    const base::Bytes packed = Read(dir + "/packed/" + name + ".bmp");
    const base::Bytes& resource = languages.begin()->second.bytes;
    ASSERT_GT(packed.size(), 14u);
    EXPECT_TRUE(std::equal(resource.begin(), resource.end(), packed.begin() + 14, packed.end()));
    if (base::GetU32(resource.data() + 16) != 0) ++compressed;  // biCompression

    const graphics::TBitmap got = graphics::ReadPackedDib(resource);
    const graphics::TBitmap want = graphics::ReadBmp(Read(dir + "/" + name + ".bmp"));
    ASSERT_EQ(got.Width(), want.Width());
    ASSERT_EQ(got.Height(), want.Height());
    for (int y = 0; y < want.Height(); ++y) {
      ASSERT_TRUE(std::equal(got.Row(y), got.Row(y) + want.Width(), want.Row(y))) << "row " << y;
    }
  }
  // A tiny picture may stay as it is, not all of them.
  EXPECT_GT(compressed, packed_forms * 9 / 10);
}

bool ParseArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--machine" && value == "x86") g_inputs.machine = pe::kMachineI386;
    else if (arg == "--machine" && value == "x64") g_inputs.machine = pe::kMachineAmd64;
    else if (arg == "--stub") g_inputs.stub = value;
    else if (arg == "--installer") g_inputs.installer = value;
    else if (arg == "--program") g_inputs.programs.push_back(value);
    else if (arg == "--pictures") g_inputs.pictures.push_back(value);
    else return false;
  }
  return g_inputs.machine != 0 && !g_inputs.stub.empty() && !g_inputs.installer.empty() &&
         !g_inputs.pictures.empty();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);  // takes its own flags out of argv
  if (!ParseArguments(argc, argv)) {
    std::fprintf(stderr,
                 "usage: built_files_test --machine x86|x64 --stub FILE --installer FILE "
                 "--pictures DIR... [--program FILE]...\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
