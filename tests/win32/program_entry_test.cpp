// A program's entry point: the GUI thread's COM apartment, held for the
// whole program through one RAII type, which RunProgram holds around the
// program's body (what escapes the body: error_policy_test). Each case
// runs on a thread of its own, so that the COM state it leaves behind is
// its own too. A thread in a multithreaded apartment: shell_test.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "base/com_ptr_win.h"
#include "framework/controls/application.h"

namespace {

template <typename Body>
void OnFreshThread(Body body) {
  std::thread worker(body);
  worker.join();
}

TEST(ComApartmentTest, EntersASingleThreadedApartmentForItsScopeOnly) {
  bool before = true, inside = false, after = true;
  HRESULT entered = E_FAIL, free_again = E_FAIL;
  OnFreshThread([&] {
    before = base::InSingleThreadedApartment();
    {
      const base::ComApartment apartment;
      entered = apartment.result();
      inside = base::InSingleThreadedApartment();
    }
    after = base::InSingleThreadedApartment();
    // Left for good: the thread may now choose the other kind.
    free_again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(free_again)) CoUninitialize();
  });
  EXPECT_FALSE(before);
  EXPECT_EQ(entered, S_OK);
  EXPECT_TRUE(inside);
  EXPECT_FALSE(after);
  EXPECT_EQ(free_again, S_OK);
}

TEST(ComApartmentTest, NestedScopesShareTheApartmentAndBalanceEachOther) {
  HRESULT inner = E_FAIL;
  bool after_inner = false, after_outer = true;
  OnFreshThread([&] {
    {
      const base::ComApartment outer;
      {
        const base::ComApartment nested;
        inner = nested.result();
      }
      after_inner = base::InSingleThreadedApartment();
    }
    after_outer = base::InSingleThreadedApartment();
  });
  EXPECT_EQ(inner, S_FALSE);
  EXPECT_TRUE(after_inner) << "the inner scope tore down the outer one's apartment";
  EXPECT_FALSE(after_outer);
}

TEST(RunProgramTest, TheBodyRunsInTheApartmentUnderTheTitleAndEndsWithZero) {
  bool in_apartment = false, after = true;
  std::string title;
  int code = -1;
  OnFreshThread([&] {
    code = framework::RunProgram("Entry test", [&](framework::TApplication& app) {
      in_apartment = base::InSingleThreadedApartment();
      title = app.Title();
    });
    after = base::InSingleThreadedApartment();
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(in_apartment);
  EXPECT_EQ(title, "Entry test");
  EXPECT_FALSE(after) << "the apartment was not left at the end";
}

}  // namespace
