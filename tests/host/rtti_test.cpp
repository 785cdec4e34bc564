// Published properties: class descriptions and the registry, lookup up the
// inheritance chain, and setting and getting by name through the classes'
// own accessors, with every kind's conversions and refusals.
#include "framework/core/rtti.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "framework/core/component.h"

namespace {

using namespace framework;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop };
constexpr TEnumName kLayoutNames[] = {{"blGlyphLeft", TButtonLayout::blGlyphLeft},
                                      {"blGlyphRight", TButtonLayout::blGlyphRight},
                                      {"blGlyphTop", TButtonLayout::blGlyphTop}};
constexpr TEnumInfo kLayouts{"TButtonLayout", kLayoutNames};
// Element values need not be dense: fsStrikeOut is bit 3.
constexpr TEnumName kStyleNames[] = {{"fsBold", 0}, {"fsItalic", 1}, {"fsStrikeOut", 3}};
constexpr TEnumInfo kStyles{"TFontStyle", kStyleNames};

class TestFont : public TPersistent {
public:
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<TestFont, TPersistent>("TTestFont")
                                        .Prop("Height", &TestFont::Height, &TestFont::SetHeight)
                                        .SetProp("Style", kStyles, &TestFont::Style,
                                                 &TestFont::SetStyle)
                                        .Done();
    return info;
  }
  int Height() const { return height; }
  void SetHeight(int h) { height = h; }
  std::uint8_t Style() const { return style; }
  void SetStyle(std::uint8_t s) { style = s; }
  int height = 12;
  std::uint8_t style = 0;
};

// Abstract: described without a factory.
class Shape : public TComponent {
public:
  using TComponent::TComponent;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<Shape, TComponent>("TShape")
                                        .Prop("Width", &Shape::Width, &Shape::SetWidth)
                                        .Prop("Caption", &Shape::Caption, &Shape::SetCaption)
                                        .Prop("Visible", &Shape::Visible, &Shape::SetVisible)
                                        .Done();
    return info;
  }
  int Width() const { return width_; }
  // Clamps, so a test can tell that the setter ran.
  void SetWidth(int w) {
    width_ = w < 0 ? 0 : w;
    ++width_sets;
  }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c) { caption_ = c; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  int width_sets = 0;

private:
  int width_ = 0;
  std::string caption_;
  bool visible_ = true;
};

class Box : public Shape {
public:
  using Shape::Shape;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<Box, Shape>("TBox")
            .Factory()
            .EnumProp("Layout", kLayouts, &Box::Layout, &Box::SetLayout)
            .ColorProp("Color", &Box::Color, &Box::SetColor)
            .ObjectProp("Font", [](Box& b) -> TestFont& { return b.font; })
            .Prop("Partner", &Box::Partner, &Box::SetPartner)  // refers to its own class
            .Prop("Lines", &Box::Lines, &Box::SetLines)
            .Prop("Small", &Box::Small, &Box::SetSmall)
            .PictureProp("Glyph", &Box::Glyph, &Box::SetGlyph)
            .Event("OnClick", &Box::OnClick)
            .Event("OnMouseDown", &Box::OnMouseDown)
            .Prop("Caption", &Box::Caption, &Box::SetBoxCaption)  // declared again
            .Prop("Area", &Box::Area, nullptr)
            .Done();
    return info;
  }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l) { layout_ = l; }
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t c) { color_ = c; }
  Box* Partner() const { return partner_; }
  void SetPartner(Box* p) { partner_ = p; }
  std::vector<std::string> Lines() const { return lines_; }
  void SetLines(const std::vector<std::string>& l) { lines_ = l; }
  short Small() const { return small_; }
  void SetSmall(short s) { small_ = s; }
  std::shared_ptr<int> Glyph() const { return glyph_; }
  void SetGlyph(std::shared_ptr<int> g) { glyph_ = std::move(g); }
  void SetBoxCaption(const std::string& c) { SetCaption("[" + c + "]"); }
  int Area() const { return Width() * 2; }

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TestFont font;

private:
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  std::uint32_t color_ = 0;
  Box* partner_ = nullptr;
  std::vector<std::string> lines_;
  short small_ = 0;
  std::shared_ptr<int> glyph_;
};

class Other : public TComponent {
public:
  using TComponent::TComponent;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<Other, TComponent>("TOther").Done();
    return info;
  }
};

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const base::Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ClassInfoTest, ChainAndInheritance) {
  const TClassInfo& box = Box::StaticClassInfo();
  EXPECT_EQ(box.ClassName(), "TBox");
  ASSERT_EQ(box.Parent(), &Shape::StaticClassInfo());
  EXPECT_EQ(box.Parent()->Parent(), &TComponent::StaticClassInfo());
  EXPECT_EQ(box.Parent()->Parent()->Parent(), &TPersistent::StaticClassInfo());
  EXPECT_EQ(TPersistent::StaticClassInfo().Parent(), nullptr);
  EXPECT_TRUE(box.InheritsFrom(box));
  EXPECT_TRUE(box.InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_FALSE(Shape::StaticClassInfo().InheritsFrom(box));
  EXPECT_FALSE(box.InheritsFrom(Other::StaticClassInfo()));
  // An object answers with its own class through a base reference.
  Box b(nullptr);
  const TPersistent& as_base = b;
  EXPECT_EQ(&as_base.ClassInfo(), &box);
}

TEST(ClassInfoTest, FindPropertySearchesUpTheChainIgnoringCase) {
  const TClassInfo& box = Box::StaticClassInfo();
  ASSERT_NE(box.FindProperty("width"), nullptr);
  EXPECT_EQ(box.FindProperty("WIDTH"), Shape::StaticClassInfo().FindProperty("Width"));
  EXPECT_EQ(box.FindProperty("tag")->Kind(), TPropKind::Integer);  // from TComponent
  EXPECT_EQ(box.FindProperty("Nope"), nullptr);
  EXPECT_EQ(Shape::StaticClassInfo().FindProperty("Layout"), nullptr);
  // The derived declaration wins.
  EXPECT_EQ(box.FindProperty("Caption"), &box.OwnProperties()[9]);
}

TEST(ClassInfoTest, PropertiesListInheritedFirstWithRedeclarationsInPlace) {
  std::vector<std::string> names;
  for (const TPropInfo* p : Box::StaticClassInfo().Properties()) names.push_back(p->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Tag", "Width", "Caption", "Visible", "Layout",
                                             "Color", "Font", "Partner", "Lines", "Small", "Glyph",
                                             "OnClick", "OnMouseDown", "Area"}));
  EXPECT_EQ(Box::StaticClassInfo().Properties()[2], Box::StaticClassInfo().FindProperty("Caption"));
}

TEST(ClassInfoTest, KindsAreTakenFromTheAccessorTypes) {
  const TClassInfo& box = Box::StaticClassInfo();
  auto kind = [&](const char* name) { return box.FindProperty(name)->Kind(); };
  EXPECT_EQ(kind("Width"), TPropKind::Integer);
  EXPECT_EQ(kind("Visible"), TPropKind::Boolean);
  EXPECT_EQ(kind("Caption"), TPropKind::String);
  EXPECT_EQ(kind("Lines"), TPropKind::Strings);
  EXPECT_EQ(kind("Partner"), TPropKind::Component);
  EXPECT_EQ(kind("OnClick"), TPropKind::Event);
  EXPECT_EQ(box.FindProperty("Partner")->ClassRef(), &box);
  EXPECT_EQ(box.FindProperty("Font")->ClassRef(), &TestFont::StaticClassInfo());
  EXPECT_EQ(box.FindProperty("OnMouseDown")->EventType(), "TMouseEvent");
  EXPECT_EQ(box.FindProperty("Layout")->EnumInfo(), &kLayouts);
  EXPECT_TRUE(box.FindProperty("Area")->IsReadOnly());
}

TEST(ClassRegistryTest, ClassesAreFoundByNameOnceDescribed) {
  RegisterClasses({&Box::StaticClassInfo(), &Other::StaticClassInfo()});
  EXPECT_EQ(FindClass("TBox"), &Box::StaticClassInfo());
  EXPECT_EQ(FindClass("tbox"), &Box::StaticClassInfo());
  EXPECT_EQ(FindClass("TShape"), &Shape::StaticClassInfo());  // registered as Box's parent
  EXPECT_EQ(FindClass("TNothing"), nullptr);
}

TEST(ClassRegistryTest, FactoriesCreateOwnedInstancesAbstractClassesRefuse) {
  Other owner(nullptr);
  TComponent* made = Box::StaticClassInfo().Create(&owner);
  ASSERT_NE(dynamic_cast<Box*>(made), nullptr);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_FALSE(Shape::StaticClassInfo().CanCreate());
  EXPECT_EQ(ErrorOf([&] { Shape::StaticClassInfo().Create(&owner); }),
            "class TShape is abstract and cannot be created");
}

// A second class under a registered name is refused, whatever its case.
class Impostor : public TComponent {
public:
  using TComponent::TComponent;
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<Impostor, TComponent>("tBOX").Done();
    return info;
  }
};

class TwiceDeclared : public TComponent {
public:
  using TComponent::TComponent;
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<TwiceDeclared, TComponent>("TTwice")
                                        .Prop("Tag2", &TComponent::Tag, &TComponent::SetTag)
                                        .Prop("TAG2", &TComponent::Tag, &TComponent::SetTag)
                                        .Done();
    return info;
  }
};

TEST(ClassRegistryTest, DescriptionMistakesAreRefused) {
  Box::StaticClassInfo();
  EXPECT_EQ(ErrorOf([] { Impostor::StaticClassInfo(); }), "two different classes are named tBOX");
  EXPECT_EQ(ErrorOf([] { TwiceDeclared::StaticClassInfo(); }),
            "class TTwice declares property TAG2 twice");
  EXPECT_EQ(FindClass("TTwice"), nullptr);
}

TEST(PropertyValueTest, SettingByNameRunsTheClassSetter) {
  Box b(nullptr);
  SetPropertyValue(b, "width", -5);
  EXPECT_EQ(b.width_sets, 1);
  EXPECT_EQ(std::get<std::int32_t>(GetPropertyValue(b, "Width")), 0);  // clamped by SetWidth
  SetPropertyValue(b, "Caption", std::string("ok"));
  EXPECT_EQ(b.Caption(), "[ok]");  // Box's own setter, not Shape's
  SetPropertyValue(b, "Visible", false);
  EXPECT_FALSE(b.Visible());
  SetPropertyValue(b, "Lines", std::vector<std::string>{"a", "b"});
  EXPECT_EQ(b.Lines(), (std::vector<std::string>{"a", "b"}));
  SetPropertyValue(b, "Tag", 7);
  EXPECT_EQ(b.Tag(), 7);
  EXPECT_EQ(std::get<std::int32_t>(GetPropertyValue(b, "Area")), 0);
}

TEST(PropertyValueTest, IntegersAreCheckedAgainstThePropertyType) {
  Box b(nullptr);
  SetPropertyValue(b, "Small", std::uint32_t{32767});
  EXPECT_EQ(b.Small(), 32767);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Small", 32768); }),
            "32768 is out of range for property Small");
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Width", std::uint32_t{0x80000000}); }),
            "2147483648 is out of range for property Width");
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Width", std::string("3")); }),
            "property Width takes an integer");
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Visible", 1); }),
            "property Visible takes true or false");
  EXPECT_EQ(b.width_sets, 0);
}

TEST(PropertyValueTest, EnumsAndSetsByNumberWithNamesInTheirTables) {
  Box b(nullptr);
  SetPropertyValue(b, "Layout", 2);
  EXPECT_EQ(b.Layout(), TButtonLayout::blGlyphTop);
  EXPECT_EQ(std::get<std::int32_t>(GetPropertyValue(b, "Layout")), 2);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Layout", 3); }),
            "3 is not a value of TButtonLayout (property Layout)");
  EXPECT_EQ(kLayouts.ValueOf("BLGLYPHRIGHT"), 1);
  EXPECT_EQ(kLayouts.ValueOf("blGlyph"), std::nullopt);
  ASSERT_NE(kLayouts.NameOf(1), nullptr);
  EXPECT_EQ(*kLayouts.NameOf(1), "blGlyphRight");
  EXPECT_EQ(kLayouts.NameOf(7), nullptr);

  SetPropertyValue(b, "Font.Style", std::uint32_t{0b1001});  // fsBold, fsStrikeOut
  EXPECT_EQ(b.font.style, 0b1001);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Font.Style", std::uint32_t{0b0100}); }),
            "4 is not a set of TFontStyle (property Style)");
}

TEST(PropertyValueTest, ColoursTakeBothSignedAndUnsignedSpellings) {
  Box b(nullptr);
  SetPropertyValue(b, "Color", -16777201);  // a system colour, as signed
  EXPECT_EQ(b.Color(), 0xFF00000Fu);
  SetPropertyValue(b, "Color", std::uint32_t{0x00FFFFFF});
  EXPECT_EQ(std::get<std::uint32_t>(GetPropertyValue(b, "color")), 0x00FFFFFFu);
}

TEST(PropertyValueTest, PathsLeadIntoSubObjects) {
  Box b(nullptr);
  SetPropertyValue(b, "Font.Height", 20);
  EXPECT_EQ(b.font.height, 20);
  EXPECT_EQ(std::get<std::int32_t>(GetPropertyValue(b, "font.height")), 20);
  EXPECT_EQ(std::get<TPersistent*>(GetPropertyValue(b, "Font")), &b.font);
  EXPECT_TRUE(HasPublishedProperty(b, "Font.Height"));
  EXPECT_TRUE(HasPublishedProperty(b, "Tag"));
  EXPECT_FALSE(HasPublishedProperty(b, "Font.Width"));
  EXPECT_FALSE(HasPublishedProperty(b, "Width.Height"));
  EXPECT_FALSE(HasPublishedProperty(b, "Font."));
  EXPECT_FALSE(HasPublishedProperty(b, ""));
  TPropertyPath path = ResolvePropertyPath(b, "Font.Heigth");
  EXPECT_EQ(path.prop, nullptr);
  EXPECT_EQ(path.failed_at, 5u);
  EXPECT_EQ(path.problem, "TTestFont has no property Heigth");
  EXPECT_EQ(ResolvePropertyPath(b, "Width.X").problem,
            "property Width of TBox has no properties of its own");
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Font", 1); }),
            "property Font is a TTestFont: set its own properties (Font.Name = ...)");
}

TEST(PropertyValueTest, ComponentReferencesMustBeOfTheDeclaredClass) {
  Box a(nullptr);
  Box b(nullptr);
  Other o(nullptr);
  o.SetName("Other1");
  SetPropertyValue(a, "Partner", &b);
  EXPECT_EQ(a.Partner(), &b);
  EXPECT_EQ(std::get<TComponent*>(GetPropertyValue(a, "Partner")), &b);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(a, "Partner", &o); }),
            "property Partner takes a TBox; Other1 is a TOther");
  EXPECT_EQ(a.Partner(), &b);
  SetPropertyValue(a, "Partner", static_cast<TComponent*>(nullptr));
  EXPECT_EQ(a.Partner(), nullptr);
}

// A component property whose class is named, not linked: the class joins
// the registry only when something asks for its description.
class LateHelper : public TComponent {
public:
  using TComponent::TComponent;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<LateHelper, TComponent>("TLateHelper").Done();
    return info;
  }
};

class Holder : public TComponent {
public:
  using TComponent::TComponent;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info =
        TClassInfo::Define<Holder, TComponent>("THolder")
            .NamedClassProp("Helper", &Holder::Helper, &Holder::SetHelper, "TLateHelper")
            .Done();
    return info;
  }
  LateHelper* Helper() const { return helper_; }
  void SetHelper(LateHelper* h) { helper_ = h; }

private:
  LateHelper* helper_ = nullptr;
};

TEST(PropertyValueTest, ANamedClassTakesOnlyItsComponentsAndNoneBeforeItIsRegistered) {
  Holder holder(nullptr);
  Other other(nullptr);
  other.SetName("Other1");
  const TPropInfo* prop = Holder::StaticClassInfo().FindProperty("Helper");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->Kind(), TPropKind::Component);
  EXPECT_EQ(prop->ClassRefName(), "TLateHelper");
  EXPECT_EQ(prop->Describe(), "a component name (a TLateHelper)");
  // Not registered yet: nothing can be one, so everything is refused.
  ASSERT_EQ(FindClass("TLateHelper"), nullptr);
  EXPECT_EQ(prop->ClassRef(), nullptr);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(holder, "Helper", &other); }),
            "property Helper takes a TLateHelper; Other1 is a TOther");
  EXPECT_EQ(holder.Helper(), nullptr);

  LateHelper helper(nullptr);  // its description is asked for: registered
  (void)helper.ClassInfo();
  EXPECT_EQ(prop->ClassRef(), &LateHelper::StaticClassInfo());
  SetPropertyValue(holder, "Helper", &helper);
  EXPECT_EQ(holder.Helper(), &helper);
  EXPECT_EQ(std::get<TComponent*>(GetPropertyValue(holder, "Helper")), &helper);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(holder, "Helper", &other); }),
            "property Helper takes a TLateHelper; Other1 is a TOther");
  EXPECT_EQ(holder.Helper(), &helper);
  SetPropertyValue(holder, "Helper", static_cast<TComponent*>(nullptr));
  EXPECT_EQ(holder.Helper(), nullptr);
}

class Handlers {
public:
  void Click(TComponent* sender) { clicked = sender; }
  void MouseDown(TComponent*, TMouseButton button, TShiftState, int x, int) {
    if (button == TMouseButton::mbRight) right_x = x;
  }
  TComponent* clicked = nullptr;
  int right_x = 0;
};

TEST(PropertyValueTest, EventsTakeHandlersOfExactlyTheirType) {
  Box b(nullptr);
  Handlers h;
  TMethod click = BindMethod(&h, &Handlers::Click);
  TMethod mouse = BindMethod(&h, &Handlers::MouseDown);
  EXPECT_EQ(click.code.type(), typeid(TNotifyEvent));
  EXPECT_EQ(mouse.code.type(), typeid(TMouseEvent));

  SetPropertyValue(b, "OnClick", click);
  SetPropertyValue(b, "OnMouseDown", mouse);
  ASSERT_TRUE(b.OnClick);
  b.OnClick(&b);
  EXPECT_EQ(h.clicked, &b);
  b.OnMouseDown(&b, TMouseButton::mbRight, ssShift, 17, 3);
  EXPECT_EQ(h.right_x, 17);
  EXPECT_TRUE(std::any_cast<TNotifyEvent>(std::get<TMethod>(GetPropertyValue(b, "OnClick")).code));

  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "OnClick", mouse); }),
            "property OnClick takes a handler name (a TNotifyEvent)");
  SetPropertyValue(b, "OnClick", TMethod{});
  EXPECT_FALSE(b.OnClick);
  EXPECT_FALSE(std::get<TMethod>(GetPropertyValue(b, "OnClick")).code.has_value());
}

TEST(PropertyValueTest, PicturesCarryTheSetterType) {
  Box b(nullptr);
  auto image = std::make_shared<int>(42);
  SetPropertyValue(b, "Glyph", TPictureValue{std::any(image)});
  EXPECT_EQ(b.Glyph(), image);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Glyph", TPictureValue{std::any(42)}); }),
            "property Glyph takes a picture");
  SetPropertyValue(b, "Glyph", TPictureValue{});
  EXPECT_EQ(b.Glyph(), nullptr);
}

TEST(PropertyValueTest, UnknownAndReadOnlyPropertiesAreRefused) {
  Box b(nullptr);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Heigth", 1); }), "TBox has no property Heigth");
  EXPECT_EQ(ErrorOf([&] { GetPropertyValue(b, "Heigth"); }), "TBox has no property Heigth");
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(b, "Area", 1); }), "property Area is read-only");
  EXPECT_FALSE(HasPublishedProperty(b, "Layouts"));
  // A property is only used on objects of its class.
  Other o(nullptr);
  const TPropInfo* width = Box::StaticClassInfo().FindProperty("Width");
  EXPECT_EQ(ErrorOf([&] { width->Set(o, 1); }), "property Width belongs to another class");
}

// ---------------------------------------------------------------------------
// Rows keep the accessors as bytes, and properties of one class with the
// same accessor types share their thunks: each must still reach its own
// accessors, names, setter and field.

constexpr TEnumName kSideNames[] = {{"sdLeft", 0}, {"sdRight", 1}};
constexpr TEnumInfo kSides{"TSide", kSideNames};
constexpr TEnumName kGradeNames[] = {{"grLow", 0}, {"grMid", 1}, {"grHigh", 2}};
constexpr TEnumInfo kGrades{"TGrade", kGradeNames};

// A second base: the object is converted to it for its member functions,
// and a pointer to its data member, as a pointer to a member of the
// derived class, carries its offset.
class Dial {
public:
  virtual ~Dial() = default;
  int Turns() const { return turns_; }
  void SetTurns(int turns) { turns_ = turns; }
  TNotifyEvent OnTurn;

private:
  int turns_ = 0;
};

class Gauge;
int GaugeArea(const Gauge& g);
void SetGaugeArea(Gauge& g, int area);

class Gauge : public TComponent, public Dial {
public:
  using TComponent::TComponent;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    using G = Gauge;
    static const TClassInfo& info =
        TClassInfo::Define<Gauge, TComponent>("TGauge")
            .Prop("Left", &G::Left, &G::SetLeft)
            .Prop("Top", &G::Top, &G::SetTop)
            .Prop("Bottom", &G::Bottom, nullptr)
            .Prop("Title", &G::Title, &G::SetTitle)
            .Prop("Note", &G::Note, &G::SetNote)
            .EnumProp("Side", kSides, &G::Side, &G::SetSide)
            .EnumProp("Grade", kGrades, &G::Grade, &G::SetGrade)
            .Prop("Buddy", &G::Buddy, &G::SetBuddy)
            .Prop("Peer", &G::Peer, &G::SetPeer)
            .Event("OnChange", &G::OnChange)
            .Event("OnResize", &G::OnResize)
            .Event("OnTurn", static_cast<TNotifyEvent G::*>(&Dial::OnTurn))
            .Prop("Turns", &Dial::Turns, &Dial::SetTurns)
            .Prop("Level", &G::Level, &G::SetLevel)
            .Prop("Area", &GaugeArea, &SetGaugeArea)
            .Prop("Width", [](const G& g) { return g.width_; }, [](G& g, int w) { g.width_ = w; })
            .Prop("Height", [](const G& g) { return g.height_; },
                  [](G& g, int h) { g.height_ = h; })
            .Done();
    return info;
  }
  int Left() const { return left_; }
  void SetLeft(int left) { left_ = left; }
  int Top() const { return top_; }
  void SetTop(int top) { top_ = top; }
  int Bottom() const { return top_ + 10; }
  const std::string& Title() const { return title_; }
  virtual void SetTitle(const std::string& title) { title_ = title; }
  const std::string& Note() const { return note_; }
  void SetNote(const std::string& note) { note_ = note; }
  int Side() const { return side_; }
  void SetSide(int side) { side_ = side; }
  int Grade() const { return grade_; }
  void SetGrade(int grade) { grade_ = grade; }
  Gauge* Buddy() const { return buddy_; }
  void SetBuddy(Gauge* buddy) { buddy_ = buddy; }
  Gauge* Peer() const { return peer_; }
  void SetPeer(Gauge* peer) { peer_ = peer; }
  int Level() const { return level_; }
  // A pointer to a virtual member function names a vtable slot.
  virtual void SetLevel(int level) { level_ = level; }

  TNotifyEvent OnChange;
  TNotifyEvent OnResize;
  int area = 0;

private:
  int left_ = 0;
  int top_ = 0;
  std::string title_;
  std::string note_;
  int side_ = 0;
  int grade_ = 0;
  Gauge* buddy_ = nullptr;
  Gauge* peer_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int level_ = 0;
};

int GaugeArea(const Gauge& g) { return g.area; }
void SetGaugeArea(Gauge& g, int area) { g.area = area * 2; }

// Declares Title again with a setter of its own, overrides a setter, and
// makes its instances through a factory of its own.
class MarkedGauge : public Gauge {
public:
  using Gauge::Gauge;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<MarkedGauge, Gauge>("TMarkedGauge")
                                        .Factory(&Make)
                                        .Prop("Title", &MarkedGauge::Title, &MarkedGauge::Mark)
                                        .Done();
    return info;
  }
  void Mark(const std::string& title) { SetTitle("*" + title); }
  // Clamps, so a test can tell that the override ran.
  void SetLevel(int level) override { Gauge::SetLevel(level > 100 ? 100 : level); }

private:
  static TComponent* Make(TComponent* owner) {
    auto* g = new MarkedGauge(owner);
    g->SetTag(42);
    return g;
  }
};

// Its TPersistent part does not start the object: Dial comes first. Its
// members are kept as TPersistent's, which must still reach this object's
// fields, its virtual setter's override and its event.
class DialFirst : public Dial, public TComponent {
public:
  using TComponent::TComponent;
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<DialFirst, TComponent>("TDialFirst")
                                        .Prop("Left", &DialFirst::Left, &DialFirst::SetLeft)
                                        .Prop("Level", &DialFirst::Level, &DialFirst::SetLevel)
                                        .Prop("Turns", &Dial::Turns, &Dial::SetTurns)
                                        .Event("OnChange", &DialFirst::OnChange)
                                        .Done();
    return info;
  }
  int Left() const { return left_; }
  void SetLeft(int left) { left_ = left; }
  int Level() const { return level_; }
  virtual void SetLevel(int level) { level_ = level; }
  TNotifyEvent OnChange;

protected:
  int level_ = 0;

private:
  int left_ = 0;
};
class HalvingDial : public DialFirst {
public:
  using DialFirst::DialFirst;
  void SetLevel(int level) override { level_ = level / 2; }
};

std::int32_t IntOf(const TPersistent& p, const char* path) {
  return std::get<std::int32_t>(GetPropertyValue(p, path));
}
std::string StringOf(const TPersistent& p, const char* path) {
  return std::get<std::string>(GetPropertyValue(p, path));
}

TEST(PropertyStorageTest, PropertiesOfTheSameAccessorTypesReachTheirOwnAccessors) {
  Gauge g(nullptr);
  Gauge a(nullptr);
  Gauge b(nullptr);
  SetPropertyValue(g, "Left", 3);
  SetPropertyValue(g, "Top", 4);
  SetPropertyValue(g, "Title", std::string("title"));
  SetPropertyValue(g, "Note", std::string("note"));
  SetPropertyValue(g, "Buddy", static_cast<TComponent*>(&a));
  SetPropertyValue(g, "Peer", static_cast<TComponent*>(&b));
  SetPropertyValue(g, "Width", 5);
  SetPropertyValue(g, "Height", 6);
  EXPECT_EQ(g.Left(), 3);
  EXPECT_EQ(g.Top(), 4);
  EXPECT_EQ(g.Title(), "title");
  EXPECT_EQ(g.Note(), "note");
  EXPECT_EQ(g.Buddy(), &a);
  EXPECT_EQ(g.Peer(), &b);
  EXPECT_EQ(IntOf(g, "Left"), 3);
  EXPECT_EQ(IntOf(g, "Top"), 4);
  EXPECT_EQ(StringOf(g, "Title"), "title");
  EXPECT_EQ(StringOf(g, "Note"), "note");
  EXPECT_EQ(std::get<TComponent*>(GetPropertyValue(g, "Buddy")), &a);
  EXPECT_EQ(std::get<TComponent*>(GetPropertyValue(g, "Peer")), &b);
  EXPECT_EQ(IntOf(g, "Width"), 5);
  EXPECT_EQ(IntOf(g, "Height"), 6);
}

TEST(PropertyStorageTest, MembersReachAnObjectWhoseTPersistentPartIsNotAtItsStart) {
  HalvingDial d(nullptr);
  ASSERT_NE(static_cast<const void*>(static_cast<TPersistent*>(&d)),
            static_cast<const void*>(&d));
  SetPropertyValue(d, "Left", 7);
  SetPropertyValue(d, "Level", 40);
  SetPropertyValue(d, "Turns", 3);
  EXPECT_EQ(d.Left(), 7);
  EXPECT_EQ(d.Level(), 20);  // the override ran
  EXPECT_EQ(d.Turns(), 3);
  EXPECT_EQ(IntOf(d, "Left"), 7);
  EXPECT_EQ(IntOf(d, "Turns"), 3);
  int calls = 0;
  SetPropertyValue(d, "OnChange", TMethod{std::any(TNotifyEvent([&](TComponent*) { ++calls; }))});
  ASSERT_TRUE(d.OnChange);
  d.OnChange(&d);
  EXPECT_EQ(calls, 1);
  // A Gauge's Left row refuses this object, which has its own.
  EXPECT_EQ(ErrorOf([&] { Gauge::StaticClassInfo().FindProperty("Left")->Set(d, 1); }),
            "property Left belongs to another class");
  EXPECT_EQ(d.Left(), 7);
}

TEST(PropertyStorageTest, EnumPropertiesSharingAThunkCheckTheirOwnNames) {
  Gauge g(nullptr);
  SetPropertyValue(g, "Grade", 2);
  EXPECT_EQ(g.Grade(), 2);
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(g, "Side", 2); }),
            "2 is not a value of TSide (property Side)");
  SetPropertyValue(g, "Side", 1);
  EXPECT_EQ(g.Side(), 1);
  EXPECT_EQ(g.Grade(), 2);
}

TEST(PropertyStorageTest, EventsSharingAThunkSetTheirOwnFields) {
  Gauge g(nullptr);
  Handlers h;
  SetPropertyValue(g, "OnResize", BindMethod(&h, &Handlers::Click));
  EXPECT_FALSE(g.OnChange);
  ASSERT_TRUE(g.OnResize);
  g.OnResize(&g);
  EXPECT_EQ(h.clicked, &g);
  EXPECT_FALSE(std::get<TMethod>(GetPropertyValue(g, "OnChange")).code.has_value());

  // A field of the second base, reached through its offset.
  SetPropertyValue(g, "OnTurn", BindMethod(&h, &Handlers::Click));
  Dial& dial = g;
  EXPECT_TRUE(dial.OnTurn);
  EXPECT_TRUE(std::get<TMethod>(GetPropertyValue(g, "OnTurn")).code.has_value());
  SetPropertyValue(g, "OnTurn", TMethod{});
  EXPECT_FALSE(dial.OnTurn);
  EXPECT_TRUE(g.OnResize);
}

TEST(PropertyStorageTest, AccessorsAreCalledAsTheSameCallInCode) {
  Gauge g(nullptr);
  MarkedGauge marked(nullptr);
  // A virtual setter: the object's override runs.
  SetPropertyValue(g, "Level", 150);
  SetPropertyValue(marked, "Level", 150);
  EXPECT_EQ(g.Level(), 150);
  EXPECT_EQ(marked.Level(), 100);
  EXPECT_EQ(IntOf(marked, "Level"), 100);
  // Member functions of the second base, called on that base.
  SetPropertyValue(g, "Turns", 9);
  const Dial& dial = g;
  EXPECT_EQ(dial.Turns(), 9);
  EXPECT_EQ(IntOf(g, "Turns"), 9);
  // Plain functions.
  SetPropertyValue(g, "Area", 7);
  EXPECT_EQ(g.area, 14);
  EXPECT_EQ(IntOf(g, "Area"), 14);
}

TEST(PropertyStorageTest, AReadOnlyPropertyHasAGetterOfTheSameTypeAsAWritableOne) {
  Gauge g(nullptr);
  SetPropertyValue(g, "Top", 5);
  EXPECT_EQ(IntOf(g, "Bottom"), 15);
  EXPECT_TRUE(Gauge::StaticClassInfo().FindProperty("Bottom")->IsReadOnly());
  EXPECT_FALSE(Gauge::StaticClassInfo().FindProperty("Top")->IsReadOnly());
  EXPECT_EQ(ErrorOf([&] { SetPropertyValue(g, "Bottom", 1); }), "property Bottom is read-only");
  EXPECT_EQ(g.Top(), 5);
}

TEST(PropertyStorageTest, ARedeclaredPropertyKeepsEachClassItsOwnSetter) {
  Other owner(nullptr);
  TComponent* made = MarkedGauge::StaticClassInfo().Create(&owner);
  auto* marked = dynamic_cast<MarkedGauge*>(made);
  ASSERT_NE(marked, nullptr);
  EXPECT_EQ(marked->Tag(), 42);  // the class's own factory
  EXPECT_EQ(marked->Owner(), &owner);

  SetPropertyValue(*marked, "Title", std::string("t"));
  EXPECT_EQ(marked->Title(), "*t");
  Gauge plain(nullptr);
  SetPropertyValue(plain, "Title", std::string("t"));
  EXPECT_EQ(plain.Title(), "t");
  // The base's row on a derived object is the base's setter.
  Gauge::StaticClassInfo().FindProperty("Title")->Set(*marked, std::string("u"));
  EXPECT_EQ(marked->Title(), "u");
  // The derived row refuses an object of the base class.
  EXPECT_EQ(ErrorOf([&] {
              MarkedGauge::StaticClassInfo().OwnProperties()[0].Set(plain, std::string("v"));
            }),
            "property Title belongs to another class");
  EXPECT_EQ(plain.Title(), "t");
}

}  // namespace
