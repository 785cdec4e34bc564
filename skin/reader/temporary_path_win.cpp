#include "base/error.h"
#include "base/text_codec.h"
#include "skin/reader/sk2_skin_file_reader.h"

#include "base/win_api.h"
#include <objbase.h>

namespace skin::reader {

std::string TemporarySkinDataPath() {
  wchar_t dir[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, dir);
  if (n == 0 || n > MAX_PATH) throw base::Error("Cannot find the temporary folder");
  std::wstring path(dir, n);
  if (path.back() != L'\\') path += L'\\';
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) throw base::Error("Cannot create a GUID");
  wchar_t text[40];
  const int length = StringFromGUID2(guid, text, 40);  // braces, upper case
  if (length <= 1) throw base::Error("Cannot create a GUID");
  path.append(text, static_cast<std::size_t>(length - 1));
  return base::WideToGbk(path);
}

}  // namespace skin::reader
