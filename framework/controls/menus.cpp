#include "framework/controls/menus.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "base/error.h"
#include "framework/graphics/text_renderer.h"

namespace framework {

namespace {

// ---------------------------------------------------------------------------
// Command numbers. The native menu reports a 16-bit number; 0 means
// "nothing chosen", so it is never handed out. Numbers of freed items are
// reused only after the counter has gone all the way round.

std::unordered_set<std::uint16_t>& UsedCommands() {
  static std::unordered_set<std::uint16_t> used;
  return used;
}

std::uint16_t AllocateCommand() {
  static std::uint16_t next = 0;
  auto& used = UsedCommands();
  if (used.size() >= 0xFFFF) throw base::Error("Too many menu items");
  do {
    ++next;
  } while (next == 0 || used.count(next));
  used.insert(next);
  return next;
}

// ---------------------------------------------------------------------------
// Shortcut texts: the names the toolkit has always shown, independent of
// the keyboard layout (so no system call is needed to spell them).

const char* KeyName(std::uint8_t key) {
  switch (key) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "PgUp";
    case 0x22: return "PgDn";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    case 0x6A: return "Num *";
    case 0x6B: return "Num +";
    case 0x6D: return "Num -";
    case 0x6E: return "Num .";
    case 0x6F: return "Num /";
    default: return nullptr;
  }
}

std::string KeyText(std::uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= 0x60 && key <= 0x69) return "Num " + std::to_string(key - 0x60);  // VK_NUMPAD0..9
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);  // VK_F1..F24
  if (const char* name = KeyName(key)) return name;
  return {};
}

constexpr TColor kMenuColor = graphics::kSystemColorFlag | 4;      // COLOR_MENU
constexpr TColor kMenuTextColor = graphics::kSystemColorFlag | 7;  // COLOR_MENUTEXT

constexpr TEnumName kBiDiModeNames[] = {
    {"bdLeftToRight", TBiDiMode::bdLeftToRight},
    {"bdRightToLeft", TBiDiMode::bdRightToLeft},
    {"bdRightToLeftNoAlign", TBiDiMode::bdRightToLeftNoAlign},
    {"bdRightToLeftReadingOnly", TBiDiMode::bdRightToLeftReadingOnly}};
constexpr TEnumInfo kBiDiModes{"TBiDiMode", kBiDiModeNames};

}  // namespace

std::string ShortCutToText(TShortCut shortcut) {
  std::string key = KeyText(static_cast<std::uint8_t>(shortcut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortcut & scShift) text += "Shift+";
  if (shortcut & scCtrl) text += "Ctrl+";
  if (shortcut & scAlt) text += "Alt+";
  return text + key;
}

std::string StripHotkey(std::string_view caption) {
  std::string out;
  out.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(caption[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < caption.size()) {
      // A GBK pair: its trail byte may be 0x26 and is no '&'.
      out += caption.substr(i, 2);
      ++i;
      continue;
    }
    if (c == '&') {
      if (i + 1 < caption.size()) out += caption[++i];
      continue;
    }
    out += static_cast<char>(c);
  }
  return out;
}

char HotkeyOf(std::string_view caption) {
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(caption[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;
      continue;
    }
    if (c != '&' || i + 1 >= caption.size()) continue;
    const char next = caption[i + 1];
    if (next == '&') {
      ++i;
      continue;
    }
    return (next >= 'a' && next <= 'z') ? static_cast<char>(next - 'a' + 'A') : next;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(nullptr), command_(AllocateCommand()) {
  if (owner) ChangeOwner(owner);
}

TMenuItem::~TMenuItem() {
  UsedCommands().erase(command_);
  if (parent_) parent_->Remove(this);
  // Sub-items still held go with their parent; each leaves its owner's
  // list on the way.
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    TComponent::Free(child);
  }
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  const bool line_changed = (caption == "-") != IsLine();
  caption_ = caption;
  Changed(line_changed);
}

void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(false);
}

void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(false);
}

void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Changed(false);
}

void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed(true);
}

void TMenuItem::SetImageIndex(int v) {
  if (v == image_index_) return;
  image_index_ = v;
  Changed(false);
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (v == shortcut_) return;
  shortcut_ = v;
  Changed(false);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_) throw base::Error("Menu item " + item->Name() + " is already in a menu");
  for (const TMenuItem* p = this; p; p = p->parent_) {
    if (p == item) throw base::Error("Menu item " + item->Name() + " cannot hold itself");
  }
  if (index < 0 || index > Count()) throw base::Error("Menu index out of bounds");
  Adopt(index, item);
}

void TMenuItem::Adopt(int index, TMenuItem* item) {
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (TMenu* menu = GetParentMenu()) menu->ItemAdded(item);
  Changed(true);
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw base::Error("Menu index out of bounds");
  TMenuItem* item = items_[static_cast<std::size_t>(index)];
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::Changed(bool structure) {
  TMenu* menu = GetParentMenu();
  if (!menu) return;
  menu->MenuChanged(menu->Items() == this ? nullptr : this, structure);
}

void TMenuItem::MeasureItem(graphics::TCanvas& canvas, int& width, int& height) {
  if (OnMeasureItem) {
    OnMeasureItem(this, canvas, width, height);
  } else {
    DefaultMeasureMenuItem(*this, canvas, width, height);
  }
}

void TMenuItem::DrawItem(graphics::TCanvas& canvas, const graphics::TRect& rect, bool selected) {
  if (OnDrawItem) {
    OnDrawItem(this, canvas, rect, selected);
  } else {
    DefaultDrawMenuItem(*this, canvas, rect, selected);
  }
}

// ---------------------------------------------------------------------------
// The plain look

void DefaultMeasureMenuItem(const TMenuItem& item, graphics::TCanvas& canvas, int& width,
                            int& height) {
  if (item.IsLine()) {
    height = 8;
    width = 16;
    return;
  }
  const std::string shortcut = ShortCutToText(item.ShortCut());
  const graphics::TSize text = canvas.TextExtent(StripHotkey(item.Caption()));
  // Room for a check mark on the left and a submenu arrow on the right.
  width = 18 + text.cx + (shortcut.empty() ? 0 : 16 + canvas.TextWidth(shortcut)) + 18;
  height = std::max(text.cy + 6, 18);
}

void DefaultDrawMenuItem(const TMenuItem& item, graphics::TCanvas& canvas,
                         const graphics::TRect& rect, bool selected) {
  const bool hot = selected && item.Enabled() && !item.IsLine();
  canvas.Brush.Style = graphics::TBrushStyle::Solid;
  canvas.Brush.Color = hot ? graphics::clHighlight : kMenuColor;
  canvas.FillRect(rect);
  if (item.IsLine()) {
    const int y = rect.Top + rect.Height() / 2;
    canvas.Pen.Color = graphics::clBtnShadow;
    canvas.MoveTo(rect.Left + 2, y);
    canvas.LineTo(rect.Right - 2, y);
    return;
  }
  const TColor ink = !item.Enabled() ? graphics::clGrayText
                     : hot           ? graphics::clHighlightText
                                     : kMenuTextColor;
  if (item.Checked()) {
    // A tick of two strokes in the check column.
    canvas.Pen.Color = ink;
    const int x = rect.Left + 4, y = rect.Top + rect.Height() / 2;
    canvas.MoveTo(x, y);
    canvas.LineTo(x + 3, y + 3);
    canvas.LineTo(x + 10, y - 4);
  }
  canvas.Font.Color = ink;
  if (item.Default()) canvas.Font.Style |= graphics::fsBold;
  graphics::TRect text = rect;
  text.Left += 18;
  canvas.DrawText(item.Caption(), text, graphics::dt::SingleLine | graphics::dt::VCenter);
  const std::string shortcut = ShortCutToText(item.ShortCut());
  if (!shortcut.empty()) {
    graphics::TRect r = rect;
    r.Right -= 18;
    canvas.DrawText(shortcut, r,
                    graphics::dt::SingleLine | graphics::dt::VCenter | graphics::dt::Right |
                        graphics::dt::NoPrefix);
  }
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  // The items go now, while the menu is still a menu: their leaving would
  // otherwise report changes to an object whose destructor has run.
  items_->menu_ = nullptr;
  OnWindowChange = nullptr;
  TComponent::Free(items_);
}

void TMenu::SetImages(TImageListComponent* images) {
  if (images == images_.get()) return;
  images_.Set(images);
  MenuChanged(nullptr, false);
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == owner_draw_) return;
  owner_draw_ = v;
  MenuChanged(nullptr, true);
}

void TMenu::SetBiDiMode(TBiDiMode v) {
  if (v == bidi_mode_) return;
  bidi_mode_ = v;
  MenuChanged(nullptr, true);
}

TMenuItem* TMenu::FindItem(std::uint16_t command) const {
  std::vector<TMenuItem*> todo{items_};
  while (!todo.empty()) {
    TMenuItem* item = todo.back();
    todo.pop_back();
    if (item != items_ && item->Command() == command) return item;
    for (int i = 0; i < item->Count(); ++i) todo.push_back(item->Items(i));
  }
  return nullptr;
}

TMenuItem* TMenu::FindShortCut(TShortCut shortcut) const {
  if (shortcut == scNone) return nullptr;
  // In menu order, depth first; a hidden or disabled item or one under a
  // hidden or disabled parent cannot be chosen, so its shortcut is no
  // shortcut either.
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
    for (int i = 0; i < parent->Count(); ++i) {
      TMenuItem* item = parent->Items(i);
      if (!item->Visible() || !item->Enabled()) continue;
      if (item->ShortCut() == shortcut) return item;
      if (TMenuItem* found = find(item)) return found;
    }
    return nullptr;
  };
  return find(items_);
}

bool TMenu::Contains(const TMenuItem* item) const {
  return item && item != items_ && item->GetParentMenu() == this;
}

void TMenu::MenuChanged(TMenuItem*, bool structure) {
  if (IsLoading() || IsDestroying()) return;
  if (Owner() && Owner()->IsDestroying()) return;
  if (OnWindowChange) OnWindowChange(structure);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (images_.Released(component, operation)) MenuChanged(nullptr, false);
}

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged(nullptr, true);
}

bool TMenuItem::SetParentComponent(TComponent& parent) {
  if (auto* menu = dynamic_cast<TMenu*>(&parent)) {
    menu->Items()->Add(this);
    return true;
  }
  if (auto* parent_item = dynamic_cast<TMenuItem*>(&parent)) {
    parent_item->Add(this);
    return true;
  }
  return false;
}

bool SetMenuParent(TComponent& child, TComponent& parent) {
  auto* item = dynamic_cast<TMenuItem*>(&child);
  return item && item->SetParentComponent(parent);
}

// ---------------------------------------------------------------------------
// Published properties

const TClassInfo& TImageListComponent::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TImageListComponent::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TImageListComponent, TComponent>("TImageList")
          .Factory()
          .Prop("Width", &TImageListComponent::Width, &TImageListComponent::SetWidth)
          .Prop("Height", &TImageListComponent::Height, &TImageListComponent::SetHeight)
          .Done();
  return info;
}

const TClassInfo& TMenuItem::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TMenuItem, TComponent>("TMenuItem")
          .Factory()
          .Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
          .Prop("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
          .Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
          .Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
          .Prop("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
          .Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
          .Event("OnClick", &TMenuItem::OnClick)
          .Event("OnDrawItem", &TMenuItem::OnDrawItem)
          .Event("OnMeasureItem", &TMenuItem::OnMeasureItem)
          .Done();
  return info;
}

const TClassInfo& TMenu::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TMenu, TComponent>("TMenu")
          .EnumProp("BiDiMode", kBiDiModes, &TMenu::BiDiMode, &TMenu::SetBiDiMode)
          .Prop("Images", &TMenu::Images,
                [](TMenu& m, TImageListComponent* images) { m.SetImages(images); })
          .Prop("OwnerDraw", [](const TMenu& m) { return m.OwnerDraw(); },
                [](TMenu& m, bool v) { m.SetOwnerDraw(v); })
          .Done();
  return info;
}

const TClassInfo& TMainMenu::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo& info =
      TClassInfo::Define<TMainMenu, TMenu>("TMainMenu").Factory().Done();
  return info;
}

const TClassInfo& TPopupMenu::ClassInfo() const { return StaticClassInfo(); }
const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo& info = TClassInfo::Define<TPopupMenu, TMenu>("TPopupMenu")
                                      .Factory()
                                      .Event("OnPopup", &TPopupMenu::OnPopup)
                                      .Done();
  return info;
}

}  // namespace framework
