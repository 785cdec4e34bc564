// Compiled layouts: every stored layout of the programs and a layout with
// every kind of value come back from their compiled form as the tree the
// parser made, positions included; compiled bytes that are cut, extended
// or changed are refused or read as some tree, never read out of bounds.
#include "framework/core/compiled_layout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/bytes.h"
#include "base/error.h"
#include "framework/core/layout_parser.h"
#include "framework/core/stored_layout.h"
#include "installer/packed_block.h"

namespace {

using namespace framework;

std::string SourceFile(const std::string& path) {
  std::ifstream in(std::string(VANTO_SOURCE_DIR) + "/" + path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TLayoutObject RoundTrip(const TLayoutObject& tree) {
  const std::string compiled = CompileLayout(tree);
  EXPECT_TRUE(IsCompiledLayout(base::AsBytes(compiled)));
  return ReadCompiledLayout(base::AsBytes(compiled), "T");
}

TEST(CompiledLayout, TheProgramsLayoutsReadBackAsTheirParse) {
  for (const char* path : {"resources/wizard/main_form.layout", "resources/skin/theme_select.layout",
                           "resources/skin/notify_window.layout"}) {
    const TLayoutObject tree = ParseLayout(SourceFile(path));
    EXPECT_FALSE(tree.children.empty()) << path;
    EXPECT_EQ(RoundTrip(tree), tree) << path;
    // As mklayout stores it: packed, then unpacked again.
    const std::string compiled = CompileLayout(tree);
    const base::Bytes packed = installer::PackBlock(base::AsBytes(compiled), 9);
    EXPECT_EQ(UnpackStoredLayout(packed, "T"), compiled) << path;
  }
}

TEST(CompiledLayout, EveryKindOfValueAndItsPositionSurvive) {
  const std::string text =
      "object Form1: TForm\n"
      "  Left = -9223372036854775807\n"
      "  Width = 0x7FFFFFFFFFFFFFFF\n"
      "  Top = 0\n"
      "  Caption = \"\xE5\xAE\x89\xE8\xA3\x85\" + \"\\x00\\\"\"\n"
      "  Visible = false\n"
      "  Enabled = true\n"
      "  Align = alTop\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  Anchors = []\n"
      "  Lines = (\"one\", \"\")\n"
      "  Items = ()\n"
      "  Picture = resource(\"WELCOME_JPG\")\n"
      "  object Panel1: TPanel\n"
      "    object Inner: TLabel\n"
      "    end\n"
      "  end\n"
      "  object Second: TLabel\n"
      "  end\n"
      "end\n";
  const TLayoutObject tree = ParseLayout(text);
  ASSERT_EQ(tree.properties.size(), 12u);
  EXPECT_EQ(tree.properties[0].value.integer, -INT64_MAX);
  EXPECT_EQ(tree.properties[3].value.text, std::string("\xB0\xB2\xD7\xB0\0\"", 6));
  EXPECT_EQ(RoundTrip(tree), tree);
  EXPECT_EQ(RoundTrip(tree).children[0].children[0].class_position,
            (TLayoutPosition{15, 19}));
}

std::string ErrorOf(const std::string& bytes) {
  try {
    ReadCompiledLayout(base::AsBytes(bytes), "TFORM1");
  } catch (const base::Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(CompiledLayout, CutOrExtendedBytesAreRefused) {
  const std::string compiled =
      CompileLayout(ParseLayout(SourceFile("resources/skin/notify_window.layout")));
  const std::string damaged = "Compiled layout TFORM1 is damaged";
  for (std::size_t n = 0; n < compiled.size(); ++n)
    ASSERT_EQ(ErrorOf(compiled.substr(0, n)), damaged) << n;
  EXPECT_EQ(ErrorOf(compiled + '\0'), damaged);
  EXPECT_EQ(ErrorOf("object Form1: TForm\nend\n"), damaged);  // text is not compiled
  // Steps as far as 64 bits reach, back and forth: refused, not added up.
  const std::string magic("\0VLC", 4);
  EXPECT_EQ(ErrorOf(magic + "\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01"), damaged);
  EXPECT_EQ(ErrorOf(magic + "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01"), damaged);
  EXPECT_EQ(ErrorOf(magic + "\x00\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01"), damaged);
  // A number longer than 64 bits.
  EXPECT_EQ(ErrorOf(magic + "\x80\x80\x80\x80\x80\x80\x80\x80\x80\x02"), damaged);
}

TEST(CompiledLayout, ChangedBytesNeverReadOutOfBounds) {
  const std::string compiled =
      CompileLayout(ParseLayout(SourceFile("resources/skin/theme_select.layout")));
  int refused = 0;
  for (std::size_t i = 4; i < compiled.size(); ++i) {
    for (unsigned char b : {0x00, 0x01, 0x07, 0x7F, 0x80, 0xFF}) {
      std::string changed = compiled;
      changed[i] = static_cast<char>(b);
      if (ErrorOf(changed) != "no error") ++refused;
    }
  }
  // Many changes still make some tree (a changed letter of a name); many do not.
  EXPECT_GT(refused, 0);
}

TEST(CompiledLayout, ItemsOfTheWrongKindAndTooDeepObjectsAreRefused) {
  TLayoutObject tree = ParseLayout("object F: TForm\n  S = [a]\n  L = (\"x\")\nend\n");
  TLayoutObject wrong_set = tree;
  wrong_set.properties[0].value.items[0].kind = TLayoutValueKind::String;
  EXPECT_EQ(ErrorOf(CompileLayout(wrong_set)), "Compiled layout TFORM1 is damaged");
  TLayoutObject nested_list = tree;
  nested_list.properties[1].value.items[0] = nested_list.properties[1].value;
  EXPECT_EQ(ErrorOf(CompileLayout(nested_list)), "Compiled layout TFORM1 is damaged");

  TLayoutObject deep = ParseLayout("object F: TForm\nend\n");
  TLayoutObject* at = &deep;
  for (int level = 2; level <= kMaxLayoutDepth; ++level) {
    at->children.push_back(ParseLayout("object C: TLabel\nend\n"));
    at = &at->children.back();
  }
  EXPECT_EQ(RoundTrip(deep), deep);  // the deepest a layout may be
  at->children.push_back(ParseLayout("object C: TLabel\nend\n"));
  EXPECT_EQ(ErrorOf(CompileLayout(deep)), "Compiled layout TFORM1 is damaged");
}

}  // namespace
