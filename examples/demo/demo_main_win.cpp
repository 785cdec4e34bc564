// The skin demo: one skinned main window that carries every control of the
// skin library (title bar and frame, menu bar and main menu, a popup
// menu, check boxes, radio buttons and a radio group, a check group, group
// boxes, a picture panel, buttons and a link label), switchable at run time
// between the five built-in themes and the two example skin files (found
// next to the executable) through its Theme menu.
//
//   skin_demo [--theme NAME] [--save FILE.bmp]
//
// NAME is MacOS, WinXP, DeepBlue, Protein, BlueGlass, jade.skn or
// ember.skn. With --save the demo shows itself in that theme, saves a
// picture of its whole window (frame and region included) and exits
// (scripts/demo-screenshots.sh makes the pictures in docs/demo/).
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/text_codec.h"
#include "base/win_api.h"
#include <shellapi.h>
#include "framework/controls/application.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/bmp_codec.h"
#include "framework/graphics/gdi_handles_win.h"
#include "skin/sui_button.h"
#include "skin/sui_check_box.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_form.h"
#include "skin/sui_group_box.h"
#include "skin/sui_image_panel.h"
#include "skin/sui_menu.h"
#include "skin/sui_radio_group.h"
#include "skin/sui_url_label.h"

namespace {

using namespace framework;

struct Theme {
  const char* name;
  skin::TsuiUIStyle style;
  const char* skin_file;
};
constexpr Theme kThemes[] = {{"MacOS", skin::MacOS, nullptr},
                             {"WinXP", skin::WinXP, nullptr},
                             {"DeepBlue", skin::DeepBlue, nullptr},
                             {"Protein", skin::Protein, nullptr},
                             {"BlueGlass", skin::BlueGlass, nullptr},
                             {"jade.skn", skin::FromThemeFile, "jade.skn"},
                             {"ember.skn", skin::FromThemeFile, "ember.skn"}};

void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    Application().ProcessMessages();
    Sleep(5);
  }
}

// The whole window as the screen shows it.
void SaveWindow(HWND hwnd, const std::string& path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  graphics::TBitmap shot(r.right - r.left, r.bottom - r.top);
  {
    const graphics::WindowDC screen(nullptr);
    BitBlt(graphics::NativeDC(shot), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left,
           r.top, SRCCOPY);
  }
  base::NativeFileSystem().WriteWholeFile(path, graphics::WriteBmp(shot));
}

class DemoWindow {
public:
  explicit DemoWindow(TForm& host) : host_(host) {
    host.SetCaption("Skin demo");
    host.SetBorderStyle(TFormBorderStyle::bsSizeable);
    host.SetBounds(40, 40, 600, 420);
    form_ = new skin::TsuiForm(&host);
    form_->SetUIStyleAutoUpdateSub(true);
    file_theme_ = new skin::TsuiFileTheme(&host);
    BuildMenus();
    BuildContent();
  }

  void ApplyTheme(const Theme& theme) {
    if (theme.skin_file) file_theme_->SetThemeFile(theme.skin_file);
    const bool file = theme.skin_file && file_theme_->Ready();
    form_->SetFileTheme(file ? file_theme_ : nullptr);
    main_menu_->SetFileTheme(file ? file_theme_ : nullptr);
    popup_->SetFileTheme(file ? file_theme_ : nullptr);
    popup_->SetUIStyle(theme.style);
    form_->SetUIStyle(file || !theme.skin_file ? theme.style : skin::DeepBlue);
    form_->SetCaption(std::string("Skin demo - ") + theme.name +
                      (theme.skin_file && !file ? " (missing)" : ""));
    for (std::size_t i = 0; i < theme_items_.size(); ++i)
      theme_items_[i]->SetChecked(&kThemes[i] == &theme);
  }

  skin::TsuiForm& Form() { return *form_; }

private:
  TMenuItem* Item(TMenuItem* parent, const std::string& caption, TShortCut shortcut = scNone) {
    auto* item = new TMenuItem(&host_);
    item->SetCaption(caption);
    item->SetShortCut(shortcut);
    parent->Add(item);
    return item;
  }

  void BuildMenus() {
    main_menu_ = new skin::TsuiMainMenu(&host_);
    TMenuItem* file = Item(main_menu_->Items(), "&File");
    Item(file, "&Open...", MakeShortCut('O', ssCtrl));
    Item(file, "&Save", MakeShortCut('S', ssCtrl));
    Item(file, "-");
    Item(file, "E&xit")->OnClick = [this](TComponent*) { host_.Close(); };
    TMenuItem* theme = Item(main_menu_->Items(), "&Theme");
    for (const Theme& t : kThemes) {
      TMenuItem* item = Item(theme, t.name);
      item->OnClick = [this, &t](TComponent*) { ApplyTheme(t); };
      theme_items_.push_back(item);
    }
    TMenuItem* help = Item(main_menu_->Items(), "&Help");
    Item(help, "&About");
    form_->SetMenu(main_menu_);

    popup_ = new skin::TsuiPopupMenu(&host_);
    Item(popup_->Items(), "&Cut", MakeShortCut('X', ssCtrl));
    Item(popup_->Items(), "C&opy", MakeShortCut('C', ssCtrl))->SetChecked(true);
    Item(popup_->Items(), "-");
    Item(popup_->Items(), "&Paste", MakeShortCut('V', ssCtrl))->SetEnabled(false);
  }

  template <typename T>
  T* Place(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(&host_);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
  }

  void BuildContent() {
    auto* options = Place<skin::TsuiCustomGroupBox>(form_, 12, 64, 200, 120);
    options->SetGroupCaption("Options");
    const char* checks[] = {"&Desktop shortcut", "Start &menu entry", "&Launch when done"};
    for (int i = 0; i < 3; ++i) {
      auto* box = Place<skin::TsuiCheckBox>(options, 12, 22 + i * 28, 170, 20);
      box->SetCaption(checks[i]);
      box->SetTransparent(true);  // the group box's ground shows through
      box->SetChecked(i != 1);
    }
    auto* sizes = Place<skin::TsuiRadioGroup>(form_, 224, 64, 170, 120);
    sizes->SetGroupCaption("Installation");
    sizes->SetItems({"&Typical", "&Compact", "C&ustom"});
    sizes->SetItemIndex(0);
    auto* parts = Place<skin::TsuiCheckGroup>(form_, 406, 64, 170, 120);
    parts->SetGroupCaption("Components");
    parts->SetItems({"Program", "Help files", "Samples"});
    parts->Buttons(0)->SetChecked(true);
    parts->Buttons(0)->SetEnabled(false);
    parts->Buttons(2)->SetChecked(true);

    auto* panel = Place<skin::TsuiCustomPanel>(form_, 12, 196, 382, 100);
    panel->SetCaption("A picture panel: its picture tiled");
    panel->SetDrawMode(skin::dmTile);
    panel->SetPicture(PanelPicture());
    auto* radio = Place<skin::TsuiRadioButton>(form_, 406, 200, 170, 20);
    radio->SetCaption("&Radio button");
    radio->SetChecked(true);
    auto* link = Place<skin::TsuiURLLabel>(form_, 406, 232, 170, 20);
    link->SetCaption("Visit the product page");
    link->SetURL("https://example.com/");

    auto* popup = Place<skin::TsuiButton>(form_, 12, 312, 120, 26);
    popup->SetCaption("&Popup menu");
    popup->OnClick = [this, popup](TComponent*) {
      POINT p{popup->Left(), popup->Top() + popup->Height()};
      ClientToScreen(form_->Handle(), &p);
      popup_->Popup(p.x, p.y);
    };
    auto* ok = Place<skin::TsuiButton>(form_, 372, 312, 96, 26);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = Place<skin::TsuiButton>(form_, 480, 312, 96, 26);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->OnClick = [this](TComponent*) { host_.Close(); };
  }

  // A 16 x 16 check pattern in two soft colours.
  static graphics::TBitmap PanelPicture() {
    graphics::TBitmap picture(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        picture.SetPixel(x, y, ((x / 8) + (y / 8)) % 2 ? 0xE8D8C8 : 0xF4ECE4);
    return picture;
  }

  TForm& host_;
  skin::TsuiForm* form_ = nullptr;
  skin::TsuiFileTheme* file_theme_ = nullptr;
  skin::TsuiMainMenu* main_menu_ = nullptr;
  skin::TsuiPopupMenu* popup_ = nullptr;
  std::vector<TMenuItem*> theme_items_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string save;
  std::string theme_name = "DeepBlue";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--save") save = base::WideToGbkLossy(argv[i + 1]);
    if (std::wstring(argv[i]) == L"--theme") theme_name = base::WideToGbkLossy(argv[i + 1]);
  }
  LocalFree(argv);

  return RunProgram("Skin demo", [&](TApplication& app) {
    app.Initialize();
    TForm* host = app.CreateForm<TForm>();
    DemoWindow demo(*host);
    const Theme* theme = &kThemes[2];
    for (const Theme& t : kThemes)
      if (theme_name == t.name) theme = &t;
    demo.ApplyTheme(*theme);
    if (save.empty()) {
      app.Run();
      return;
    }
    host->Show();
    Pump(400);
    RedrawWindow(host->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(300);
    SaveWindow(host->Handle(), save);
  });
}
