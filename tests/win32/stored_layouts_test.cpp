// The skin library's two stored windows travel in the installer stub that
// the builder copies: their layouts are read from the built stub file's
// RCDATA (the file loaded as data, as tools read another program), made
// into real forms by the layout loader, and the controls are there with
// their classes, parents and texts. A layout that no longer loads (a
// renamed property, a class that lost its registration) fails here, not
// in the first program that opens the window.
#include <gtest/gtest.h>

#include <string>

#include "base/bytes.h"
#include "base/win_api.h"
#include "framework/controls/edit.h"
#include "framework/controls/form.h"
#include "framework/controls/form_layout.h"
#include "framework/controls/label.h"
#include "framework/core/layout_loader.h"
#include "framework/core/compiled_layout.h"
#include "framework/core/stored_layout.h"
#include "installer/module_resources_win.h"
#include "skin/sui_button.h"
#include "skin/sui_radio_group.h"
#include "skin/sui_url_label.h"
#include "tests/host/gbk_literal.h"
#include "tests/win32/support/data_module.h"

namespace {

using namespace framework;
using testing_support::Gbk;
using testing_support::DataModule;

const std::wstring kStub = VANTO_STUB_PATH;

class StoredLayouts : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    RegisterClasses({&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(),
                     &skin::TsuiButton::StaticClassInfo(),
                     &skin::TsuiRadioGroup::StaticClassInfo(),
                     &skin::TsuiURLLabel::StaticClassInfo()});
  }

  // The layout as the stub carries it: packed and compiled.
  TLayoutObject StubLayout(const std::string& name) {
    EXPECT_NE(stub_.module, nullptr) << "cannot load the stub as data";
    if (!stub_.module) return {};
    installer::ModuleResourceSource resources(stub_.module);
    const auto data = resources.FindRcData(name);
    EXPECT_TRUE(data.has_value()) << name << " is not in the stub";
    if (!data) return {};
    EXPECT_TRUE(data->size() > 4 && (*data)[3] == 0) << name << " is not packed";
    return ReadCompiledLayout(base::AsBytes(UnpackStoredLayout(*data, name)), name);
  }

  template <class T>
  T* Find(TForm& form, const char* name) {
    auto* found = dynamic_cast<T*>(form.FindComponent(name));
    EXPECT_NE(found, nullptr) << name << " missing or of another class";
    if (found) {
      EXPECT_EQ(found->Owner(), &form);
    }
    return found;
  }

  DataModule stub_{kStub};
};

TEST_F(StoredLayouts, ThemeSelectionDialogOffersTheFiveThemesAndASkinFile) {
  const TLayoutObject tree = StubLayout("TSUITHEMESELECTFORM");
  ASSERT_FALSE(tree.class_name.empty());
  TForm form(nullptr);
  LoadLayout(form, tree, ControlLayoutContext());
  EXPECT_EQ(form.Name(), "suiThemeSelectForm");
  EXPECT_EQ(form.Caption(), Gbk(u8"选择界面主题"));
  EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsDialog);

  auto* group = Find<skin::TsuiRadioGroup>(form, "ThemeGroup");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Parent(), &form);
  EXPECT_EQ(group->GroupCaption(), Gbk(u8"界面主题"));
  ASSERT_EQ(group->Items().Count(), 6);
  const char* themes[] = {"MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(group->Items().Strings(i), themes[i]);
  EXPECT_EQ(group->Items().Strings(5), Gbk(u8"皮肤文件"));
  // One item button per theme, the default theme chosen.
  ASSERT_EQ(group->ButtonCount(), 6);
  EXPECT_EQ(group->Buttons(5)->Caption(), Gbk(u8"皮肤文件"));
  EXPECT_EQ(group->ItemIndex(), 2);

  auto* edit = Find<TEdit>(form, "SkinFileEdit");
  auto* label = Find<TLabel>(form, "SkinFileLabel");
  auto* browse = Find<skin::TsuiButton>(form, "BrowseButton");
  auto* ok = Find<skin::TsuiButton>(form, "OkButton");
  auto* cancel = Find<skin::TsuiButton>(form, "CancelButton");
  ASSERT_TRUE(edit && label && browse && ok && cancel);
  EXPECT_EQ(label->Caption(), Gbk(u8"皮肤文件(&F):"));
  EXPECT_EQ(browse->Caption(), Gbk(u8"浏览..."));
  EXPECT_EQ(ok->Caption(), Gbk(u8"确定"));
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->ModalResult(), 1);
  EXPECT_EQ(cancel->Caption(), Gbk(u8"取消"));
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_EQ(cancel->ModalResult(), 2);
  // The buttons sit inside the dialog's client area.
  EXPECT_LE(cancel->BoundsRect().Right, form.ClientWidth());
  EXPECT_LE(cancel->BoundsRect().Bottom, form.ClientHeight());
}

TEST_F(StoredLayouts, NotificationWindowHasCaptionTextLinkAndCloseButton) {
  const TLayoutObject tree = StubLayout("TSUINOTIFYFORM");
  ASSERT_FALSE(tree.class_name.empty());
  TForm form(nullptr);
  LoadLayout(form, tree, ControlLayoutContext());
  EXPECT_EQ(form.Name(), "suiNotifyForm");
  EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsNone);

  auto* caption = Find<TLabel>(form, "CaptionLabel");
  auto* body = Find<TLabel>(form, "TextLabel");
  auto* link = Find<skin::TsuiURLLabel>(form, "DetailsLink");
  auto* close = Find<skin::TsuiButton>(form, "CloseButton");
  ASSERT_TRUE(caption && body && link && close);
  EXPECT_EQ(caption->Caption(), Gbk(u8"提示"));
  EXPECT_EQ(caption->Font().Style, graphics::fsBold);
  EXPECT_TRUE(body->WordWrap());
  EXPECT_EQ(link->Caption(), Gbk(u8"详细信息"));
  EXPECT_EQ(close->Caption(), Gbk(u8"×"));
  EXPECT_TRUE(close->Cancel());
  EXPECT_EQ(close->Parent(), &form);
  // The close button is in the window's top right corner.
  EXPECT_LE(close->BoundsRect().Right, form.ClientWidth());
  EXPECT_GT(close->BoundsRect().Left, form.ClientWidth() / 2);
}

}  // namespace
