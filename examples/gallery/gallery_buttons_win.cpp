// The buttons page: push buttons in every state, with and without a glyph,
// and the link label.
#include "examples/gallery/gallery.h"
#include "framework/controls/messages.h"
#include "skin/sui_button.h"
#include "skin/sui_url_label.h"

namespace gallery {
namespace {

using namespace framework;
using skin::TsuiButton;

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

class ButtonsPage : public Page {
public:
  void Build(TForm& form) override {
    form.SetClientSize(20 + 110 + 6 * 104, 40 + kRows * 44 + 60);
    for (int s = 0; s < 6; ++s) AddLabel(form, kStateNames[s], 130 + s * 104, 14, 90);
    for (int t = 0; t < kRows; ++t) {
      const int y = 40 + t * 44;
      skin::TsuiFileTheme* theme = RowFileTheme(form, t);
      RowLabel(form, t, 20, y + 6, theme);
      for (int s = 0; s < 6; ++s) {
        auto* b = new TsuiButton(&form);
        b->SetParent(&form);
        b->SetUIStyle(kThemes[t].style);
        if (theme) b->SetFileTheme(theme);
        b->SetBounds(130 + s * 104, y, 91, 27);
        b->SetCaption(s == 5 ? "Glyph" : "Button");
        if (s == 5) b->SetGlyph(CheckGlyph());
        buttons_.push_back({b, static_cast<State>(s)});
      }
    }
    auto* link = new skin::TsuiURLLabel(&form);
    link->SetParent(&form);
    link->SetCaption("http://www.vanto.example.com");
    link->SetURL("http://www.vanto.example.com");
    link->SetLeft(20);
    link->SetTop(40 + kRows * 44 + 16);
    auto* hover = new skin::TsuiURLLabel(&form);
    hover->SetParent(&form);
    hover->SetCaption("Link, pointer over it");
    hover->SetLeft(260);
    hover->SetTop(40 + kRows * 44 + 16);
    hover->Perform(CM_MOUSEENTER);
  }

  void ApplyStates() override {
    for (auto& [b, state] : buttons_) {
      switch (state) {
        case State::Hover:
          b->Perform(CM_MOUSEENTER);
          break;
        case State::Pressed:
          b->Perform(CM_MOUSEENTER);
          b->Perform(WM_LBUTTONDOWN_, 1, PackPoint(10, 10));
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
    // The focused state: the focus goes to the Focused button of the WinXP row.
    for (auto& [b, state] : buttons_)
      if (state == State::Focused && b->UIStyle() == skin::WinXP) b->SetFocus();
  }

private:
  std::vector<std::pair<TsuiButton*, State>> buttons_;
};

}  // namespace

std::unique_ptr<Page> MakeButtonsPage() { return std::make_unique<ButtonsPage>(); }

}  // namespace gallery
