// Nothing thrown by a handler ends a toolkit program without a word. An
// error that can be told (a std::exception) is reported and the program
// goes on; anything else, and an error while reporting, gets the last
// resort box and an orderly end with its own exit code, never
// std::terminate (which ends a process with 3 and shows nothing).
//
// The orderly end stops the message loop for good, so those cases run in a
// program of their own (tools/failing_program.cpp, entered through
// RunProgram like the installer and the gallery); the test reads the box
// that program shows, answers it, and reads the exit code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "base/last_resort_win.h"
#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/form.h"
#include "framework/controls/timer.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/ui_input.h"

namespace {

using namespace framework;
using testing_support::Pump;

// ---------------------------------------------------------------------------
// Errors that can be told: reported, and the program goes on.

class FailingPaint : public TCustomControl {
public:
  explicit FailingPaint(TComponent* owner) : TCustomControl(owner) {}
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    throw base::Error("Cannot draw");
  }
};

struct ReportedErrorTest : ::testing::Test {
  std::vector<std::string> errors;
  void SetUp() override {
    Application().SetExceptionHandler([this](const std::string& m) { errors.push_back(m); });
  }
  void TearDown() override { Application().SetExceptionHandler(nullptr); }
};

TEST_F(ReportedErrorTest, ATimerThatThrowsIsReportedEachTimeAndKeepsTicking) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TComponent*) {
    if (++ticks == 3) timer.SetEnabled(false);
    throw base::Error("Tick failed");
  };
  timer.SetInterval(20);
  for (int i = 0; i < 100 && timer.Enabled(); ++i) Pump(20);
  EXPECT_EQ(ticks, 3);
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[2], "Tick failed.");
  EXPECT_FALSE(Application().Terminated());
}

// A paint that throws still ends its paint: the window is validated, so
// the failure is reported once and not asked for again on every message.
TEST_F(ReportedErrorTest, APaintThatThrowsIsReportedOnceAndTheWindowIsValidated) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* control = new FailingPaint(&form);
  control->SetParent(&form);
  control->SetBounds(10, 10, 100, 50);
  form.Show();
  Pump(150);
  errors.clear();
  const int before = control->paints;
  InvalidateRect(control->Handle(), nullptr, FALSE);
  Pump(150);
  EXPECT_EQ(control->paints, before + 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Cannot draw.");
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(control->Handle(), &update, FALSE));
}

TEST_F(ReportedErrorTest, AnOnDestroyThatThrowsIsReportedAndTheOtherFormsAreStillFreed) {
  auto* owner = new TComponent(nullptr);
  auto* failing = new TForm(owner);
  auto* other = new TForm(owner);
  int other_destroyed = 0;
  failing->OnDestroy = [](TComponent*) { throw base::Error("Cannot save settings"); };
  other->OnDestroy = [&](TComponent*) { ++other_destroyed; };
  TComponent::Free(owner);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Cannot save settings.");
  EXPECT_EQ(other_destroyed, 1);
}

// ---------------------------------------------------------------------------
// Errors that cannot be told: the last resort, then an orderly end.

std::wstring FailingProgram() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"failing_program.exe";
}

struct Outcome {
  bool box = false;
  std::wstring caption, text;
  std::optional<DWORD> exit_code;
};

// Runs the program in that mode, answers the first box it shows, and waits
// for its end. The timeouts only bound a program that hangs.
Outcome RunFailing(const std::wstring& mode) {
  Outcome outcome;
  auto child = testing_support::ChildProcess::Start(FailingProgram(), mode);
  if (!child) {
    ADD_FAILURE() << "failing_program.exe did not start";
    return outcome;
  }
  if (HWND box = testing_support::WaitForDialog(child->id(), 15000)) {
    outcome.box = true;
    outcome.caption = testing_support::WindowText(box);
    outcome.text = testing_support::MessageBoxText(box);
    testing_support::PressButton(box, IDOK);
  }
  outcome.exit_code = child->Wait(15000);
  return outcome;
}

TEST(LastResortTest, AnUnknownErrorFromAnyHandlerGetsTheBoxAndAnOrderlyEnd) {
  const std::wstring kLastResortText = L"Failing program met an unexpected error and has to close.";
  // Each place an unknown error comes from: a click, a timer, a paint
  // (which comes again while the box is up: one box only), the error
  // report itself, a form's OnDestroy as the program ends, and the layout
  // loading when a form is made.
  for (const wchar_t* mode : {L"click", L"timer", L"paint", L"report", L"destroy", L"layout"}) {
    SCOPED_TRACE(testing::Message() << "mode " << std::string(mode, mode + wcslen(mode)));
    const Outcome outcome = RunFailing(mode);
    ASSERT_TRUE(outcome.box) << "no box: the program ended without a word";
    EXPECT_EQ(outcome.caption, L"Failing program");
    EXPECT_EQ(outcome.text, kLastResortText);
    ASSERT_TRUE(outcome.exit_code.has_value()) << "the program did not end after the box";
    EXPECT_EQ(*outcome.exit_code, static_cast<DWORD>(base::kLastResortExitCode));
  }
}

TEST(LastResortTest, AnErrorEscapingTheEntryIsReportedInItsWordsAndEndsTheProgram) {
  const Outcome outcome = RunFailing(L"entry");
  ASSERT_TRUE(outcome.box);
  EXPECT_EQ(outcome.caption, L"Failing program");
  EXPECT_EQ(outcome.text, L"Cannot start.");
  ASSERT_TRUE(outcome.exit_code.has_value());
  EXPECT_EQ(*outcome.exit_code, static_cast<DWORD>(base::kReportedErrorExitCode));
}

TEST(LastResortTest, AProgramClosedNormallyShowsNothingAndEndsWithZero) {
  auto child = testing_support::ChildProcess::Start(FailingProgram(), L"close");
  ASSERT_TRUE(child.has_value());
  const auto code = child->Wait(15000);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

}  // namespace
