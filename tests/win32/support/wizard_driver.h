#pragma once
// Driving the example installer's wizard as a user does: its self-drawn
// buttons clicked with mouse messages, the folder box typed into, its
// message boxes answered; and the product key that an installation leaves.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/bytes.h"
#include "base/memory_stream.h"
#include "installer/setup_record.h"
#include "tests/win32/support/process_driver.h"

namespace testing_support::wizard {

// A visible child window of that class (and text, when given).
HWND Child(HWND parent, const std::wstring& cls, const std::wstring& text = L"");
// A child window of that class and text, hidden or not: what a page hides
// is still there to ask about.
HWND AnyChild(HWND parent, const std::wstring& cls, const std::wstring& text);

std::wstring Wide(const char* gbk);

inline constexpr char kNext[] = "\xCF\xC2\xD2\xBB\xB2\xBD";  // 下一步
inline constexpr char kPrev[] = "\xC9\xCF\xD2\xBB\xB2\xBD";  // 上一步
inline constexpr char kAgree[] = "\xCD\xAC\xD2\xE2";          // 同意
inline constexpr char kFinish[] = "\xCD\xEA\xB3\xC9";         // 完成

// A click as the button sees it: press and release inside it.
void ClickButton(HWND button);

struct Wizard {
  std::optional<ChildProcess> process;
  HWND window = nullptr;

  // Without wait_for_window the caller answers the start-up questions first
  // and then calls WaitForWindow itself.
  explicit Wizard(const std::wstring& exe, bool wait_for_window = true,
                  const std::wstring& args = L"");
  bool WaitForWindow(DWORD timeout_ms);
  HWND Button(const char* caption_gbk);
  bool Shows(const char* caption_gbk);
  // Shown and inside its parent's client area: a button moved out of view
  // counts as visible to the system but cannot be seen or clicked.
  bool InView(const char* caption_gbk);
  // The text of the message box the wizard shows next, answered with id;
  // "(no message)" when none comes.
  std::wstring Answer(int id);
  void SetFolder(const std::wstring& folder);
  std::wstring Folder();
  // From the welcome page through the licence to the folder page.
  void ToFolderPage();
  // The finish page's button, once the installation has run (nullptr when
  // it does not come within timeout_ms).
  HWND WaitForFinish(DWORD timeout_ms = 10000);
};

inline constexpr wchar_t kProductKey[] = L"Software\\Vanto\\VANTO-X";

// What an installation leaves under the product key and the next start reads.
void ForgetEarlierInstallation();

// An earlier installation recorded for the time of one test.
class EarlierInstallation {
public:
  explicit EarlierInstallation(const std::wstring& folder);
  ~EarlierInstallation() { ForgetEarlierInstallation(); }
  EarlierInstallation(const EarlierInstallation&) = delete;
  EarlierInstallation& operator=(const EarlierInstallation&) = delete;
  bool ok() const { return ok_; }

private:
  bool ok_ = false;
};

// A whole file, by a path of any name (see base::SystemPathToGbk).
base::Bytes ReadFileW(const std::wstring& path);

// The example's record and unpacked package, from the folder where the
// builder saved its resources: what an installation must leave on disk.
struct PackagedProduct {
  explicit PackagedProduct(const std::wstring& resources);
  int FileCount() const { return record->FileCount; }
  std::wstring Name(int i) const;  // "\VANTO-X.exe"
  std::uint32_t Size(int i) const { return record->Files[i].Size; }
  base::Bytes Bytes(int i);
  int Index(const std::wstring& name) const;  // -1 when no file has it
  // Every file under target byte-equal to the package, but the one named
  // except, and the record copy equal to SETUPINI.
  void ExpectInstalledIn(const std::wstring& target, const std::wstring& except = L"");

  std::unique_ptr<installer::TSetupRecord> record;
  base::Bytes setup_ini;
  base::MemoryStream package;
};

// A string value in the installer's registry view; "(missing)" when absent.
std::wstring RegString(HKEY root, const std::wstring& key, const std::wstring& name);
// A 32-bit value in the installer's registry view; nothing when absent.
std::optional<DWORD> RegDword(HKEY root, const std::wstring& key, const std::wstring& name);

}  // namespace testing_support::wizard
