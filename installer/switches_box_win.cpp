#include "installer/switches_box_win.h"

#include "base/text_codec.h"
#include "base/win_api.h"
#include "installer/unattended_texts.h"

namespace installer {

void ShowSwitchesBox(const char* switches_help, const char* caption, const std::wstring& problem) {
  std::wstring text;
  if (!problem.empty())
    text = base::GbkToWide(unattended_texts::kBadCommandLine) + problem + L"\r\n\r\n";
  text += base::GbkToWide(switches_help);
  MessageBoxW(nullptr, text.c_str(), base::GbkToWide(caption).c_str(),
              MB_OK | (problem.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace installer
