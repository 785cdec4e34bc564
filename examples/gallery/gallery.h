#pragma once
// The skin gallery's pages. Each page puts the library's controls of one
// kind on the gallery's form, one row per theme (the five built-in themes
// and the two example skin files, found next to the executable), and can
// put every control into the state its column names through the control's
// own messages, so that a saved picture shows every state at once.
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/form.h"
#include "framework/controls/label.h"
#include "skin/sui_file_theme.h"
#include "skin/sui_themes.h"

namespace gallery {

// A row of the gallery: a built-in theme, or a skin file.
struct Theme {
  skin::TsuiUIStyle style;
  const char* name;
  const char* skin_file;  // for FromThemeFile
};
inline constexpr Theme kThemes[] = {{skin::MacOS, "MacOS", nullptr},
                                    {skin::WinXP, "WinXP", nullptr},
                                    {skin::DeepBlue, "DeepBlue", nullptr},
                                    {skin::Protein, "Protein", nullptr},
                                    {skin::BlueGlass, "BlueGlass", nullptr},
                                    {skin::FromThemeFile, "jade.skn", "jade.skn"},
                                    {skin::FromThemeFile, "ember.skn", "ember.skn"}};
inline constexpr int kRows = static_cast<int>(std::size(kThemes));

class Page {
public:
  virtual ~Page() = default;
  // Sizes the form and fills it.
  virtual void Build(framework::TForm& form) = 0;
  // Puts the controls into their columns' states (after the form shows).
  virtual void ApplyStates() {}
  // When the page is saved only, after ApplyStates, with the form on
  // screen: what must be shown for real before the picture is taken.
  virtual void BeforeSave() {}
};

std::unique_ptr<Page> MakeButtonsPage();
std::unique_ptr<Page> MakeChecksPage();
std::unique_ptr<Page> MakeMenusPage();

// The file theme of a row, owned by the form; null for a built-in theme.
// One that is not found leaves its row in DeepBlue.
skin::TsuiFileTheme* RowFileTheme(framework::TForm& form, int row);
// The row's name at (x, y), saying "(missing)" when its skin file was not found.
void RowLabel(framework::TForm& form, int row, int x, int y, const skin::TsuiFileTheme* theme);
framework::TLabel* AddLabel(framework::TForm& form, const std::string& text, int x, int y,
                            int width);

}  // namespace gallery
