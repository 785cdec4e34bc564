// A form made from a stored layout resource: the controls exist with their
// parents and properties (GBK texts included), a picture came from the
// program's resources, and handlers named in the layout are called.
#include <gtest/gtest.h>

#include "base/win_api.h"
#include "framework/controls/application.h"
#include "framework/controls/form_layout.h"
#include "framework/controls/label.h"
#include "skin/sui_button.h"
#include "skin/sui_url_label.h"
#include "tests/host/gbk_literal.h"

namespace {

using namespace framework;
using testing_support::Gbk;

class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    RegisterClasses({&TLabel::StaticClassInfo(), &skin::TsuiButton::StaticClassInfo(),
                     &skin::TsuiImageButton::StaticClassInfo(),
                     &skin::TsuiURLLabel::StaticClassInfo()});
    LoadFormLayout(*this, "TTESTFORM");
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo& info = TClassInfo::Define<TTestForm, TForm>("TTestForm").Done();
    return info;
  }
  std::optional<TMethod> FindMethod(const std::string& name) override {
    if (name == "NextClick") return BindMethod(this, &TTestForm::NextClick);
    if (name == "FormShow") return BindMethod(this, &TTestForm::FormShow);
    return std::nullopt;
  }
  void NextClick(TComponent*) { ++next_clicks; }
  void FormShow(TComponent*) { ++shows; }
  int next_clicks = 0;
  int shows = 0;
};

TEST(FormLayoutTest, BuildsTheFormFromItsLayoutResource) {
  TTestForm form(nullptr);
  EXPECT_EQ(form.Name(), "TestForm");
  EXPECT_EQ(form.Caption(), Gbk(u8"布局测试"));
  auto* title = dynamic_cast<TLabel*>(form.FindComponent("Title"));
  auto* next = dynamic_cast<skin::TsuiButton*>(form.FindComponent("Next"));
  auto* browse = dynamic_cast<skin::TsuiImageButton*>(form.FindComponent("Browse"));
  auto* link = dynamic_cast<skin::TsuiURLLabel*>(form.FindComponent("Link"));
  ASSERT_TRUE(title && next && browse && link);
  EXPECT_EQ(title->Parent(), &form);
  EXPECT_EQ(title->Caption(), Gbk(u8"欢迎使用"));
  EXPECT_EQ(title->Font().Style, graphics::fsBold);
  EXPECT_EQ(next->Caption(), Gbk(u8"下一步"));
  EXPECT_EQ(next->UIStyle(), skin::WinXP);
  EXPECT_TRUE(next->Default());
  EXPECT_EQ(next->BoundsRect(), (graphics::TRect{10, 50, 101, 73}));
  // The picture came from the theme pictures; AutoSize took its size.
  EXPECT_EQ(browse->PicNormal().Width(), 52);
  EXPECT_EQ(browse->Width(), 52);
  EXPECT_EQ(browse->Height(), 13);
  EXPECT_EQ(link->URL(), "http://www.vanto.example.com/licence");

  form.Show();
  EXPECT_EQ(form.shows, 1);
  next->Click();
  EXPECT_EQ(form.next_clicks, 1);
}

TEST(FormLayoutTest, AMissingOrTextLayoutOrAMissingPictureIsNamed) {
  TForm form(nullptr);
  try {
    LoadFormLayout(form, "NO_SUCH_LAYOUT");
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource NO_SUCH_LAYOUT not found");
  }
  // Text would need the parser, which programs leave out.
  try {
    LoadFormLayout(form, "TTEXTFORM");
    FAIL() << "no error";
  } catch (const base::Error& e) {
    EXPECT_STREQ(e.what(), "Resource TTEXTFORM is not a compiled layout");
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_THROW(LoadPictureResource("NO_SUCH_PICTURE"), base::Error);
}

}  // namespace
