// File themes: finding and loading the skin file, the ready state, the
// password, and what controls get from a theme by item number.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_system.h"
#include "framework/core/layout_loader.h"
#include "framework/core/rtti.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_skin_items.h"
#include "skin/sui_themes.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"
#include "tests/host/skin_file_test_support.h"

namespace {

using base::Bytes;
using graphics::TBitmap;
using skin::TsuiFileTheme;
namespace item = skin::skin_item;

// A strip of width w whose column x has the colour x (red channel), so a
// cut frame tells where it came from.
Bytes Strip(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<graphics::TColor>(x));
  return graphics::WriteBmp(b);
}

Bytes SkinBytes(graphics::TColor button_font, int title_buttons_width,
                const std::string& password = {}) {
  const Bytes container = mkskin::WriteContainer({
      mkskin::IntegerEntry("SKIN2_BUTTONFONTCOLOR", static_cast<std::int32_t>(button_font)),
      mkskin::IntegerEntry("SKIN2_TITLEBARCAPTIONTOP", 7),
      mkskin::BooleanEntry("SKIN2_BUTTONTRANS", 1),
      mkskin::BitmapEntry("SKIN2_TITLEBUTTONS", Strip(title_buttons_width, 3)),
  });
  mkskin::ArchiveOptions options;
  options.password = password;
  options.seed = 3;
  return mkskin::WriteSkinArchive("SKINDATA.SK2", container, options);
}

class FileTheme : public testing_support::ScratchDirTest {
protected:

  std::string Write(const std::string& name, base::ByteView bytes) {
    const std::string path = (dir / name).string();
    base::NativeFileSystem().WriteWholeFile(path, bytes);
    return path;
  }
};

TEST_F(FileTheme, LoadsAndAnswersByItemNumber) {
  TsuiFileTheme theme(nullptr);
  EXPECT_FALSE(theme.Ready());
  // Nothing loaded: neutral values, not the missing-entry ones.
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor), 0u);
  EXPECT_EQ(theme.GetInteger(2), 0);
  EXPECT_FALSE(theme.GetFlag(item::kButtonTrans));
  EXPECT_EQ(theme.GetPicture(item::kTitleButtons), nullptr);

  const std::string path = Write("a.skn", SkinBytes(0x00123456, 90));
  theme.SetThemeFile(path);
  ASSERT_TRUE(theme.Ready());
  EXPECT_EQ(theme.ThemeFile(), path);
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor), 0x00123456u);
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor + 128), 0x00123456u);  // modulo 128
  EXPECT_EQ(theme.GetInteger(2), 7);
  EXPECT_TRUE(theme.GetFlag(item::kButtonTrans));
  // Missing entries of a ready theme.
  EXPECT_EQ(theme.GetColor(item::kFormColor), 0xFFFFFFFFu);
  EXPECT_EQ(theme.GetInteger(0), -1);
  EXPECT_FALSE(theme.GetFlag(0));
  EXPECT_EQ(theme.GetPicture(item::kButton), nullptr);
  TBitmap target(5, 5);
  theme.CopyPicture(item::kButton, target, 3, 1);
  EXPECT_TRUE(target.Empty());
  // Item numbers past a kind's table name nothing.
  EXPECT_EQ(theme.GetInteger(9), -1);
  EXPECT_EQ(theme.GetPicture(34), nullptr);
}

TEST_F(FileTheme, CopyPictureCutsFramesAsExtractFrameDoes) {
  TsuiFileTheme theme(nullptr);
  theme.SetThemeFile(Write("a.skn", SkinBytes(0, 100)));  // 100 is not divisible by 18
  ASSERT_TRUE(theme.Ready());
  TBitmap whole, last, first;
  theme.CopyPicture(item::kTitleButtons, whole);
  EXPECT_EQ(whole.Width(), 100);
  theme.CopyPicture(item::kTitleButtons, whole, 18, 0);
  EXPECT_EQ(whole.Width(), 100);
  theme.CopyPicture(item::kTitleButtons, last, item::kTitleButtonFrames, 18);
  theme.CopyPicture(item::kTitleButtons, first, item::kTitleButtonFrames, 1);
  EXPECT_EQ(first.Width(), 100 / 18);
  EXPECT_EQ(first.Pixel(0, 0), 0u);
  // The right-most frame ends at the picture's right edge.
  ASSERT_FALSE(last.Empty());
  EXPECT_EQ(last.Pixel(last.Width() - 1, 0), 99u);
  // The shared picture is the reader's, unchanged by copies.
  EXPECT_EQ(theme.GetPicture(item::kTitleButtons)->Width(), 100);
}

TEST_F(FileTheme, SearchOrderAndPathsFoundNowhere) {
  const std::string path = Write("found.skn", SkinBytes(1, 18));
  skin::TThemeFileFolders folders;
  folders.windows = (dir / "win").string() + "/";
  folders.system = (dir / "sys").string() + "/";
  std::filesystem::create_directories(dir / "win");
  std::filesystem::create_directories(dir / "sys");
  base::FileSystem& fs = base::NativeFileSystem();
  Write("sys/only-sys.skn", SkinBytes(1, 18));
  Write("sys/both.skn", SkinBytes(1, 18));
  Write("win/both.skn", SkinBytes(1, 18));
  EXPECT_EQ(skin::FindThemeFile(path, folders, fs), path);
  EXPECT_EQ(skin::FindThemeFile("C:\\Skins\\only-sys.skn", folders, fs),
            folders.system + "only-sys.skn");
  EXPECT_EQ(skin::FindThemeFile("both.skn", folders, fs), folders.windows + "both.skn");
  EXPECT_EQ(skin::FindThemeFile("nowhere.skn", folders, fs), "");
  EXPECT_EQ(skin::FindThemeFile("", folders, fs), "");

  // A bare name that exists only next to the executable: ThemeFile becomes
  // the full path. The working folder is moved away so that the name
  // itself does not exist.
  const std::string exe_dir = skin::PlatformThemeFileFolders().executable;
  ASSERT_FALSE(exe_dir.empty());
  const std::string bare = "file-theme-test-next-to-exe.skn";
  fs.WriteWholeFile(exe_dir + bare, SkinBytes(0x0000AA, 18));
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  TsuiFileTheme theme(nullptr);
  theme.SetThemeFile(bare);
  std::filesystem::current_path(cwd);
  fs.RemoveFile(exe_dir + bare);
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(theme.ThemeFile(), exe_dir + bare);
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor), 0x0000AAu);

  // A path found nowhere changes nothing, not even for a ready theme.
  theme.SetThemeFile((dir / "nowhere.skn").string());
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(theme.ThemeFile(), exe_dir + bare);
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor), 0x0000AAu);
}

TEST_F(FileTheme, PasswordsReloadAndDamagedFilesUnload) {
  const std::string locked = Write("locked.skn", SkinBytes(0x000011, 18, "ember"));
  TsuiFileTheme theme(nullptr);
  // As a stored layout sets them: the file first, quietly failing.
  theme.SetThemeFile(locked);
  EXPECT_FALSE(theme.Ready());
  EXPECT_EQ(theme.ThemeFile(), locked);
  theme.SetPassword("wrong");
  EXPECT_FALSE(theme.Ready());
  theme.SetPassword("ember");
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(theme.ThemeFile(), locked);
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor), 0x000011u);
  // An empty password is only stored.
  theme.SetPassword("");
  EXPECT_TRUE(theme.Ready());
  EXPECT_EQ(theme.Password(), "");

  // Writing Ready does nothing, by code or by name.
  TsuiFileTheme empty(nullptr);
  empty.SetReady(true);
  framework::SetPropertyValue(empty, "Ready", true);
  EXPECT_FALSE(empty.Ready());

  // A damaged file after a good one: the good one's pictures are gone.
  Bytes damaged = SkinBytes(0x000022, 18);
  damaged[damaged.size() - 22] ^= 0xFF;  // end record signature
  theme.SetPassword("ember");
  ASSERT_TRUE(theme.Ready());
  ASSERT_NE(theme.GetPicture(item::kTitleButtons), nullptr);
  theme.SetThemeFile(Write("damaged.skn", damaged));
  EXPECT_FALSE(theme.Ready());
  EXPECT_EQ(theme.GetPicture(item::kTitleButtons), nullptr);
  EXPECT_EQ(theme.GetColor(item::kButtonFontColor), 0u);
  EXPECT_EQ(theme.ThemeFile(), (dir / "damaged.skn").string());
}

TEST_F(FileTheme, StyleResolutionAsksOnlyAReadyTheme) {
  using skin::TsuiUIStyle;
  TsuiFileTheme ready(nullptr), not_ready(nullptr);
  ready.SetThemeFile(Write("a.skn", SkinBytes(0, 18)));
  ASSERT_TRUE(ready.Ready());
  TsuiUIStyle out = skin::MacOS;
  for (TsuiUIStyle style : {skin::MacOS, skin::WinXP, skin::DeepBlue, skin::Protein,
                            skin::BlueGlass}) {
    EXPECT_FALSE(skin::UsingFileTheme(&ready, style, out));
    EXPECT_EQ(out, style);
  }
  EXPECT_TRUE(skin::UsingFileTheme(&ready, skin::FromThemeFile, out));
  EXPECT_EQ(out, skin::FromThemeFile);
  out = skin::WinXP;
  EXPECT_FALSE(skin::UsingFileTheme(&not_ready, skin::FromThemeFile, out));
  EXPECT_EQ(out, skin::DeepBlue);
  out = skin::WinXP;
  EXPECT_FALSE(skin::UsingFileTheme(nullptr, skin::FromThemeFile, out));
  EXPECT_EQ(out, skin::DeepBlue);
}

// Stand-ins for the layers above: a form (by its class name) and skinned
// and plain components with a FileTheme property that log its setter.
class FakeForm : public framework::TComponent {
public:
  FakeForm() : TComponent(nullptr) {}
  const framework::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const framework::TClassInfo& StaticClassInfo() {
    static const framework::TClassInfo& info =
        framework::TClassInfo::Define<FakeForm, framework::TComponent>("TCustomForm").Done();
    return info;
  }
};

std::vector<std::string> g_setter_log;

template <const char* kClassName>
class FakeThemed : public framework::TComponent {
public:
  explicit FakeThemed(TComponent* owner) : TComponent(owner) {}
  TComponent* FileTheme() const { return theme_; }
  void SetFileTheme(TComponent* theme) {
    theme_ = theme;
    g_setter_log.push_back(Name() + (theme ? "=" + theme->Name() : "=none"));
  }
  const framework::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const framework::TClassInfo& StaticClassInfo() {
    static const framework::TClassInfo& info =
        framework::TClassInfo::Define<FakeThemed, framework::TComponent>(kClassName)
            .Factory()
            .Prop("FileTheme", &FakeThemed::FileTheme, &FakeThemed::SetFileTheme)
            .Done();
    return info;
  }

private:
  TComponent* theme_ = nullptr;
};
constexpr char kSkinned[] = "TsuiFakeButton";
constexpr char kPlain[] = "TFakeButton";

TEST_F(FileTheme, ALoadedThemeIsAppliedAgainToTheSkinnedComponentsNamingIt) {
  const std::string first = Write("first.skn", SkinBytes(1, 18));
  const std::string second = Write("second.skn", SkinBytes(2, 18));
  FakeForm form;
  auto* theme = new TsuiFileTheme(&form);
  theme->SetName("Theme");
  auto* other = new TsuiFileTheme(&form);
  other->SetName("Other");
  auto* a = new FakeThemed<kSkinned>(&form);
  a->SetName("A");
  auto* plain = new FakeThemed<kPlain>(&form);
  plain->SetName("Plain");
  auto* b = new FakeThemed<kSkinned>(&form);
  b->SetName("B");
  auto* elsewhere = new FakeThemed<kSkinned>(&form);
  elsewhere->SetName("Elsewhere");
  for (auto* c : std::initializer_list<framework::TComponent*>{a, plain, b})
    framework::SetPropertyValue(*c, "FileTheme", static_cast<framework::TComponent*>(theme));
  elsewhere->SetFileTheme(other);
  g_setter_log.clear();

  theme->SetThemeFile(first);
  EXPECT_EQ(g_setter_log, (std::vector<std::string>{"A=none", "A=Theme", "B=none", "B=Theme"}));
  g_setter_log.clear();
  theme->SetThemeFile(second);
  EXPECT_EQ(g_setter_log.size(), 4u);
  g_setter_log.clear();
  // A failed load applies nothing.
  theme->SetThemeFile(Write("bad.skn", base::AsBytes("SK but nothing else")));
  EXPECT_TRUE(g_setter_log.empty());
  // Owned by something that is not a form: nothing to walk.
  FakeThemed<kSkinned> not_a_form(nullptr);
  TsuiFileTheme loose(&not_a_form);
  loose.SetThemeFile(first);
  EXPECT_TRUE(loose.Ready());
}

TEST_F(FileTheme, AStoredThemeTriesItsFileBeforeItsPasswordAndIgnoresReady) {
  framework::RegisterClasses({&TsuiFileTheme::StaticClassInfo(),
                              &FakeThemed<kSkinned>::StaticClassInfo()});
  const std::string locked = Write("stored.skn", SkinBytes(0x000033, 18, "p4ss"));
  std::string escaped;
  for (char c : locked) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  FakeForm form;
  g_setter_log.clear();
  framework::LoadLayoutText(form,
                            "object Form1: TCustomForm\n"
                            "  object Theme: TsuiFileTheme\n"
                            "    ThemeFile = \"" + escaped + "\"\n"
                            "    Ready = true\n"
                            "    Password = \"p4ss\"\n"
                            "  end\n"
                            "  object A: TsuiFakeButton\n"
                            "    FileTheme = Theme\n"
                            "  end\n"
                            "end\n",
                            {});
  auto* theme = dynamic_cast<TsuiFileTheme*>(form.FindComponent("Theme"));
  ASSERT_NE(theme, nullptr);
  EXPECT_TRUE(theme->Ready());
  EXPECT_EQ(theme->ThemeFile(), locked);
  EXPECT_EQ(theme->GetColor(item::kButtonFontColor), 0x000033u);
  // The reference is resolved once every component exists.
  EXPECT_EQ(g_setter_log, std::vector<std::string>{"A=Theme"});
}

TEST(SkinItems, TheVocabularyByKindAndNumber) {
  EXPECT_EQ(skin::kSkinItemNameTable.size(), 84u);
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Color, 0), "SKIN2_TRANSCOLOR");
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Color, 31), "SKIN2_SIDECHANNELBORDERCOLOR");
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Picture, 0), "SKIN2_TITLEBAR1");
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Picture, 33), "SKIN2_SCROLLBUTTON");
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Integer, 8), "SKIN2_BOTTOMREGIONMAXY");
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Flag, 8), "SKIN2_TABCONTROLTRANS");
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Flag, 9), std::nullopt);
  EXPECT_EQ(skin::SkinItemName(skin::TSkinItemKind::Picture, 128 + 15), "SKIN2_BUTTON");
  EXPECT_EQ(skin::SkinItemKindOf("SKIN2_BUTTON"), skin::TSkinItemKind::Picture);
  EXPECT_EQ(skin::SkinItemKindOf("SKIN2_BUTTONTRANS"), skin::TSkinItemKind::Flag);
  EXPECT_EQ(skin::SkinItemKindOf("skin2_button"), std::nullopt);
  // Every name once.
  for (std::size_t i = 0; i < skin::kSkinItemNameTable.size(); ++i)
    for (std::size_t j = i + 1; j < skin::kSkinItemNameTable.size(); ++j)
      EXPECT_NE(skin::kSkinItemNameTable[i], skin::kSkinItemNameTable[j]);
}

}  // namespace
