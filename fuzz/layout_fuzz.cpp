// Parses arbitrary text as a layout and loads what parses into a small form
// whose classes have a property of every kind. The invariants: nothing but
// TLayoutError comes out of either step; every position is inside the
// text; a load that fails leaves the form with no components and out of the
// loading state; a load that succeeds leaves every component loaded and
// every reference pointing at a live component (ASan and LeakSanitizer
// watch the rest, including the form's destruction).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/core/component.h"
#include "framework/core/layout_loader.h"
#include "framework/core/layout_parser.h"

namespace {

using namespace framework;

constexpr TEnumName kAlignNames[] = {{"alNone", 0}, {"alTop", 1}, {"alClient", 2}};
constexpr TEnumInfo kAligns{"TAlign", kAlignNames};
constexpr TEnumName kStyleNames[] = {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 3}};
constexpr TEnumInfo kStyles{"TFontStyle", kStyleNames};
constexpr TEnumName kColorNames[] = {{"clBlack", 0}, {"clBtnFace", 0xFF00000F}};
constexpr TEnumInfo kColors{"TColor", kColorNames};

class FuzzFont : public TPersistent {
public:
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FuzzFont, TPersistent>("TFuzzFont")
            .Prop("Name", &FuzzFont::Name, &FuzzFont::SetName)
            .SetProp("Style", kStyles, &FuzzFont::Style, &FuzzFont::SetStyle)
            .Done();
    return info;
  }
  std::string Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  std::uint8_t Style() const { return style_; }
  void SetStyle(std::uint8_t style) { style_ = style; }

private:
  std::string name_;
  std::uint8_t style_ = 0;
};

class FuzzControl : public TComponent {
public:
  explicit FuzzControl(TComponent* owner) : TComponent(owner) {}
  ~FuzzControl() override { SetBuddy(nullptr); }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FuzzControl, TComponent>("TFuzzControl")
            .Factory()
            .Prop("Left", &FuzzControl::Left, &FuzzControl::SetLeft)
            .Prop("Visible", &FuzzControl::Visible, &FuzzControl::SetVisible)
            .Prop("Caption", &FuzzControl::Caption, &FuzzControl::SetCaption)
            .Prop("Lines", &FuzzControl::Lines, &FuzzControl::SetLines)
            .Prop("Buddy", &FuzzControl::Buddy, &FuzzControl::SetBuddy)
            .EnumProp("Align", kAligns, &FuzzControl::Align, &FuzzControl::SetAlign)
            .ColorProp("Color", &FuzzControl::Color, &FuzzControl::SetColor, &kColors)
            .ObjectProp("Font", [](FuzzControl& c) -> FuzzFont& { return c.font_; })
            .PictureProp("Glyph", &FuzzControl::Glyph, &FuzzControl::SetGlyph)
            .Event("OnClick", &FuzzControl::OnClick)
            .Done();
    return info;
  }
  int Left() const { return left_; }
  void SetLeft(int left) { left_ = left; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  std::vector<std::string> Lines() const { return lines_; }
  void SetLines(const std::vector<std::string>& lines) { lines_ = lines; }
  FuzzControl* Buddy() const { return buddy_; }
  void SetBuddy(FuzzControl* buddy) {
    if (buddy_) RemoveFreeNotification(buddy_);
    buddy_ = buddy;
    if (buddy_) FreeNotification(buddy_);
  }
  int Align() const { return align_; }
  void SetAlign(int align) { align_ = align; }
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t color) { color_ = color; }
  std::string Glyph() const { return glyph_; }
  void SetGlyph(const std::string& glyph) { glyph_ = glyph; }
  TNotifyEvent OnClick;

protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == TOperation::Remove && component == buddy_) buddy_ = nullptr;
    TComponent::Notification(component, operation);
  }

private:
  int left_ = 0;
  bool visible_ = true;
  std::string caption_;
  std::vector<std::string> lines_;
  FuzzControl* buddy_ = nullptr;
  int align_ = 0;
  std::uint32_t color_ = 0;
  std::string glyph_;
  FuzzFont font_;
};

class FuzzForm : public FuzzControl {
public:
  FuzzForm() : FuzzControl(nullptr) {}
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FuzzForm, FuzzControl>("TFuzzForm").Done();
    return info;
  }
  std::optional<TMethod> FindMethod(const std::string& name) override {
    if (name == "Click") return BindMethod(this, &FuzzForm::Click);
    if (name == "Mouse") return BindMethod(this, &FuzzForm::Mouse);
    return std::nullopt;
  }

private:
  void Click(TComponent*) {}
  void Mouse(TComponent*, TMouseButton, TShiftState, int, int) {}
};

void CheckPosition(TLayoutPosition p, int lines) {
  if (p.line < 1 || p.line > lines || p.column < 1) __builtin_trap();
}

void CheckTree(const TLayoutObject& obj, int lines) {
  CheckPosition(obj.position, lines);
  CheckPosition(obj.name_position, lines);
  CheckPosition(obj.class_position, lines);
  for (const auto& prop : obj.properties) CheckPosition(prop.position, lines);
  for (const auto& child : obj.children) CheckTree(child, lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  int lines = 1;
  for (char c : text) lines += c == '\n';
  RegisterClasses({&FuzzControl::StaticClassInfo(), &FuzzForm::StaticClassInfo()});

  TLayoutObject tree;
  try {
    tree = ParseLayout(text);
  } catch (const TLayoutError& e) {
    CheckPosition(e.Position(), lines);
    return 0;
  }
  CheckTree(tree, lines);

  TLayoutContext context;
  context.set_parent = [](TComponent&, TComponent&) {};
  context.load_picture = [](const std::string& name) -> TPropValue {
    if (name.empty()) throw base::Error("no such picture");
    return TPictureValue{std::any(name)};
  };
  auto form = std::make_unique<FuzzForm>();
  try {
    LoadLayout(*form, tree, context);
  } catch (const TLayoutError& e) {
    CheckPosition(e.Position(), lines);
    if (form->ComponentCount() != 0 || form->IsLoading()) __builtin_trap();
    return 0;
  }
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* c = static_cast<FuzzControl*>(form->Components(i));
    if (c->IsLoading()) __builtin_trap();
    if (c->Buddy()) (void)c->Buddy()->Name();
  }
  return 0;
}
