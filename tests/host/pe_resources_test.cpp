// Tests of the portable PE resource reader and writer against MinGW-built fixtures
// (tests/data/pe/make-fixtures.sh), images laid out in code the way linkers lay them out, and
// hand-made malformed images.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "base/error.h"
#include "tools/pe/import_reader.h"
#include "tools/pe/pe_checksum.h"
#include "tools/pe/resource_section.h"
#include "tools/pe/resources.h"
#include "tests/host/expect_error.h"

namespace pe {
namespace {

using ::testing::HasSubstr;

const ResourceId kRcData = ResourceId::Number(kRtRcData);
constexpr const char* kLayoutUtf8 = "\xE5\xB8\x83\xE5\xB1\x80";  // "布局"

base::Bytes Fixture(const std::string& name) {
  std::ifstream in(std::string(VANTO_TEST_DATA_DIR) + "/pe/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return base::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ResourceData Data(std::string_view text, std::uint32_t codepage = 0) {
  auto view = base::AsBytes(text);
  return {base::Bytes(view.begin(), view.end()), codepage};
}

ResourceTree ReadTree(const base::Bytes& file) { return PeImage::Parse(file).ReadResources(); }

std::uint32_t AlignUp(std::uint32_t v, std::uint32_t a) { return (v + a - 1) / a * a; }

using testing_support::ExpectErrorContaining;

// The classic word-at-a-time checksum, folding the carry after every word.
std::uint32_t ReferenceChecksum(const base::Bytes& file, std::size_t field) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2) {
    std::uint32_t word = file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    if (i == field || i == field + 2) word = 0;
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum + static_cast<std::uint32_t>(file.size());
}

// What Windows' loader insists on, checked from the raw header fields: contiguous ascending
// sections, aligned raw data inside the file, a matching SizeOfImage and a resource directory
// that spans exactly the start of its section.
void ExpectLoadableLayout(const base::Bytes& file) {
  const PeHeaders h = ParseHeaders(file);
  const std::uint8_t* opt = file.data() + h.optional_header_offset;
  ASSERT_FALSE(h.sections.empty());
  EXPECT_GE(h.size_of_headers, h.SectionTableEnd());
  std::uint32_t expected_va = h.sections[0].virtual_address;
  std::uint32_t previous_raw_end = h.size_of_headers;
  for (const Section& s : h.sections) {
    EXPECT_EQ(s.virtual_address, expected_va) << s.name;
    expected_va = AlignUp(s.virtual_address + s.MappedSize(), h.section_alignment);
    if (s.raw_size == 0) continue;
    EXPECT_EQ(s.raw_offset % h.file_alignment, 0u) << s.name;
    EXPECT_EQ(s.raw_size % h.file_alignment, 0u) << s.name;
    EXPECT_GE(s.raw_offset, previous_raw_end) << s.name;
    previous_raw_end = s.raw_offset + s.raw_size;
  }
  EXPECT_LE(previous_raw_end, file.size());
  EXPECT_EQ(base::GetU32(opt + 56), expected_va) << "SizeOfImage";
  const DataDirectory resources = h.Directory(2);
  auto index = h.SectionIndexAt(resources.rva);
  ASSERT_TRUE(index);
  EXPECT_EQ(h.sections[*index].virtual_address, resources.rva);
  EXPECT_EQ(h.sections[*index].virtual_size, resources.size);
  EXPECT_EQ(base::GetU32(file.data() + h.CheckSumOffset()),
            ReferenceChecksum(file, h.CheckSumOffset()));
}

// ---------------------------------------------------------------------------------------------

TEST(ResourceIdTest, NamesAreStoredUpperCaseAndCompareIgnoringAsciiCase) {
  EXPECT_EQ(ResourceId::Name("setupIni").AsName(), u"SETUPINI");
  EXPECT_EQ(ResourceId::RawName(u"SetupIni"), ResourceId::Name("SETUPINI"));
  EXPECT_EQ(ResourceId::RawName(u"SetupIni").AsName(), u"SetupIni");
  EXPECT_NE(ResourceId::Name("A"), ResourceId::Number('A'));
  // Narrow literals are GBK in this project, so UTF-8 text is spelled out.
  EXPECT_EQ(ResourceId::Name(kLayoutUtf8).AsName(), u"\u5E03\u5C40");
  EXPECT_EQ(ResourceId::Name("\xF0\x9F\x98\x80x").AsName(), u"\U0001F600X");
}

TEST(ResourceIdTest, TextRoundTripsThroughParse) {
  for (const char* text : {"#0", "#10", "#65535", "LAYOUT", kLayoutUtf8, "\xF0\x9F\x98\x80"}) {
    EXPECT_EQ(ResourceId::Parse(text).ToString(), text);
  }
  EXPECT_TRUE(ResourceId::Parse("#24").IsNumber());
  EXPECT_EQ(ResourceId::Parse("#24").AsNumber(), 24);
  EXPECT_EQ(ResourceId::RawName(u"\xD800").ToString(), "\xEF\xBF\xBD");
}

TEST(ResourceIdTest, RejectsInvalidText) {
  for (const char* text : {"", "#", "#65536", "#1x", "#-1", "\xFF", "\xC0\x80", "\xED\xA0\x80",
                           "a\xE4\xB8", "\xF4\x90\x80\x80"}) {
    EXPECT_THROW(ResourceId::Parse(text), base::Error) << text;
  }
}

TEST(ResourceIdTest, SortsNamesFirstByUpperCasedCodeUnitsThenNumbers) {
  std::vector<ResourceId> ids = {ResourceId::Number(7),           ResourceId::RawName(u"a_"),
                                 ResourceId::Number(2),           ResourceId::Name("_Z"),
                                 ResourceId::Name("AB"),          ResourceId::RawName(u"A"),
                                 ResourceId::Name("\xE5\xB8\x83")};
  std::sort(ids.begin(), ids.end());
  std::vector<std::string> order;
  for (const ResourceId& id : ids) order.push_back(id.ToString());
  // Upper-cased, 'a' (0x61) sorts before '_' (0x5F) and "A" before its extensions.
  EXPECT_THAT(order, ::testing::ElementsAre("A", "AB", "a_", "_Z", "\xE5\xB8\x83", "#2", "#7"));
}

// ---------------------------------------------------------------------------------------------

TEST(ResourceTreeTest, SetFindAndRemoveWorkPerLanguage) {
  ResourceTree tree;
  const ResourceId name = ResourceId::Name("LAYOUT");
  tree.Set(kRcData, name, 0x409, Data("english"));
  tree.Set(kRcData, name, 0x804, Data("chinese"));
  tree.Set(kRcData, ResourceId::Number(5), 0, Data("five"));
  EXPECT_EQ(tree.Count(), 3u);
  EXPECT_EQ(tree.Find(kRcData, ResourceId::Name("layout"))->bytes, Data("english").bytes);
  EXPECT_EQ(tree.Find(kRcData, name, 0x804)->bytes, Data("chinese").bytes);
  EXPECT_EQ(tree.Find(kRcData, name, 0), nullptr);
  EXPECT_EQ(tree.Find(ResourceId::Number(kRtBitmap), name), nullptr);

  tree.Set(kRcData, name, 0x409, Data("replaced", 1252));
  EXPECT_EQ(*tree.Find(kRcData, name), Data("replaced", 1252));
  EXPECT_EQ(tree.Count(), 3u);

  EXPECT_TRUE(tree.Remove(kRcData, name));
  EXPECT_FALSE(tree.Remove(kRcData, name));
  EXPECT_EQ(tree.Count(), 1u);
  EXPECT_TRUE(tree.Remove(kRcData, ResourceId::Number(5)));
  EXPECT_TRUE(tree.Empty());
  EXPECT_EQ(tree, ResourceTree());
}

TEST(ResourceTreeTest, SettingAnotherSpellingRenamesTheEntry) {
  ResourceTree tree;
  tree.Set(ResourceId::RawName(u"skin"), ResourceId::RawName(u"face"), 0, Data("old"));
  tree.Set(ResourceId::Name("SKIN"), ResourceId::Name("FACE"), 0, Data("new"));
  ASSERT_EQ(tree.Count(), 1u);
  const ResourceTree::Entry entry = tree.Entries()[0];
  EXPECT_EQ(entry.type.AsName(), u"SKIN");
  EXPECT_EQ(entry.name.AsName(), u"FACE");
  EXPECT_EQ(entry.data, Data("new"));
}

// ---------------------------------------------------------------------------------------------

TEST(PeReadTest, ReadsWhatWindresWrote) {
  const ResourceTree tree = ReadTree(Fixture("resources.exe"));
  std::vector<std::string> listing;
  for (const ResourceTree::Entry& e : tree.Entries()) {
    listing.push_back(e.type.ToString() + "/" + e.name.ToString() + "/" +
                      std::to_string(e.language) + "=" + std::to_string(e.data.bytes.size()));
  }
  EXPECT_THAT(listing, ::testing::ElementsAre("FACE/SKIN/0=10", "#10/LAYOUT/0=12", "#10/#101/0=7",
                                              "#10/#101/1033=7", "#24/#1/0=131"));
  EXPECT_EQ(tree.Find(kRcData, ResourceId::Name("Layout"))->bytes, Data("layout text\n").bytes);
  EXPECT_EQ(tree.Find(kRcData, ResourceId::Number(101))->bytes, Data("neutral").bytes);
  const ResourceData* manifest =
      tree.Find(ResourceId::Number(kRtManifest), ResourceId::Number(1), 0);
  ASSERT_NE(manifest, nullptr);
  EXPECT_THAT(base::AsString(manifest->bytes), HasSubstr("<assembly"));
}

TEST(PeReadTest, ImageWithoutResourcesHasAnEmptyTree) {
  EXPECT_TRUE(ReadTree(Fixture("no-resources.exe")).Empty());
}

TEST(PeReadTest, ChecksumMatchesTheLinkersAndAWordwiseSum) {
  for (const char* name : {"resources.exe", "no-resources.exe", "unstripped.exe"}) {
    base::Bytes file = Fixture(name);
    const PeHeaders h = ParseHeaders(file);
    const std::uint32_t stored = base::GetU32(file.data() + h.CheckSumOffset());
    ASSERT_NE(stored, 0u) << name;
    EXPECT_EQ(ComputeChecksum(file, h.CheckSumOffset()), stored) << name;
    file.push_back(0xAB);  // An odd length pads the last word.
    EXPECT_EQ(ComputeChecksum(file, h.CheckSumOffset()),
              ReferenceChecksum(file, h.CheckSumOffset()))
        << name;
  }
}

// ---------------------------------------------------------------------------------------------

class PeWriteTest : public ::testing::TestWithParam<const char*> {};

TEST_P(PeWriteTest, WritingTheSameTreeReadsBackEqual) {
  const base::Bytes original = Fixture(GetParam());
  const ResourceTree tree = ReadTree(original);
  const base::Bytes written = WriteResources(original, tree);
  ExpectLoadableLayout(written);
  EXPECT_EQ(ReadTree(written), tree);
  // Writing the output again must give the same bytes: the second write finds the resources
  // where the first one put them, and rewrites them there.
  EXPECT_TRUE(WriteResources(written, tree) == written);
}

TEST_P(PeWriteTest, AddsPayloadsReplacesOneAndKeepsTheRest) {
  const base::Bytes original = Fixture(GetParam());
  ResourceTree tree = ReadTree(original);
  const ResourceTree before = tree;
  tree.Set(kRcData, ResourceId::Name("SETUPPACK"), 0, Data(std::string(100000, 'p')));
  tree.Set(kRcData, ResourceId::Name("SetupIni"), 0, Data("[setup]\nname=x\n"));
  tree.Set(kRcData, ResourceId::Name("PROTOCOL"), 0, Data("protocol", 936));
  tree.Set(kRcData, ResourceId::Name("LAYOUT"), 0, Data("new layout"));
  const ResourceTree read = ReadTree(WriteResources(original, tree));
  EXPECT_EQ(read, tree);
  EXPECT_EQ(*read.Find(kRcData, ResourceId::Name("PROTOCOL")), Data("protocol", 936));
  for (const ResourceTree::Entry& e : before.Entries()) {
    if (e.name == ResourceId::Name("LAYOUT")) continue;
    EXPECT_EQ(*read.Find(e.type, e.name, e.language), e.data) << e.name.ToString();
  }
}

TEST_P(PeWriteTest, KeepsTheBytesOfEveryOtherSectionAndThePlaceOfThoseBefore) {
  const base::Bytes original = Fixture(GetParam());
  ResourceTree tree = ReadTree(original);
  tree.Set(kRcData, ResourceId::Name("SETUPINI"), 0, Data(std::string(5000, 'x')));
  const base::Bytes written = WriteResources(original, tree);
  const PeHeaders before = ParseHeaders(original);
  const PeHeaders after = ParseHeaders(written);
  const std::optional<std::size_t> resources = before.SectionIndexAt(before.Directory(2).rva);
  for (std::size_t i = 0; i < before.sections.size(); ++i) {
    if (i == resources) continue;
    // Appending adds at the end and rewriting keeps the count, so indexes still match.
    const Section& s = before.sections[i];
    const Section& now = after.sections[i];
    EXPECT_EQ(now.name, s.name);
    ASSERT_EQ(now.raw_size, s.raw_size) << s.name;
    ASSERT_LE(now.raw_offset + now.raw_size, written.size());
    EXPECT_TRUE(std::equal(original.begin() + s.raw_offset,
                           original.begin() + s.raw_offset + s.raw_size,
                           written.begin() + now.raw_offset))
        << s.name;
    if (!resources || i < *resources) {
      EXPECT_EQ(now.virtual_address, s.virtual_address) << s.name;
      EXPECT_EQ(now.raw_offset, s.raw_offset) << s.name;
    }
  }
}

TEST_P(PeWriteTest, GrowsByMegabytesAndShrinksAgain) {
  const base::Bytes original = Fixture(GetParam());
  ResourceTree tree = ReadTree(original);
  ResourceData big;
  big.bytes.resize(16 << 20);
  for (std::size_t i = 0; i < big.bytes.size(); ++i) {
    big.bytes[i] = static_cast<std::uint8_t>(i * 7 >> 3);
  }
  tree.Set(kRcData, ResourceId::Name("SETUPPACK"), 0, big);
  const base::Bytes grown = WriteResources(original, tree);
  ExpectLoadableLayout(grown);
  EXPECT_GE(grown.size(), original.size() + big.bytes.size());
  EXPECT_LT(grown.size(), original.size() + big.bytes.size() + 64 * 1024);
  EXPECT_EQ(ReadTree(grown), tree);

  tree.Remove(kRcData, ResourceId::Name("SETUPPACK"));
  const base::Bytes shrunk = WriteResources(grown, tree);
  ExpectLoadableLayout(shrunk);
  EXPECT_LT(shrunk.size(), original.size() + 64 * 1024);
  EXPECT_EQ(ReadTree(shrunk), tree);
}

std::u16string UpperAscii(std::u16string s) {
  for (char16_t& c : s) c = c >= u'a' && c <= u'z' ? c - 32 : c;
  return s;
}

// Walks a written directory as Windows' binary search sees it: named entries first, by
// upper-cased name, then numbers ascending, on every level.
struct SortedDirectoryCheck {
  const base::Bytes& file;
  std::size_t base;
  std::vector<std::uint32_t> data_rvas;

  void Table(std::uint32_t at, int level) {
    const std::uint8_t* table = file.data() + base + at;
    const int named = base::GetU16(table + 12);
    const int total = named + base::GetU16(table + 14);
    std::optional<std::u16string> previous_name;
    std::optional<std::uint32_t> previous_number;
    for (int i = 0; i < total; ++i) {
      const std::uint32_t id = base::GetU32(table + 16 + 8 * i);
      const std::uint32_t target = base::GetU32(table + 16 + 8 * i + 4);
      ASSERT_EQ((id & 0x80000000u) != 0, i < named);
      if (i < named) {
        const std::uint8_t* s = file.data() + base + (id & 0x7FFFFFFF);
        std::u16string name;
        for (int k = 0; k < base::GetU16(s); ++k) name += char16_t(base::GetU16(s + 2 + 2 * k));
        if (previous_name) {
          EXPECT_LT(UpperAscii(*previous_name), UpperAscii(name));
        }
        previous_name = name;
      } else {
        if (previous_number) {
          EXPECT_LT(*previous_number, id);
        }
        previous_number = id;
      }
      ASSERT_EQ((target & 0x80000000u) != 0, level < 3);
      if (level < 3) {
        Table(target & 0x7FFFFFFF, level + 1);
      } else {
        data_rvas.push_back(base::GetU32(file.data() + base + target));
      }
    }
  }
};

TEST_P(PeWriteTest, WritesSortedDirectoriesAndAlignedData) {
  ResourceTree tree;
  for (const char* name : {"zeta", "Alpha", "alpha_2", "ALPHA1", "#300", "#2", "#65535", "#0"}) {
    tree.Set(kRcData, ResourceId::Parse(name), 0, Data(std::string(name) + "-data"));
    tree.Set(kRcData, ResourceId::Parse(name), 0x804, Data("x"));
  }
  tree.Set(ResourceId::RawName(u"skin"), ResourceId::Number(1), 0, Data("odd"));
  tree.Set(ResourceId::Name("SKIN_"), ResourceId::Number(1), 0, Data("odd"));
  tree.Set(ResourceId::Number(kRtBitmap), ResourceId::Number(1), 0, Data("bmp"));
  const base::Bytes written = WriteResources(Fixture(GetParam()), tree);
  const PeHeaders h = ParseHeaders(written);

  SortedDirectoryCheck check{written, *h.RvaToFileOffset(h.Directory(2).rva, 16), {}};
  check.Table(0, 1);
  EXPECT_EQ(check.data_rvas.size(), tree.Count());
  for (std::uint32_t rva : check.data_rvas) EXPECT_EQ(rva % 8, 0u);
  EXPECT_EQ(ReadTree(written), tree);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PeWriteTest,
                         ::testing::Values("resources.exe", "no-resources.exe", "unstripped.exe"),
                         [](const auto& param_info) {
                           std::string name = param_info.param;
                           name.erase(std::remove_if(name.begin(), name.end(),
                                                     [](char c) { return !std::isalnum(c); }),
                                      name.end());
                           return name;
                         });

// ---------------------------------------------------------------------------------------------

TEST(PePlacementTest, RewritesALastResourceSectionInPlaceAndMovesTheSymbolTable) {
  const base::Bytes original = Fixture("unstripped.exe");
  const PeHeaders before = ParseHeaders(original);
  ASSERT_NE(before.pointer_to_symbol_table, 0u);
  ResourceTree tree = ReadTree(original);
  tree.Set(kRcData, ResourceId::Name("SETUPPACK"), 0, Data(std::string(70000, 'x')));
  const base::Bytes written = WriteResources(original, tree);
  const PeHeaders after = ParseHeaders(written);

  ASSERT_EQ(after.sections.size(), before.sections.size());
  EXPECT_EQ(after.sections.back().name, ".rsrc");
  EXPECT_EQ(after.sections.back().raw_offset, before.sections.back().raw_offset);
  EXPECT_GT(after.sections.back().raw_size, 70000u);
  const std::size_t symbols_size = original.size() - before.pointer_to_symbol_table;
  EXPECT_EQ(after.pointer_to_symbol_table, written.size() - symbols_size);
  EXPECT_TRUE(std::equal(original.begin() + before.pointer_to_symbol_table, original.end(),
                         written.begin() + after.pointer_to_symbol_table));
  ExpectLoadableLayout(written);
}

TEST(PePlacementTest, AppendsANewSectionToAnImageWithoutResources) {
  const base::Bytes original = Fixture("no-resources.exe");
  const PeHeaders before = ParseHeaders(original);
  ResourceTree tree;
  tree.Set(kRcData, ResourceId::Name("SETUPINI"), 0, Data("ini"));
  const base::Bytes written = WriteResources(original, tree);
  const PeHeaders after = ParseHeaders(written);
  ASSERT_EQ(after.sections.size(), before.sections.size() + 1);
  const Section& added = after.sections.back();
  EXPECT_EQ(added.name, ".rsrc");
  EXPECT_EQ(added.raw_offset, original.size()) << "the fixture has no overlay";
  EXPECT_EQ(after.Directory(2).rva, added.virtual_address);
  EXPECT_EQ(after.size_of_initialized_data, before.size_of_initialized_data + added.raw_size);
  EXPECT_EQ(ReadTree(written), tree);
  ExpectLoadableLayout(written);
}

TEST(PePlacementTest, DropsTheCertificateTable) {
  base::Bytes signed_file = Fixture("resources.exe");
  const PeHeaders h = ParseHeaders(signed_file);
  const std::uint32_t certificate_offset = static_cast<std::uint32_t>(signed_file.size());
  signed_file.insert(signed_file.end(), 512, 0xCE);
  base::PutU32(signed_file.data() + h.DataDirectoryOffset(4), certificate_offset);
  base::PutU32(signed_file.data() + h.DataDirectoryOffset(4) + 4, 512);

  EXPECT_FALSE(IsSigned(Fixture("resources.exe")));
  EXPECT_TRUE(IsSigned(signed_file));

  const base::Bytes written = WriteResources(signed_file, ReadTree(signed_file));
  const PeHeaders after = ParseHeaders(written);
  EXPECT_FALSE(after.Signed());
  EXPECT_EQ(after.Directory(4).rva, 0u);
  EXPECT_EQ(after.Directory(4).size, 0u);
  EXPECT_EQ(written.size(), after.DataEnd(written.size())) << "the certificate was kept";
}

TEST(PePlacementTest, FailsClearlyWithoutRoomForASectionHeader) {
  base::Bytes file = Fixture("no-resources.exe");
  const PeHeaders h = ParseHeaders(file);
  file[h.SectionTableEnd() + 39] = 1;
  ResourceTree tree;
  tree.Set(kRcData, ResourceId::Name("SETUPINI"), 0, Data("ini"));
  ExpectErrorContaining([&] { WriteResources(file, tree); }, "no room for another section");
}

TEST(PePlacementTest, RejectsTablesBeyondSixteenBitCounts) {
  ResourceTree tree;
  for (std::uint32_t language = 0; language <= 0xFFFF; ++language) {
    tree.Set(kRcData, ResourceId::Number(1), static_cast<std::uint16_t>(language), {});
  }
  ExpectErrorContaining([&] { ResourceSectionBuilder builder(tree); }, "more than 65535");

  ASSERT_TRUE(tree.Remove(kRcData, ResourceId::Number(1)));
  for (std::uint32_t name = 0; name < 0xFFFF; ++name) {
    tree.Set(kRcData, ResourceId::Number(static_cast<std::uint16_t>(name)), 0, {});
  }
  // 65535 entries still fit: a table entry, a language table and a data entry each.
  EXPECT_GE(ResourceSectionBuilder(tree).Size(), 0xFFFFu * (8 + 24 + 16));
}

// A minimal image: headers and one 512-byte section, PE32 or PE32+.
base::Bytes MinimalImage(bool pe32_plus) {
  base::Bytes file(0x400, 0);
  file[0] = 'M';
  file[1] = 'Z';
  base::PutU32(&file[0x3C], 0x80);
  std::memcpy(&file[0x80], "PE\0\0", 4);
  const std::size_t opt = 0x80 + 24;
  const std::uint16_t opt_size = pe32_plus ? 240 : 224;
  base::PutU16(&file[0x84], pe32_plus ? 0x8664 : 0x14C);
  base::PutU16(&file[0x86], 1);
  base::PutU16(&file[0x94], opt_size);
  base::PutU16(&file[opt], pe32_plus ? 0x20B : 0x10B);
  base::PutU32(&file[opt + 32], 0x1000);
  base::PutU32(&file[opt + 36], 0x200);
  base::PutU32(&file[opt + 56], 0x2000);
  base::PutU32(&file[opt + 60], 0x200);
  base::PutU32(&file[opt + (pe32_plus ? 108 : 92)], 16);
  std::uint8_t* section = &file[opt + opt_size];
  std::memcpy(section, ".text", 5);
  base::PutU32(section + 8, 0x10);
  base::PutU32(section + 12, 0x1000);
  base::PutU32(section + 16, 0x200);
  base::PutU32(section + 20, 0x200);
  return file;
}

TEST(PePlacementTest, NeverRewritesASectionWhoseDataCoversTheHeaders) {
  base::Bytes file = Fixture("unstripped.exe");
  const PeHeaders h = ParseHeaders(file);
  const Section& resources = h.sections.back();
  std::uint8_t* header = &file[h.SectionHeaderOffset(h.sections.size() - 1)];
  base::PutU32(header + 16, resources.raw_offset + resources.raw_size);
  base::PutU32(header + 20, 0);
  ResourceTree tree;
  tree.Set(kRcData, ResourceId::Name("SETUPINI"), 0, Data("ini"));
  ExpectErrorContaining([&] { WriteResources(file, tree); }, "no room for another section");
}

TEST(PePlacementTest, HandlesPe32PlusDirectoryOffsets) {
  for (bool pe32_plus : {false, true}) {
    ResourceTree tree;
    tree.Set(kRcData, ResourceId::Name("SETUPINI"), 0, Data("ini"));
    const base::Bytes written = WriteResources(MinimalImage(pe32_plus), tree);
    const std::size_t directories = 0x80 + 24 + (pe32_plus ? 112 : 96);
    EXPECT_EQ(base::GetU32(&written[directories + 2 * 8]), 0x2000u);
    EXPECT_EQ(base::GetU32(&written[0x80 + 24 + 56]), 0x3000u);
    EXPECT_EQ(PeImage::Parse(written).Headers().pe32_plus, pe32_plus);
    EXPECT_EQ(ReadTree(written), tree);
    ExpectLoadableLayout(written);
  }
}

// The builder tells when embedding drops a signature; it must find the security entry of either
// header kind, and only where the header says there are directories.
TEST(PeSignatureTest, OnlyANonEmptySecurityEntryMarksAnImageSigned) {
  for (bool pe32_plus : {false, true}) {
    SCOPED_TRACE(pe32_plus ? "PE32+" : "PE32");
    base::Bytes image = MinimalImage(pe32_plus);
    const std::size_t opt = 0x80 + 24;
    const std::size_t security = opt + (pe32_plus ? 112 : 96) + 4 * 8;
    EXPECT_FALSE(IsSigned(image));

    base::PutU32(&image[security], 0x400);  // an offset alone names no certificates
    EXPECT_FALSE(IsSigned(image));
    base::PutU32(&image[security + 4], 0x100);
    EXPECT_TRUE(IsSigned(image));

    // NumberOfRvaAndSizes 4: there is no fifth entry, whatever the bytes where it would be.
    base::PutU32(&image[opt + (pe32_plus ? 108 : 92)], 4);
    EXPECT_FALSE(IsSigned(image));
  }
  ExpectErrorContaining([] { IsSigned(base::AsBytes(std::string_view("MZ"))); }, "truncated");
}

// ---------------------------------------------------------------------------------------------
// A resource section followed by the base relocation section, which is how MinGW links the
// installer stub: the resources are rewritten where they are and the relocations move.

constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kCode = 0x60000020;         // Code, executable, readable.
constexpr std::uint32_t kData = 0xC0000040;         // Initialized data, readable, writable.
constexpr std::uint32_t kResources = 0x40000040;    // Initialized data, readable.
constexpr std::uint32_t kRelocations = 0x42000040;  // The same, discardable.

// An image laid out as a linker lays one out: the headers in 0x400 bytes, then the sections in
// the order added, each aligned to 0x1000 in memory and 0x200 in the file, then the overlay; a
// correct checksum. PE32 at 0x400000 or PE32+ at 0x140000000.
class ImageBuilder {
public:
  explicit ImageBuilder(bool pe32_plus) : pe32_plus_(pe32_plus) {}

  std::uint32_t NextRva() const { return next_rva_; }

  // Returns the section's RVA. Empty data makes a section with no raw data (.bss).
  std::uint32_t Add(const char* name, base::Bytes data, std::uint32_t characteristics,
                    std::uint32_t virtual_size = 0) {
    const std::uint32_t rva = next_rva_;
    if (virtual_size == 0) virtual_size = static_cast<std::uint32_t>(data.size());
    next_rva_ = AlignUp(rva + virtual_size, kSectionAlignment);
    sections_.push_back({name, std::move(data), rva, virtual_size, characteristics});
    return rva;
  }
  std::uint32_t AddResources(const ResourceTree& tree) {
    const ResourceSectionBuilder builder(tree);
    base::Bytes data(builder.Size());
    builder.Write(next_rva_, data);
    const std::uint32_t rva = Add(".rsrc", std::move(data), kResources);
    Directory(2, rva, builder.Size());
    return rva;
  }
  std::uint32_t AddRelocations(base::Bytes table) {
    const auto size = static_cast<std::uint32_t>(table.size());
    const std::uint32_t rva = Add(".reloc", std::move(table), kRelocations);
    Directory(5, rva, size);
    return rva;
  }
  void Directory(std::size_t index, std::uint32_t rva, std::uint32_t size) {
    directories_[index] = {rva, size};
  }
  // Bytes after the section data; `symbols` makes them the COFF symbol table.
  void Overlay(base::Bytes bytes, bool symbols) {
    overlay_ = std::move(bytes);
    symbols_ = symbols;
  }

  base::Bytes Build() const {
    constexpr std::size_t kCoff = 0x84;
    constexpr std::size_t kOpt = kCoff + 20;
    const std::uint16_t opt_size = pe32_plus_ ? 240 : 224;
    base::Bytes file(0x400, 0);
    file[0] = 'M';
    file[1] = 'Z';
    base::PutU32(&file[0x3C], 0x80);
    std::memcpy(&file[0x80], "PE\0\0", 4);
    base::PutU16(&file[kCoff], pe32_plus_ ? 0x8664 : 0x14C);
    base::PutU16(&file[kCoff + 2], static_cast<std::uint16_t>(sections_.size()));
    base::PutU16(&file[kCoff + 16], opt_size);
    base::PutU16(&file[kOpt], pe32_plus_ ? 0x20B : 0x10B);
    if (pe32_plus_) {
      base::PutU32(&file[kOpt + 24], 0x40000000);
      base::PutU32(&file[kOpt + 28], 0x1);
    } else {
      base::PutU32(&file[kOpt + 28], 0x400000);
    }
    base::PutU32(&file[kOpt + 32], kSectionAlignment);
    base::PutU32(&file[kOpt + 36], kFileAlignment);
    base::PutU32(&file[kOpt + 56], next_rva_);
    base::PutU32(&file[kOpt + 60], 0x400);
    base::PutU32(&file[kOpt + (pe32_plus_ ? 108 : 92)], 16);
    for (const auto& [index, d] : directories_) {
      const std::size_t at = kOpt + (pe32_plus_ ? 112 : 96) + 8 * index;
      base::PutU32(&file[at], d.rva);
      base::PutU32(&file[at + 4], d.size);
    }
    std::uint32_t initialized = 0;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
      const Spec& s = sections_[i];
      const auto raw_offset = static_cast<std::uint32_t>(file.size());
      const std::uint32_t raw_size =
          AlignUp(static_cast<std::uint32_t>(s.data.size()), kFileAlignment);
      std::uint8_t* header = &file[kOpt + opt_size + 40 * i];
      std::memcpy(header, s.name, std::strlen(s.name));
      base::PutU32(header + 8, s.virtual_size);
      base::PutU32(header + 12, s.rva);
      base::PutU32(header + 16, raw_size);
      base::PutU32(header + 20, raw_size != 0 ? raw_offset : 0);
      base::PutU32(header + 36, s.characteristics);
      if (s.characteristics & 0x40) initialized += raw_size;
      file.insert(file.end(), s.data.begin(), s.data.end());
      file.resize(raw_offset + raw_size);
    }
    base::PutU32(&file[kOpt + 8], initialized);
    if (symbols_) base::PutU32(&file[kCoff + 8], static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), overlay_.begin(), overlay_.end());
    base::PutU32(&file[kOpt + 64], ComputeChecksum(file, kOpt + 64));
    return file;
  }

private:
  struct Spec {
    const char* name;
    base::Bytes data;
    std::uint32_t rva;
    std::uint32_t virtual_size;
    std::uint32_t characteristics;
  };

  bool pe32_plus_;
  std::uint32_t next_rva_ = kSectionAlignment;
  std::vector<Spec> sections_;
  std::map<std::size_t, DataDirectory> directories_;
  base::Bytes overlay_;
  bool symbols_ = false;
};

base::Bytes Pattern(std::size_t size, std::uint8_t seed) {
  base::Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
  return bytes;
}

// A base relocation table, one block per page: each entry holds its type in the top four bits
// and its offset in the page below them. Blocks are padded to four bytes with an absolute
// entry, as linkers pad them.
using RelocationBlock = std::pair<std::uint32_t, std::vector<std::uint16_t>>;
base::Bytes RelocationTable(const std::vector<RelocationBlock>& blocks) {
  base::Bytes table;
  for (const auto& [page, entries] : blocks) {
    std::vector<std::uint16_t> padded = entries;
    if (padded.size() % 2 != 0) padded.push_back(0);
    const std::size_t at = table.size();
    table.resize(at + 8 + 2 * padded.size());
    base::PutU32(&table[at], page);
    base::PutU32(&table[at + 4], static_cast<std::uint32_t>(8 + 2 * padded.size()));
    for (std::size_t i = 0; i < padded.size(); ++i) base::PutU16(&table[at + 8 + 2 * i], padded[i]);
  }
  return table;
}

// An absolute address at `offset` in its page: 32-bit in PE32, 64-bit in PE32+.
std::uint16_t Fixup(bool pe32_plus, std::uint16_t offset) {
  return static_cast<std::uint16_t>((pe32_plus ? 0xA000 : 0x3000) | offset);
}

ResourceTree PayloadTree(std::size_t size) {
  ResourceTree tree;
  tree.Set(kRcData, ResourceId::Name("SETUPPACK"), 0, {Pattern(size, 5), 0});
  tree.Set(ResourceId::Number(kRtManifest), ResourceId::Number(1), 0, Data("<assembly/>"));
  return tree;
}

// .text with addresses in it, .data, .bss, .rsrc and .reloc: the stub's layout. The resources
// span two pages, so that both growing and shrinking move the relocations.
base::Bytes StubLikeImage(bool pe32_plus) {
  ImageBuilder image(pe32_plus);
  const std::uint32_t text = image.Add(".text", Pattern(0x1300, 1), kCode);
  const std::uint32_t data = image.Add(".data", Pattern(0x80, 2), kData);
  image.Add(".bss", {}, 0xC0000080, 0x400);
  image.AddResources(PayloadTree(6000));
  image.AddRelocations(RelocationTable(
      {{text, {Fixup(pe32_plus, 0x10), Fixup(pe32_plus, 0x400), Fixup(pe32_plus, 0xFF0)}},
       {text + 0x1000, {Fixup(pe32_plus, 0x20)}},
       {data, {Fixup(pe32_plus, 0x8)}}}));
  return image.Build();
}

// What a rewrite in place must give: the resources at their old RVA and file offset, the
// sections before them untouched, every section after them right behind the new resources
// with its bytes unchanged and its directory entry following it, no stale copy of anything,
// and a file no larger than the old one with the new resources instead of the old.
void ExpectRewrittenInPlace(const base::Bytes& original, const base::Bytes& written,
                            const ResourceTree& tree) {
  const PeHeaders before = ParseHeaders(original);
  const PeHeaders after = ParseHeaders(written);
  ASSERT_EQ(after.sections.size(), before.sections.size());
  EXPECT_EQ(std::count_if(after.sections.begin(), after.sections.end(),
                          [](const Section& s) { return s.name == ".rsrc"; }),
            1);
  EXPECT_TRUE(std::none_of(after.sections.begin(), after.sections.end(),
                           [](const Section& s) { return s.name == ".oldrsrc"; }));
  const std::size_t r = *before.SectionIndexAt(before.Directory(2).rva);
  const Section& resources = after.sections[r];
  EXPECT_EQ(resources.name, ".rsrc");
  EXPECT_EQ(resources.virtual_address, before.sections[r].virtual_address);
  EXPECT_EQ(resources.raw_offset, before.sections[r].raw_offset);
  EXPECT_EQ(after.Directory(2).rva, resources.virtual_address);

  for (std::size_t i = 0; i < before.sections.size(); ++i) {
    if (i == r) continue;
    const Section& old = before.sections[i];
    const Section& now = after.sections[i];
    EXPECT_EQ(now.name, old.name);
    EXPECT_EQ(now.virtual_size, old.virtual_size) << old.name;
    ASSERT_EQ(now.raw_size, old.raw_size) << old.name;
    EXPECT_TRUE(std::equal(original.begin() + old.raw_offset,
                           original.begin() + old.raw_offset + old.raw_size,
                           written.begin() + now.raw_offset))
        << old.name;
    if (i < r) {
      EXPECT_EQ(now.virtual_address, old.virtual_address) << old.name;
      EXPECT_EQ(now.raw_offset, old.raw_offset) << old.name;
    } else {
      const Section& previous = after.sections[i - 1];
      EXPECT_EQ(now.virtual_address,
                AlignUp(previous.virtual_address + previous.MappedSize(), after.section_alignment))
          << old.name;
      EXPECT_EQ(now.raw_offset, previous.raw_offset + previous.raw_size) << old.name;
      if (before.Directory(5).rva == old.virtual_address) {
        EXPECT_EQ(after.Directory(5).rva, now.virtual_address);
        EXPECT_EQ(after.Directory(5).size, before.Directory(5).size);
      }
    }
  }
  EXPECT_EQ(after.size_of_initialized_data,
            before.size_of_initialized_data - before.sections[r].raw_size + resources.raw_size);
  EXPECT_LE(written.size(), original.size() - before.sections[r].raw_size +
                                ResourceSectionBuilder(tree).Size() + 2 * before.file_alignment);
  ExpectLoadableLayout(written);
  EXPECT_EQ(ReadTree(written), tree);
}

TEST(PeTailTest, RewritesTheResourcesWhereTheyAreAndMovesTheRelocationsUpOrDown) {
  for (bool pe32_plus : {false, true}) {
    const base::Bytes original = StubLikeImage(pe32_plus);
    const PeHeaders before = ParseHeaders(original);
    ASSERT_EQ(before.sections.back().name, ".reloc");
    // Three pages more, and one page less.
    for (std::size_t payload : {6000 + 3 * 0x1000, 10}) {
      SCOPED_TRACE(testing::Message() << (pe32_plus ? "PE32+" : "PE32") << ", " << payload);
      const ResourceTree tree = PayloadTree(payload);
      const base::Bytes written = WriteResources(original, tree);
      ExpectRewrittenInPlace(original, written, tree);
      const std::int64_t moved =
          std::int64_t{ParseHeaders(written).sections.back().virtual_address} -
          before.sections.back().virtual_address;
      EXPECT_EQ(moved, payload > 6000 ? 3 * 0x1000 : -0x1000);
      EXPECT_TRUE(WriteResources(written, tree) == written) << "a second write changed the file";
    }
  }
}

TEST(PeTailTest, RewritesALastResourceSectionWithRelocationsElsewhere) {
  for (bool pe32_plus : {false, true}) {
    ImageBuilder image(pe32_plus);
    const std::uint32_t text = image.Add(".text", Pattern(0x200, 1), kCode);
    image.AddRelocations(RelocationTable({{text, {Fixup(pe32_plus, 0x10)}}}));
    image.AddResources(PayloadTree(100));
    const base::Bytes original = image.Build();
    const ResourceTree tree = PayloadTree(9000);
    ExpectRewrittenInPlace(original, WriteResources(original, tree), tree);
  }
}

TEST(PeTailTest, KeepsTheOverlayAndSymbolTableBehindTheMovedRelocations) {
  ImageBuilder image(false);
  const std::uint32_t text = image.Add(".text", Pattern(0x200, 1), kCode);
  image.AddResources(PayloadTree(100));
  image.AddRelocations(RelocationTable({{text, {Fixup(false, 0x10)}}}));
  const base::Bytes symbols = Pattern(333, 9);
  image.Overlay(symbols, true);
  const base::Bytes original = image.Build();
  const ResourceTree tree = PayloadTree(20000);
  const base::Bytes written = WriteResources(original, tree);
  ExpectRewrittenInPlace(original, written, tree);
  const PeHeaders after = ParseHeaders(written);
  const Section& relocations = after.sections.back();
  EXPECT_EQ(after.pointer_to_symbol_table, relocations.raw_offset + relocations.raw_size);
  EXPECT_EQ(written.size(), after.pointer_to_symbol_table + symbols.size());
  EXPECT_TRUE(std::equal(symbols.begin(), symbols.end(), written.end() - symbols.size()));
}

TEST(PeTailTest, RewritesTheMinGwFixtureWithoutAStaleCopy) {
  const base::Bytes original = Fixture("resources.exe");
  ASSERT_EQ(ParseHeaders(original).sections.back().name, ".reloc");
  ResourceTree tree = ReadTree(original);
  tree.Set(kRcData, ResourceId::Name("SETUPPACK"), 0, {Pattern(100000, 3), 0});
  ExpectRewrittenInPlace(original, WriteResources(original, tree), tree);
  ExpectRewrittenInPlace(original, WriteResources(original, ResourceTree()), ResourceTree());
}

// Padding entries and the parameter slot of a high-adjust entry are not addresses: that they
// would point into the resources if read as fix-ups must not stop the rewrite.
TEST(PeTailTest, ReadsOnlyFixupsAsAddresses) {
  ImageBuilder image(false);
  image.Add(".text", Pattern(0x1200, 1), kCode);
  const std::uint32_t resources = image.AddResources(PayloadTree(100));
  image.AddRelocations(RelocationTable({{resources - 0x1000, {0x0FFF, 0x4010, 0x3FFE}}}));
  const base::Bytes original = image.Build();
  const ResourceTree tree = PayloadTree(9000);
  ExpectRewrittenInPlace(original, WriteResources(original, tree), tree);
}

// Every way the sections after the resources, or the relocations, can make moving unsafe. The
// writer must append instead and leave everything of the original where it was.
TEST(PeTailTest, AppendsWhenWhatFollowsTheResourcesCannotMove) {
  struct Case {
    const char* what;
    std::function<void(ImageBuilder&, std::uint32_t text)> tail;
  };
  const auto relocations_in_text = [](ImageBuilder& image, std::uint32_t text) {
    image.AddRelocations(RelocationTable({{text, {Fixup(false, 0x10)}}}));
  };
  const Case cases[] = {
      {"data after the resources, which code may address",
       [](ImageBuilder& image, std::uint32_t) {
         image.AddResources(PayloadTree(100));
         image.Add(".data", Pattern(0x80, 2), kData);
       }},
      {"another section after the relocations",
       [&](ImageBuilder& image, std::uint32_t text) {
         image.AddResources(PayloadTree(100));
         relocations_in_text(image, text);
         image.Add(".data", Pattern(0x80, 2), kData);
       }},
      {"the debug directory in the relocation section",
       [](ImageBuilder& image, std::uint32_t text) {
         image.AddResources(PayloadTree(100));
         base::Bytes table = RelocationTable({{text, {Fixup(false, 0x10)}}});
         const auto table_size = static_cast<std::uint32_t>(table.size());
         table.resize(table.size() + 28);
         const std::uint32_t rva = image.Add(".reloc", std::move(table), kRelocations);
         image.Directory(5, rva, table_size);
         image.Directory(6, rva + table_size, 28);
       }},
      {"a relocation section that holds more than its table",
       [](ImageBuilder& image, std::uint32_t text) {
         image.AddResources(PayloadTree(100));
         base::Bytes table = RelocationTable({{text, {Fixup(false, 0x10)}}});
         const auto table_size = static_cast<std::uint32_t>(table.size());
         table.resize(table.size() + 16, 0xEE);
         image.Directory(5, image.Add(".reloc", std::move(table), kRelocations), table_size);
       }},
      {"a relocation that patches the relocation section",
       [](ImageBuilder& image, std::uint32_t) {
         image.AddResources(PayloadTree(100));
         image.AddRelocations(RelocationTable({{image.NextRva(), {Fixup(false, 0x4)}}}));
       }},
      {"a relocation that patches the resources",
       [](ImageBuilder& image, std::uint32_t) {
         const std::uint32_t resources = image.AddResources(PayloadTree(100));
         image.AddRelocations(RelocationTable({{resources, {Fixup(false, 0x40)}}}));
       }},
      {"a relocation just before the resources whose address reaches into them",
       [](ImageBuilder& image, std::uint32_t) {
         const std::uint32_t resources = image.AddResources(PayloadTree(100));
         image.AddRelocations(RelocationTable({{resources - 0x1000, {Fixup(false, 0xFFE)}}}));
       }},
      {"a 16-bit relocation on the last byte before the resources",
       [](ImageBuilder& image, std::uint32_t) {
         const std::uint32_t resources = image.AddResources(PayloadTree(100));
         image.AddRelocations(RelocationTable({{resources - 0x1000, {0x2FFF}}}));
       }},
      {"a table that ends in half a block header",
       [](ImageBuilder& image, std::uint32_t text) {
         image.AddResources(PayloadTree(100));
         base::Bytes table = RelocationTable({{text, {Fixup(false, 0x10)}}});
         table.resize(table.size() + 4);
         image.AddRelocations(table);
       }},
      {"a relocation block whose size is shorter than its header",
       [](ImageBuilder& image, std::uint32_t text) {
         image.AddResources(PayloadTree(100));
         base::Bytes table = RelocationTable({{text, {Fixup(false, 0x10)}}});
         base::PutU32(&table[4], 4);
         image.AddRelocations(table);
       }},
      {"a relocation block that runs past the table",
       [](ImageBuilder& image, std::uint32_t text) {
         image.AddResources(PayloadTree(100));
         base::Bytes table = RelocationTable({{text, {Fixup(false, 0x10)}}});
         base::PutU32(&table[4], 0x100);
         image.AddRelocations(table);
       }},
      {"resources last, a relocation patching them",
       [](ImageBuilder& image, std::uint32_t) {
         image.AddRelocations(RelocationTable({{image.NextRva() + 0x1000, {Fixup(false, 0x8)}}}));
         image.AddResources(PayloadTree(100));
       }},
      {"an imported DLL named by bytes inside the resources",
       [](ImageBuilder& image, std::uint32_t) {
         // One import descriptor and its terminator. Its name is the resource directory's
         // count of numbered entries (offset 14: a byte 1, then 0), which the import reader
         // takes for a one-byte name.
         const std::uint32_t resources = image.NextRva() + kSectionAlignment;
         base::Bytes descriptors(40, 0);
         base::PutU32(&descriptors[12], resources + 14);
         image.Directory(1, image.Add(".idata", std::move(descriptors), kData), 40);
         EXPECT_EQ(image.AddResources(PayloadTree(100)), resources);
         EXPECT_EQ(ReadImports(image.Build()).dlls.size(), 1u) << "the case does not hold";
       }},
  };
  // The same builder without a fault: rewritten in place, so each case below is refused for
  // its fault alone.
  {
    ImageBuilder image(false);
    const std::uint32_t text = image.Add(".text", Pattern(0x200, 1), kCode);
    image.AddResources(PayloadTree(100));
    relocations_in_text(image, text);
    const base::Bytes original = image.Build();
    ASSERT_EQ(ParseHeaders(WriteResources(original, PayloadTree(20))).sections.size(),
              ParseHeaders(original).sections.size());
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuilder image(false);
    c.tail(image, image.Add(".text", Pattern(0x200, 1), kCode));
    const base::Bytes original = image.Build();
    const ResourceTree tree = PayloadTree(9000);
    const base::Bytes written = WriteResources(original, tree);
    const PeHeaders before = ParseHeaders(original);
    const PeHeaders after = ParseHeaders(written);
    ASSERT_EQ(after.sections.size(), before.sections.size() + 1);
    EXPECT_EQ(after.sections.back().name, ".rsrc");
    EXPECT_EQ(after.Directory(2).rva, after.sections.back().virtual_address);
    for (std::size_t i = 0; i < before.sections.size(); ++i) {
      const Section& old = before.sections[i];
      EXPECT_EQ(after.sections[i].name, old.name == ".rsrc" ? ".oldrsrc" : old.name);
      EXPECT_EQ(after.sections[i].virtual_address, old.virtual_address) << old.name;
      EXPECT_EQ(after.sections[i].raw_offset, old.raw_offset) << old.name;
      EXPECT_TRUE(std::equal(original.begin() + old.raw_offset,
                             original.begin() + old.raw_offset + old.raw_size,
                             written.begin() + old.raw_offset))
          << old.name;
    }
    EXPECT_EQ(after.Directory(5).rva, before.Directory(5).rva);
    EXPECT_EQ(ReadTree(written), tree);
    ExpectLoadableLayout(written);
  }
}

// ---------------------------------------------------------------------------------------------

// The fixture's resource section, for writing hand-made directories into it.
struct ResourceArea {
  explicit ResourceArea(base::Bytes image) : file(std::move(image)) {
    const PeHeaders h = ParseHeaders(file);
    rva = h.Directory(2).rva;
    offset = *h.RvaToFileOffset(rva, 0);
    std::fill(file.begin() + offset, file.begin() + offset + 0x200, 0);
  }
  void Table(std::uint32_t at, std::uint16_t named, std::uint16_t ids) {
    base::PutU16(&file[offset + at + 12], named);
    base::PutU16(&file[offset + at + 14], ids);
  }
  void Entry(std::uint32_t table, int index, std::uint32_t id, std::uint32_t target) {
    base::PutU32(&file[offset + table + 16 + 8 * index], id);
    base::PutU32(&file[offset + table + 16 + 8 * index + 4], target);
  }
  void DataEntry(std::uint32_t at, std::uint32_t data_rva, std::uint32_t size) {
    base::PutU32(&file[offset + at], data_rva);
    base::PutU32(&file[offset + at + 4], size);
  }
  ResourceTree Read() const { return ReadTree(file); }

  base::Bytes file;
  std::uint32_t rva = 0;
  std::size_t offset = 0;
};

TEST(PeMalformedTest, EveryTruncationFails) {
  const base::Bytes file = Fixture("resources.exe");
  for (std::size_t size = 0; size < file.size(); size += size < 0x400 ? 1 : 61) {
    EXPECT_THROW(PeImage::Parse(base::Bytes(file.begin(), file.begin() + size)), base::Error)
        << size;
  }
}

TEST(PeMalformedTest, BadHeadersFail) {
  const base::Bytes good = Fixture("resources.exe");
  const PeHeaders h = ParseHeaders(good);
  auto with = [&](std::size_t at, std::uint32_t value, int width = 4) {
    base::Bytes file = good;
    width == 4 ? base::PutU32(&file[at], value) : base::PutU16(&file[at], value);
    return file;
  };
  const std::size_t opt = h.optional_header_offset;
  const std::size_t first_section = h.section_table_offset;
  const std::pair<base::Bytes, const char*> cases[] = {
      {with(0, 0x5A4E, 2), "no MZ"},
      {with(0x3C, 0xFFFFFFF0), "PE header lies past"},
      {with(0x3C, static_cast<std::uint32_t>(good.size() - 10)), "PE header lies past"},
      {with(h.coff_header_offset - 4, 0x00004551), "no PE signature"},
      {with(opt, 0x10C, 2), "unknown magic"},
      {with(h.coff_header_offset + 16, 0xFFFF, 2), "optional header lies past"},
      {with(h.coff_header_offset + 16, 8, 2), "too small"},
      {with(opt + 36, 0), "alignment"},
      {with(opt + 36, 0x300), "alignment"},
      {with(opt + 36, 0x2000), "alignment"},
      {with(opt + 92, 0xFFFFFFFF), ""},  // Clamped to 16 entries, as Windows does.
      {with(h.coff_header_offset + 2, 0xFFFF, 2), "section table lies past"},
      {with(first_section + 16, 0x7FFFFFFF), "raw data past the end"},
      {with(first_section + 20, 0xFFFFFFF0), "raw data past the end"},
      {with(first_section + 12, 0xFFFFF000), "extends past 4 GiB"},
      {with(first_section + 40 + 12, 0x2000), "overlaps or precedes"},
      {with(first_section + 40 + 12, 0x800), "overlaps or precedes"},
  };
  for (const auto& [file, message] : cases) {
    if (*message == '\0') {
      EXPECT_NO_THROW(PeImage::Parse(file));
    } else {
      ExpectErrorContaining([&] { PeImage::Parse(file); }, message);
    }
  }
}

TEST(PeMalformedTest, ResourceDirectoryCyclesFail) {
  ResourceArea root_loop(Fixture("resources.exe"));
  root_loop.Table(0, 0, 1);
  root_loop.Entry(0, 0, kRtRcData, 0x80000000);  // The type's name table is the root itself.
  ExpectErrorContaining([&] { root_loop.Read(); }, "nests deeper");

  ResourceArea deep(Fixture("resources.exe"));
  deep.Table(0, 0, 1);
  deep.Entry(0, 0, kRtRcData, 0x80000018);
  deep.Table(0x18, 0, 1);
  deep.Entry(0x18, 0, 1, 0x80000018);  // Names table points to itself as languages.
  ExpectErrorContaining([&] { deep.Read(); }, "nests deeper");
}

TEST(PeMalformedTest, SharedTablesCannotExplode) {
  // Root, names and languages each have 4 entries all sharing the next table: 84 visits of a
  // directory that holds only 12 distinct entries.
  ResourceArea area(Fixture("resources.exe"));
  for (std::uint32_t table : {0x00, 0x30, 0x60}) {
    area.Table(table, 0, 4);
    for (int i = 0; i < 4; ++i) {
      area.Entry(table, i, i, table == 0x60 ? 0x90 : 0x80000000 | (table + 0x30));
    }
  }
  area.DataEntry(0x90, area.rva, 4);
  ExpectErrorContaining([&] { area.Read(); }, "shared or cyclic");
}

TEST(PeMalformedTest, SharedDataCannotExplode) {
  ResourceArea area(Fixture("resources.exe"));
  const Section text = ParseHeaders(area.file).sections[0];
  area.Table(0, 0, 1);
  area.Entry(0, 0, kRtRcData, 0x80000018);
  area.Table(0x18, 0, 1);
  area.Entry(0x18, 0, 1, 0x80000030);
  area.Table(0x30, 0, 12);
  for (int i = 0; i < 12; ++i) area.Entry(0x30, i, i, 0xA0);
  area.DataEntry(0xA0, text.virtual_address, text.FileBackedSize());
  ExpectErrorContaining([&] { area.Read(); }, "share data excessively");
}

TEST(PeMalformedTest, BadEntriesFail) {
  auto single = [](std::uint32_t type_target) {
    ResourceArea area(Fixture("resources.exe"));
    area.Table(0, 0, 1);
    area.Entry(0, 0, kRtRcData, type_target);
    area.Table(0x18, 0, 1);
    area.Entry(0x18, 0, 1, 0x80000030);
    area.Table(0x30, 0, 1);
    area.Entry(0x30, 0, 0, 0x60);
    area.DataEntry(0x60, area.rva, 4);
    return area;
  };
  EXPECT_EQ(single(0x80000018).Read().Count(), 1u);

  ExpectErrorContaining([&] { single(0x18).Read(); }, "data appears where a directory");
  ExpectErrorContaining([&] { single(0x80100000).Read(); }, "outside the resource section");

  ResourceArea rva_outside = single(0x80000018);
  rva_outside.DataEntry(0x60, 0xFFFFFF00, 4);
  ExpectErrorContaining([&] { rva_outside.Read(); }, "outside the image's sections");

  ResourceArea size_outside = single(0x80000018);
  size_outside.DataEntry(0x60, size_outside.rva, 0x7FFFFFFF);
  ExpectErrorContaining([&] { size_outside.Read(); }, "outside the image's sections");

  ResourceArea absurd_count = single(0x80000018);
  absurd_count.Table(0, 0xFFFF, 0xFFFF);
  ExpectErrorContaining([&] { absurd_count.Read(); }, "entry list lies outside");

  ResourceArea bad_name = single(0x80000018);
  bad_name.Table(0x18, 1, 0);
  bad_name.Entry(0x18, 0, 0x80000100, 0x80000030);
  base::PutU16(&bad_name.file[bad_name.offset + 0x100], 0xFFFF);
  ExpectErrorContaining([&] { bad_name.Read(); }, "a name lies outside");

  ResourceArea named_language = single(0x80000018);
  named_language.Entry(0x30, 0, 0x80000100, 0x60);
  ExpectErrorContaining([&] { named_language.Read(); }, "language is a name");

  ResourceArea big_id = single(0x80000018);
  big_id.Entry(0x18, 0, 0x10000, 0x80000030);
  ExpectErrorContaining([&] { big_id.Read(); }, "exceeds 65535");

  ResourceArea twice = single(0x80000018);
  twice.Table(0x30, 0, 2);
  twice.Entry(0x30, 1, 0, 0x60);
  ExpectErrorContaining([&] { twice.Read(); }, "appears twice");
}

}  // namespace
}  // namespace pe
