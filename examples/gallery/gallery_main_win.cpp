// The skin gallery: every skinned control of the library in every built-in
// theme and state, and in the two example skin files ("jade.skn" and
// "ember.skn", found next to the executable), on one form. With "--save FILE.bmp" it puts each control
// into its state through the control's own messages, saves a picture of the
// window and exits (scripts/gallery-screenshot.sh turns it into the
// contact sheet in docs/); without, it stays open to be tried by hand.
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include <shellapi.h>
#include "framework/controls/application.h"
#include "framework/controls/form.h"
#include "framework/controls/label.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/gdi_handles_win.h"
#include "framework/graphics/bmp_codec.h"
#include "skin/sui_button.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_url_label.h"

namespace {

using namespace framework;
using skin::TsuiButton;
using skin::TsuiUIStyle;

// A row of the gallery: a built-in theme, or a skin file.
struct Theme {
  TsuiUIStyle style;
  const char* name;
  const char* skin_file;  // for FromThemeFile
};
constexpr Theme kThemes[] = {{skin::MacOS, "MacOS", nullptr},
                             {skin::WinXP, "WinXP", nullptr},
                             {skin::DeepBlue, "DeepBlue", nullptr},
                             {skin::Protein, "Protein", nullptr},
                             {skin::BlueGlass, "BlueGlass", nullptr},
                             {skin::FromThemeFile, "jade.skn", "jade.skn"},
                             {skin::FromThemeFile, "ember.skn", "ember.skn"}};
constexpr int kRows = static_cast<int>(std::size(kThemes));

enum class State { Normal, Hover, Pressed, Disabled, Focused, Glyph };
constexpr const char* kStateNames[] = {"Normal", "Hover", "Pressed", "Disabled", "Focused",
                                       "Glyph"};

// A 16 x 16 glyph: a green check mark on a magenta (see-through) ground.
graphics::TBitmap CheckGlyph() {
  graphics::TBitmap g(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) g.SetPixel(x, y, graphics::clFuchsia);
  for (int i = 0; i < 5; ++i)
    for (int t = 0; t < 3; ++t) g.SetPixel(3 + i, 7 + i + t - 1, 0x1E8C1E);
  for (int i = 0; i < 7; ++i)
    for (int t = 0; t < 3; ++t) g.SetPixel(8 + i, 11 - i + t - 1, 0x1E8C1E);
  return g;
}

struct Gallery {
  TForm* form = nullptr;
  std::vector<std::pair<TsuiButton*, State>> buttons;

  void Build() {
    form = Application().CreateForm<TForm>();
    form->SetText("Skin gallery");
    graphics::TFont font = form->Font();
    font.Name = "Tahoma";
    font.Height = 11;
    form->SetFont(font);
    form->SetColor(0xF0F0F0);
    form->SetClientSize(20 + 110 + 6 * 104, 40 + kRows * 44 + 60);
    for (int s = 0; s < 6; ++s) {
      auto* head = new TLabel(form);
      head->SetParent(form);
      head->SetCaption(kStateNames[s]);
      head->SetBounds(130 + s * 104, 14, 90, 16);
    }
    for (int t = 0; t < kRows; ++t) {
      const int y = 40 + t * 44;
      // A bare file name: the theme looks for it next to the executable.
      // One that is not found leaves its row in DeepBlue, and says so.
      skin::TsuiFileTheme* theme = nullptr;
      if (kThemes[t].skin_file) {
        theme = new skin::TsuiFileTheme(form);
        theme->SetThemeFile(kThemes[t].skin_file);
      }
      auto* name = new TLabel(form);
      name->SetParent(form);
      name->SetCaption(std::string(kThemes[t].name) +
                       (theme && !theme->Ready() ? " (missing)" : ""));
      name->SetBounds(20, y + 6, 100, 16);
      for (int s = 0; s < 6; ++s) {
        auto* b = new TsuiButton(form);
        b->SetParent(form);
        b->SetUIStyle(kThemes[t].style);
        if (theme) b->SetFileTheme(theme);
        b->SetBounds(130 + s * 104, y, 91, 27);
        b->SetCaption(s == 5 ? "Glyph" : "Button");
        if (s == 5) b->SetGlyph(CheckGlyph());
        buttons.push_back({b, static_cast<State>(s)});
      }
    }
    auto* link = new skin::TsuiURLLabel(form);
    link->SetParent(form);
    link->SetCaption("http://www.vanto.example.com");
    link->SetURL("http://www.vanto.example.com");
    link->SetLeft(20);
    link->SetTop(40 + kRows * 44 + 16);
    auto* hover = new skin::TsuiURLLabel(form);
    hover->SetParent(form);
    hover->SetCaption("Link, pointer over it");
    hover->SetLeft(260);
    hover->SetTop(40 + kRows * 44 + 16);
    hover->Perform(CM_MOUSEENTER);
  }

  // Puts every button into its state through the messages that cause it.
  void ApplyStates() {
    for (auto& [b, state] : buttons) {
      switch (state) {
        case State::Hover:
          b->Perform(CM_MOUSEENTER);
          break;
        case State::Pressed:
          b->Perform(CM_MOUSEENTER);
          b->Perform(0x0201 /* WM_LBUTTONDOWN */, 1, PackPoint(10, 10));
          break;
        case State::Disabled:
          b->SetEnabled(false);
          break;
        case State::Focused:
          b->SetTabStop(true);
          break;
        default:
          break;
      }
    }
  }
};

void Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    Application().ProcessMessages();
    Sleep(5);
  }
}

bool SaveWindow(HWND hwnd, const std::string& path) {
  RECT r;
  GetClientRect(hwnd, &r);
  graphics::TBitmap shot(r.right, r.bottom);
  {
    const graphics::WindowDC dc(hwnd);
    BitBlt(graphics::NativeDC(shot), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  }
  base::NativeFileSystem().WriteWholeFile(path, graphics::WriteBmp(shot));
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string save;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::wstring(argv[i]) == L"--save") save = base::WideToGbkLossy(argv[i + 1]);
  LocalFree(argv);

  return RunProgram("Skin gallery", [&save](TApplication& app) {
    app.Initialize();
    Gallery gallery;
    gallery.Build();
    if (save.empty()) {
      app.Run();
      return;
    }
    gallery.form->Show();
    Pump(300);
    gallery.ApplyStates();
    // The focused state: the focus goes to the Focused button of the WinXP row.
    for (auto& [b, state] : gallery.buttons)
      if (state == State::Focused && b->UIStyle() == skin::WinXP) b->SetFocus();
    Pump(300);
    RedrawWindow(gallery.form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(200);
    SaveWindow(gallery.form->Handle(), save);
  });
}
