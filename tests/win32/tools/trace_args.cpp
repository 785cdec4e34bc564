// Stands in for a program that the code under test starts (a browser, say):
// appends its own command line, as UTF-8 and ending in a line break, to the
// file named by VANTO_TRACE_ARGS_FILE, then exits. One WriteFile per line,
// so a reader that sees the line break has the whole line. A GUI program, so
// being started does not open a console.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t trace_file[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"VANTO_TRACE_ARGS_FILE", trace_file, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 2;

  const wchar_t* command_line = GetCommandLineW();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, command_line, -1, nullptr, 0, nullptr, nullptr);
  std::string line(bytes > 0 ? bytes - 1 : 0, '\0');
  if (!line.empty())
    WideCharToMultiByte(CP_UTF8, 0, command_line, -1, line.data(), bytes, nullptr, nullptr);
  line += '\n';

  HANDLE file = CreateFileW(trace_file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size() ? 0 : 4;
}
