#include "installer/install_log_win.h"

#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "base/win_api.h"

namespace installer {

FileInstallLog::FileInstallLog(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (file_ == INVALID_HANDLE_VALUE)
    throw base::WideTextError(L"Cannot create the log file \"" + path + L"\".");
  static const char kByteOrderMark[] = "\xEF\xBB\xBF";
  DWORD written = 0;
  WriteFile(file_, kByteOrderMark, 3, &written, nullptr);
}

FileInstallLog::~FileInstallLog() { CloseHandle(file_); }

void FileInstallLog::Line(const std::string& text) {
  const std::string line = base::GbkToUtf8(text) + "\r\n";
  DWORD written = 0;
  // A log that can no longer be written (a full disk) must not stop the
  // installation it describes.
  WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace installer
