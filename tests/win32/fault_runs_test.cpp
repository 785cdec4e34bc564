// The installer under the faults users meet: a disk that fills up, a file
// that another program holds open, a run killed halfway. Each runs the real
// example installer through its wizard and checks what it left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/texts.h"
#include "installer/wizard_texts.h"
#include "tests/win32/support/process_driver.h"
#include "tests/win32/support/wizard_driver.h"

namespace {

using namespace testing_support::wizard;
namespace fs = std::filesystem;

const std::wstring kInstaller = VANTO_EXAMPLE_INSTALLER;
const std::wstring kResources = VANTO_EXAMPLE_RESOURCES;

// The launch check box of the finish page.
HWND LaunchBox(HWND window) {
  return Child(window, L"Button", Wide(installer::wizard_texts::kLaunchBefore) + L"VANTO-X");
}

void WriteText(const std::wstring& path, const std::string& text) {
  base::NativeFileSystem().WriteWholeFile(
      base::WideToGbkLossy(path), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// A file held open without sharing, as an editor or a running program holds
// it: it can be neither deleted nor written.
class HeldOpen {
public:
  explicit HeldOpen(const std::wstring& path)
      : h_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldOpen() { Release(); }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (ok()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE h_;
};

class FaultRun : public ::testing::Test {
protected:
  void SetUp() override { ForgetEarlierInstallation(); }
  void TearDown() override { ForgetEarlierInstallation(); }

  // Starts the installer and walks it to the point where Next on the
  // confirmation page starts the installation into target.
  void StartInstalling(Wizard& w, const std::wstring& target) {
    w.ToFolderPage();
    w.SetFolder(target);
    ClickButton(w.Button(kNext));  // to the confirmation page
    ClickButton(w.Button(kNext));  // install
  }

  std::wstring FileError(const std::wstring& path) {
    return Wide(installer::texts::kFileErrorMessage) + path;
  }

  PackagedProduct product{kResources};
};

TEST_F(FaultRun, AFileHeldOpenGetsOneMessageStaysUntouchedAndTheRestIsInstalled) {
  const std::wstring target = L"C:\\vanto-held-open";
  fs::remove_all(target);
  fs::create_directories(target);
  const std::wstring held_path = target + L"\\Readme.txt";
  WriteText(held_path, "the user's own notes");
  HeldOpen held(held_path);
  ASSERT_TRUE(held.ok());

  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  StartInstalling(w, target);
  EXPECT_EQ(w.Answer(IDOK), FileError(held_path));
  HWND finish = w.WaitForFinish();
  ASSERT_TRUE(finish) << "the wizard did not reach the finish page";
  EXPECT_EQ(testing_support::WaitForDialog(w.process->id(), 500), nullptr) << "a second message";

  held.Release();
  EXPECT_EQ(ReadFileW(held_path), base::Bytes(std::begin("the user's own notes"),
                                               std::end("the user's own notes") - 1));
  product.ExpectInstalledIn(target, L"\\Readme.txt");
  // The program is there, so it is still offered.
  HWND launch = LaunchBox(w.window);
  ASSERT_TRUE(launch);
  EXPECT_TRUE(IsWindowEnabled(launch));
}

TEST_F(FaultRun, AFullDiskLeavesNoTruncatedFileAndDoesNotOfferAMissingProgram) {
  if (GetFileAttributesW(L"T:\\") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the rig has no small disk T: (mounting a tmpfs needs root)";
  const std::wstring target = L"T:\\VANTO-X";
  fs::remove_all(target);
  fs::remove(L"T:\\filler");
  // Fill the disk to leave 64 KB: the larger files (the program among them)
  // break off partway, the small ones fit, in whatever order they come.
  constexpr std::uint64_t kLeft = 64 * 1024, kBlock = 4096;
  std::vector<std::wstring> expected;  // one message per file too large, in table order
  std::uint64_t small_total = 2 * kBlock;  // the folder and the record copy
  for (int i = 0; i < product.FileCount(); ++i) {
    const std::uint64_t size = product.Size(i);
    if (size > kLeft) expected.push_back(FileError(target + product.Name(i)));
    else small_total += (size + kBlock - 1) / kBlock * kBlock;
  }
  ASSERT_LT(small_total, kLeft / 2) << "the small files no longer fit beside the large ones";
  const int program = product.Index(L"\\VANTO-X.exe");
  ASSERT_GE(program, 0);
  ASSERT_GT(product.Size(program), kLeft);
  ULARGE_INTEGER free_bytes{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"T:\\", &free_bytes, nullptr, nullptr));
  ASSERT_GT(free_bytes.QuadPart, 2 * kLeft);
  WriteText(L"T:\\filler", std::string(free_bytes.QuadPart - kLeft, 'x'));

  Wizard w(kInstaller);
  ASSERT_TRUE(w.window);
  StartInstalling(w, target);
  // Every message up to the finish page.
  std::vector<std::wstring> messages;
  HWND finish = nullptr;
  for (int round = 0; round < 10 && !finish; ++round) {
    if (HWND box = testing_support::WaitForDialog(w.process->id(), 1000)) {
      messages.push_back(testing_support::MessageBoxText(box));
      testing_support::PressButton(box, IDOK);
    }
    finish = w.WaitForFinish(1000);
  }
  fs::remove(L"T:\\filler");
  ASSERT_TRUE(finish) << "the wizard did not reach the finish page";
  EXPECT_EQ(messages, expected);

  // Each file is there whole or not at all.
  for (int i = 0; i < product.FileCount(); ++i) {
    if (product.Size(i) > kLeft)
      EXPECT_FALSE(fs::exists(target + product.Name(i))) << "a truncated file was left: " << i;
    else
      EXPECT_EQ(ReadFileW(target + product.Name(i)), product.Bytes(i)) << i;
  }
  HWND launch = LaunchBox(w.window);
  ASSERT_TRUE(launch);
  EXPECT_FALSE(IsWindowEnabled(launch));
  EXPECT_EQ(SendMessageW(launch, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(FaultRun, ARunKilledHalfwayIsOfferedAgainAndCompletedByTheNext) {
  const std::wstring target = L"C:\\vanto-killed";
  fs::remove_all(target);
  fs::create_directories(target);
  // The held file stops the copying at a message box, halfway through the
  // table, where the process is killed.
  const int held_index = product.Index(L"\\Readme.txt");
  ASSERT_GT(held_index, 0);
  ASSERT_LT(held_index, product.FileCount() - 1);
  const std::wstring held_path = target + L"\\Readme.txt";
  WriteText(held_path, "old");
  {
    HeldOpen held(held_path);
    ASSERT_TRUE(held.ok());
    Wizard first(kInstaller);
    ASSERT_TRUE(first.window);
    StartInstalling(first, target);
    ASSERT_TRUE(testing_support::WaitForDialog(first.process->id(), 10000));
  }  // the first run is killed here, then the file is let go
  EXPECT_FALSE(fs::exists(target + product.Name(product.FileCount() - 1)))
      << "the first run was not stopped halfway";

  Wizard second(kInstaller, false);
  ASSERT_TRUE(second.process);
  EXPECT_EQ(second.Answer(IDYES), Wide(installer::wizard_texts::kOverwriteQuestion));
  ASSERT_TRUE(second.WaitForWindow(20000));
  second.ToFolderPage();
  EXPECT_EQ(second.Folder(), target);
  ClickButton(second.Button(kNext));
  ClickButton(second.Button(kNext));
  ASSERT_TRUE(second.WaitForFinish()) << "the second run did not finish";
  EXPECT_EQ(testing_support::WaitForDialog(second.process->id(), 300), nullptr);
  product.ExpectInstalledIn(target);
}

}  // namespace
