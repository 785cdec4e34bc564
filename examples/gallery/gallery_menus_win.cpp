// The menu page: one skinned popup menu per theme, each with an item that
// has an image and a shortcut, a checked item, a separator, a disabled item
// and, in the saved picture, the second item selected.
//
// An open menu is a window of the system's, and only one can be open at a
// time. So the page opens each theme's menu in turn over that theme's
// column and copies what the screen shows into the column's picture; the
// saved page then shows every menu open at once. A popup runs its own modal
// loop, so the user (a key press that selects, Escape that closes) is
// played by a second thread while the page's thread sits in Popup.
// Without --save each column has a button that opens its menu.
#include <thread>

#include "base/win_api.h"
#include "examples/gallery/gallery.h"
#include "framework/controls/image.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/gdi_handles_win.h"
#include "skin/sui_button.h"
#include "skin/sui_menu.h"

namespace gallery {
namespace {

using namespace framework;

// Four themes to a line, so that the page fits a 1024 x 768 screen.
constexpr int kPerLine = 4;
constexpr int kColumn = 190;
constexpr int kLineHeight = 220;
constexpr int kMenuTop = 34;  // below the line's top
constexpr int kPictureHeight = 176;

int ColumnLeft(int t) { return 20 + (t % kPerLine) * kColumn; }
int LineTop(int t) { return 36 + (t / kPerLine) * kLineHeight; }

// Three 16 x 16 pictures for the items: a folder, a disk and a printer,
// drawn as plain shapes on a magenta mask.
graphics::TBitmap ItemPictures() {
  constexpr graphics::TColor kMask = 0xFF00FF;
  graphics::TBitmap strip(48, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) strip.SetPixel(x, y, kMask);
  auto fill = [&](int left, int top, int right, int bottom, graphics::TColor c) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) strip.SetPixel(x, y, c);
  };
  fill(1, 4, 15, 14, 0x30B0E8);   // folder body
  fill(1, 2, 7, 4, 0x30B0E8);     // its tab
  fill(18, 1, 31, 15, 0xA05020);  // disk
  fill(21, 1, 28, 6, 0xE0E0E0);   // its shutter
  fill(21, 9, 28, 15, 0xFFFFFF);  // its label
  fill(35, 1, 45, 6, 0xFFFFFF);   // printer paper
  fill(33, 6, 47, 13, 0x606060);  // printer body
  fill(35, 13, 45, 15, 0xFFFFFF); // paper out
  return strip;
}

HWND WaitForMenuWindow() {
  for (int i = 0; i < 300; ++i) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) return menu;
    Sleep(10);
  }
  return nullptr;
}

void PressKey(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Sleep(100);
}

// The user's side: selects the second item, copies the open menu from the
// screen and closes it.
graphics::TBitmap CaptureOpenMenu() {
  graphics::TBitmap shot;
  HWND menu = WaitForMenuWindow();
  if (!menu) return shot;
  // Out of the way: an item under the cursor would be selected instead.
  SetCursorPos(0, 0);
  Sleep(150);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  Sleep(200);
  RECT r;
  if (GetWindowRect(menu, &r) && r.right > r.left && r.bottom > r.top) {
    shot = graphics::TBitmap(r.right - r.left, r.bottom - r.top);
    const graphics::WindowDC screen(nullptr);
    BitBlt(graphics::NativeDC(shot), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left,
           r.top, SRCCOPY);
  }
  PressKey(VK_ESCAPE);
  return shot;
}

class MenusPage : public Page {
public:
  void Build(TForm& form) override {
    form_ = &form;
    constexpr int kLines = (kRows + kPerLine - 1) / kPerLine;
    form.SetClientSize(20 + kPerLine * kColumn, LineTop(0) + kLines * kLineHeight);
    AddLabel(form,
             "Each theme's popup menu, open: images and shortcuts, the second item selected, "
             "a checked item, a separator and a disabled item.",
             20, 12, kPerLine * kColumn - 20);
    images_ = new TImageListComponent(&form);
    images_->List().AddMasked(ItemPictures(), 0xFF00FF);
    for (int t = 0; t < kRows; ++t) {
      const int x = ColumnLeft(t);
      const int y = LineTop(t);
      skin::TsuiFileTheme* theme = RowFileTheme(form, t);
      RowLabel(form, t, x, y + 4, theme);
      auto* menu = new skin::TsuiPopupMenu(&form);
      menu->SetUIStyle(kThemes[t].style);
      if (theme) menu->SetFileTheme(theme);
      menu->SetImages(images_);
      AddItem(*menu, "&Open...", 0, MakeShortCut('O', ssCtrl));
      AddItem(*menu, "&Save", 1, MakeShortCut('S', ssCtrl));
      AddItem(*menu, "Word &wrap", -1, scNone)->SetChecked(true);
      AddItem(*menu, "-", -1, scNone);
      AddItem(*menu, "&Print", 2, MakeShortCut('P', ssCtrl))->SetEnabled(false);
      AddItem(*menu, "E&xit", -1, MakeShortCut(VK_F4, ssAlt));
      auto* picture = new TImage(&form);
      picture->SetParent(&form);
      picture->SetBounds(x, y + kMenuTop, kColumn - 10, kPictureHeight);
      auto* open = new skin::TsuiButton(&form);
      open->SetParent(&form);
      open->SetUIStyle(kThemes[t].style);
      if (theme) open->SetFileTheme(theme);
      open->SetCaption("Open menu");
      open->SetBounds(x + 80, y, 90, 24);
      open->OnClick = [this, t](TComponent*) { OpenAt(t); };
      columns_.push_back({menu, picture});
    }
  }

  // Opens each menu over its column and keeps what the screen showed.
  void BeforeSave() override {
    for (int t = 0; t < kRows; ++t) {
      graphics::TBitmap shot;
      std::thread user([&shot] { shot = CaptureOpenMenu(); });
      OpenAt(t);
      user.join();
      if (!shot.Empty()) columns_[t].picture->SetPicture(shot);
    }
  }

private:
  struct Column {
    skin::TsuiPopupMenu* menu;
    TImage* picture;
  };

  TMenuItem* AddItem(skin::TsuiPopupMenu& menu, const std::string& caption, int image,
                     TShortCut shortcut) {
    auto* item = new TMenuItem(form_);
    item->SetCaption(caption);
    item->SetImageIndex(image);
    item->SetShortCut(shortcut);
    menu.Items()->Add(item);
    return item;
  }

  void OpenAt(int t) {
    POINT p{ColumnLeft(t), LineTop(t) + kMenuTop};
    ClientToScreen(static_cast<HWND>(form_->Handle()), &p);
    columns_[t].menu->Popup(p.x, p.y);
  }

  TForm* form_ = nullptr;
  TImageListComponent* images_ = nullptr;
  std::vector<Column> columns_;
};

}  // namespace

std::unique_ptr<Page> MakeMenusPage() { return std::make_unique<MenusPage>(); }

}  // namespace gallery
