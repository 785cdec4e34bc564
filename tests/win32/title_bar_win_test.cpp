// The title bar on a real form, driven by real input: dragging moves the
// window (not a maximised one), a double click maximises over the work area
// and restores, the maximise button then shows its restore frames, a button
// under the mouse shows its mouse-over frame, the caption ends in "..."
// when the bar is narrow, the window menu's commands follow the visible
// buttons, and the close button closes the form. Also what needs the
// window class: the published order, Custom, and losing the file theme.
//
// The system's move loop and the window menu run their own modal loops, so
// the user is played by a second thread while the test's thread sits in
// them.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "skin/skin_window.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_themes.h"
#include "skin/sui_title_bar.h"
#include "tests/win32/support/ui_input.h"

namespace {

using framework::TComponent;
using graphics::TBitmap;
using graphics::TRect;
using skin::TsuiTitleBar;
using testing_support::MouseButton;
using testing_support::MoveTo;
using testing_support::Pump;
using testing_support::Snapshot;

RECT WindowRect(framework::TCustomForm& form) {
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  return r;
}

// Frame `frame` of DeepBlue's title button strip, as the bar shows it.
TBitmap StripFrame(int frame) {
  TBitmap b;
  skin::GetBuiltInBitmap(skin::DeepBlue, 5, &b, frame, skin::kTitleButtonFrames);
  return b;
}

// The part of shot under rect shows exactly picture.
bool Shows(const TBitmap& shot, const TRect& rect, const TBitmap& picture) {
  if (rect.Right - rect.Left != picture.Width() || picture.Empty()) return false;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (shot.Pixel(rect.Left + x, rect.Top + y) != picture.Pixel(x, y)) return false;
  return true;
}

graphics::TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// A plain form that counts the caption presses it is sent.
class CountingForm : public framework::TForm {
public:
  using framework::TForm::TForm;
  void WndProc(framework::TMessage& m) override {
    if (m.Msg == WM_NCLBUTTONDOWN && m.WParam == HTCAPTION) ++caption_presses;
    framework::TForm::WndProc(m);
  }
  int caption_presses = 0;
};

struct TitleBarTest : ::testing::Test {
  CountingForm* form = new CountingForm(nullptr);
  TsuiTitleBar* bar = nullptr;

  void SetUp() override {
    form->SetBorderStyle(framework::TFormBorderStyle::bsNone);
    form->SetPosition(framework::TPosition::poDesigned);
    form->SetBounds(200, 150, 400, 200);
    bar = new TsuiTitleBar(form);
    bar->SetParent(form);
    bar->SetCaption("Title bar test");
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(150);
  }
  void TearDown() override {
    TComponent::Free(form);
    Pump(50);
  }
  // A point of the empty title area: right of the caption, left of the buttons.
  graphics::TPoint EmptyArea() const { return {bar->ButtonRect(3).Left - 20, 8}; }
  void DoubleClickEmptyArea() {
    const auto p = EmptyArea();
    MoveTo(*bar, p.X, p.Y);
    MouseButton(true);
    MouseButton(false);
    Pump(30);
    MouseButton(true);
    MouseButton(false);
    Pump(250);
  }
};

// Presses on the empty title area and drags by (4 * dx, 4 * dy). The system's
// move loop runs inside the press, so the user moves and lets go from a
// second thread; without a move loop the same input simply arrives.
void DragEmptyArea(TitleBarTest& t, int dx, int dy) {
  const auto p = t.EmptyArea();
  MoveTo(*t.bar, p.X, p.Y);
  POINT start{};
  GetCursorPos(&start);
  std::thread user([start, dx, dy] {
    Sleep(250);
    for (int step = 1; step <= 4; ++step) {
      SetCursorPos(start.x + dx * step, start.y + dy * step);
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = MOUSEEVENTF_MOVE;
      SendInput(1, &in, sizeof in);
      Sleep(60);
    }
    MouseButton(false);
  });
  MouseButton(true);
  Pump(1200);
  user.join();
  Pump(100);
}

TEST_F(TitleBarTest, DraggingTheTitleMovesTheWindowButNotAMaximisedOne) {
  const RECT before = WindowRect(*form);
  DragEmptyArea(*this, 10, 7);
  const RECT after = WindowRect(*form);
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 28);
  EXPECT_EQ(form->caption_presses, 1);
  EXPECT_FALSE(bar->Pressed());

  ShowWindow(form->Handle(), SW_MAXIMIZE);
  Pump(150);
  const RECT maximised = WindowRect(*form);
  DragEmptyArea(*this, 10, 10);
  const RECT still = WindowRect(*form);
  EXPECT_EQ(still.left, maximised.left);
  EXPECT_EQ(still.top, maximised.top);
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(form->caption_presses, 1);  // the bar did not start a move
}

TEST_F(TitleBarTest, DoubleClickMaximisesOverTheWorkAreaAndRestoresWithTheRightFrames) {
  const RECT before = WindowRect(*form);
  EXPECT_TRUE(Shows(Snapshot(*bar), bar->ButtonRect(2), StripFrame(7)));
  DoubleClickEmptyArea();
  ASSERT_TRUE(IsZoomed(form->Handle()));
  const TRect area = skin::GetWorkArea();
  const RECT r = WindowRect(*form);
  EXPECT_EQ(r.left, area.Left - 2);
  EXPECT_EQ(r.top, area.Top - 2);
  EXPECT_EQ(r.right, area.Right + 2);
  EXPECT_EQ(r.bottom, area.Bottom - 1);
  MoveTo(*bar, EmptyArea().X, EmptyArea().Y);  // the mouse away from the buttons
  TBitmap shot = Snapshot(*bar);
  EXPECT_TRUE(Shows(shot, bar->ButtonRect(2), StripFrame(10)));
  // Over the button, the restore look's mouse-over frame.
  const auto max_centre = Centre(bar->ButtonRect(2));
  MoveTo(*bar, max_centre.X, max_centre.Y);
  shot = Snapshot(*bar);
  EXPECT_TRUE(Shows(shot, bar->ButtonRect(2), StripFrame(11)));
  EXPECT_EQ(bar->HotButton(), 2);

  DoubleClickEmptyArea();
  EXPECT_FALSE(IsZoomed(form->Handle()));
  const RECT restored = WindowRect(*form);
  EXPECT_EQ(restored.left, before.left);
  EXPECT_EQ(restored.right, before.right);
  EXPECT_TRUE(Shows(Snapshot(*bar), bar->ButtonRect(2), StripFrame(7)));
}

TEST_F(TitleBarTest, TheButtonUnderTheMouseShowsItsMouseOverFrame) {
  const TRect close = bar->ButtonRect(1);
  ASSERT_GT(close.Right, close.Left);
  EXPECT_TRUE(Shows(Snapshot(*bar), close, StripFrame(16)));
  MoveTo(*bar, Centre(close).X, Centre(close).Y);
  Pump(100);
  EXPECT_EQ(bar->HotButton(), 1);
  EXPECT_TRUE(Shows(Snapshot(*bar), close, StripFrame(17)));
  const TRect min = bar->ButtonRect(3);
  MoveTo(*bar, Centre(min).X, Centre(min).Y);
  TBitmap shot = Snapshot(*bar);
  EXPECT_TRUE(Shows(shot, close, StripFrame(16)));
  EXPECT_TRUE(Shows(shot, min, StripFrame(14)));
}

TEST_F(TitleBarTest, ACaptionTooWideForTheBarEndsInDots) {
  bar->SetCaption("A caption far too long for a narrow title bar of a small window");
  form->SetBounds(200, 150, 400, 200);
  Pump(100);
  Snapshot(*bar);
  const std::string wide = bar->DrawnCaption();
  form->SetBounds(200, 150, 180, 200);
  Pump(100);
  Snapshot(*bar);
  const std::string narrow = bar->DrawnCaption();
  ASSERT_GE(narrow.size(), 3u);
  EXPECT_EQ(narrow.substr(narrow.size() - 3), "...");
  EXPECT_LT(narrow.size(), wide.size());
  EXPECT_EQ(bar->Caption().rfind(narrow.substr(0, narrow.size() - 3), 0), 0u);
}

// Opens the window menu from the control box and reads which of its items
// are enabled.
struct MenuStates {
  bool found = false;
  bool minimise = false, maximise = false, close = false;
};
MenuStates OpenWindowMenu(TsuiTitleBar& bar) {
  MenuStates states;
  std::thread user([&states] {
    HWND menu = nullptr;
    for (int i = 0; i < 300 && !(menu && IsWindowVisible(menu)); ++i) {
      menu = FindWindowW(L"#32768", nullptr);
      Sleep(10);
    }
    if (!menu) return;
    Sleep(100);
    auto hmenu = reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1, 0, 0));  // MN_GETHMENU
    auto enabled = [hmenu](UINT pos) {
      return !(GetMenuState(hmenu, pos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    };
    states.found = hmenu != nullptr;
    states.minimise = enabled(0);
    states.maximise = enabled(1);
    states.close = enabled(3);
    for (int i = 0; IsWindowVisible(menu) && i < 5; ++i) {
      PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      Sleep(100);
    }
  });
  const TRect box = bar.ButtonRect(0);
  testing_support::Click(bar, Centre(box).X, Centre(box).Y);
  Pump(100);
  user.join();
  return states;
}

TEST_F(TitleBarTest, TheWindowMenuEnablesWhatTheVisibleButtonsOffer) {
  ASSERT_GT(bar->ButtonRect(0).Right, bar->ButtonRect(0).Left);  // the icon's place
  MenuStates all = OpenWindowMenu(*bar);
  ASSERT_TRUE(all.found);
  EXPECT_TRUE(all.minimise && all.maximise && all.close);

  bar->Buttons().Items(3).SetVisible(false);  // no minimise button
  // Past the double-click time: a second press on the control box this soon
  // would be a double click, which closes the form.
  Pump(GetDoubleClickTime() + 100);
  MenuStates no_min = OpenWindowMenu(*bar);
  ASSERT_TRUE(no_min.found);
  EXPECT_FALSE(no_min.minimise);
  EXPECT_TRUE(no_min.maximise);
  EXPECT_TRUE(no_min.close);
  EXPECT_TRUE(form->Visible());
}

TEST_F(TitleBarTest, AClickOnTheCloseButtonClosesTheForm) {
  const TRect close = bar->ButtonRect(1);
  testing_support::Click(*bar, Centre(close).X, Centre(close).Y);
  Pump(100);
  EXPECT_FALSE(form->Visible());
}

TEST_F(TitleBarTest, CustomKeepsTheUsersSectionsAndButtonsAcrossAStyleChange) {
  bar->SetCustom(true);
  bar->Sections().Clear();
  bar->Sections().Add().SetWidth(33);
  bar->Buttons().Items(3).SetVisible(false);
  bar->SetUIStyle(skin::MacOS);
  EXPECT_EQ(bar->UIStyle(), skin::MacOS);
  ASSERT_EQ(bar->Sections().Count(), 1);
  EXPECT_EQ(bar->Sections().Items(0).Width(), 33);
  EXPECT_FALSE(bar->Buttons().Items(3).Visible());

  bar->SetCustom(false);
  bar->SetUIStyle(skin::MacOS);
  EXPECT_EQ(bar->Sections().Count(), 3);
  EXPECT_EQ(bar->Font().Color, graphics::clBlack);  // MacOS: black caption
  EXPECT_TRUE(bar->AutoSize());
  EXPECT_EQ(bar->Height(), bar->Sections().Items(0).Picture().Height());
}

TEST_F(TitleBarTest, LosingTheFileThemeFallsBackToDeepBlue) {
  auto* theme = new skin::TsuiFileTheme(form);
  bar->SetUIStyle(skin::FromThemeFile);
  bar->SetFileTheme(theme);
  EXPECT_EQ(bar->FileTheme(), theme);
  TComponent::Free(theme);
  EXPECT_EQ(bar->FileTheme(), nullptr);
  EXPECT_EQ(bar->UIStyle(), skin::DeepBlue);
}

TEST(TitleBarClass, PublishedPropertiesInTheirOrderAndANewBarsDefaults) {
  std::vector<std::string> names;
  for (const auto& p : TsuiTitleBar::StaticClassInfo().OwnProperties()) names.push_back(p.Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Custom",
                                             "FileTheme",
                                             "UIStyle",
                                             "AutoSize",
                                             "BiDiMode",
                                             "Height",
                                             "Sections",
                                             "Buttons",
                                             "ButtonInterval",
                                             "Caption",
                                             "Font",
                                             "FormActive",
                                             "LeftBtnXOffset",
                                             "RightBtnXOffset",
                                             "DrawAppIcon",
                                             "RoundCorner",
                                             "RoundCornerBottom",
                                             "InactiveCaptionColor",
                                             "OnCustomBtnsClick",
                                             "OnHelpBtnClick",
                                             "OnResize"}));
  TComponent owner(nullptr);
  TsuiTitleBar bar(&owner);
  EXPECT_EQ(bar.Align(), framework::TAlign::alTop);
  ASSERT_EQ(bar.Buttons().Count(), 4);
  EXPECT_EQ(bar.Buttons().Items(0).ButtonType(), skin::suiControlBox);
  EXPECT_EQ(bar.Buttons().Items(1).ButtonType(), skin::suiClose);
  EXPECT_EQ(bar.Buttons().Items(2).ButtonType(), skin::suiMax);
  EXPECT_EQ(bar.Buttons().Items(3).ButtonType(), skin::suiMin);
  EXPECT_EQ(bar.Font().Name, "Tahoma");
  EXPECT_EQ(bar.Font().Color, graphics::clWhite);
  EXPECT_EQ(bar.InactiveCaptionColor(), 0xFF000003u);
  EXPECT_TRUE(bar.FormActive());
  EXPECT_TRUE(bar.DrawAppIcon());
  EXPECT_EQ(bar.ButtonInterval(), 0);
  EXPECT_FALSE(bar.Custom());
}

TEST(TitleBarClass, TheWindowMenuCaptionsAreTheProgramsStringResources) {
  // 最小化(&N), 最大化/还原(&X), 关闭(&C), read as UTF-16 and given back in GBK.
  EXPECT_EQ(skin::title_bar_platform::LoadText(skin::TTitleBarText::Minimise),
            "\xD7\xEE\xD0\xA1\xBB\xAF(&N)");
  EXPECT_EQ(skin::title_bar_platform::LoadText(skin::TTitleBarText::Maximise),
            "\xD7\xEE\xB4\xF3\xBB\xAF/\xBB\xB9\xD4\xAD(&X)");
  EXPECT_EQ(skin::title_bar_platform::LoadText(skin::TTitleBarText::Close), "\xB9\xD8\xB1\xD5(&C)");
}

// A stand-in for the skinned form: it answers the border query and hears
// from the bar.
class SkinnedHost : public framework::TForm, public skin::TsuiTitleBarFormHost {
public:
  using framework::TForm::TForm;
  void WndProc(framework::TMessage& m) override {
    if (m.Msg == skin::kQueryLeftBorder) {
      m.Result = 4;
      return;
    }
    framework::TForm::WndProc(m);
  }
  void TitleBarCaptionDrawn(TsuiTitleBar&) override { ++caption_drawn; }
  void TitleBarConstraints(int w, int h) override {
    min_width = w;
    min_height = h;
  }
  int caption_drawn = 0, min_width = 0, min_height = 0;
};

TEST(TitleBarOnSkinnedForm, TheBarIsDrawnUnderTheFrameAndTellsTheFormItsLimits) {
  auto* host = new SkinnedHost(nullptr);
  host->SetBounds(100, 100, 300, 150);
  auto* bar = new TsuiTitleBar(host);
  bar->SetParent(host);
  bar->SetUIStyle(skin::DeepBlue);  // now on the skinned form
  EXPECT_EQ(host->min_width, 130);  // DeepBlue, entry 13
  EXPECT_EQ(host->min_height, 50);
  EXPECT_EQ(bar->Height(), bar->Sections().Items(0).Picture().Height() - 3);
  host->Show();
  Pump(100);
  Snapshot(*bar);
  EXPECT_EQ(bar->TitleImage().Width(), bar->Width() + 2 * 4);
  EXPECT_EQ(bar->TitleImage().Height(), bar->Height() + 3);
  EXPECT_EQ(bar->FrameImage().Width(), bar->TitleImage().Width());
  EXPECT_EQ(bar->FormPicture(-1), &bar->TitleImage());
  EXPECT_EQ(bar->FormPicture(-2), &bar->FrameImage());
  EXPECT_EQ(bar->FormPicture(2), &bar->Sections().Items(2).Picture());
  EXPECT_EQ(bar->FormPicture(3), nullptr);
  EXPECT_EQ(host->caption_drawn, 0);  // DeepBlue has no caption section
  TComponent::Free(host);
  Pump(50);
}

}  // namespace
