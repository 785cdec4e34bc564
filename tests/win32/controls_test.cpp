// The windowed toolkit under real input: a form with a self-drawn control
// and a non-windowed one, driven with the system's mouse and keyboard
// (SetCursorPos, SendInput), the way a user drives them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/form.h"
#include "framework/controls/keyboard.h"
#include "framework/controls/timer.h"
#include "tests/host/gbk_literal.h"

#include "tests/win32/support/ui_input.h"

namespace {

using namespace framework;
using namespace testing_support;

// Records what happens to it.
class Probe : public TCustomControl {
public:
  explicit Probe(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  std::vector<std::string> log;
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    Canvas().Brush.Color = graphics::clBlue;
    Canvas().FillRect({2, 2, Width() - 2, Height() - 2});
  }
  void MouseEnter() override { log.push_back("enter"); }
  void MouseLeave() override { log.push_back("leave"); }
  void DoEnter() override { log.push_back("focus"); }
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_DIALOGKEY && m.WParam == VK_RETURN) {
      log.push_back("dialog-enter");
      m.Result = 1;
      return;
    }
    TCustomControl::WndProc(m);
  }
};

class Label : public TGraphicControl {
public:
  explicit Label(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string> log;

protected:
  void Paint() override {
    Canvas().Brush.Color = graphics::clRed;
    Canvas().FillRect({0, 0, Width(), Height()});
  }
  void MouseEnter() override { log.push_back("enter"); }
  void MouseLeave() override { log.push_back("leave"); }
};

struct ControlsTest : ::testing::Test {
  TForm* form = new TForm(nullptr);
  Probe* probe = new Probe(form);
  Probe* second = new Probe(form);
  Label* label = new Label(form);
  int clicks = 0;
  std::vector<std::string> errors;

  void SetUp() override {
    Application().SetExceptionHandler([this](const std::string& m) { errors.push_back(m); });
    form->SetBounds(100, 100, 400, 300);
    probe->SetParent(form);
    probe->SetBounds(20, 20, 100, 40);
    probe->OnClick = [this](TComponent*) { ++clicks; };
    second->SetParent(form);
    second->SetBounds(20, 80, 100, 40);
    label->SetParent(form);
    label->SetBounds(200, 20, 80, 30);
    form->Show();
    Pump(200);
  }
  void TearDown() override {
    delete form;
    Application().SetExceptionHandler(nullptr);
    Pump(50);
  }
};

TEST_F(ControlsTest, MouseEnterLeaveAndClickNeedPressAndReleaseInside) {
  MoveTo(*probe, 50, 20);
  EXPECT_NE(std::find(probe->log.begin(), probe->log.end(), "enter"), probe->log.end());
  MouseButton(true);
  Pump(60);
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(clicks, 1);
  // Pressed inside, released outside: no click.
  MouseButton(true);
  Pump(60);
  MoveTo(*probe, 150, 20);
  MouseButton(false);
  Pump(60);
  EXPECT_EQ(clicks, 1);
  MoveTo(*probe, 250, 200);
  EXPECT_EQ(probe->log.back(), "leave");
  EXPECT_GT(probe->paints, 0);
}

TEST_F(ControlsTest, NonWindowedControlsGetEnterAndLeaveFromTheirParent) {
  MoveTo(*label, 10, 10);
  MoveTo(*label, 120, 120);
  ASSERT_EQ(label->log.size(), 2u);
  EXPECT_EQ(label->log[0], "enter");
  EXPECT_EQ(label->log[1], "leave");
}

TEST_F(ControlsTest, TabMovesTheFocusAndEnterIsOfferedToTheControls) {
  probe->SetFocus();
  Pump(50);
  EXPECT_TRUE(probe->Focused());
  Key(VK_TAB);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(form->ActiveControl(), second);
  Key(VK_RETURN);
  EXPECT_EQ(probe->log.back(), "dialog-enter");  // the first control that took it
}

TEST_F(ControlsTest, AnErrorInAHandlerIsReportedAndTheProgramGoesOn) {
  probe->OnClick = [](TComponent*) { throw base::Error("Disk full"); };
  MoveTo(*probe, 50, 20);
  MouseButton(true);
  Pump(60);
  MouseButton(false);
  Pump(60);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Disk full.");
  EXPECT_EQ(TApplication::ErrorText("Done."), "Done.");
}

// A stored layout sets a form's properties in its own order; the client
// size it asks for must come out whatever that order is, and the caption
// must carry exactly the boxes its icons name.
TEST(FormTest, TheClientSizeAndBoxesHoldWhateverOrderThePropertiesAreSetIn) {
  const std::vector<std::function<void(TForm&)>> setters = {
      [](TForm& f) { f.SetBorderStyle(TFormBorderStyle::bsSingle); },
      [](TForm& f) { f.SetBorderIcons(1u << biSystemMenu); },
      [](TForm& f) { f.SetClientWidth(642); },
      [](TForm& f) { f.SetClientHeight(490); },
  };
  std::vector<int> order = {0, 1, 2, 3};
  do {
    std::string name;
    for (int i : order) name += std::to_string(i);
    auto form = std::make_unique<TForm>(nullptr);
    for (int i : order) setters[i](*form);
    EXPECT_EQ(form->ClientWidth(), 642) << "order " << name << ", before the window exists";
    form->Show();
    Pump(20);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 642) << "order " << name;
    EXPECT_EQ(client.bottom, 490) << "order " << name;
    const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU)
        << "order " << name;
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(FormTest, ConstraintsLimitTheTrackingSizeAndGrowASmallerForm) {
  auto* form = new framework::TForm(nullptr);
  form->SetBounds(50, 50, 200, 150);
  form->Show();
  testing_support::Pump(50);
  form->SetConstraints({260, 180, 600, 0});
  EXPECT_EQ(form->Width(), 260);
  EXPECT_EQ(form->Height(), 180);
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 260);
  // Asked as the system asks: with its own limits filled in.
  const MINMAXINFO system{{}, {}, {}, {112, 27}, {4000, 3000}};
  MINMAXINFO info = system;
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 260);
  EXPECT_EQ(info.ptMinTrackSize.y, 180);
  EXPECT_EQ(info.ptMaxTrackSize.x, 600);
  EXPECT_EQ(info.ptMaxTrackSize.y, 3000) << "no limit: the system's";
  // Limits below the system's own minimum leave the system's.
  form->SetConstraints({1, 1, 0, 0});
  info = system;
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 112);
  EXPECT_EQ(info.ptMinTrackSize.y, 27);
  framework::TComponent::Free(form);
}

TEST(FormTest, BorderIconsGiveTheirBoxesAndNoSystemMenuGivesNone) {
  struct Case {
    TBorderIcons icons;
    LONG_PTR boxes;
  } cases[] = {{kDefaultBorderIcons, WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
               {(1u << biSystemMenu) | (1u << biMinimize), WS_SYSMENU | WS_MINIMIZEBOX},
               // Without the system menu Windows shows no box at all.
               {(1u << biMinimize) | (1u << biMaximize), 0}};
  for (const Case& c : cases) {
    TForm form(nullptr);
    form.SetBorderIcons(c.icons);
    form.SetClientSize(200, 100);
    form.Show();
    const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), c.boxes)
        << "icons " << int{c.icons};
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
  }
}

TEST(TimerTest, FiresThroughTheMessageLoopUntilDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TComponent*) {
    if (++ticks == 3) timer.SetEnabled(false);
  };
  timer.SetInterval(30);
  Pump(400);
  EXPECT_EQ(ticks, 3);
}

// ---------------------------------------------------------------------------
// Accelerators: the character after a single '&', compared with a typed
// UTF-16 unit as a whole character.

TEST(MessageHookTest, HooksSeeQueuedMessagesInOrderAndAHandledOneGoesNoFurther) {
  auto* form = new framework::TForm(nullptr);
  form->Show();
  testing_support::Pump(50);
  std::vector<std::string> seen;
  int typed = 0;
  form->OnKeyPress = [&](framework::TComponent*, char&) { ++typed; };
  auto& app = framework::Application();
  const UINT kProbe = WM_APP + 7;
  const int first = app.AddMessageHook([&](const framework::TApplication::TQueuedMessage& m) {
    if (m.msg == kProbe) seen.push_back("first " + std::to_string(m.wparam));
    // Characters 'x' are taken here: the form never hears of them.
    return m.msg == WM_CHAR && m.wparam == 'x';
  });
  int second = 0;
  second = app.AddMessageHook([&](const framework::TApplication::TQueuedMessage& m) {
    if (m.msg != kProbe) return false;
    seen.push_back("second " + std::to_string(m.wparam));
    app.RemoveMessageHook(second);  // removing itself while it runs
    return false;
  });
  PostMessageW(form->Handle(), kProbe, 1, 0);
  PostMessageW(form->Handle(), kProbe, 2, 0);
  PostMessageW(form->Handle(), WM_CHAR, 'x', 0);
  PostMessageW(form->Handle(), WM_CHAR, 'y', 0);
  testing_support::Pump(100);
  EXPECT_EQ(seen, (std::vector<std::string>{"first 1", "second 1", "first 2"}));
  EXPECT_EQ(typed, 1) << "only 'y' reached the form";
  app.RemoveMessageHook(first);
  PostMessageW(form->Handle(), WM_CHAR, 'x', 0);
  testing_support::Pump(50);
  EXPECT_EQ(typed, 2);
  framework::TComponent::Free(form);
}

TEST(AcceleratorTest, ATypedCharacterMatchesOnlyTheWholeCharacterAfterASingleAmpersand) {
  using testing_support::Gbk;
  EXPECT_EQ(AcceleratorOf("Save &&Close &As"), "A");
  EXPECT_EQ(AcceleratorOf("Trailing&"), "");
  EXPECT_EQ(AcceleratorOf(Gbk(u8"在乎(&乎)")), Gbk(u8"乎"));  // both GBK bytes
  EXPECT_TRUE(IsAccelerator(L'N', "&next"));
  EXPECT_TRUE(IsAccelerator(L'n', "&Next"));
  EXPECT_FALSE(IsAccelerator(L'N', "&&Next"));
  // U+4E4E 乎: its low byte is 'N'.
  EXPECT_FALSE(IsAccelerator(0x4E4E, "&Next"));
  EXPECT_TRUE(IsAccelerator(0x4E4E, Gbk(u8"在乎(&乎)")));
  EXPECT_FALSE(IsAccelerator(L'N', Gbk(u8"在乎(&乎)")));
  EXPECT_FALSE(IsAccelerator(0x786E, Gbk(u8"在乎(&乎)")));  // 确
}

// ---------------------------------------------------------------------------
// OnDestroy comes while the whole form is alive: a derived form's handler
// may use the derived form's members.

class SentinelForm : public TForm {
public:
  static constexpr int kAlive = 0x5EA1;
  static constexpr int kDead = 0xDEAD;

  SentinelForm(TComponent* owner, std::vector<int>& seen) : TForm(owner) {
    OnDestroy = [this, &seen](TComponent*) { seen.push_back(sentinel_); };
  }
  // What a handler called after this destructor would read.
  ~SentinelForm() override { sentinel_ = kDead; }

private:
  int sentinel_ = kAlive;
};

TEST(FormDestroyTest, TheOwnerFreesItsFormsAfterTheirOnDestroySawThemWhole) {
  std::vector<int> seen;
  auto* owner = new TForm(nullptr);
  new SentinelForm(owner, seen);
  auto* shown = new SentinelForm(owner, seen);
  shown->Show();
  Pump(20);
  delete owner;  // plain delete of the owner: its forms are freed by it
  EXPECT_EQ(seen, (std::vector<int>{SentinelForm::kAlive, SentinelForm::kAlive}));
}

TEST(FormDestroyTest, TheApplicationFreesItsFormsAfterTheirOnDestroySawThemWhole) {
  std::vector<int> seen;
  {
    TApplication app;
    app.AdoptForm(new SentinelForm(nullptr, seen), true);
    app.AdoptForm(new SentinelForm(nullptr, seen), false);
  }  // the application's end
  EXPECT_EQ(seen, (std::vector<int>{SentinelForm::kAlive, SentinelForm::kAlive}));

  seen.clear();
  TApplication app;
  auto* main = new SentinelForm(nullptr, seen);
  app.AdoptForm(main, true);
  EXPECT_EQ(app.MainForm(), main);
  app.DestroyForms();
  EXPECT_EQ(seen, std::vector<int>{SentinelForm::kAlive});
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST(FormDestroyTest, FreeFiresOnDestroyOnceAndPlainDeleteNotAtAll) {
  std::vector<int> seen;
  TComponent::Free(new SentinelForm(nullptr, seen));
  EXPECT_EQ(seen, std::vector<int>{SentinelForm::kAlive});
  // A plain delete reaches TCustomForm's destructor only after the derived
  // part is gone: rather no handler than one on a dead form.
  delete new SentinelForm(nullptr, seen);
  EXPECT_EQ(seen.size(), 1u);
}

// A handler that hands its form to another owner keeps it alive: the first
// owner does not free what is no longer its own.
TEST(FormDestroyTest, AFormHandedToAnotherOwnerInOnDestroyIsFreedByThatOwner) {
  std::vector<int> seen;
  auto* keeper = new TComponent(nullptr);
  auto* owner = new TComponent(nullptr);
  auto* form = new SentinelForm(owner, seen);
  form->OnDestroy = [&](TComponent* sender) {
    seen.push_back(1);
    sender->ChangeOwner(keeper);
  };
  TComponent::Free(owner);
  EXPECT_EQ(seen, std::vector<int>{1});
  ASSERT_EQ(keeper->ComponentCount(), 1);
  EXPECT_EQ(keeper->Components(0), form);
  // Announced once: freeing it now fires nothing more.
  TComponent::Free(keeper);
  EXPECT_EQ(seen, std::vector<int>{1});
}

}  // namespace
