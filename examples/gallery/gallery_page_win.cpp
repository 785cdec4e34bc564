#include "examples/gallery/gallery.h"

namespace gallery {

skin::TsuiFileTheme* RowFileTheme(framework::TForm& form, int row) {
  if (!kThemes[row].skin_file) return nullptr;
  // A bare file name: the theme looks for it next to the executable.
  auto* theme = new skin::TsuiFileTheme(&form);
  theme->SetThemeFile(kThemes[row].skin_file);
  return theme;
}

framework::TLabel* AddLabel(framework::TForm& form, const std::string& text, int x, int y,
                            int width) {
  auto* label = new framework::TLabel(&form);
  label->SetParent(&form);
  label->SetCaption(text);
  label->SetBounds(x, y, width, 16);
  return label;
}

void RowLabel(framework::TForm& form, int row, int x, int y, const skin::TsuiFileTheme* theme) {
  AddLabel(form, std::string(kThemes[row].name) + (theme && !theme->Ready() ? " (missing)" : ""),
           x, y, 100);
}

}  // namespace gallery
