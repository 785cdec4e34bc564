// The toolkit's standard controls in a real window under real input
// (SetCursorPos, SendInput): typing into an edit, clicking check boxes,
// buttons and tabs, and answering message boxes from a second thread the way
// a user would. Pictures are read back by letting the controls paint into a
// bitmap.
#include "base/win_api.h"
#include "tests/win32/support/process_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/error.h"
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/button.h"
#include "framework/controls/check_box.h"
#include "framework/controls/dialogs.h"
#include "framework/controls/edit.h"
#include "framework/controls/form.h"
#include "framework/controls/image.h"
#include "framework/controls/page_control.h"
#include "framework/controls/panel.h"
#include "framework/controls/progress_bar.h"
#include "framework/controls/timer.h"
#include "framework/core/layout_loader.h"
#include "framework/graphics/bitmap_win.h"
#include "framework/graphics/bmp_codec.h"
#include "tests/host/gbk_literal.h"
#include "tests/win32/support/ui_input.h"

namespace {

using namespace framework;
using namespace testing_support;
using graphics::ColorToRGB;
using graphics::TBitmap;
using testing_support::Gbk;

// A character no key of the keyboard makes, as an input method sends it.
void KeyUnicode(wchar_t ch) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wScan = in[1].ki.wScan = ch;
  in[0].ki.dwFlags = KEYEVENTF_UNICODE;
  in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Pump(80);
}

// What a native window paints, background included.
TBitmap PrintClient(TWinControl& c) {
  TBitmap shot(c.Width(), c.Height());
  SendMessageW(c.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(graphics::NativeDC(shot)),
               PRF_CLIENT | PRF_ERASEBKGND);
  return shot;
}

std::wstring WindowTextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

struct StandardControlsTest : ::testing::Test {
  TForm* form = new TForm(nullptr);
  std::vector<std::string> errors;

  void SetUp() override {
    Application().Initialize();
    Application().SetExceptionHandler([this](const std::string& m) { errors.push_back(m); });
    form->SetBounds(100, 100, 480, 360);
  }
  void Show() {
    form->Show();
    Pump(150);
  }
  void TearDown() override {
    delete form;
    Application().SetExceptionHandler(nullptr);
    Pump(50);
    EXPECT_TRUE(errors.empty()) << errors.front();
  }
  template <typename T>
  T* Add(TWinControl* parent, int left, int top, int width, int height) {
    auto* c = new T(form);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
  }
};

// ---------------------------------------------------------------------------
// TPanel

TEST_F(StandardControlsTest, PanelHoldsChildrenAndDrawsItsBevelAndCentredCaption) {
  auto* panel = Add<TPanel>(form, 10, 10, 200, 60);
  panel->SetColor(graphics::RGB(0xE0, 0xE0, 0xE0));
  auto* box = Add<TCheckBox>(panel, 5, 5, 60, 17);
  Show();
  EXPECT_TRUE(panel->ControlStyle() & csAcceptsControls);
  EXPECT_EQ(GetParent(box->Handle()), panel->Handle());
  EXPECT_EQ(box->Color(), panel->Color());  // a check box takes its parent's colour

  const auto highlight = ColorToRGB(graphics::clBtnHighlight);
  const auto shadow = ColorToRGB(graphics::clBtnShadow);
  TBitmap raised = Snapshot(*panel);
  EXPECT_EQ(raised.Pixel(0, 30), highlight);
  EXPECT_EQ(raised.Pixel(100, 0), highlight);
  EXPECT_EQ(raised.Pixel(199, 30), shadow);
  EXPECT_EQ(raised.Pixel(100, 59), shadow);
  EXPECT_EQ(raised.Pixel(100, 1), panel->Color());
  panel->SetBevelOuter(TPanelBevel::bvLowered);
  TBitmap lowered = Snapshot(*panel);
  EXPECT_EQ(lowered.Pixel(0, 30), shadow);
  EXPECT_EQ(lowered.Pixel(199, 30), highlight);
  panel->SetBevelOuter(TPanelBevel::bvNone);
  EXPECT_EQ(Snapshot(*panel).Pixel(0, 30), panel->Color());

  // The caption's ink lies in the middle, none of it near the sides.
  panel->SetCaption("WWW");
  TBitmap text = Snapshot(*panel);
  auto ink_in = [&](int from, int to) {
    for (int y = 1; y < 59; ++y)
      for (int x = from; x < to; ++x)
        if (text.Pixel(x, y) != panel->Color()) return true;
    return false;
  };
  EXPECT_TRUE(ink_in(80, 120));
  EXPECT_FALSE(ink_in(1, 60));
  EXPECT_FALSE(ink_in(140, 199));
}

// ---------------------------------------------------------------------------
// TEdit

struct EditTest : StandardControlsTest {
  TEdit* edit = nullptr;
  std::vector<std::string> changes;

  void SetUp() override {
    StandardControlsTest::SetUp();
    edit = Add<TEdit>(form, 20, 20, 200, 24);
    edit->OnChange = [this](TComponent*) { changes.push_back(edit->Text()); };
    Show();
    edit->SetFocus();
    Pump(50);
  }
};

TEST_F(EditTest, TypedCharactersBecomeTheTextInGbkWithOneChangeEach) {
  ASSERT_TRUE(edit->Focused());
  Key('A');
  Key('B');
  KeyUnicode(L'中');
  KeyUnicode(L'一');  // U+4E00: its low byte is 0
  const std::string expected = "ab" + Gbk(u8"中一");
  EXPECT_EQ(edit->Text(), expected);
  EXPECT_EQ(edit->Caption(), expected);  // the control's copy follows the window
  EXPECT_EQ(WindowTextOf(edit->Handle()), L"ab中一");
  EXPECT_EQ(changes, (std::vector<std::string>{"a", "ab", "ab" + Gbk(u8"中"), expected}));
}

TEST_F(EditTest, TextSetInCodeReachesTheWindowAndFiresOnChangeOnce) {
  edit->SetText(Gbk(u8"C:\\Program Files\\墨柘"));
  EXPECT_EQ(WindowTextOf(edit->Handle()), L"C:\\Program Files\\墨柘");
  edit->SetText(Gbk(u8"C:\\Program Files\\墨柘"));
  EXPECT_EQ(changes, (std::vector<std::string>{Gbk(u8"C:\\Program Files\\墨柘")}));
  // A text given before the window exists is the window's first text.
  auto* late = new TEdit(form);
  late->SetText(Gbk(u8"安装"));
  late->SetParent(form);
  EXPECT_EQ(WindowTextOf(late->Handle()), L"安装");
  EXPECT_EQ(late->Text(), Gbk(u8"安装"));
}

TEST_F(EditTest, MaxLengthCountsGbkBytesAndReadOnlyRefusesTyping) {
  edit->SetMaxLength(5);
  Key('A');
  Key('B');
  KeyUnicode(L'中');  // 4 bytes
  KeyUnicode(L'一');  // would be 6: refused
  Key('C');           // 5
  Key('D');           // refused
  EXPECT_EQ(edit->Text(), "ab" + Gbk(u8"中") + "c");
  EXPECT_EQ(changes.size(), 4u);
  // Typing goes on at the caret after a refusal, not elsewhere.
  Key(VK_BACK);
  Key('E');
  EXPECT_EQ(edit->Text(), "ab" + Gbk(u8"中") + "e");
  // Code may set a longer text.
  edit->SetText("0123456789");
  EXPECT_EQ(edit->Text(), "0123456789");

  edit->SetReadOnly(true);
  Key('X');
  EXPECT_EQ(edit->Text(), "0123456789");
  EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(EditTest, EnterAndEscGoToTheDefaultAndCancelButtons) {
  auto* ok = Add<TButton>(form, 20, 100, 75, 25);
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Add<TButton>(form, 120, 100, 75, 25);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  int ok_clicks = 0, cancel_clicks = 0;
  ok->OnClick = [&](TComponent*) { ++ok_clicks; };
  cancel->OnClick = [&](TComponent*) { ++cancel_clicks; };
  edit->SetFocus();
  Pump(50);
  Key('A');
  Key(VK_RETURN);
  EXPECT_EQ(ok_clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  Key(VK_ESCAPE);
  EXPECT_EQ(cancel_clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  EXPECT_EQ(edit->Text(), "a");
  EXPECT_TRUE(edit->Focused());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(EditTest, TheWindowGetsAFontMadeFromTheControlsFontAndItsColours) {
  auto font_of = [](TWinControl& c) {
    return reinterpret_cast<HFONT>(SendMessageW(c.Handle(), WM_GETFONT, 0, 0));
  };
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(font_of(*edit), sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, -12);  // Height is the character height
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"宋体");
  EXPECT_EQ(lf.lfCharSet, graphics::kGb2312Charset);
  // Controls with equal fonts share one GDI font.
  auto* other = Add<TEdit>(form, 20, 60, 100, 24);
  EXPECT_EQ(font_of(*other), font_of(*edit));
  graphics::TFont bigger = edit->Font();
  bigger.Height = 16;
  bigger.Style = graphics::fsBold;
  edit->SetFont(bigger);
  ASSERT_TRUE(GetObjectW(font_of(*edit), sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_NE(font_of(*other), font_of(*edit));

  edit->SetColor(graphics::RGB(0xFF, 0xFF, 0x80));
  EXPECT_EQ(PrintClient(*edit).Pixel(150, 10), graphics::RGB(0xFF, 0xFF, 0x80));
}

// ---------------------------------------------------------------------------
// TCheckBox

TEST_F(StandardControlsTest, CheckBoxTogglesByClickSpaceAndCodeAndReportsEachChange) {
  auto* box = Add<TCheckBox>(form, 20, 20, 150, 20);
  box->SetCaption(Gbk(u8"创建桌面快捷方式"));
  box->SetChecked(true);  // before the window: carried into it
  int clicks = 0;
  box->OnClick = [&](TComponent*) { ++clicks; };
  Show();
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WindowTextOf(box->Handle()), L"创建桌面快捷方式");

  Click(*box, 7, 10);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 1);
  Click(*box, 60, 10);  // on the caption
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 2);
  Key(VK_SPACE);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 3);
  box->SetChecked(true);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  box->SetChecked(true);  // no change, no event
  EXPECT_EQ(clicks, 4);

  // The background is the control's colour.
  box->SetColor(graphics::clWhite);
  EXPECT_EQ(PrintClient(*box).Pixel(148, 1), graphics::clWhite);
}

// ---------------------------------------------------------------------------
// TButton

TEST_F(StandardControlsTest, ButtonClickCopiesModalResultAndFiresOnce) {
  auto* yes = Add<TButton>(form, 20, 20, 75, 25);
  yes->SetCaption(Gbk(u8"是"));
  yes->SetModalResult(mrYes);
  int clicks = 0;
  yes->OnClick = [&](TComponent*) { ++clicks; };
  Show();
  Click(*yes, 30, 12);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrYes);
  Key(VK_SPACE);  // the clicked button has the focus
  EXPECT_EQ(clicks, 2);
}

TEST_F(StandardControlsTest, ButtonEndsAModalFormWithItsModalResult) {
  auto* dialog = new TForm(form);
  dialog->SetBounds(150, 150, 300, 200);
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetBounds(100, 80, 75, 25);
  ok->SetModalResult(mrOk);
  Show();
  // The user clicks while the modal loop runs.
  TTimer press(nullptr);
  press.SetInterval(300);
  press.OnTimer = [&](TComponent*) {
    press.SetEnabled(false);
    POINT p{ok->Left() + 30, ok->Top() + 12};
    ClientToScreen(dialog->Handle(), &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

TEST_F(StandardControlsTest, EnterGoesToTheFocusedButtonAndTheAcceleratorClicks) {
  auto* next = Add<TButton>(form, 20, 20, 75, 25);
  next->SetCaption("&Next");
  next->SetDefault(true);
  auto* back = Add<TButton>(form, 120, 20, 75, 25);
  back->SetCaption("&Back");
  int next_clicks = 0, back_clicks = 0;
  next->OnClick = [&](TComponent*) { ++next_clicks; };
  back->OnClick = [&](TComponent*) { ++back_clicks; };
  Show();
  auto is_default = [](TButton* b) {
    return (GetWindowLongW(b->Handle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
  };
  back->SetFocus();
  Pump(50);
  EXPECT_TRUE(back->ActiveDefault());
  EXPECT_FALSE(next->ActiveDefault());
  EXPECT_TRUE(is_default(back));
  EXPECT_FALSE(is_default(next));
  Key(VK_RETURN);
  EXPECT_EQ(back_clicks, 1);
  EXPECT_EQ(next_clicks, 0);
  // Alt+N: the accelerator of "&Next".
  INPUT in[4]{};
  for (auto& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_MENU;
  in[1].ki.wVk = 'N';
  in[2].ki.wVk = 'N';
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_MENU;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
  Pump(100);
  EXPECT_EQ(next_clicks, 1);
  EXPECT_EQ(back_clicks, 1);
}

// ---------------------------------------------------------------------------
// TPageControl / TTabSheet

struct PageControlTest : StandardControlsTest {
  TPageControl* pages = nullptr;
  TTabSheet* sheet[3] = {};
  std::vector<std::string> log;

  void SetUp() override {
    StandardControlsTest::SetUp();
    pages = Add<TPageControl>(form, 10, 10, 400, 250);
    const char* names[3] = {"Welcome", "Licence", "Folder"};
    for (int i = 0; i < 3; ++i) {
      sheet[i] = new TTabSheet(form);
      sheet[i]->SetName(names[i]);
      sheet[i]->SetCaption(names[i]);
      sheet[i]->SetParent(pages);
      sheet[i]->OnShow = [this](TComponent* s) { log.push_back("show " + s->Name()); };
      sheet[i]->OnHide = [this](TComponent* s) { log.push_back("hide " + s->Name()); };
    }
    Show();
  }
  int VisibleSheets() const {
    int n = 0;
    for (TTabSheet* s : sheet) n += IsWindowVisible(s->Handle()) ? 1 : 0;
    return n;
  }
};

TEST_F(PageControlTest, SwitchingPagesShowsExactlyOneAndFiresShowAndHide) {
  EXPECT_EQ(sheet[0]->ClassInfo().ClassName(), "TTabSheet");
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->Pages(2), sheet[2]);
  EXPECT_EQ(pages->ActivePage(), sheet[0]);  // the first page to join
  EXPECT_EQ(VisibleSheets(), 1);
  pages->SetActivePage(sheet[1]);
  EXPECT_EQ(log, (std::vector<std::string>{"hide Welcome", "show Licence"}));
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_EQ(VisibleSheets(), 1);
  EXPECT_TRUE(IsWindowVisible(sheet[1]->Handle()));
  pages->SetActivePageIndex(2);
  EXPECT_EQ(sheet[2]->PageIndex(), 2);
  EXPECT_TRUE(IsWindowVisible(sheet[2]->Handle()));
  EXPECT_EQ(VisibleSheets(), 1);
  // The same page again, or a page of another control: nothing happens.
  log.clear();
  pages->SetActivePage(sheet[2]);
  TTabSheet stray(nullptr);
  pages->SetActivePage(&stray);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(pages->ActivePage(), sheet[2]);
}

TEST_F(PageControlTest, WithEveryTabHiddenTheActivePageFillsTheControl) {
  const TRect with_tabs = pages->DisplayRect();
  EXPECT_GT(with_tabs.Top, 0);
  for (TTabSheet* s : sheet) s->SetTabVisible(false);
  Pump(50);
  EXPECT_EQ(pages->DisplayRect(), (TRect{0, 0, 400, 250}));
  for (int i : {2, 0, 1}) {
    pages->SetActivePageIndex(i);
    EXPECT_EQ(sheet[i]->BoundsRect(), (TRect{0, 0, 400, 250}));
    RECT page_rect, control_rect;
    GetWindowRect(sheet[i]->Handle(), &page_rect);
    GetWindowRect(pages->Handle(), &control_rect);
    EXPECT_TRUE(EqualRect(&page_rect, &control_rect));
    EXPECT_EQ(VisibleSheets(), 1);
  }
  // No tab row: the page control's own pixels are all covered.
  EXPECT_TRUE(pages->TabRect(0).IsEmpty());
  // One tab back: the row returns and every page moves below it.
  sheet[2]->SetTabVisible(true);
  EXPECT_EQ(sheet[0]->BoundsRect(), with_tabs);
  EXPECT_EQ(sheet[1]->BoundsRect(), with_tabs);
}

TEST_F(PageControlTest, ClickingATabActivatesItsPageAndMovesTheFocusThere) {
  auto* name = Add<TEdit>(sheet[0], 10, 10, 150, 24);
  auto* agree = Add<TCheckBox>(sheet[2], 10, 10, 150, 20);
  name->SetFocus();
  Pump(50);
  int changes = 0;
  pages->OnChange = [&](TComponent*) { ++changes; };
  const TRect tab = pages->TabRect(2);
  ASSERT_FALSE(tab.IsEmpty());
  Click(*pages, tab.Left + tab.Width() / 2, tab.Top + tab.Height() / 2);
  EXPECT_EQ(pages->ActivePage(), sheet[2]);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"hide Welcome", "show Folder"}));
  EXPECT_TRUE(agree->Focused());
  EXPECT_EQ(form->ActiveControl(), agree);
  // The tab row shows the active tab standing out.
  EXPECT_LT(pages->TabRect(2).Top, pages->TabRect(1).Top);
}

TEST_F(PageControlTest, PagesThatLeaveOrGoAreForgotten) {
  pages->SetActivePage(sheet[1]);
  sheet[1]->SetParent(form);  // the active page leaves: the next one takes over
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), sheet[2]);
  EXPECT_EQ(sheet[1]->PageControl(), nullptr);
  EXPECT_EQ(sheet[1]->PageIndex(), -1);
  sheet[2]->SetPageIndex(0);
  EXPECT_EQ(pages->Pages(0), sheet[2]);
  delete sheet[2];  // the active page is freed: no page is shown
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(pages->ActivePage(), nullptr);
  delete pages;  // before its last page
  EXPECT_EQ(sheet[0]->PageControl(), nullptr);
}

// ---------------------------------------------------------------------------
// TProgressBar

TEST_F(StandardControlsTest, ProgressBarKeepsItsPositionInRangeAndPaintsItsColours) {
  auto* bar = Add<TProgressBar>(form, 20, 20, 200, 20);
  bar->SetMax(200);
  bar->SetPosition(150);
  Show();
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 150);
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETRANGE, FALSE, 0), 200);
  EXPECT_EQ(bar->Position(), 150);
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 200);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->Position(), 0);
  bar->StepIt();
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 10);
  EXPECT_THROW(bar->SetMin(300), base::Error);
  EXPECT_EQ(bar->Min(), 0);

  bar->SetMax(100);
  bar->SetPosition(50);
  bar->SetSmooth(true);
  bar->SetBarColor(graphics::clRed);
  bar->SetBackgroundColor(graphics::RGB(0, 0x80, 0));
  TBitmap shot = PrintClient(*bar);
  EXPECT_EQ(shot.Pixel(40, 10), graphics::clRed);
  EXPECT_EQ(shot.Pixel(180, 10), graphics::RGB(0, 0x80, 0));
  bar->SetPosition(100);
  EXPECT_EQ(PrintClient(*bar).Pixel(180, 10), graphics::clRed);
}

// ---------------------------------------------------------------------------
// TImage

TBitmap Quadrants() {
  // 4 x 4: red, lime / blue, white quarters.
  TBitmap picture(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      picture.SetPixel(x, y, y < 2 ? (x < 2 ? graphics::clRed : graphics::clLime)
                                   : (x < 2 ? graphics::clBlue : graphics::clWhite));
  return picture;
}

TEST_F(StandardControlsTest, ImagePaintsItsPictureAtTheCornerCentredStretchedOrSeeThrough) {
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(20, 30, 40, 40);
  image->SetPicture(Quadrants());
  Show();
  const auto face = ColorToRGB(form->Color());
  TBitmap shot = Snapshot(*form);
  EXPECT_EQ(shot.Pixel(20, 30), graphics::clRed);
  EXPECT_EQ(shot.Pixel(23, 33), graphics::clWhite);
  EXPECT_EQ(shot.Pixel(30, 40), face);  // the form shows around the picture

  image->SetCenter(true);
  shot = Snapshot(*form);
  EXPECT_EQ(shot.Pixel(20, 30), face);
  EXPECT_EQ(shot.Pixel(20 + 18, 30 + 18), graphics::clRed);
  EXPECT_EQ(shot.Pixel(20 + 21, 30 + 21), graphics::clWhite);

  image->SetStretch(true);
  shot = Snapshot(*form);
  EXPECT_EQ(shot.Pixel(20 + 5, 30 + 5), graphics::clRed);
  EXPECT_EQ(shot.Pixel(20 + 35, 30 + 5), graphics::clLime);
  EXPECT_EQ(shot.Pixel(20 + 35, 30 + 35), graphics::clWhite);

  // The transparent colour is the bottom-left pixel's unless one is set.
  image->SetTransparent(true);
  shot = Snapshot(*form);
  EXPECT_EQ(shot.Pixel(20 + 5, 30 + 35), face);
  EXPECT_EQ(shot.Pixel(20 + 35, 30 + 35), graphics::clWhite);
  TBitmap keyed = Quadrants();
  keyed.SetTransparentColor(graphics::clLime);
  image->SetPicture(keyed);
  shot = Snapshot(*form);
  EXPECT_EQ(shot.Pixel(20 + 35, 30 + 5), face);
  EXPECT_EQ(shot.Pixel(20 + 5, 30 + 35), graphics::clBlue);
}

base::Bytes SolidJpeg(int width, int height, JSAMPLE r, JSAMPLE g, JSAMPLE b) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), {r, g, b});
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  base::Bytes bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(ImagePictureTest, LoadsBmpAndJpegBytesAndRefusesOthersKeepingThePicture) {
  TImage image(nullptr);
  image.SetAutoSize(true);
  const base::Bytes bmp = graphics::WriteBmp(Quadrants());
  image.LoadPicture(bmp);
  EXPECT_EQ(image.Width(), 4);
  EXPECT_EQ(image.Picture().Pixel(3, 0), graphics::clLime);
  EXPECT_EQ(image.Picture().Pixel(0, 3), graphics::clBlue);

  image.LoadPicture(SolidJpeg(24, 16, 0x20, 0x40, 0xC0));
  ASSERT_EQ(image.Picture().Width(), 24);
  EXPECT_EQ(image.Height(), 16);
  const auto pixel = image.Picture().Pixel(12, 8);
  EXPECT_NEAR(graphics::GetRValue(pixel), 0x20, 3);
  EXPECT_NEAR(graphics::GetGValue(pixel), 0x40, 3);
  EXPECT_NEAR(graphics::GetBValue(pixel), 0xC0, 3);

  const std::string gif = "GIF89a....";
  EXPECT_THROW(image.LoadPicture(base::AsBytes(gif)), base::Error);
  EXPECT_EQ(image.Picture().Width(), 24);
}

// ---------------------------------------------------------------------------
// Message boxes

// Another thread plays the user: it waits for the box of this process,
// reads it and presses a button, while this thread is inside the box.
struct BoxReader {
  std::wstring caption, text;
  HWND owner = nullptr;
  int focused_button = 0;
  bool has_cancel = false;
  std::thread thread;

  void Answer(int button) {
    const DWORD gui_thread = GetCurrentThreadId();
    thread = std::thread([this, button, gui_thread] {
      HWND box = testing_support::WaitForDialog(GetCurrentProcessId(), 5000);
      if (!box) return;
      Sleep(100);  // the box sets its focus once shown
      caption = testing_support::WindowText(box);
      text = testing_support::MessageBoxText(box);
      owner = GetWindow(box, GW_OWNER);
      has_cancel = GetDlgItem(box, IDCANCEL) != nullptr;
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      if (GetGUIThreadInfo(gui_thread, &info)) focused_button = GetDlgCtrlID(info.hwndFocus);
      testing_support::PressButton(box, button);
    });
  }
  ~BoxReader() {
    if (thread.joinable()) thread.join();
  }
};

TEST_F(StandardControlsTest, MessageBoxShowsGbkTextsOverTheActiveWindowAndReturnsTheAnswer) {
  Show();
  BoxReader reader;
  reader.Answer(IDNO);
  const int answer = framework::MessageBox(
      Gbk(u8"安装尚未完成，确定要退出吗？"), Gbk(u8"墨柘安装"), TMsgButtons::mbYesNoCancel,
      TMsgIcon::miQuestion, TMsgDefault::mdSecond);
  reader.thread.join();
  EXPECT_EQ(answer, mrNo);
  EXPECT_EQ(reader.text, L"安装尚未完成，确定要退出吗？");
  EXPECT_EQ(reader.caption, L"墨柘安装");
  EXPECT_EQ(reader.owner, form->Handle());
  EXPECT_EQ(reader.focused_button, IDNO);
  EXPECT_TRUE(reader.has_cancel);

  BoxReader retry;
  retry.Answer(IDRETRY);
  EXPECT_EQ(framework::MessageBox("Disk full.", "Setup", TMsgButtons::mbRetryCancel), mrRetry);
}

TEST_F(StandardControlsTest, ConfirmDialogAsksYesOrNoUnderTheApplicationsTitle) {
  Application().SetTitle(Gbk(u8"VANTO-X 安装"));
  Show();
  for (int button : {IDYES, IDNO}) {
    BoxReader reader;
    reader.Answer(button);
    const bool yes = ConfirmDialog(Gbk(u8"要创建桌面快捷方式吗？"));
    reader.thread.join();
    EXPECT_EQ(yes, button == IDYES);
    EXPECT_EQ(reader.caption, L"VANTO-X 安装");
    EXPECT_EQ(reader.text, L"要创建桌面快捷方式吗？");
    EXPECT_FALSE(reader.has_cancel);
    EXPECT_EQ(reader.focused_button, IDYES);
  }
  Application().SetTitle("");
}

// ---------------------------------------------------------------------------
// Published properties

// A form whose layout binds its handlers by name.
class WizardForm : public TForm {
public:
  using TForm::TForm;
  std::vector<std::string> events;
  std::optional<TMethod> FindMethod(const std::string& name) override {
    if (name == "Changed") return BindMethod(this, &WizardForm::Changed);
    return std::nullopt;
  }
  void Changed(TComponent* sender) { events.push_back(sender->Name()); }
};

TEST(StandardControlsLayoutTest, ALayoutSetsEveryControlsPropertiesWithoutFiringEvents) {
  RegisterClasses({&TPanel::StaticClassInfo(), &TEdit::StaticClassInfo(),
                   &TPageControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(),
                   &TCheckBox::StaticClassInfo(), &TButton::StaticClassInfo(),
                   &TProgressBar::StaticClassInfo(), &TImage::StaticClassInfo()});
  Application().Initialize();
  WizardForm form(nullptr);
  TLayoutContext context;
  context.set_parent = [](TComponent& child, TComponent& parent) {
    static_cast<TControl&>(child).SetParent(dynamic_cast<TWinControl*>(&parent));
  };
  context.load_picture = [](const std::string&) -> TPropValue {
    return TPictureValue{std::any(TBitmap(3, 2))};
  };
  LoadLayoutText(form,
                 "object Wizard: TForm\n"
                 "  object Header: TPanel\n"
                 "    BevelOuter = bvLowered\n"
                 "    object Folder: TEdit\n"
                 "      Text = \"C:\\\\墨柘\"\n"
                 "      MaxLength = 255\n"
                 "      ReadOnly = true\n"
                 "      OnChange = Changed\n"
                 "    end\n"
                 "  end\n"
                 "  object Steps: TPageControl\n"
                 "    ActivePage = Step2\n"
                 "    OnChange = Changed\n"
                 "    object Step1: TTabSheet\n"
                 "      TabVisible = false\n"
                 "      OnShow = Changed\n"
                 "    end\n"
                 "    object Step2: TTabSheet\n"
                 "      TabVisible = false\n"
                 "      OnShow = Changed\n"
                 "      object Agree: TCheckBox\n"
                 "        Checked = true\n"
                 "        OnClick = Changed\n"
                 "      end\n"
                 "    end\n"
                 "  end\n"
                 "  object Progress: TProgressBar\n"
                 "    Position = 150\n"
                 "    Max = 200\n"
                 "    BarColor = clRed\n"
                 "  end\n"
                 "  object Next: TButton\n"
                 "    Default = true\n"
                 "    Cancel = false\n"
                 "    ModalResult = 6\n"
                 "  end\n"
                 "  object Logo: TImage\n"
                 "    Picture = resource(\"LOGO\")\n"
                 "    Stretch = true\n"
                 "    Transparent = true\n"
                 "  end\n"
                 "end\n",
                 context);
  EXPECT_TRUE(form.events.empty());
  auto find = [&](const char* name) { return form.FindComponent(name); };
  auto* top = dynamic_cast<TPanel*>(find("Header"));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->BevelOuter(), TPanelBevel::bvLowered);
  auto* folder = dynamic_cast<TEdit*>(find("Folder"));
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->Parent(), top);
  EXPECT_EQ(folder->Text(), Gbk(u8"C:\\墨柘"));
  EXPECT_EQ(folder->MaxLength(), 255);
  EXPECT_TRUE(folder->ReadOnly());
  auto* steps = dynamic_cast<TPageControl*>(find("Steps"));
  ASSERT_NE(steps, nullptr);
  EXPECT_EQ(steps->ActivePage(), find("Step2"));
  EXPECT_EQ(steps->DisplayRect(), steps->ClientRect());
  EXPECT_TRUE(dynamic_cast<TCheckBox*>(find("Agree"))->Checked());
  auto* progress = dynamic_cast<TProgressBar*>(find("Progress"));
  EXPECT_EQ(progress->Max(), 200);
  EXPECT_EQ(progress->Position(), 150);  // given before Max: not cut to the default 100
  EXPECT_EQ(progress->BarColor(), graphics::clRed);
  auto* next = dynamic_cast<TButton*>(find("Next"));
  EXPECT_TRUE(next->Default());
  EXPECT_EQ(next->ModalResult(), mrYes);
  auto* logo = dynamic_cast<TImage*>(find("Logo"));
  EXPECT_EQ(logo->Picture().Width(), 3);
  EXPECT_TRUE(logo->Stretch());
  EXPECT_TRUE(logo->Picture().Transparent());

  // Once loaded, the windows carry the values, and events fire.
  form.Show();
  Pump(100);
  EXPECT_EQ(WindowTextOf(folder->Handle()), L"C:\\墨柘");
  EXPECT_EQ(SendMessageW(progress->Handle(), PBM_GETPOS, 0, 0), 150);
  steps->SetActivePage(dynamic_cast<TTabSheet*>(find("Step1")));
  EXPECT_EQ(form.events, (std::vector<std::string>{"Step1"}));
}

}  // namespace
