// The layout parser: every kind of value, nesting, GBK conversion of
// strings, and every error with its exact line and column (columns count
// characters, not bytes).
#include "framework/core/layout_parser.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "tests/host/gbk_literal.h"

namespace {

using framework::ParseLayout;
using framework::TLayoutError;
using framework::TLayoutObject;
using framework::TLayoutPosition;
using framework::TLayoutValue;
using framework::TLayoutValueKind;
using testing_support::Gbk;

std::string_view U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// The layout of a form with one property: "object F: T\n  <line>\nend\n".
std::string WithProperty(std::string_view line) {
  return "object F: T\n  " + std::string(line) + "\nend\n";
}

const TLayoutValue& OnlyValue(const TLayoutObject& obj) {
  EXPECT_EQ(obj.properties.size(), 1u);
  return obj.properties.at(0).value;
}

TEST(LayoutParserTest, ReadsEveryKindOfValue) {
  TLayoutObject form = ParseLayout(U8(u8R"(# comments start with #
object MainForm: TMainForm
  Left = 200
  Top = -15
  Caption = "VANTO-X 安装向导"
  Color = 0xFFffFF            # hex digits in either case
  Font.Name = "宋体"
  Font.Style = [fsBold, fsUnderline]
  Anchors = []
  Visible = false
  Enabled = true
  UIStyle = WinXP
  Picture = resource("WELCOME_JPG")
  Lines = ("first line", "second line")
  Empty = ()
end
)"));
  EXPECT_EQ(form.name, "MainForm");
  EXPECT_EQ(form.class_name, "TMainForm");
  EXPECT_EQ(form.position, (TLayoutPosition{2, 1}));
  EXPECT_EQ(form.name_position, (TLayoutPosition{2, 8}));
  EXPECT_EQ(form.class_position, (TLayoutPosition{2, 18}));
  ASSERT_EQ(form.properties.size(), 13u);
  const auto& p = form.properties;

  EXPECT_EQ(p[0].path, "Left");
  EXPECT_EQ(p[0].position, (TLayoutPosition{3, 3}));
  EXPECT_EQ(p[0].value.kind, TLayoutValueKind::Integer);
  EXPECT_EQ(p[0].value.integer, 200);
  EXPECT_EQ(p[0].value.position, (TLayoutPosition{3, 10}));
  EXPECT_EQ(p[1].value.integer, -15);
  EXPECT_EQ(p[2].value.kind, TLayoutValueKind::String);
  EXPECT_EQ(p[2].value.text, Gbk(u8"VANTO-X 安装向导"));
  EXPECT_EQ(p[3].value.integer, 0xFFFFFF);
  EXPECT_EQ(p[4].path, "Font.Name");
  EXPECT_EQ(p[4].value.text, "\xCB\xCE\xCC\xE5");  // 宋体 in GBK

  EXPECT_EQ(p[5].value.kind, TLayoutValueKind::Set);
  ASSERT_EQ(p[5].value.items.size(), 2u);
  EXPECT_EQ(p[5].value.items[0].text, "fsBold");
  EXPECT_EQ(p[5].value.items[1].text, "fsUnderline");
  EXPECT_EQ(p[5].value.items[1].position, (TLayoutPosition{8, 25}));
  EXPECT_EQ(p[6].value.kind, TLayoutValueKind::Set);
  EXPECT_TRUE(p[6].value.items.empty());

  EXPECT_EQ(p[7].value.kind, TLayoutValueKind::Boolean);
  EXPECT_FALSE(p[7].value.boolean);
  EXPECT_TRUE(p[8].value.boolean);
  EXPECT_EQ(p[9].value.kind, TLayoutValueKind::Identifier);
  EXPECT_EQ(p[9].value.text, "WinXP");
  EXPECT_EQ(p[10].value.kind, TLayoutValueKind::Resource);
  EXPECT_EQ(p[10].value.text, "WELCOME_JPG");

  EXPECT_EQ(p[11].value.kind, TLayoutValueKind::StringList);
  ASSERT_EQ(p[11].value.items.size(), 2u);
  EXPECT_EQ(p[11].value.items[1].text, "second line");
  EXPECT_EQ(p[11].value.items[1].position, (TLayoutPosition{14, 26}));
  EXPECT_EQ(p[12].value.kind, TLayoutValueKind::StringList);
  EXPECT_TRUE(p[12].value.items.empty());
}

TEST(LayoutParserTest, IntegersInDecimalAndHexWithSign) {
  EXPECT_EQ(OnlyValue(ParseLayout(WithProperty("A = 0"))).integer, 0);
  EXPECT_EQ(OnlyValue(ParseLayout(WithProperty("A = -0x10"))).integer, -16);
  EXPECT_EQ(OnlyValue(ParseLayout(WithProperty("A = 0XFF00000F"))).integer, 0xFF00000F);
  EXPECT_EQ(OnlyValue(ParseLayout(WithProperty("A = 9223372036854775807"))).integer,
            INT64_MAX);
  EXPECT_EQ(OnlyValue(ParseLayout(WithProperty("A = -2147483648"))).integer, -2147483648LL);
}

TEST(LayoutParserTest, StringEscapesAndConcatenation) {
  auto text = [](std::string_view line) { return OnlyValue(ParseLayout(WithProperty(line))).text; };
  EXPECT_EQ(text(R"(S = "q\"b\\n\n\r\t")"), "q\"b\\n\n\r\t");
  // \xHH is a byte of the GBK text, put in as it is: here 墨 (C4 AB).
  EXPECT_EQ(text(R"(S = "\xC4\xab!")"), "\xC4\xAB!");
  EXPECT_EQ(text(R"(S = "\x00")"), std::string(1, '\0'));
  EXPECT_EQ(text("S = \"a\tb\""), "a\tb");  // a raw tab may stand in a string
  EXPECT_EQ(text(R"(S = "")"), "");
  // A '+' at the end of a line carries the text on; comments may sit between.
  TLayoutObject form = ParseLayout(U8(u8"object F: T\n  S = \"安装\" +   # first part\n"
                                      u8"\n      \"向导\" + \"!\"\n  N = 1\nend\n"));
  ASSERT_EQ(form.properties.size(), 2u);
  EXPECT_EQ(form.properties[0].value.text, Gbk(u8"安装向导!"));
  EXPECT_EQ(form.properties[1].position, (TLayoutPosition{5, 3}));
  // Items of a list may be concatenations, and a list may span lines.
  TLayoutObject list =
      ParseLayout("object F: T\n  L = (\n    \"a\" + \"b\",\n    \"c\"\n  )\nend\n");
  const TLayoutValue& lines = OnlyValue(list);
  ASSERT_EQ(lines.items.size(), 2u);
  EXPECT_EQ(lines.items[0].text, "ab");
  EXPECT_EQ(lines.items[1].position, (TLayoutPosition{4, 5}));
}

TEST(LayoutParserTest, ObjectsNestInOrder) {
  TLayoutObject form = ParseLayout(
      "object Form1: TForm1\n"
      "  Width = 1\n"
      "  object Panel1: TPanel\n"
      "    Align = alTop\n"
      "    object Button1: TButton\n"
      "    end\n"
      "  end\n"
      "  object Panel2: TPanel\n"
      "  end\n"
      "end\n");
  ASSERT_EQ(form.children.size(), 2u);
  EXPECT_EQ(form.children[0].name, "Panel1");
  EXPECT_EQ(form.children[0].properties.at(0).path, "Align");
  ASSERT_EQ(form.children[0].children.size(), 1u);
  EXPECT_EQ(form.children[0].children[0].name, "Button1");
  EXPECT_EQ(form.children[0].children[0].class_name, "TButton");
  EXPECT_EQ(form.children[0].children[0].position, (TLayoutPosition{5, 5}));
  EXPECT_EQ(form.children[1].name, "Panel2");
  EXPECT_TRUE(form.children[1].children.empty());
}

TEST(LayoutParserTest, LineEndsByteOrderMarkAndBlankLines) {
  TLayoutObject form =
      ParseLayout("\xEF\xBB\xBF\r\n# header\r\n\r\nobject F: T\r\n  A = \"x\"\r\n\r\nend");
  EXPECT_EQ(form.position, (TLayoutPosition{4, 1}));
  EXPECT_EQ(OnlyValue(form).text, "x");
  EXPECT_EQ(OnlyValue(form).position, (TLayoutPosition{5, 7}));
}

TEST(LayoutParserTest, NestingDeeperThanTheLimitIsRefused) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "object O" + std::to_string(i) + ": T\n";
    for (int i = 0; i < depth; ++i) text += "end\n";
    return text;
  };
  EXPECT_NO_THROW(ParseLayout(nested(framework::kMaxLayoutDepth)));
  try {
    ParseLayout(nested(framework::kMaxLayoutDepth + 1));
    FAIL() << "no error";
  } catch (const TLayoutError& e) {
    EXPECT_EQ(e.Position(), (TLayoutPosition{framework::kMaxLayoutDepth + 1, 1}));
    EXPECT_EQ(e.Detail(), "objects nested too deeply (more than 64 levels)");
  }
}

struct ErrorCase {
  std::string text;
  int line;
  int column;
  std::string detail;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.detail; }

class LayoutParserErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(LayoutParserErrorTest, ReportsWhereAndWhat) {
  const ErrorCase& c = GetParam();
  try {
    ParseLayout(c.text);
    FAIL() << "no error for: " << c.text;
  } catch (const TLayoutError& e) {
    EXPECT_EQ(e.Detail(), c.detail);
    EXPECT_EQ(e.Position(), (TLayoutPosition{c.line, c.column})) << c.detail;
    EXPECT_EQ(std::string(e.what()), "line " + std::to_string(c.line) + ", column " +
                                         std::to_string(c.column) + ": " + c.detail);
  }
}

std::string U8String(const char8_t* text) { return std::string(U8(text)); }

INSTANTIATE_TEST_SUITE_P(
    Errors, LayoutParserErrorTest,
    testing::Values(
        ErrorCase{"", 1, 1, "the layout is empty: expected 'object'"},
        ErrorCase{"# only a comment\n\n", 3, 1, "the layout is empty: expected 'object'"},
        ErrorCase{"form F: T\nend\n", 1, 1, "expected 'object' at the start of the layout"},
        ErrorCase{"object Form1 TForm1\nend\n", 1, 14, "expected ':' after the object's name"},
        ErrorCase{"object Form1:\nend\n", 1, 14, "expected a class name after ':'"},
        ErrorCase{"object : T\nend\n", 1, 8, "expected the object's name after 'object'"},
        ErrorCase{"object end: T\nend\n", 1, 8, "'end' is a keyword, not a name"},
        ErrorCase{"object F: T x\nend\n", 1, 13,
                  "expected the end of the line after the class name, found 'x'"},
        ErrorCase{"object Form1: TForm1\n  Left = 1\n", 3, 1,
                  "'end' of object Form1 (line 1, column 1) is missing"},
        ErrorCase{"object F: T\nend x\n", 2, 5,
                  "expected the end of the line after 'end', found 'x'"},
        ErrorCase{"object F: T\nend\nobject G: T\nend\n", 3, 1,
                  "expected nothing after the root object, found 'object'"},
        ErrorCase{"object F: T\n  = 1\nend\n", 2, 3, "expected a property, 'object' or 'end'"},
        ErrorCase{WithProperty("Left 200"), 2, 8, "expected '=' after property name"},
        ErrorCase{"object F: T\n\tLeft 1\nend\n", 2, 7, "expected '=' after property name"},
        ErrorCase{WithProperty("Left ="), 2, 9, "expected a value after '='"},
        ErrorCase{WithProperty("Left = ]"), 2, 10, "expected a value, found ']'"},
        ErrorCase{WithProperty("Left = 1 2"), 2, 12,
                  "expected the end of the line after the value, found a number"},
        ErrorCase{WithProperty("Left = 1 + 2"), 2, 12, "'+' joins strings only"},
        ErrorCase{WithProperty("Left = 99999999999999999999"), 2, 10, "number out of range"},
        ErrorCase{WithProperty("Left = 12ab"), 2, 10,
                  "invalid number: only decimal and 0x hex integers are allowed"},
        ErrorCase{WithProperty("Left = 1.5"), 2, 10,
                  "invalid number: only decimal and 0x hex integers are allowed"},
        ErrorCase{WithProperty("Left = 0x"), 2, 12, "expected hex digits after 0x"},
        ErrorCase{WithProperty("Left = - 1"), 2, 10,
                  "unexpected '-': a minus sign belongs right before a number"},
        ErrorCase{WithProperty("Left = @"), 2, 10, "unexpected character '@'"},
        ErrorCase{WithProperty("Left = \x01"), 2, 10, "unexpected character U+0001"},
        ErrorCase{U8String(u8"object F: T\n  Left = ，\nend\n"), 2, 10,
                  "unexpected character U+FF0C"},
        ErrorCase{"object F: T\n  Font..Name = 1\nend\n", 2, 8, "expected a name after '.'"},
        ErrorCase{WithProperty("Align = Form1.alTop"), 2, 16, "a name here cannot have a '.'"},
        ErrorCase{"object F: T\n  Caption = \"abc\nend\n", 2, 13,
                  "string not closed before the end of the line"},
        ErrorCase{"object F: T\n  Caption = \"abc\r\nend\n", 2, 13,
                  "string not closed before the end of the line"},
        ErrorCase{WithProperty(R"(Caption = "a\qb")"), 2, 15,
                  "unknown escape; use \\\" \\\\ \\n \\r \\t or \\xHH"},
        ErrorCase{WithProperty(R"(Caption = "\x4")"), 2, 14, "\\x needs two hex digits"},
        ErrorCase{WithProperty("Caption = \"a\x02\""), 2, 15,
                  "control character in a string; write it as \\xHH"},
        ErrorCase{WithProperty("Caption = \"a\xFF\""), 2, 15, "invalid UTF-8"},
        ErrorCase{WithProperty("Caption = \"\xC0\xAF\""), 2, 14, "invalid UTF-8"},  // overlong '/'
        ErrorCase{WithProperty("Left = 1 # \xE4\xB8"), 2, 14, "invalid UTF-8"},
        // Columns count characters: 安 and 装 are one column each.
        ErrorCase{U8String(u8"object F: T\n  Caption = \"安装😀\"\nend\n"), 2, 16,
                  "character U+1F600 has no GBK form"},
        ErrorCase{U8String(u8"object F: T\n  Caption = \"ok\" + \"한\"\nend\n"), 2, 21,
                  "character U+D55C has no GBK form"},
        ErrorCase{WithProperty(R"(Caption = "a" + 1)"), 2, 19, "expected a string after '+'"},
        ErrorCase{WithProperty("Style = [fsBold fsItalic]"), 2, 19, "expected ',' or ']'"},
        ErrorCase{WithProperty("Style = [fsBold, ]"), 2, 20, "expected a name in the set"},
        ErrorCase{WithProperty("Style = [\"fsBold\"]"), 2, 12, "expected a name in the set"},
        ErrorCase{WithProperty("Lines = (\"a\", 1)"), 2, 17, "expected a string in the list"},
        ErrorCase{WithProperty("Lines = (\"a\""), 3, 1, "expected ',' or ')'"},
        ErrorCase{WithProperty("Picture = resource(WELCOME)"), 2, 22,
                  "expected the resource's name as a string"},
        ErrorCase{WithProperty("Picture = resource \"A\""), 2, 22, "expected '(' after resource"},
        ErrorCase{WithProperty("Picture = resource(\"A\""), 2, 25,
                  "expected ')' after the resource's name"},
        ErrorCase{"object F: T\n  object A: T\n  end\n  Left = 1\nend\n", 4, 3,
                  "properties of F come before the objects inside it"}));

}  // namespace
