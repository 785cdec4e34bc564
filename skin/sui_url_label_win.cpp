#include "base/text_codec.h"
#include "skin/sui_url_label.h"

#include "base/win_api.h"
#include <shellapi.h>

namespace skin {

void ShellOpenUrl(const std::string& url) {
  // The result is not examined: a URL no handler accepts simply opens nothing.
  ShellExecuteW(nullptr, L"open", base::GbkToWide(url).c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace skin
