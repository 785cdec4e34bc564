// The skinned buttons and the link label in a real window under real input
// (SetCursorPos, SendInput). Button faces come from a stand-in picture
// loader whose three frames have distinct colours, so the pixels on screen
// say which frame a button shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/error.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_button.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_skin_items.h"
#include "skin/skin_window.h"
#include "skin/sui_url_label.h"

#include "tests/host/gbk_literal.h"
#include "tests/win32/support/ui_input.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

namespace {

using namespace framework;
using namespace testing_support;
using graphics::TBitmap;
using graphics::TColor;
using skin::TsuiButton;

constexpr TColor kFrameColor[3] = {0x00C000, 0xC00000, 0x0000C0};  // normal, over, pressed

// A 54 x 21 strip: three 18 x 21 frames of one colour each, a one-pixel
// magenta margin at the strip's corners (the see-through colour).
TBitmap FakeStrip(const std::string& name) {
  if (name != "WINXP_BUTTON") throw base::Error("Resource " + name + " not found");
  TBitmap strip(54, 21);
  for (int f = 0; f < 3; ++f)
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 18; ++x) strip.SetPixel(f * 18 + x, y, kFrameColor[f]);
  return strip;
}

struct SkinControlsTest : ::testing::Test {
  skin::PictureLoader previous = skin::SetPictureLoader(FakeStrip);
  TForm* form = new TForm(nullptr);
  TsuiButton* ok = nullptr;
  TsuiButton* cancel = nullptr;
  int ok_clicks = 0, cancel_clicks = 0;

  void SetUp() override {
    form->SetBounds(80, 80, 420, 260);
    ok = new TsuiButton(form);
    ok->SetParent(form);
    ok->SetUIStyle(skin::WinXP);
    ok->SetBounds(20, 20, 91, 23);
    ok->SetCaption("OK");
    ok->OnClick = [this](TComponent*) { ++ok_clicks; };
    cancel = new TsuiButton(form);
    cancel->SetParent(form);
    cancel->SetUIStyle(skin::WinXP);
    cancel->SetBounds(140, 20, 91, 23);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->OnClick = [this](TComponent*) { ++cancel_clicks; };
    form->Show();
    Pump(150);
  }
  void TearDown() override {
    MouseButton(false);
    delete form;
    skin::SetPictureLoader(previous);
    Pump(50);
  }
};

TEST_F(SkinControlsTest, WinXpButtonShowsFramesOneTwoThreeForNormalOverPressed) {
  // The centre pixel lies in the stretched centre piece of the face.
  auto centre = [&] { return Snapshot(*ok).Pixel(45, 6); };
  MoveTo(*form->Controls(0), 300, 200);
  EXPECT_EQ(centre(), kFrameColor[0]);
  MoveTo(*ok, 45, 11);
  EXPECT_TRUE(ok->MouseIn());
  EXPECT_EQ(centre(), kFrameColor[1]);
  MouseButton(true);
  Pump(60);
  EXPECT_EQ(centre(), kFrameColor[2]);
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(ok_clicks, 1);
  // Disabled: frame 1 again.
  ok->SetEnabled(false);
  EXPECT_EQ(centre(), kFrameColor[0]);
}

TEST_F(SkinControlsTest, ReleasingOutsideFiresNoClick) {
  MoveTo(*ok, 45, 11);
  MouseButton(true);
  Pump(60);
  EXPECT_TRUE(ok->Pressed());
  MoveTo(*ok, 45, 60);
  EXPECT_FALSE(ok->Pressed());
  EXPECT_EQ(Snapshot(*ok).Pixel(45, 6), kFrameColor[0]);
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(ok_clicks, 0);
}

TEST_F(SkinControlsTest, HoldingRepeatsEveryIntervalAndClicksOnceAtTheRelease) {
  int repeats = 0;
  ok->SetMouseContinuouslyDownInterval(100);
  ok->OnMouseContinuouslyDown = [&](TComponent*) { ++repeats; };
  MoveTo(*ok, 45, 11);
  MouseButton(true);
  Pump(350);
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(repeats, 3);
  EXPECT_EQ(ok_clicks, 1);
}

TEST_F(SkinControlsTest, EnterAndEscReachTheDefaultAndCancelButtons) {
  ok->SetDefault(true);
  // A control that is not a button has the focus: Enter goes to the default.
  auto* other = new framework::TCustomControl(form);
  other->SetParent(form);
  other->SetBounds(20, 100, 60, 30);
  other->SetTabStop(true);
  other->SetFocus();
  Pump(60);
  Key(VK_RETURN);
  EXPECT_EQ(ok_clicks, 1);
  Key(VK_ESCAPE);
  EXPECT_EQ(cancel_clicks, 1);
  // Another TsuiButton has the focus: Enter clicks that one instead.
  cancel->SetFocus();
  Pump(60);
  Key(VK_RETURN);
  EXPECT_EQ(cancel_clicks, 2);
  EXPECT_EQ(ok_clicks, 1);
}

// A typed character reaches the buttons whole (a wide window's WM_CHAR is
// a UTF-16 unit): 乎 (U+4E4E) is not the accelerator of "&N", whose letter
// is its low byte, while a button whose accelerator is 乎 answers it.
TEST_F(SkinControlsTest, AcceleratorsCompareTheWholeTypedCharacter) {
  int n_clicks = 0, hu_clicks = 0;
  auto* n = new TsuiButton(form);
  n->SetParent(form);
  n->SetBounds(20, 60, 91, 23);
  n->SetCaption("&No");
  n->OnClick = [&](TComponent*) { ++n_clicks; };
  auto* hu = new TsuiButton(form);
  hu->SetParent(form);
  hu->SetBounds(140, 60, 91, 23);
  hu->SetCaption(testing_support::Gbk(u8"在乎(&乎)"));
  hu->OnClick = [&](TComponent*) { ++hu_clicks; };
  // A skinned button has the focus, so an accelerator needs no Alt.
  ok->SetFocus();
  Pump(60);
  ASSERT_TRUE(ok->Focused());
  auto type = [&](wchar_t c) {
    PostMessageW(ok->Handle(), WM_CHAR, c, 1);
    Pump(60);
  };

  type(0x4E4E);
  EXPECT_EQ(n_clicks, 0) << "the low byte of U+4E4E passed for 'N'";
  EXPECT_EQ(hu_clicks, 1);
  type(L'n');
  EXPECT_EQ(n_clicks, 1);
  type(L'N');
  EXPECT_EQ(n_clicks, 2);
  EXPECT_EQ(hu_clicks, 1);
  // Another character whose low byte is 'N' (U+554E) is nobody's.
  type(0x554E);
  EXPECT_EQ(n_clicks, 2);
  EXPECT_EQ(hu_clicks, 1);
  EXPECT_EQ(ok_clicks, 0);
}

TEST_F(SkinControlsTest, ClickSetsTheFormsModalResultAndButtonsAnswerTheQuery) {
  ok->SetModalResult(mrOk);
  ok->Click();
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_EQ(SendMessageW(ok->Handle(), skin::kButtonQueryMessage, 0, 0), 1);
  EXPECT_EQ(SendMessageW(form->Handle(), skin::kButtonQueryMessage, 0, 0), 0);
}

TEST_F(SkinControlsTest, LinkLabelChangesColourAndAsksTheShellToOpenItsUrl) {
  auto* link = new skin::TsuiURLLabel(form);
  link->SetParent(form);
  link->SetBounds(20, 180, 120, 20);
  link->SetURL("http://www.vanto.example.com/licence");
  EXPECT_EQ(link->Font().Color, graphics::clBlue);
  EXPECT_EQ(link->Cursor(), crHandPoint);
  std::string opened;
  int clicks = 0;
  auto previous_open = skin::TsuiURLLabel::SetShellOpen([&](const std::string& url) { opened = url; });
  link->OnClick = [&](TComponent*) { ++clicks; };
  MoveTo(*link, 5, 5);
  EXPECT_EQ(link->Font().Color, graphics::clRed);
  MouseButton(true);
  MouseButton(false);
  Pump(80);
  EXPECT_EQ(opened, "http://www.vanto.example.com/licence");
  EXPECT_EQ(clicks, 1);
  MoveTo(*link, 200, 5);  // beside it, on the form
  EXPECT_EQ(link->Font().Color, graphics::clBlue);
  // Blanks only: nothing is opened, OnClick still fires.
  opened.clear();
  link->SetURL("  ");
  link->Click();
  EXPECT_EQ(opened, "");
  EXPECT_EQ(clicks, 2);
  skin::TsuiURLLabel::SetShellOpen(previous_open);
}

// A skin file whose button strip has three frames of the given colours and
// whose button text has text_color; the button face is opaque.
std::string WriteSkinFile(const std::filesystem::path& path, const TColor (&frames)[3],
                          TColor text_color) {
  TBitmap strip(54, 21);
  for (int f = 0; f < 3; ++f)
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 18; ++x) strip.SetPixel(f * 18 + x, y, frames[f]);
  const base::Bytes container = mkskin::WriteContainer({
      mkskin::BitmapEntry("SKIN2_BUTTON", graphics::WriteBmp(strip)),
      mkskin::IntegerEntry("SKIN2_BUTTONFONTCOLOR", static_cast<std::int32_t>(text_color)),
      mkskin::BooleanEntry("SKIN2_BUTTONTRANS", 0),
  });
  const base::Bytes file = mkskin::WriteSkinArchive("SKINDATA.SK2", container);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return base::WideToGbkLossy(path.wstring());
}

TEST_F(SkinControlsTest, AFileThemeReachesEveryButtonNamingItAndLeavesThemWhenFreed) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "skin-controls-file-theme";
  std::filesystem::create_directories(dir);
  constexpr TColor kJade[3] = {0x40A040, 0x60C060, 0x208020};
  constexpr TColor kEmber[3] = {0x2060E0, 0x4080F0, 0x1040C0};
  const std::string jade = WriteSkinFile(dir / "jade.skn", kJade, 0x000001);
  const std::string ember = WriteSkinFile(dir / "ember.skn", kEmber, 0x000002);

  auto* theme = new skin::TsuiFileTheme(form);
  for (TsuiButton* b : {ok, cancel}) {
    b->SetUIStyle(skin::FromThemeFile);
    b->SetFileTheme(theme);
  }
  auto centre = [](TsuiButton& b) { return Snapshot(b).Pixel(45, 6); };
  MoveTo(*form->Controls(0), 300, 200);
  // Not ready yet: DeepBlue's picture, not a file theme's.
  EXPECT_NE(centre(*ok), kJade[0]);

  theme->SetThemeFile(jade);
  ASSERT_TRUE(theme->Ready());
  EXPECT_EQ(centre(*ok), kJade[0]);
  EXPECT_EQ(centre(*cancel), kJade[0]);
  EXPECT_EQ(ok->Font().Color, 0x000001u);

  // A new skin file: both buttons show it without being asked.
  theme->SetThemeFile(ember);
  EXPECT_EQ(centre(*ok), kEmber[0]);
  EXPECT_EQ(centre(*cancel), kEmber[0]);
  EXPECT_EQ(cancel->Font().Color, 0x000002u);
  MoveTo(*ok, 45, 11);
  EXPECT_EQ(centre(*ok), kEmber[1]);
  MouseButton(true);
  Pump(60);
  EXPECT_EQ(centre(*ok), kEmber[2]);
  MouseButton(false);
  Pump(60);

  // Freed: the buttons forget it and fall back to DeepBlue.
  delete theme;
  for (TsuiButton* b : {ok, cancel}) {
    EXPECT_EQ(b->FileTheme(), nullptr);
    EXPECT_EQ(b->UIStyle(), skin::DeepBlue);
  }
  std::filesystem::remove_all(dir);
}

TEST(LinkLabelShellTest, TheShellStartsWhatTheUrlNames) {
  // The platform's request, for real: the URL names a program, which the
  // shell starts; it leaves a trace.
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::filesystem::path folder = std::filesystem::path(exe).parent_path();
  std::filesystem::path trace = std::filesystem::temp_directory_path() / "vanto-link-trace.txt";
  std::filesystem::remove(trace);
  SetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", trace.wstring().c_str());
  skin::ShellOpenUrl(base::WideToGbkLossy((folder / "trace_args.exe").wstring()));
  for (int i = 0; i < 100 && !std::filesystem::exists(trace); ++i) Sleep(100);
  SetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", nullptr);
  std::ifstream in(trace);
  std::string line;
  std::getline(in, line);
  EXPECT_NE(line.find("trace_args.exe"), std::string::npos) << line;
}

}  // namespace

namespace {

TEST(BuiltInPicturesTest, TheProgramCarriesEveryThemePictureAtItsSize) {
  struct Expect {
    skin::TsuiUIStyle style;
    int entry, width, height;
  } cases[] = {{skin::MacOS, 1, 252, 23},   {skin::WinXP, 1, 54, 21},    {skin::DeepBlue, 1, 222, 21},
               {skin::Protein, 1, 222, 21}, {skin::BlueGlass, 1, 231, 27}, {skin::MacOS, 3, 60, 17},
               {skin::WinXP, 4, 52, 13},    {skin::WinXP, 5, 378, 21},   {skin::BlueGlass, 5, 342, 19}};
  for (const Expect& e : cases) {
    TBitmap picture;
    skin::LoadBuiltInPicture(e.style, e.entry, &picture);
    EXPECT_EQ(picture.Width(), e.width) << int(e.style) << "/" << e.entry;
    EXPECT_EQ(picture.Height(), e.height) << int(e.style) << "/" << e.entry;
  }
  TBitmap middle;
  skin::GetBuiltInBitmap(skin::WinXP, 1, &middle, 2, 3);
  EXPECT_EQ(middle.Width(), 18);
  EXPECT_EQ(middle.Height(), 21);
}

}  // namespace

namespace {

TEST(SkinWindowTest, BoundsFromARectangleAndTheActiveForm) {
  framework::TForm form(nullptr);
  auto* b = new TsuiButton(&form);
  skin::SetControlBoundsRect(*b, {10, 20, 110, 47});
  EXPECT_EQ(b->BoundsRect(), (graphics::TRect{10, 20, 110, 47}));
  const graphics::TRect work = skin::GetWorkArea();
  EXPECT_GT(work.Width(), 0);
  EXPECT_GT(work.Height(), 0);
  form.Show();
  Pump(100);
  // No main form: the form's own flag decides.
  EXPECT_EQ(skin::IsFormActive(&form), form.Active());
  EXPECT_TRUE(form.Active());
}

}  // namespace
