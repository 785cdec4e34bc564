// The skinned form on a real host window: the native caption goes and comes
// back with the original window procedure, the window region has rounded
// top and square bottom corners, a double click on the title maximises over
// the work area as the frame rules place it, Alt+Space opens the window
// menu, and the form's Menu is shown by the skinned menu bar, never by the
// native one.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>
#include <thread>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/controls/panel.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/skin_window.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_form.h"
#include "skin/sui_skin_items.h"

#include "tests/win32/support/ui_input.h"
#include "tools/mkskin/skin_archive_writer.h"
#include "tools/mkskin/skin_container_writer.h"

#include <filesystem>

namespace {

using framework::TComponent;
using framework::TFormBorderStyle;
using graphics::TRect;
using skin::TsuiForm;
using testing_support::Pump;
using testing_support::SendKeys;
using testing_support::WaitForMenuWindow;

RECT WindowRect(framework::TCustomForm& form) {
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  return r;
}

struct SkinnedFormTest : ::testing::Test {
  framework::TForm* host = new framework::TForm(nullptr);
  void SetUp() override {
    SetCursorPos(0, 0);
    host->SetCaption("Host");
    host->SetBounds(120, 100, 320, 220);
    host->Show();
    Pump(100);
  }
  void TearDown() override {
    TComponent::Free(host);
    Pump(50);
  }
  bool InRegion(int x, int y) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(host->Handle(), rgn);
    const bool inside = kind != ERROR && PtInRegion(rgn, x, y);
    DeleteObject(rgn);
    return inside;
  }
  void DoubleClickTitle(TsuiForm& form) {
    skin::TsuiTitleBar* bar = form.TitleBar();
    const int x = bar->Width() / 2, y = bar->Height() / 2;
    testing_support::MoveTo(*bar, x, y);
    // MoveTo speaks in the parent's client coordinates: the bar's parent
    // is the skinned form, whose origin is the host's client origin.
    testing_support::MouseButton(true);
    testing_support::MouseButton(false);
    Pump(30);
    testing_support::MouseButton(true);
    testing_support::MouseButton(false);
    Pump(300);
  }
};

TEST_F(SkinnedFormTest, AttachingTakesTheCaptionAndDetachingGivesEverythingBack) {
  HWND hwnd = host->Handle();
  const LONG_PTR own_proc = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  ASSERT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION);

  auto* skinned = new TsuiForm(host);
  Pump(100);
  ASSERT_NE(skinned->TitleBar(), nullptr);
  EXPECT_EQ(skinned->HostForm(), host);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(host->BorderStyle(), TFormBorderStyle::bsDialog) << "bsSingle becomes bsDialog";
  EXPECT_EQ(skinned->TitleBar()->Caption(), "Host");
  EXPECT_EQ(skinned->BoundsRect(), host->ClientRect()) << "it fills the client area";
  EXPECT_EQ(skinned->TitleBar()->Top(), 0);
  // The title bar's query reaches the form's answer.
  EXPECT_EQ(skinned->Perform(skin::kTitleBarBorderQuery),
            skin::TitleBarBorderAnswer(skinned->Look().Metrics));
  // Setting the caption reaches the host and the bar.
  skinned->SetCaption("Skinned");
  EXPECT_EQ(host->Caption(), "Skinned");
  EXPECT_EQ(skinned->TitleBar()->Caption(), "Skinned");

  // The host's caption set elsewhere reaches the bar.
  host->SetCaption("From the host");
  EXPECT_EQ(skinned->TitleBar()->Caption(), "From the host");
  EXPECT_EQ(skinned->Caption(), "From the host");
  // The host may not be sized below what the title bar and the frame need.
  EXPECT_EQ(host->Constraints().MinHeight,
            skin::FormMinimumHeight(0, skinned->TitleBar()->Height(), 0));
  EXPECT_GT(host->Constraints().MinWidth, 0) << "the theme's minimum width";

  // A second one on the same host stays a plain panel.
  auto* second = new TsuiForm(host);
  EXPECT_EQ(second->TitleBar(), nullptr);
  EXPECT_EQ(second->HostForm(), nullptr);
  TComponent::Free(second);

  TComponent::Free(skinned);
  Pump(100);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), own_proc);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(host->BorderStyle(), TFormBorderStyle::bsSingle);
  EXPECT_EQ(host->Constraints(), framework::TCustomForm::TSizeConstraints{}) << "its own again";
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, rgn), ERROR) << "no region any more";
  DeleteObject(rgn);
  // Messages keep flowing to the host alone.
  SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
}

TEST_F(SkinnedFormTest, RoundedTopCornersASquareBottomAndSquareOnesWithoutTitleBar) {
  auto* skinned = new TsuiForm(host);
  skinned->SetRoundCorner(11);
  skinned->SetRoundCornerBottom(0);
  Pump(100);
  const RECT r = WindowRect(*host);
  const int w = r.right - r.left, h = r.bottom - r.top;
  EXPECT_FALSE(InRegion(0, 0));
  EXPECT_FALSE(InRegion(w - 1, 0));
  EXPECT_TRUE(InRegion(w / 2, 0));
  EXPECT_TRUE(InRegion(0, 11));
  EXPECT_TRUE(InRegion(0, h - 1));
  EXPECT_TRUE(InRegion(w - 1, h - 1));
  skinned->SetTitleBarVisible(false);
  Pump(50);
  EXPECT_EQ(skinned->RoundCorner(), 0) << "read as 0 while the title bar is hidden";
  EXPECT_TRUE(InRegion(0, 0));
  EXPECT_TRUE(InRegion(w - 1, 0));
}

TEST_F(SkinnedFormTest, ADoubleClickOnTheTitleMaximisesOverTheWorkAreaAndRestores) {
  host->SetBorderStyle(TFormBorderStyle::bsSizeable);
  auto* skinned = new TsuiForm(host);
  EXPECT_EQ(host->BorderStyle(), TFormBorderStyle::bsSizeable) << "a sizing frame stays";
  Pump(100);
  const RECT before = WindowRect(*host);
  DoubleClickTitle(*skinned);
  ASSERT_TRUE(IsZoomed(host->Handle()));
  const TRect expected = skin::MaximisedBounds(skin::GetWorkArea());
  const RECT r = WindowRect(*host);
  EXPECT_EQ((TRect{r.left, r.top, r.right, r.bottom}), expected);
  DoubleClickTitle(*skinned);
  EXPECT_FALSE(IsZoomed(host->Handle()));
  const RECT restored = WindowRect(*host);
  EXPECT_EQ(restored.left, before.left);
  EXPECT_EQ(restored.right, before.right);
}

TEST_F(SkinnedFormTest, AltSpaceOpensTheWindowMenu) {
  new TsuiForm(host);
  Pump(100);
  SetForegroundWindow(host->Handle());
  Pump(50);
  std::atomic<bool> opened{false};
  RECT menu_rect{};
  std::thread user([&] {
    HWND menu = WaitForMenuWindow(2000);
    if (!menu) return;
    opened = true;
    Sleep(100);
    GetWindowRect(menu, &menu_rect);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SendKeys({VK_MENU, VK_SPACE});
  Pump(800);
  user.join();
  Pump(50);
  EXPECT_TRUE(opened);
}

TEST_F(SkinnedFormTest, TheFormsMenuShowsInTheSkinnedMenuBarBelowTheTitle) {
  auto* skinned = new TsuiForm(host);
  auto* menu = new skin::TsuiMainMenu(host);
  for (const char* caption : {"&File", "&Help"}) {
    auto* item = new framework::TMenuItem(host);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  skinned->SetMenu(menu);
  host->SetMenu(menu);  // the host's own menu never shows
  Pump(150);
  ASSERT_NE(skinned->MenuBar(), nullptr);
  EXPECT_EQ(skinned->MenuBar()->ButtonCount(), 2);
  EXPECT_EQ(skinned->MenuBar()->Top(), skinned->TitleBar()->Height());
  EXPECT_EQ(skinned->MenuBar()->Height(), 22);
  ShowWindow(host->Handle(), SW_HIDE);
  ShowWindow(host->Handle(), SW_SHOW);
  Pump(50);
  EXPECT_EQ(GetMenu(host->Handle()), nullptr);
  EXPECT_EQ(menu->SkinnedForm(), skinned);
  skinned->SetMenu(nullptr);
  EXPECT_EQ(skinned->MenuBar(), nullptr);
  EXPECT_EQ(menu->SkinnedForm(), nullptr);
}

// A skin whose left title picture has see-through pixels in its top-left
// 4 x 4 corner, within the title's region rows (0 to 3).
std::string WriteShapedSkin(const std::filesystem::path& path) {
  constexpr graphics::TColor kTrans = 0xFF00FF;
  auto picture = [&](int width, bool cut_corner) {
    graphics::TBitmap b(width, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < width; ++x)
        b.SetPixel(x, y, cut_corner && x < 4 && y < 4 ? kTrans : 0x40A040);
    return graphics::WriteBmp(b);
  };
  auto name = [](skin::TSkinItemKind kind, int item) {
    return std::string(*skin::SkinItemName(kind, item));
  };
  using K = skin::TSkinItemKind;
  const base::Bytes container = mkskin::WriteContainer({
      mkskin::BitmapEntry(name(K::Picture, 0), picture(30, true)),
      mkskin::BitmapEntry(name(K::Picture, 1), picture(10, false)),
      mkskin::BitmapEntry(name(K::Picture, 2), picture(30, false)),
      mkskin::IntegerEntry(name(K::Color, skin::form_item::kTransColor), kTrans),
      mkskin::IntegerEntry(name(K::Color, skin::form_item::kFormColor), 0xE0F0E0),
      mkskin::BooleanEntry(name(K::Flag, skin::form_item::kTitleNeedRegion), 1),
      mkskin::IntegerEntry(name(K::Integer, skin::form_item::kTitleRegionFirst), 0),
      mkskin::IntegerEntry(name(K::Integer, skin::form_item::kTitleRegionLast), 3),
  });
  const std::string file = base::WideToGbkLossy(path.wstring());
  base::NativeFileSystem().WriteWholeFile(file,
                                          mkskin::WriteSkinArchive("SKINDATA.SK2", container));
  return file;
}

TEST_F(SkinnedFormTest, SeeThroughPixelsOfTheTitlePictureCutTheWindowRegion) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "shaped-skin";
  std::filesystem::create_directories(dir);
  auto* theme = new skin::TsuiFileTheme(host);
  theme->SetThemeFile(WriteShapedSkin(dir / "shaped.skn"));
  ASSERT_TRUE(theme->Ready());
  auto* skinned = new TsuiForm(host);
  skinned->SetFileTheme(theme);
  skinned->SetUIStyle(skin::FromThemeFile);
  Pump(150);
  ASSERT_TRUE(skinned->Look().TitleNeedRegion);
  const RECT r = WindowRect(*host);
  const int w = r.right - r.left, h = r.bottom - r.top;
  EXPECT_FALSE(InRegion(0, 0));
  EXPECT_FALSE(InRegion(3, 3));
  EXPECT_TRUE(InRegion(4, 0)) << "the corner ends where the picture's see-through pixels do";
  EXPECT_TRUE(InRegion(0, 4));
  EXPECT_TRUE(InRegion(w / 2, 0));
  EXPECT_TRUE(InRegion(w - 1, 0)) << "the right picture has no see-through pixels";
  EXPECT_TRUE(InRegion(0, h - 1));
  // Back to a built-in theme: the picture's shape goes with the skin.
  skinned->SetFileTheme(nullptr);
  skinned->SetUIStyle(skin::WinXP);
  skinned->SetRoundCorner(0);
  Pump(50);
  EXPECT_TRUE(InRegion(0, 0));
  TComponent::Free(skinned);
  std::filesystem::remove_all(dir);
}

TEST_F(SkinnedFormTest, MenuShortcutsClickTheirItemsWhileTheHostIsActive) {
  auto* skinned = new TsuiForm(host);
  auto* menu = new skin::TsuiMainMenu(host);
  auto* file = new framework::TMenuItem(host);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  auto* save = new framework::TMenuItem(host);
  save->SetCaption("&Save");
  save->SetShortCut(framework::MakeShortCut('S', framework::ssCtrl));
  int saves = 0;
  save->OnClick = [&](TComponent*) { ++saves; };
  file->Add(save);
  skinned->SetMenu(menu);
  SetForegroundWindow(host->Handle());
  Pump(100);
  auto press = [](std::initializer_list<std::uint16_t> keys) {
    SendKeys(keys);
    Pump(150);
  };
  press({VK_CONTROL, 'S'});
  EXPECT_EQ(saves, 1);
  press({'S'});
  EXPECT_EQ(saves, 1) << "S alone is no shortcut";
  save->SetEnabled(false);
  press({VK_CONTROL, 'S'});
  EXPECT_EQ(saves, 1) << "a disabled item's shortcut does nothing";
}

TEST_F(SkinnedFormTest, TheFormPanelFillsTheClientAreaAndTheFormItselfIsRefused) {
  auto* skinned = new TsuiForm(host);
  std::vector<std::string> errors;
  skin::SetTitleBarErrorDialog([&](const std::string& text) { errors.push_back(text); });
  auto* panel = new framework::TPanel(host);
  panel->SetParent(skinned);
  panel->SetCaption("panel");
  skinned->SetFormPanel(panel);
  EXPECT_EQ(panel->Align(), framework::TAlign::alClient);
  EXPECT_EQ(panel->BevelOuter(), framework::TPanelBevel::bvNone);
  EXPECT_EQ(panel->Caption(), "");
  skinned->SetFormPanel(skinned);
  skin::SetTitleBarErrorDialog(nullptr);
  EXPECT_EQ(skinned->FormPanel(), panel) << "the old panel stays";
  EXPECT_EQ(errors, (std::vector<std::string>{TsuiForm::kFormPanelRefused}));
  TComponent::Free(panel);
  EXPECT_EQ(skinned->FormPanel(), nullptr);
}

TEST(SkinnedFormClass, ItsOwnPropertiesAreFoundByNameInTheirOrderAndVersionIsFixed) {
  std::vector<std::string> names;
  for (const framework::TPropInfo* p : TsuiForm::StaticClassInfo().Properties())
    names.push_back(std::string(p->Name()));
  const std::vector<std::string> order = {
      "TitleBarCustom", "FileTheme",   "UIStyle",       "UIStyleAutoUpdateSub",
      "BorderColor",    "BorderWidth", "TitleBarVisible", "FormPanel",
      "TitleBarDrawAppIcon", "Menu",   "MenuBarColor",  "MenuBarToColor",
      "MenuBarHeight",  "RoundCorner", "RoundCornerBottom", "Version",
      "InactiveCaptionColor"};
  std::size_t at = 0;
  for (const std::string& name : order) {
    const auto it = std::find(names.begin() + static_cast<std::ptrdiff_t>(at), names.end(), name);
    ASSERT_NE(it, names.end()) << name << " missing or out of order";
    at = static_cast<std::size_t>(it - names.begin());
  }
  TComponent owner(nullptr);
  TsuiForm plain(&owner);  // no form: a plain panel
  EXPECT_EQ(plain.TitleBar(), nullptr);
  plain.SetVersion("1.0");
  EXPECT_EQ(plain.Version(), "6.21");
}

}  // namespace
