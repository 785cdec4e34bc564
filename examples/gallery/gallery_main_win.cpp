// The skin gallery: every skinned control of the library in every built-in
// theme and state, and in the two example skin files ("jade.skn" and
// "ember.skn", found next to the executable), one page of the form per
// kind of control ("--page buttons", the default, "--page checks" or
// "--page menus"). With "--save FILE.bmp" it puts each control into its
// state through the control's own messages, saves a picture of the window
// and exits (scripts/gallery-screenshot.sh turns the pages into the
// pictures in docs/); without, it stays open to be tried by hand.
#include <string>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include <shellapi.h>
#include "examples/gallery/gallery.h"
#include "framework/controls/application.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/bmp_codec.h"
#include "framework/graphics/gdi_handles_win.h"

namespace {

using namespace framework;

void Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    Application().ProcessMessages();
    Sleep(5);
  }
}

void SaveWindow(HWND hwnd, const std::string& path) {
  RECT r;
  GetClientRect(hwnd, &r);
  graphics::TBitmap shot(r.right, r.bottom);
  {
    const graphics::WindowDC dc(hwnd);
    BitBlt(graphics::NativeDC(shot), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  }
  base::NativeFileSystem().WriteWholeFile(path, graphics::WriteBmp(shot));
}

std::unique_ptr<gallery::Page> MakePage(const std::wstring& name) {
  if (name == L"checks") return gallery::MakeChecksPage();
  if (name == L"menus") return gallery::MakeMenusPage();
  return gallery::MakeButtonsPage();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string save;
  std::wstring page_name = L"buttons";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--save") save = base::WideToGbkLossy(argv[i + 1]);
    if (std::wstring(argv[i]) == L"--page") page_name = argv[i + 1];
  }
  LocalFree(argv);

  return RunProgram("Skin gallery", [&](TApplication& app) {
    app.Initialize();
    TForm* form = app.CreateForm<TForm>();
    form->SetText("Skin gallery");
    graphics::TFont font = form->Font();
    font.Name = "Tahoma";
    font.Height = 11;
    form->SetFont(font);
    form->SetColor(0xF0F0F0);
    std::unique_ptr<gallery::Page> page = MakePage(page_name);
    page->Build(*form);
    if (save.empty()) {
      page->ApplyStates();
      app.Run();
      return;
    }
    form->Show();
    Pump(300);
    page->ApplyStates();
    Pump(300);
    page->BeforeSave();
    Pump(200);
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(200);
    SaveWindow(form->Handle(), save);
  });
}
