// The uninstaller's clean-up after its end, run by the real command
// interpreter: the batch must find the uninstaller and its folder whatever
// their names hold (blanks, Chinese, characters the interpreter treats
// specially), wait for a file that is still held, keep a folder that is not
// empty, and take itself away.
#include <gtest/gtest.h>

#include <string>

#include "base/win_api.h"
#include "tests/win32/support/folders.h"
#include "uninstaller/uninstall_seams_win.h"

namespace {

using testing_support::MakeFolder;
using testing_support::RemoveTree;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteSmallFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, "MZ", 2, &written, nullptr);
  CloseHandle(f);
}

// Polls for up to 20 s (the batch tries for about 30): whether path went.
bool Gone(const std::wstring& path) {
  for (int i = 0; i < 200; ++i, Sleep(100))
    if (!Exists(path)) return true;
  return false;
}

std::wstring OwnBatch() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return std::wstring(temp) + L"vanto-uninstall-" + std::to_wstring(GetCurrentProcessId()) +
         L".bat";
}

class CleanupBatch : public ::testing::TestWithParam<const wchar_t*> {
protected:
  void SetUp() override {
    folder = std::wstring(L"C:\\") + GetParam();
    RemoveTree(folder);
    MakeFolder(folder);
    program = folder + L"\\Uninstall.exe";
    WriteSmallFile(program);
  }
  void TearDown() override {
    // The next case writes a batch of the same name: this one must be done.
    EXPECT_TRUE(Gone(OwnBatch())) << "the batch did not delete itself";
    RemoveTree(folder);
  }
  std::wstring folder, program;
};

TEST_P(CleanupBatch, DeletesTheUninstallerThenTheEmptyFolderThenItself) {
  ASSERT_TRUE(uninstaller::ScheduleCleanup(program, folder));
  EXPECT_TRUE(Gone(program));
  EXPECT_TRUE(Gone(folder));
}

TEST_P(CleanupBatch, WaitsForTheUninstallerToEndAndKeepsAFolderThatIsNotEmpty) {
  const std::wstring notes = folder + L"\\notes.txt";
  WriteSmallFile(notes);
  // Held as a running program holds its file: it cannot be deleted meanwhile.
  HANDLE held = CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(uninstaller::ScheduleCleanup(program, folder));
  Sleep(2500);  // long enough for the first tries to fail
  EXPECT_TRUE(Exists(program));
  CloseHandle(held);
  EXPECT_TRUE(Gone(program));
  EXPECT_TRUE(Gone(OwnBatch()));
  EXPECT_TRUE(Exists(notes));
}

// A '!' turns delayed expansion off; no name holds both a '!' and a '%',
// which Wine's interpreter would read again either way.
INSTANTIATE_TEST_SUITE_P(Names, CleanupBatch,
                         ::testing::Values(L"vanto-cleanup", L"vanto cleanup \x58A8\x67D8",
                                           L"vanto 100% & (x) ^y", L"vanto-caf\x00E9",
                                           L"vanto hi!there", L"vanto %PATH%"));

}  // namespace
