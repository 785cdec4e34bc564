// The layout loader over a small hierarchy of fake controls: creation by
// class name, ownership by the form, the parent seam, the order in which
// properties are set and components finish loading, references resolved
// after the whole tree exists, events bound by handler name, and errors
// that name the place and leave nothing behind (ASan/LeakSanitizer).
#include "framework/core/layout_loader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "tests/host/gbk_literal.h"

namespace {

using namespace framework;
using testing_support::Gbk;

// What happened, in order, for every test.
std::vector<std::string> g_log;

constexpr TEnumName kAlignNames[] = {{"alNone", 0}, {"alTop", 1}, {"alClient", 5}};
constexpr TEnumInfo kAligns{"TAlign", kAlignNames};
constexpr TEnumName kStyleNames[] = {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}};
constexpr TEnumInfo kStyles{"TFontStyle", kStyleNames};
constexpr TEnumName kColorNames[] = {{"clWhite", 0xFFFFFF}, {"clBtnFace", 0xFF00000F}};
constexpr TEnumInfo kColors{"TColor", kColorNames};

class FakeFont : public TPersistent {
public:
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FakeFont, TPersistent>("TFakeFont")
            .Prop("Name", [](const FakeFont& f) { return f.name; },
                  [](FakeFont& f, const std::string& v) { f.name = v; })
            .SetProp("Style", kStyles, [](const FakeFont& f) { return f.style; },
                     [](FakeFont& f, std::uint8_t v) { f.style = v; })
            .Done();
    return info;
  }
  std::string name;
  std::uint8_t style = 0;
};

// Abstract: a layout cannot name it.
class FakeControl : public TComponent {
public:
  using TComponent::TComponent;
  ~FakeControl() override { g_log.push_back("~" + Name()); }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FakeControl, TComponent>("TFakeControl")
            .Prop("Left", &FakeControl::Left, &FakeControl::SetLeft)
            .Prop("Caption", &FakeControl::Caption, &FakeControl::SetCaption)
            .Prop("Visible", &FakeControl::Visible, &FakeControl::SetVisible)
            .EnumProp("Align", kAligns, &FakeControl::Align, &FakeControl::SetAlign)
            .ColorProp("Color", &FakeControl::Color, &FakeControl::SetColor, &kColors)
            .ObjectProp("Font", [](FakeControl& c) -> FakeFont& { return c.font; })
            .Prop("FocusControl", &FakeControl::FocusControl, &FakeControl::SetFocusControl)
            .Done();
    return info;
  }

  int Left() const { return left_; }
  void SetLeft(int left) {
    if (left < -10000) throw base::Error("Left is off every screen");
    left_ = left;
    Log("Left=" + std::to_string(left));
  }
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption) {
    caption_ = caption;
    Log("Caption");
  }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) {
    visible_ = visible;
    Log(visible ? "Visible=true" : "Visible=false");
  }
  int Align() const { return align_; }
  void SetAlign(int align) {
    align_ = align;
    Log("Align=" + std::to_string(align));
  }
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t color) { color_ = color; }
  FakeControl* FocusControl() const { return focus_; }
  void SetFocusControl(FakeControl* control) {
    if (focus_) RemoveFreeNotification(focus_);
    focus_ = control;
    if (focus_) FreeNotification(focus_);
    Log("FocusControl=" + (control ? control->Name() : std::string("nil")));
  }

  FakeFont font;
  TComponent* parent = nullptr;

protected:
  // Every entry says whether the component was in the loading state.
  void Log(const std::string& what) {
    g_log.push_back(Name() + "." + what + (IsLoading() ? "" : " (not loading)"));
  }
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == TOperation::Remove && component == focus_) focus_ = nullptr;
    TComponent::Notification(component, operation);
  }
  void Loaded() override {
    g_log.push_back(Name() + ":loaded" + (focus_ ? " focus=" + focus_->Name() : ""));
  }

private:
  int left_ = 0;
  std::string caption_;
  bool visible_ = true;
  int align_ = 0;
  std::uint32_t color_ = 0;
  FakeControl* focus_ = nullptr;
};

class FakePanel : public FakeControl {
public:
  using FakeControl::FakeControl;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FakePanel, FakeControl>("TFakePanel").Factory().Done();
    return info;
  }
};

class FakeButton : public FakeControl {
public:
  using FakeControl::FakeControl;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FakeButton, FakeControl>("TFakeButton")
            .Factory()
            .Event("OnClick", &FakeButton::OnClick)
            .Event("OnMouseDown", &FakeButton::OnMouseDown)
            .PictureProp("Glyph", [](const FakeButton& b) { return b.glyph; },
                         [](FakeButton& b, const std::string& g) { b.glyph = g; })
            .Prop("Lines", [](const FakeButton& b) { return b.lines; },
                  [](FakeButton& b, const std::vector<std::string>& l) { b.lines = l; })
            .Prop("Cancel", [](const FakeButton& b) { return b.cancel; },
                  [](FakeButton& b, FakeButton* c) { b.cancel = c; })
            .Done();
    return info;
  }
  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  std::string glyph;
  std::vector<std::string> lines;
  FakeButton* cancel = nullptr;  // only ever set to a sibling, so no notification is asked
};

class FakeForm : public FakeControl {
public:
  FakeForm() : FakeControl(nullptr) {}
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<FakeForm, FakeControl>("TFakeForm").Done();
    return info;
  }
  std::optional<TMethod> FindMethod(const std::string& name) override {
    if (name == "OkClick") return BindMethod(this, &FakeForm::OkClick);
    if (name == "GridMouseDown") return BindMethod(this, &FakeForm::GridMouseDown);
    return std::nullopt;
  }
  void OkClick(TComponent* sender) { clicked = sender; }
  void GridMouseDown(TComponent*, TMouseButton, TShiftState, int, int) {}
  TComponent* clicked = nullptr;
};

class FakeDialog : public FakeForm {
public:
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<FakeDialog, FakeForm>("TFakeDialog").Done();
    return info;
  }
};

class LayoutLoaderTest : public testing::Test {
protected:
  void SetUp() override {
    RegisterClasses({&FakePanel::StaticClassInfo(), &FakeButton::StaticClassInfo(),
                     &FakeDialog::StaticClassInfo()});
    g_log.clear();
    context.set_parent = [this](TComponent& child, TComponent& parent) {
      parents.push_back(child.Name() + "<" + parent.Name());
      static_cast<FakeControl&>(child).parent = &parent;
      g_log.push_back(child.Name() + ".parent" + (child.IsLoading() ? "" : " (not loading)"));
    };
    context.load_picture = [this](const std::string& name) -> TPropValue {
      pictures.push_back(name);
      if (name == "MISSING") throw base::Error("no resource MISSING");
      return TPictureValue{std::any("image of " + name)};
    };
  }

  template <typename T>
  T* Find(TComponent& root, const char* name) {
    return dynamic_cast<T*>(root.FindComponent(name));
  }

  TLayoutContext context;
  std::vector<std::string> parents;
  std::vector<std::string> pictures;
};

std::string_view U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(LayoutLoaderTest, CreatesOwnsParentsAndSetsPropertiesInOrder) {
  FakeForm form;
  LoadLayoutText(form,
                 "object Form1: TFakeForm\n"
                 "  Left = 3\n"
                 "  object Panel1: TFakePanel\n"
                 "    Align = alTop\n"
                 "    Left = 1\n"
                 "    object Ok: TFakeButton\n"
                 "      Caption = \"OK\"\n"
                 "      Left = 2\n"
                 "    end\n"
                 "  end\n"
                 "  object Cancel: TFakeButton\n"
                 "    Visible = false\n"
                 "  end\n"
                 "end\n",
                 context);
  EXPECT_EQ(form.Name(), "Form1");
  // The form owns every object, however deep in the layout.
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(form.Components(0)->Name(), "Panel1");
  EXPECT_EQ(form.Components(1)->Name(), "Ok");
  EXPECT_EQ(form.Components(2)->Name(), "Cancel");
  auto* ok = Find<FakeButton>(form, "Ok");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Owner(), &form);
  EXPECT_EQ(ok->parent, form.FindComponent("Panel1"));
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(parents, (std::vector<std::string>{"Panel1<Form1", "Ok<Panel1", "Cancel<Form1"}));
  EXPECT_EQ(g_log, (std::vector<std::string>{
                       "Form1.Left=3", "Panel1.parent", "Panel1.Align=1", "Panel1.Left=1",
                       "Ok.parent", "Ok.Caption", "Ok.Left=2", "Cancel.parent",
                       "Cancel.Visible=false", "Panel1:loaded", "Ok:loaded", "Cancel:loaded",
                       "Form1:loaded"}));
  EXPECT_FALSE(form.IsLoading());
  EXPECT_FALSE(ok->IsLoading());
}

TEST_F(LayoutLoaderTest, RootMayBeDerivedFromTheLayoutsClass) {
  FakeDialog dialog;
  LoadLayoutText(dialog, "object About: TFakeForm\n  Caption = \"x\"\nend\n", context);
  EXPECT_EQ(dialog.Name(), "About");
  EXPECT_EQ(dialog.Caption(), "x");
}

TEST_F(LayoutLoaderTest, ValuesOfEveryKind) {
  FakeForm form;
  LoadLayoutText(form, U8(u8R"(object Form1: TFakeForm
  Caption = "VANTO-X 安装向导"
  Color = clBtnFace
  Font.Name = "宋体"
  Font.Style = [fsBold, FSUNDERLINE]
  Align = alClient
  object Ok: TFakeButton
    Color = -1
    Glyph = resource("OK_BMP")
    Lines = ("one", "two" + "2")
    Cancel = Ok
  end
end
)"),
                 context);
  EXPECT_EQ(form.Caption(), Gbk(u8"VANTO-X 安装向导"));
  EXPECT_EQ(form.Color(), 0xFF00000Fu);
  EXPECT_EQ(form.font.name, Gbk(u8"宋体"));
  EXPECT_EQ(form.font.style, 0b101);
  EXPECT_EQ(form.Align(), 5);
  auto* ok = Find<FakeButton>(form, "Ok");
  EXPECT_EQ(ok->Color(), 0xFFFFFFFFu);
  EXPECT_EQ(pictures, (std::vector<std::string>{"OK_BMP"}));
  EXPECT_EQ(ok->glyph, "image of OK_BMP");
  EXPECT_EQ(ok->lines, (std::vector<std::string>{"one", "two2"}));
  EXPECT_EQ(ok->cancel, ok);
}

TEST_F(LayoutLoaderTest, ReferencesAreResolvedOnceEverythingExists) {
  FakeForm form;
  LoadLayoutText(form,
                 "object Form1: TFakeForm\n"
                 "  FocusControl = Edit2\n"  // a forward reference from the root
                 "  object Edit1: TFakeButton\n"
                 "    FocusControl = Form1\n"  // the form itself
                 "  end\n"
                 "  object Edit2: TFakeButton\n"
                 "    Left = 1\n"
                 "  end\n"
                 "end\n",
                 context);
  EXPECT_EQ(form.FocusControl(), form.FindComponent("Edit2"));
  EXPECT_EQ(Find<FakeButton>(form, "Edit1")->FocusControl(), &form);
  // Set after every other property, still while loading; Loaded sees them.
  EXPECT_EQ(g_log, (std::vector<std::string>{
                       "Edit1.parent", "Edit2.parent", "Edit2.Left=1", "Form1.FocusControl=Edit2",
                       "Edit1.FocusControl=Form1", "Edit1:loaded focus=Form1", "Edit2:loaded",
                       "Form1:loaded focus=Edit2"}));
}

TEST_F(LayoutLoaderTest, EventsAreBoundToTheFormsHandlersByName) {
  FakeForm form;
  LoadLayoutText(form,
                 "object Form1: TFakeForm\n"
                 "  object Ok: TFakeButton\n"
                 "    OnClick = OkClick\n"
                 "    OnMouseDown = GridMouseDown\n"
                 "  end\n"
                 "end\n",
                 context);
  auto* ok = Find<FakeButton>(form, "Ok");
  ASSERT_TRUE(ok->OnClick);
  EXPECT_TRUE(ok->OnMouseDown);
  ok->OnClick(ok);
  EXPECT_EQ(form.clicked, ok);
}

struct LoadErrorCase {
  std::string text;
  int line;
  int column;
  std::string detail;
};

void PrintTo(const LoadErrorCase& c, std::ostream* os) { *os << c.detail; }

class LayoutLoaderErrorTest : public LayoutLoaderTest,
                              public testing::WithParamInterface<LoadErrorCase> {};

// Every failure names its place, frees whatever the load made (their
// destructors log "~Name"), takes the form out of the loading state and
// lets nothing finish loading.
TEST_P(LayoutLoaderErrorTest, ReportsWhereAndLeavesNothingBehind) {
  const LoadErrorCase& c = GetParam();
  FakeForm form;
  try {
    LoadLayoutText(form, c.text, context);
    FAIL() << "no error";
  } catch (const TLayoutError& e) {
    EXPECT_EQ(e.Detail(), c.detail);
    EXPECT_EQ(e.Position(), (TLayoutPosition{c.line, c.column})) << c.detail;
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_FALSE(form.IsLoading());
  EXPECT_EQ(form.FocusControl(), nullptr);
  for (const std::string& entry : g_log) EXPECT_EQ(entry.find(":loaded"), std::string::npos);
}

// "object Form1: TFakeForm" + children + lines of the form's own properties.
std::string Form(const std::string& own, const std::string& children = "") {
  return "object Form1: TFakeForm\n" + own + children + "end\n";
}
const std::string kOkButton = "  object Ok: TFakeButton\n  end\n";

INSTANTIATE_TEST_SUITE_P(
    Errors, LayoutLoaderErrorTest,
    testing::Values(
        LoadErrorCase{"object Form1: TFakeDialog\nend\n", 1, 15,
                      "the form is a TFakeForm, which is no TFakeDialog"},
        LoadErrorCase{Form("", "  object A: TNoSuchClass\n  end\n"), 2, 13,
                      "unknown class TNoSuchClass"},
        LoadErrorCase{Form("", "  object A: TFakeControl\n  end\n"), 2, 13,
                      "class TFakeControl is abstract and cannot be created"},
        LoadErrorCase{Form("", kOkButton + "  object OK: TFakePanel\n  end\n"), 4, 10,
                      "a component named OK is already there (line 2)"},
        LoadErrorCase{Form("", "  object form1: TFakePanel\n  end\n"), 2, 10,
                      "form1 is the name of the form itself"},
        LoadErrorCase{Form("  Heigth = 1\n"), 2, 3, "TFakeForm has no property Heigth"},
        LoadErrorCase{Form("  Font.Heigth = 1\n"), 2, 8, "TFakeFont has no property Heigth"},
        LoadErrorCase{Form("  Left.Top = 1\n"), 2, 3,
                      "property Left of TFakeForm has no properties of its own"},
        LoadErrorCase{Form("  Left = \"1\"\n"), 2, 10, "property Left takes an integer"},
        LoadErrorCase{Form("  Left = 2147483648\n"), 2, 10,
                      "2147483648 is out of range for property Left"},
        LoadErrorCase{Form("  Left = -20000\n"), 2, 10, "Left is off every screen"},
        LoadErrorCase{Form("  Visible = 1\n"), 2, 13, "property Visible takes true or false"},
        LoadErrorCase{Form("  Caption = Ok\n"), 2, 13, "property Caption takes a string"},
        LoadErrorCase{Form("  Align = alBottom\n"), 2, 11,
                      "alBottom is not a value of TAlign (alNone, alTop, alClient)"},
        LoadErrorCase{Form("  Align = 1\n"), 2, 11, "property Align takes a value of TAlign"},
        LoadErrorCase{Form("  Font.Style = [fsBold, fsHeavy]\n"), 2, 25,
                      "fsHeavy is not an element of TFontStyle (fsBold, fsItalic, fsUnderline)"},
        LoadErrorCase{Form("  Color = clPink\n"), 2, 11,
                      "clPink is not a colour of TColor (clWhite, clBtnFace)"},
        LoadErrorCase{Form("  Color = 0x100000000\n"), 2, 11, "4294967296 is no 32-bit colour"},
        LoadErrorCase{Form("  Font = \"Arial\"\n"), 2, 10,
                      "property Font is a TFakeFont: set its own properties (Font.Name = ...)"},
        LoadErrorCase{Form("  FocusControl = \"Ok\"\n", kOkButton), 2, 18,
                      "property FocusControl takes a component name (a TFakeControl)"},
        LoadErrorCase{Form("  FocusControl = Nobody\n", kOkButton), 2, 18,
                      "unknown component Nobody"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    Cancel = Panel1\n  end\n"
                               "  object Panel1: TFakePanel\n  end\n"),
                      3, 14, "property Cancel takes a TFakeButton; Panel1 is a TFakePanel"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    OnClick = Missing\n  end\n"), 3, 15,
                      "the form has no handler Missing (for OnClick)"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    OnClick = GridMouseDown\n  end\n"),
                      3, 15, "handler GridMouseDown does not fit OnClick, a TNotifyEvent"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    OnClick = \"OkClick\"\n  end\n"), 3,
                      15, "property OnClick takes a handler name (a TNotifyEvent)"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    Glyph = resource(\"MISSING\")\n"
                               "  end\n"),
                      3, 13, "no resource MISSING"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    Glyph = \"OK_BMP\"\n  end\n"), 3, 13,
                      "property Glyph takes a picture"},
        LoadErrorCase{Form("", "  object Ok: TFakeButton\n    Lines = \"one\"\n  end\n"), 3, 13,
                      "property Lines takes a list of strings"},
        // Fails after the form already refers to Ok: Ok's removal clears it.
        LoadErrorCase{Form("  FocusControl = Ok\n",
                           "  object Ok: TFakeButton\n    FocusControl = Nobody\n  end\n"),
                      4, 20, "unknown component Nobody"},
        LoadErrorCase{Form("", kOkButton + "  object Two: TFakePanel\n"
                                           "    object Three: TFakeButton\n"
                                           "      Left = -20000\n    end\n  end\n"),
                      6, 14, "Left is off every screen"}));

TEST_F(LayoutLoaderTest, AFailedLoadFreesInReverseOrderAndKeepsOlderComponents) {
  FakeForm form;
  auto* existing = new FakeButton(&form);
  existing->SetName("Existing");
  g_log.clear();
  EXPECT_THROW(LoadLayoutText(form,
                              "object Form1: TFakeForm\n"
                              "  object A: TFakePanel\n"
                              "    object B: TFakeButton\n"
                              "    end\n"
                              "  end\n"
                              "  object C: TFakeButton\n"
                              "    FocusControl = Existing\n"
                              "    OnClick = Nothing\n"
                              "  end\n"
                              "end\n",
                              context),
               TLayoutError);
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), existing);
  std::vector<std::string> freed;
  for (const auto& entry : g_log) {
    if (entry[0] == '~') freed.push_back(entry);
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"~C", "~B", "~A"}));
  // The same names again, now correctly: the failed load left no trace
  // that would clash.
  EXPECT_NO_THROW(LoadLayoutText(form,
                                 "object Form1: TFakeForm\n"
                                 "  object A: TFakePanel\n"
                                 "    FocusControl = Existing\n"
                                 "  end\n"
                                 "end\n",
                                 context));
  EXPECT_EQ(Find<FakePanel>(form, "A")->FocusControl(), existing);
}

TEST_F(LayoutLoaderTest, ANameTakenByAnOlderComponentIsAClash) {
  FakeForm form;
  (new FakeButton(&form))->SetName("Ok");
  try {
    LoadLayoutText(form, Form("", kOkButton), context);
    FAIL() << "no error";
  } catch (const TLayoutError& e) {
    EXPECT_EQ(std::string(e.what()),
              "line 2, column 10: the form already has a component named Ok");
  }
  EXPECT_EQ(form.ComponentCount(), 1);
}

TEST_F(LayoutLoaderTest, PicturesNeedALoader) {
  FakeForm form;
  context.load_picture = nullptr;
  try {
    LoadLayoutText(form, Form("", "  object Ok: TFakeButton\n    Glyph = resource(\"A\")\n  end\n"),
                   context);
    FAIL() << "no error";
  } catch (const TLayoutError& e) {
    EXPECT_EQ(e.Detail(), "pictures cannot be loaded here");
  }
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(LayoutLoaderTest, ParseErrorsComeOutOfLoadLayoutTextUnchanged) {
  FakeForm form;
  try {
    LoadLayoutText(form, "object Form1: TFakeForm\n  Left 1\nend\n", context);
    FAIL() << "no error";
  } catch (const TLayoutError& e) {
    EXPECT_EQ(std::string(e.what()), "line 2, column 8: expected '=' after property name");
  }
  EXPECT_EQ(form.Name(), "");
}

}  // namespace
