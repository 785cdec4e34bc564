// Drawing gives back every GDI object it takes. A program that leaks one
// object a paint runs out of them after some thousand paints (Windows
// allows a process 10,000), and then every window draws blank; so the
// count must stay flat however often the wizard repaints, changes pages
// and themes.
//
// The count is the process's own (support/gdi_count.h). The first round of
// each kind of drawing is a warm-up: GDI makes some objects once, on first
// demand, and keeps them (Wine: its stock DC objects and palettes when the
// first memory DC is made; the toolkit: one cached font per distinct
// font). After it the count must not move by a single object.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/page_control.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/font_win.h"
#include "framework/graphics/gdi_handles_win.h"
#include "framework/graphics/text_renderer.h"
#include "installer/main_form.h"
#include "skin/sui_button.h"
#include "skin/sui_url_label.h"
#include "tests/win32/support/gdi_count.h"
#include "tests/win32/support/ui_input.h"

namespace {

// win_api.h takes the RGB macro away; the colour as COLORREF bytes.
constexpr COLORREF Rgb(int r, int g, int b) {
  return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

using testing_support::GdiObjectCount;
using testing_support::Pump;

int Count() {
  const std::optional<int> n = GdiObjectCount();
  if (!n) throw std::runtime_error("this system tells no GDI object count");
  return *n;
}

// ---------------------------------------------------------------------------
// The count itself, and the owners it checks.

TEST(GdiCountTest, TheCountFollowsObjectsMadeAndDeleted) {
  ASSERT_TRUE(GdiObjectCount().has_value());
  const int before = Count();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 7; ++i) brushes.push_back(CreateSolidBrush(Rgb(i, 2 * i, 3 * i)));
  EXPECT_EQ(Count(), before + 7);
  for (HBRUSH b : brushes) DeleteObject(b);
  EXPECT_EQ(Count(), before);
}

TEST(GdiHandlesTest, AnOwnerDeletesItsObjectOnceWhereverItIsMovedTo) {
  const int before = Count();
  HBRUSH raw = nullptr;
  {
    graphics::OwnedBrush first(CreateSolidBrush(Rgb(1, 2, 3)));
    raw = first.get();
    graphics::OwnedBrush second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    graphics::OwnedBrush third;
    third = std::move(second);
    EXPECT_EQ(Count(), before + 1);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(GetObjectType(raw), 0u);
  // Released: the caller has it, and must delete it itself.
  graphics::OwnedBrush kept(CreateSolidBrush(Rgb(4, 5, 6)));
  HBRUSH released = kept.release();
  kept.reset();
  EXPECT_EQ(GetObjectType(released), static_cast<DWORD>(OBJ_BRUSH));
  DeleteObject(released);
  EXPECT_EQ(Count(), before);
}

TEST(GdiHandlesTest, SelectionsAndSavedStatesArePutBackAtTheEndOfTheScope) {
  graphics::OwnedDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
  graphics::OwnedBrush brush(CreateSolidBrush(Rgb(9, 8, 7)));
  {
    graphics::ScopedSelect select(dc.get(), brush.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
  SetTextColor(dc.get(), Rgb(1, 1, 1));
  {
    graphics::ScopedSaveDC saved(dc.get());
    SetTextColor(dc.get(), Rgb(200, 100, 50));
    SelectObject(dc.get(), brush.get());
  }
  EXPECT_EQ(GetTextColor(dc.get()), Rgb(1, 1, 1));
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
}

// Every text call gives back what it takes: its memory DC when measuring
// without a bitmap, the font's selection; and the font comes from the
// cache, one handle per font value, never one a call.
TEST(GdiCountTest, TextCallsLeaveNoObjectBehindAndShareOneFontPerValue) {
  graphics::TBitmap target(120, 40);
  graphics::TBitmap empty;  // measuring without a bitmap: a memory DC of its own
  graphics::TFont font;
  font.Height = 13;
  graphics::TextRenderer& text = graphics::PlatformTextRenderer();
  auto round = [&] {
    text.TextExtent(target, font, "Next");
    text.TextExtent(empty, font, "Next");
    text.TextOut(target, font, 2, 2, "\xCF\xC2\xD2\xBB\xB2\xBD");  // 下一步
    graphics::TRect r{0, 0, 120, 40};
    text.DrawText(target, font, "&Next", r, graphics::dt::CalcRect);
    text.DrawText(target, font, "&Next", r, graphics::dt::Center);
  };
  round();
  const int warm = Count();
  for (int i = 0; i < 50; ++i) round();
  EXPECT_EQ(Count(), warm);
  EXPECT_EQ(graphics::CachedFont(font), graphics::CachedFont(font));
  graphics::TFont bold = font;
  bold.Style = graphics::fsBold;
  EXPECT_NE(graphics::CachedFont(bold), graphics::CachedFont(font));
  // A new value costs one font, once.
  EXPECT_EQ(Count(), warm + 1);
  for (int i = 0; i < 10; ++i) text.TextExtent(target, bold, "Next");
  EXPECT_EQ(Count(), warm + 1);
}

// ---------------------------------------------------------------------------
// The wizard, made here as the installer makes it. Without a payload its
// start-up stops at the record (an error the test records), and the window
// opens with every page and control of its layout.

template <typename T>
T* Find(framework::TComponent& form, const char* name) {
  auto* c = dynamic_cast<T*>(form.FindComponent(name));
  if (!c) throw std::runtime_error(std::string("the wizard has no ") + name);
  return c;
}

struct WizardGdiTest : ::testing::Test {
  std::vector<std::string> errors;
  installer::TMainForm* form = nullptr;

  void SetUp() override {
    framework::Application().SetExceptionHandler(
        [this](const std::string& m) { errors.push_back(m); });
    form = new installer::TMainForm(nullptr);
    form->Show();
    Pump(150);
  }
  void TearDown() override {
    framework::TComponent::Free(form);
    framework::Application().SetExceptionHandler(nullptr);
    Pump(50);
  }

  void Repaint() {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  // Every page, painted whole, and the skinned buttons in their states.
  void PaintEveryPage() {
    auto* pages = Find<framework::TPageControl>(*form, "PageCtl");
    for (int i = 0; i < pages->PageCount(); ++i) {
      form->SetActivePageIndex(i);
      Repaint();
      for (const char* name : {"suiButton1", "suiButton2", "suiButton3", "suiButton4"}) {
        auto* b = Find<skin::TsuiButton>(*form, name);
        b->Perform(framework::CM_MOUSEENTER);
        b->Repaint();
        b->Perform(framework::CM_MOUSELEAVE);
        b->Repaint();
      }
      auto* link = Find<skin::TsuiURLLabel>(*form, "suiURLLabel1");
      link->Perform(framework::CM_MOUSEENTER);
      Repaint();
      link->Perform(framework::CM_MOUSELEAVE);
    }
    // Off-screen too, as a parent background is painted for a see-through
    // button.
    graphics::TBitmap shot(form->ClientWidth(), form->ClientHeight());
    SendMessageW(form->Handle(), WM_PRINTCLIENT,
                 reinterpret_cast<WPARAM>(graphics::NativeDC(shot)), PRF_CLIENT);
    Pump(20);
  }

  // The wizard's buttons through every built-in theme, and back.
  void SwitchThemes() {
    for (const char* name : {"suiButton1", "suiButton2", "suiButton3", "suiButton4"}) {
      auto* b = Find<skin::TsuiButton>(*form, name);
      const skin::TsuiUIStyle own = b->UIStyle();
      for (skin::TsuiUIStyle style :
           {skin::MacOS, skin::WinXP, skin::DeepBlue, skin::Protein, skin::BlueGlass}) {
        b->SetUIStyle(style);
        b->Repaint();
      }
      b->SetUIStyle(own);
    }
    Repaint();
  }
};

TEST_F(WizardGdiTest, RepaintingPagesAndThemesManyTimesLeavesTheCountFlat) {
  ASSERT_GT(Find<framework::TPageControl>(*form, "PageCtl")->PageCount(), 1);
  PaintEveryPage();
  SwitchThemes();
  const int warm = Count();
  for (int round = 0; round < 25; ++round) {
    PaintEveryPage();
    SwitchThemes();
  }
  EXPECT_EQ(Count(), warm);
  // Start-up failed for want of a payload, and said so; nothing else did.
  EXPECT_EQ(errors.size(), 1u) << (errors.empty() ? "" : errors.back());
}

}  // namespace
