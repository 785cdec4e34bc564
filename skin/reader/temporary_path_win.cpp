#include "base/error.h"
#include "base/system_path_win.h"
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
  // The file does not exist yet, so the folder may be given in short form.
  auto gbk = base::SystemPathToGbk(path);
  if (!gbk) throw base::Error("Cannot use the temporary folder: its name has no GBK form");
  return *gbk;
}

}  // namespace skin::reader
