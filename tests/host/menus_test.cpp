// The toolkit's menu model: shortcut texts and accelerators, the item tree
// and who frees what, change reports, command numbers, the image list
// reference, and menus from stored layouts.
#include <gtest/gtest.h>

#include <memory>

#include "base/error.h"
#include "framework/controls/menus.h"
#include "framework/core/layout_loader.h"
#include "framework/core/rtti.h"

namespace {

using framework::MakeShortCut;
using framework::ShortCutToText;
using framework::TComponent;
using framework::TMenuItem;

TEST(ShortCutText, ModifiersInOrderThenTheKeyName) {
  EXPECT_EQ(ShortCutToText('S' | framework::scCtrl), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(0x74 | framework::scCtrl | framework::scShift), "Shift+Ctrl+F5");
  EXPECT_EQ(ShortCutToText(0x2E | framework::scAlt), "Alt+Del");
  EXPECT_EQ(ShortCutToText(0x63), "Num 3");
  EXPECT_EQ(ShortCutToText(0x87), "F24");
  EXPECT_EQ(ShortCutToText('7' | framework::scAlt | framework::scCtrl), "Ctrl+Alt+7");
  // No name, no text: neither a bare modifier nor a key the table lacks.
  EXPECT_EQ(ShortCutToText(framework::scNone), "");
  EXPECT_EQ(ShortCutToText(0xE5 | framework::scCtrl), "");
  EXPECT_EQ(MakeShortCut('s' - 0x20, framework::ssCtrl | framework::ssShift),
            'S' | framework::scCtrl | framework::scShift);
}

TEST(ShortCutText, AcceleratorsAndTheShownCaption) {
  EXPECT_EQ(framework::StripHotkey("&File"), "File");
  EXPECT_EQ(framework::HotkeyOf("&File"), 'F');
  EXPECT_EQ(framework::HotkeyOf("Save &as"), 'A');
  EXPECT_EQ(framework::StripHotkey("A&&B"), "A&B");
  EXPECT_EQ(framework::HotkeyOf("A&&B"), 0);
  EXPECT_EQ(framework::HotkeyOf("A&&B&c"), 'C');
  EXPECT_EQ(framework::HotkeyOf("trailing&"), 0);
  // A GBK character (墨) before the accelerator is passed over whole.
  EXPECT_EQ(framework::StripHotkey("\xC4\xAB(&X)"), "\xC4\xAB(X)");
  EXPECT_EQ(framework::HotkeyOf("\xC4\xAB(&X)"), 'X');
}

TEST(MenuTree, AddInsertDeleteAndTheirRefusals) {
  TComponent owner(nullptr);
  framework::TMainMenu menu(&owner);
  auto* a = new TMenuItem(&owner);
  auto* b = new TMenuItem(&owner);
  auto* c = new TMenuItem(&owner);
  menu.Items()->Add(a);
  menu.Items()->Add(c);
  menu.Items()->Insert(1, b);
  ASSERT_EQ(menu.Items()->Count(), 3);
  EXPECT_EQ(menu.Items()->Items(1), b);
  EXPECT_EQ(b->Parent(), menu.Items());
  EXPECT_EQ(b->GetParentMenu(), &menu);
  EXPECT_TRUE(menu.Contains(b));

  EXPECT_THROW(menu.Items()->Add(b), base::Error);       // already in a menu
  EXPECT_THROW(menu.Items()->Insert(9, new TMenuItem(&owner)), base::Error);
  a->Remove(b);                                           // not a's: nothing happens
  EXPECT_EQ(menu.Items()->Count(), 3);

  menu.Items()->Delete(1);
  EXPECT_EQ(menu.Items()->IndexOf(b), -1);
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_FALSE(menu.Contains(b));
  b->Add(nullptr);
  EXPECT_EQ(b->Count(), 0);

  menu.Items()->Remove(a);
  b->Add(a);
  EXPECT_THROW(a->Add(b), base::Error);  // an item cannot hold its own parent
}

TEST(MenuTree, DeletedItemsStayTheirOwnersAndParentsFreeTheirSubItems) {
  TComponent owner(nullptr);
  auto* menu = new framework::TPopupMenu(&owner);
  auto* parent = new TMenuItem(&owner);
  auto* child = new TMenuItem(&owner);
  auto* kept = new TMenuItem(&owner);
  menu->Items()->Add(parent);
  parent->Add(child);
  menu->Items()->Add(kept);
  menu->Items()->Delete(1);
  EXPECT_EQ(owner.ComponentCount(), 4);  // the menu and the three items
  // Freeing an item frees what it still holds and leaves its parent.
  TComponent::Free(parent);
  EXPECT_EQ(menu->Items()->Count(), 0);
  EXPECT_EQ(owner.ComponentCount(), 2);
  // The menu frees its tree; the deleted item is no longer in it and stays.
  TComponent::Free(menu);
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), kept);
  EXPECT_EQ(kept->Parent(), nullptr);
}

TEST(MenuTree, ChangesReachTheWindowWithTheirKind) {
  TComponent owner(nullptr);
  framework::TMainMenu menu(&owner);
  std::vector<bool> reports;
  menu.OnWindowChange = [&](bool structure) { reports.push_back(structure); };
  auto* item = new TMenuItem(&owner);
  menu.Items()->Add(item);
  item->SetCaption("&Open");
  item->SetCaption("&Open");  // unchanged: no report
  item->SetChecked(true);
  item->SetVisible(false);
  item->SetCaption("-");      // becomes a separator: the native item changes kind
  EXPECT_EQ(reports, (std::vector<bool>{true, false, false, true, true}));

  // An item outside any menu reports to nobody; a loading menu keeps quiet.
  reports.clear();
  TMenuItem loose(nullptr);
  loose.SetCaption("x");
  menu.BeginLoading();
  item->SetEnabled(false);
  EXPECT_TRUE(reports.empty());
  menu.EndLoading();  // finishing the load is a change of everything
  EXPECT_EQ(reports, (std::vector<bool>{true}));
}

TEST(MenuTree, CommandsAreUniqueFoundAndClickOnlyWhenEnabled) {
  TComponent owner(nullptr);
  framework::TPopupMenu menu(&owner);
  auto* top = new TMenuItem(&owner);
  auto* deep = new TMenuItem(&owner);
  menu.Items()->Add(top);
  top->Add(deep);
  EXPECT_NE(top->Command(), 0);
  EXPECT_NE(top->Command(), deep->Command());
  EXPECT_EQ(menu.FindItem(deep->Command()), deep);
  EXPECT_EQ(menu.FindItem(menu.Items()->Command()), nullptr);  // the root is no item

  int clicks = 0;
  deep->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, deep);
    ++clicks;
  };
  deep->Click();
  deep->SetEnabled(false);
  deep->Click();
  EXPECT_EQ(clicks, 1);
}

TEST(MenuTree, AShortcutFindsTheFirstItemThatCanBeChosen) {
  TComponent owner(nullptr);
  framework::TMainMenu menu(&owner);
  auto item = [&](TMenuItem* parent, framework::TShortCut shortcut) {
    auto* i = new TMenuItem(&owner);
    i->SetShortCut(shortcut);
    parent->Add(i);
    return i;
  };
  const framework::TShortCut ctrl_s = framework::MakeShortCut('S', framework::ssCtrl);
  TMenuItem* file = item(menu.Items(), framework::scNone);
  TMenuItem* hidden = item(file, ctrl_s);
  hidden->SetVisible(false);
  TMenuItem* save = item(file, ctrl_s);
  TMenuItem* edit = item(menu.Items(), framework::scNone);
  TMenuItem* undo = item(edit, framework::MakeShortCut('Z', framework::ssCtrl));
  EXPECT_EQ(menu.FindShortCut(ctrl_s), save) << "a hidden item is passed over";
  EXPECT_EQ(menu.FindShortCut(undo->ShortCut()), undo);
  EXPECT_EQ(menu.FindShortCut(framework::MakeShortCut('S', framework::ssAlt)), nullptr);
  EXPECT_EQ(menu.FindShortCut(framework::scNone), nullptr);
  edit->SetEnabled(false);
  EXPECT_EQ(menu.FindShortCut(undo->ShortCut()), nullptr) << "under a disabled parent";
}

TEST(MenuTree, AnItemJoinsItsOwnerOnlyOnceItIsWhole) {
  // What an owner's components hear of a new item must already be a menu
  // item: skinned menus hook items from that notification.
  struct Listener : TComponent {
    using TComponent::TComponent;
    int items_heard = 0;
    void Notification(TComponent* c, framework::TOperation op) override {
      TComponent::Notification(c, op);
      if (op == framework::TOperation::Insert && dynamic_cast<TMenuItem*>(c)) ++items_heard;
    }
  };
  TComponent owner(nullptr);
  auto* listener = new Listener(&owner);
  new TMenuItem(&owner);
  EXPECT_EQ(listener->items_heard, 1);
}

TEST(MenuImages, AReferencedListThatGoesIsForgotten) {
  TComponent owner(nullptr);
  framework::TMainMenu menu(&owner);
  auto* images = new framework::TImageListComponent(&owner);
  int reports = 0;
  menu.OnWindowChange = [&](bool) { ++reports; };
  menu.SetImages(images);
  EXPECT_EQ(menu.Images(), images);
  TComponent::Free(images);
  EXPECT_EQ(menu.Images(), nullptr);
  EXPECT_EQ(reports, 2);
}

class TLayoutRoot : public TComponent {
public:
  using TComponent::TComponent;
  const framework::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  static const framework::TClassInfo& StaticClassInfo() {
    static const framework::TClassInfo& info =
        framework::TClassInfo::Define<TLayoutRoot, TComponent>("TMenuLayoutRoot").Done();
    return info;
  }
};

TEST(MenuLayout, ItemsNestUnderTheirMenuAndAreOwnedByTheRoot) {
  framework::RegisterClasses({&framework::TMainMenu::StaticClassInfo(),
                              &framework::TMenuItem::StaticClassInfo(),
                              &framework::TImageListComponent::StaticClassInfo(),
                              &TLayoutRoot::StaticClassInfo()});
  framework::TLayoutContext context;
  context.set_parent = [](TComponent& child, TComponent& parent) {
    framework::SetMenuParent(child, parent);
  };
  TLayoutRoot root(nullptr);
  framework::LoadLayoutText(root, R"(
object Root: TMenuLayoutRoot
  object Icons: TImageList
    Width = 20
  end
  object Main: TMainMenu
    Images = Icons
    OwnerDraw = true
    object FileItem: TMenuItem
      Caption = "&File"
      object OpenItem: TMenuItem
        Caption = "&Open"
        ShortCut = 0x404F
        ImageIndex = 2
      end
      object Line: TMenuItem
        Caption = "-"
      end
    end
    object HelpItem: TMenuItem
      Caption = "&Help"
      Enabled = false
    end
  end
end
)",
                             context);
  auto* menu = dynamic_cast<framework::TMainMenu*>(root.FindComponent("Main"));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_EQ(menu->Images(), root.FindComponent("Icons"));
  EXPECT_EQ(menu->Images()->Width(), 20);
  ASSERT_EQ(menu->Items()->Count(), 2);
  TMenuItem* file = menu->Items()->Items(0);
  EXPECT_EQ(file, root.FindComponent("FileItem"));
  EXPECT_EQ(file->Owner(), &root);
  ASSERT_EQ(file->Count(), 2);
  EXPECT_EQ(file->Items(0)->ShortCut(), 'O' | framework::scCtrl);
  EXPECT_EQ(file->Items(0)->ImageIndex(), 2);
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_FALSE(menu->Items()->Items(1)->Enabled());
  // Not every pair is a menu and an item.
  EXPECT_FALSE(framework::SetMenuParent(*menu, root));
  EXPECT_FALSE(framework::SetMenuParent(*file, root));
}

}  // namespace
