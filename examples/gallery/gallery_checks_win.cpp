// The check box page: check boxes and radio buttons in every state the
// user sees (they have no hot or pressed look of their own, and a grayed
// state reads as unchecked), and per theme a radio group and a check group
// in a group box's frame.
#include "examples/gallery/gallery.h"
#include "skin/sui_check_box.h"
#include "skin/sui_radio_group.h"

namespace gallery {
namespace {

using namespace framework;

enum class State { Unchecked, Checked, Disabled, DisabledChecked, Focused };
constexpr const char* kCheckColumns[] = {"Unchecked", "Checked", "Disabled", "Disabled, checked",
                                         "Focused"};
constexpr const char* kRadioColumns[] = {"Radio", "Selected", "Disabled, selected"};
constexpr int kColumn = 112;
constexpr int kRowHeight = 92;

template <typename T>
T* Place(TForm& form, int row, skin::TsuiFileTheme* theme, int x, int y) {
  auto* c = new T(&form);
  c->SetParent(&form);
  c->SetUIStyle(kThemes[row].style);
  if (theme) c->SetFileTheme(theme);
  c->SetLeft(x);
  c->SetTop(y);
  return c;
}

class ChecksPage : public Page {
public:
  void Build(TForm& form) override {
    form.SetClientSize(20 + 110 + 5 * kColumn + 3 * kColumn, 40 + kRows * kRowHeight);
    for (int s = 0; s < 5; ++s) AddLabel(form, kCheckColumns[s], 130 + s * kColumn, 14, 106);
    for (int s = 0; s < 3; ++s)
      AddLabel(form, kRadioColumns[s], 130 + (5 + s) * kColumn, 14, 106);
    for (int t = 0; t < kRows; ++t) {
      const int y = 40 + t * kRowHeight;
      skin::TsuiFileTheme* theme = RowFileTheme(form, t);
      RowLabel(form, t, 20, y + 2, theme);
      for (int s = 0; s < 5; ++s) {
        auto* box = Place<skin::TsuiCheckBox>(form, t, theme, 130 + s * kColumn, y);
        box->SetCaption(s == 4 ? "&Focus" : "Check box");
        boxes_.push_back({box, static_cast<State>(s)});
      }
      for (int s = 0; s < 3; ++s) {
        auto* radio = Place<skin::TsuiRadioButton>(form, t, theme, 130 + (5 + s) * kColumn, y);
        radio->SetCaption("Radio");
        radio->SetGroupIndex(t * 3 + s);  // each its own group: their states stay apart
        radios_.push_back({radio, s});
      }
      // A group box with a radio group and a check group on the second line.
      auto* radios = Place<skin::TsuiRadioGroup>(form, t, theme, 130, y + 24);
      radios->SetBounds(130, y + 24, 2 * kColumn - 8, 62);
      radios->SetGroupCaption("Radio group");
      radios->SetColumns(2);
      radios->SetTopMargin(2);
      radios->SetItems({"First", "Second", "Third"});
      radios->SetItemIndex(1);
      auto* checks = Place<skin::TsuiCheckGroup>(form, t, theme, 130 + 2 * kColumn, y + 24);
      checks->SetBounds(130 + 2 * kColumn, y + 24, 3 * kColumn - 8, 62);
      checks->SetGroupCaption("Check group");
      checks->SetColumns(3);
      checks->SetTopMargin(2);
      checks->SetItems({"One", "Two", "Three", "Four", "Five"});
      checks->Buttons(0)->SetChecked(true);
      checks->Buttons(3)->SetChecked(true);
      checks->Buttons(4)->SetEnabled(false);
      auto* frame = Place<skin::TsuiCustomGroupBox>(form, t, theme, 130 + 5 * kColumn, y + 24);
      frame->SetBounds(130 + 5 * kColumn, y + 24, 3 * kColumn - 8, 62);
      frame->SetGroupCaption("Group box");
    }
  }

  void ApplyStates() override {
    for (auto& [box, state] : boxes_) {
      box->SetChecked(state == State::Checked || state == State::DisabledChecked);
      if (state == State::Disabled || state == State::DisabledChecked) box->SetEnabled(false);
    }
    for (auto& [radio, column] : radios_) {
      radio->SetChecked(column >= 1);
      if (column == 2) radio->SetEnabled(false);
    }
    // The focused state: the focus goes to the Focused box of the WinXP row.
    for (auto& [box, state] : boxes_)
      if (state == State::Focused && box->UIStyle() == skin::WinXP) box->SetFocus();
  }

private:
  std::vector<std::pair<skin::TsuiCheckBox*, State>> boxes_;
  std::vector<std::pair<skin::TsuiRadioButton*, int>> radios_;
};

}  // namespace

std::unique_ptr<Page> MakeChecksPage() { return std::make_unique<ChecksPage>(); }

}  // namespace gallery
