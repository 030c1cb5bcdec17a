#include "platform/controls/Menus.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Register.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar::test {
namespace {

// A form (never shown: input reaches it directly) with a button and a menu of five rows.
struct TMenuFixture {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TButton* Button;
  std::unique_ptr<TPopupMenu> Menu = std::make_unique<TPopupMenu>(nullptr);
  std::vector<std::string> Log;

  TMenuFixture() {
    Form->SetBounds(0, 0, 400, 300);
    Button = Make<TButton>(Form.get(), 20, 20);
    auto logged = [this](TObject* sender) {
      auto* item = static_cast<TMenuItem*>(sender);
      // What a handler sees: the menu closed already.
      Log.push_back(item->Caption() + (TPopupMenu::Opened() ? " (open)" : ""));
    };
    Menu->Items().Add("&Cut", logged);
    Menu->Items().Add("-");
    Menu->Items().Add("C&opy", logged)->SetEnabled(false);
    TMenuItem* paste = Menu->Items().Add("&Paste", logged);
    paste->SetChecked(true);
    paste->SetShortCut(ShortCut('V', TShiftState().Include(ssCtrl)));
    Menu->Items().Add("&Hidden", logged)->SetVisible(false);
    Menu->Items().Add("Select &all", logged);
  }
  void Mouse(TMessage::TKind kind, TMouseButton button, TPoint p) {
    Form->DispatchMouse(kind, button, {}, p.X, p.Y);
  }
  void Press(TPoint p, TMouseButton button = mbLeft) {
    Mouse(TMessage::MouseDown, button, p);
    Mouse(TMessage::MouseUp, button, p);
  }
  void Key(uint16_t key, TShiftState shift = {}) {
    Form->DispatchKey(TMessage::KeyDown, key, shift, 0);
    Form->DispatchKey(TMessage::KeyUp, key, shift, 0);
  }
  TColor Pixel(int32_t x, int32_t y) { return PixelToColor(Form->Snapshot().Image().At(x, y)); }
  bool RowHas(const TRect& r, TColor color) {
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x)
        if (Pixel(x, y) == color) return true;
    return false;
  }
};

TEST(Menus, PaintsAClassicMenuOnTopOfTheWindow) {
  TMenuFixture f;
  f.Menu->Popup(*f.Button, 10, 5);
  ASSERT_TRUE(f.Menu->IsOpen());
  f.Mouse(TMessage::MouseMove, mbLeft, Middle(f.Menu->ItemRect(0)));
  EXPECT_EQ(f.Menu->HotIndex(), 0);
  const TRect cut = f.Menu->ItemRect(0), line = f.Menu->ItemRect(1), copy = f.Menu->ItemRect(2),
              paste = f.Menu->ItemRect(3);
  // At the pointer, in the button's coordinates, over the button; a raised frame around it.
  EXPECT_EQ(cut.Left, 20 + 10 + 3);
  EXPECT_EQ(cut.Top, 20 + 5 + 3);
  EXPECT_EQ(f.Pixel(30, 25), Sys(cl3DLight));
  EXPECT_EQ(f.Pixel(31, 26), Sys(clBtnHighlight));
  // The hot row in the highlight colour with its text in the highlight text colour.
  EXPECT_EQ(f.Pixel(cut.Left + 2, Middle(cut).Y), Sys(clHighlight));
  EXPECT_TRUE(f.RowHas(cut, Sys(clHighlightText)));
  // The separator etched across its row.
  const int32_t y = line.Top + 3;
  EXPECT_EQ(f.Pixel(line.Left + 4, y), Sys(clBtnShadow));
  EXPECT_EQ(f.Pixel(line.Left + 4, y + 1), Sys(clBtnHighlight));
  EXPECT_EQ(f.Pixel(line.Left + 4, y - 1), Sys(clMenu));
  // The disabled item embossed, without text of the menu's colour; the others in it.
  EXPECT_FALSE(f.RowHas(copy, Sys(clMenuText)));
  EXPECT_TRUE(f.RowHas(copy, Sys(clBtnShadow)));
  EXPECT_TRUE(f.RowHas(paste, Sys(clMenuText)));
  EXPECT_EQ(f.Pixel(paste.Left + 2, Middle(paste).Y), Sys(clMenu));
  // The check mark in the column before the caption; none before an unchecked one.
  EXPECT_TRUE(f.RowHas({paste.Left, paste.Top, paste.Left + 16, paste.Bottom}, Sys(clMenuText)));
  TRect allGutter{f.Menu->ItemRect(5).Left, f.Menu->ItemRect(5).Top, f.Menu->ItemRect(5).Left + 16,
                  f.Menu->ItemRect(5).Bottom};
  EXPECT_FALSE(f.RowHas(allGutter, Sys(clMenuText)));
  // The short cut right-aligned, beyond the widest caption.
  EXPECT_EQ(ShortCutToText(f.Menu->Items()[3]->ShortCut()), "Ctrl+V");
  EXPECT_TRUE(f.RowHas({paste.Right - 40, paste.Top, paste.Right, paste.Bottom}, Sys(clMenuText)));
  // A hidden item has no row, and the row after it follows the one before.
  EXPECT_TRUE(f.Menu->ItemRect(4).Empty());
  EXPECT_EQ(f.Menu->ItemRect(5).Top, paste.Bottom);
}

TEST(Menus, StaysInsideTheWindowOpeningLeftAndUpWhereItDoesNotFit) {
  TMenuFixture f;
  const TRect client = f.Form->GetClientRect();
  f.Menu->Popup(*f.Form, client.Right - 5, client.Bottom - 5);
  const TRect first = f.Menu->ItemRect(0), last = f.Menu->ItemRect(5);
  EXPECT_EQ(last.Bottom + 3, client.Bottom - 5);  // its bottom edge at the point
  EXPECT_EQ(first.Right + 3, client.Right - 5);
  // Wider than the window: pinned to its left edge.
  f.Menu->Items()[0]->SetCaption(std::string(200, 'W'));
  f.Menu->Popup(*f.Button, 0, 0);
  EXPECT_EQ(f.Menu->ItemRect(0).Left, 3);
}

TEST(Menus, KeysMoveTheHotItemOverSeparatorsAndDisabledOnesAndChoose) {
  TMenuFixture f;
  f.Menu->Popup(*f.Button, 0, 0);
  std::vector<int> hot;
  for (int i = 0; i < 4; ++i) {
    f.Key(VK_DOWN);
    hot.push_back(f.Menu->HotIndex());
  }
  EXPECT_EQ(hot, (std::vector<int>{0, 3, 5, 0}));  // wraps around
  f.Key(VK_UP);
  EXPECT_EQ(f.Menu->HotIndex(), 5);
  f.Key(VK_HOME);
  EXPECT_EQ(f.Menu->HotIndex(), 0);
  f.Key(VK_END);
  f.Key(VK_RETURN);
  EXPECT_EQ(f.Log, std::vector<std::string>{"Select &all"});
  EXPECT_FALSE(f.Menu->IsOpen());
  EXPECT_EQ(TPopupMenu::Opened(), nullptr);
  // Escape closes without choosing; a disabled item's letter chooses nothing.
  f.Menu->Popup(*f.Button, 0, 0);
  f.Form->DispatchText("o");
  EXPECT_TRUE(f.Menu->IsOpen());
  f.Key(VK_ESCAPE);
  EXPECT_FALSE(f.Menu->IsOpen());
  // A typed accelerator chooses, and so does Alt with its letter.
  f.Menu->Popup(*f.Button, 0, 0);
  f.Form->DispatchText("p");
  f.Menu->Popup(*f.Button, 0, 0);
  f.Key('A', TShiftState().Include(ssAlt));
  EXPECT_EQ(f.Log, (std::vector<std::string>{"Select &all", "&Paste", "Select &all"}));
}

TEST(Menus, KeysWhileOpenDoNotReachTheFocusedControl) {
  TMenuFixture f;
  int keys = 0;
  f.Form->SetKeyPreview(true);
  f.Form->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++keys; };
  f.Menu->Popup(*f.Button, 0, 0);
  f.Key(VK_DOWN);
  f.Key(VK_ESCAPE);
  EXPECT_EQ(keys, 0);
  f.Key(VK_DOWN);
  EXPECT_EQ(keys, 1);
}

TEST(Menus, AReleaseOnAnEnabledRowChoosesAfterClosing) {
  TMenuFixture f;
  f.Menu->Popup(*f.Button, 0, 0);
  f.Press(Middle(f.Menu->ItemRect(2)));  // disabled
  f.Press(Middle(f.Menu->ItemRect(1)));  // separator
  EXPECT_TRUE(f.Menu->IsOpen());
  EXPECT_TRUE(f.Log.empty());
  f.Press(Middle(f.Menu->ItemRect(3)), mbRight);
  EXPECT_EQ(f.Log, std::vector<std::string>{"&Paste"});  // not "(open)"
  EXPECT_FALSE(f.Menu->IsOpen());
  EXPECT_EQ(f.Form->ControlCount(), 1);  // the menu's face went with it
}

TEST(Menus, APressOutsideClosesWithoutChoosingAndGoesNoFurther) {
  TMenuFixture f;
  int downs = 0, clicks = 0;
  f.Button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int32_t, int32_t) { ++downs; };
  f.Button->OnClick = [&](TObject*) { ++clicks; };
  f.Menu->Popup(*f.Form, 200, 200);
  f.Press(Middle(f.Button->BoundsRect()));
  EXPECT_FALSE(f.Menu->IsOpen());
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(f.Log.empty());
  f.Press(Middle(f.Button->BoundsRect()));  // closed: the button has its click again
  EXPECT_EQ(clicks, 1);
}

TEST(Menus, OnlyOneMenuIsOpenAndOnPopupMayChangeTheItems) {
  TMenuFixture f;
  TPopupMenu other(nullptr);
  other.Items().Add("Other");
  other.OnPopup = [&](TObject*) {
    EXPECT_EQ(other.PopupComponent(), f.Button);
    other.Items().Add("Added");
  };
  f.Menu->Popup(*f.Button, 0, 0);
  other.Popup(*f.Button, 0, 0);
  EXPECT_FALSE(f.Menu->IsOpen());
  EXPECT_EQ(TPopupMenu::Opened(), &other);
  EXPECT_FALSE(other.ItemRect(1).Empty());
  EXPECT_EQ(f.Form->ControlCount(), 2);
  // Items that change while it is open lay it out again; none visible closes it.
  other.Items()[0]->SetVisible(false);
  other.Items()[1]->SetVisible(false);
  EXPECT_FALSE(other.IsOpen());
}

TEST(Menus, FreeingTheMenuTheControlOrTheWindowWhileOpenLeavesNothingBehind) {
  {
    TMenuFixture f;
    f.Menu->Popup(*f.Button, 0, 0);
    f.Menu.reset();
    EXPECT_EQ(TPopupMenu::Opened(), nullptr);
    EXPECT_EQ(f.Form->ControlCount(), 1);
    f.Press({30, 30});  // the form routes on as before
  }
  {
    TMenuFixture f;
    f.Menu->Popup(*f.Button, 0, 0);
    delete f.Button;
    EXPECT_FALSE(f.Menu->IsOpen());
    EXPECT_EQ(f.Menu->PopupComponent(), nullptr);
    EXPECT_EQ(f.Form->ControlCount(), 0);
  }
  {
    TMenuFixture f;
    f.Menu->Popup(*f.Button, 0, 0);
    f.Form.reset();
    EXPECT_FALSE(f.Menu->IsOpen());
    EXPECT_EQ(TPopupMenu::Opened(), nullptr);
  }
}

TEST(Menus, PopupMenuBecomesNilWhenTheMenuIsFreed) {
  TMenuFixture f;
  f.Button->SetPopupMenu(f.Menu.get());
  f.Form->SetPopupMenu(f.Menu.get());
  f.Menu.reset();
  EXPECT_EQ(f.Button->PopupMenu(), nullptr);
  EXPECT_EQ(f.Form->PopupMenu(), nullptr);
}

TEST(Menus, ARightClickOpensTheNearestMenuAtThePointer) {
  TMenuFixture f;
  auto* panel = Make<TPanel>(f.Form.get(), 100, 100);
  auto* inner = Make<TButton>(panel, 10, 10);
  panel->SetPopupMenu(f.Menu.get());
  f.Press({125, 125}, mbRight);  // on the inner button, which has no menu of its own
  ASSERT_TRUE(f.Menu->IsOpen());
  EXPECT_EQ(f.Menu->PopupComponent(), inner);
  EXPECT_EQ(f.Menu->ItemRect(0).Left, 125 + 3);
  f.Key(VK_ESCAPE);
  f.Press({125, 125});  // the left button opens nothing
  EXPECT_FALSE(f.Menu->IsOpen());
  f.Menu->SetAutoPopup(false);
  f.Press({125, 125}, mbRight);
  EXPECT_FALSE(f.Menu->IsOpen());
  f.Menu->SetAutoPopup(true);
  // A right press outside an open menu closes it; its release opens the menu there.
  f.Press({105, 105}, mbRight);
  ASSERT_EQ(f.Menu->PopupComponent(), panel);
  f.Form->SetPopupMenu(f.Menu.get());
  f.Press({25, 25}, mbRight);
  ASSERT_TRUE(f.Menu->IsOpen());
  EXPECT_EQ(f.Menu->PopupComponent(), f.Button);
  // At design time a right click opens nothing of the form's.
  f.Key(VK_ESCAPE);
  panel->SetDesigning(true);
  f.Press({105, 105}, mbRight);
  EXPECT_FALSE(f.Menu->IsOpen());
}

TEST(Menus, ItemListsCheckTheirIndexes) {
  TPopupMenu menu(nullptr), other(nullptr);
  TMenuItem* a = menu.Items().Add("A");
  auto* b = New<TMenuItem>(nullptr);
  menu.Items().Insert(0, b);
  EXPECT_EQ(menu.Items().IndexOf(a), 1);
  EXPECT_EQ(b->Menu(), &menu);
  EXPECT_THROW(menu.Items().Insert(3, New<TMenuItem>(&menu)), EListError);
  EXPECT_THROW(menu.Items()[2], EListError);
  EXPECT_THROW(menu.Items().Items(-1), EListError);
  EXPECT_THROW(menu.Items().Delete(2), EListError);
  EXPECT_THROW(menu.Items().Add(a), EInvalidOperation);  // twice in one menu
  EXPECT_THROW(menu.Items().Add(nullptr), EInvalidOperation);
  EXPECT_THROW(menu.ItemRect(0), EInvalidOperation);  // closed
  other.Items().Add(b);                               // moves
  EXPECT_EQ(menu.Items().Count(), 1);
  EXPECT_EQ(b->Menu(), &other);
  delete b;  // leaves its menu
  EXPECT_EQ(other.Items().Count(), 0);
  menu.Items().Clear();
  EXPECT_EQ(menu.Items().Count(), 0);
  TLabel loose(nullptr);
  EXPECT_THROW(menu.Popup(loose, 0, 0), EInvalidOperation);  // on no window
}

TEST(Menus, FormFilesNestTheItemsInTheirMenu) {
  RegisterControls();
  RegisterClasses<TForm>();
  TForm form(nullptr);
  form.SetName("Form1");
  auto* menu = New<TPopupMenu>(&form);
  menu->SetName("PopupMenu1");
  auto* open = New<TMenuItem>(&form);
  open->SetName("Open1");
  open->SetCaption("&Open");
  open->SetShortCut(ShortCut('O', TShiftState().Include(ssCtrl)));
  menu->Items().Add(open);
  auto* line = New<TMenuItem>(&form);
  line->SetName("N1");
  line->SetCaption("-");
  menu->Items().Add(line);
  auto* button = New<TButton>(&form);
  button->SetName("Button1");
  button->SetParent(&form);
  button->SetPopupMenu(menu);
  auto* plain = New<TButton>(&form);
  plain->SetName("Button2");
  plain->SetParent(&form);

  const std::string text = WriteComponent(&form, TFormFormat::Text);
  EXPECT_NE(text.find("  object PopupMenu1: TPopupMenu\n"
                      "    object Open1: TMenuItem\n"
                      "      Caption = '&Open'\n"
                      "      ShortCut = 16463\n"
                      "    end\n"
                      "    object N1: TMenuItem\n"
                      "      Caption = '-'\n"
                      "    end\n"
                      "  end\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("PopupMenu = PopupMenu1"), std::string::npos);
  // Nil is not written: forms without menus stay as they were.
  const size_t button2 = text.find("object Button2");
  EXPECT_EQ(text.substr(button2, text.find("  end\n", button2) - button2).find("PopupMenu"),
            std::string::npos);

  std::unique_ptr<TComponent> back(ReadComponent(text));
  auto* menu2 = Find<TPopupMenu>(*back, "PopupMenu1");
  ASSERT_EQ(menu2->Items().Count(), 2);
  EXPECT_EQ(menu2->Items()[0]->Caption(), "&Open");
  EXPECT_EQ(menu2->Items()[0]->ShortCut(), open->ShortCut());
  EXPECT_TRUE(menu2->Items()[1]->IsLine());
  EXPECT_EQ(Find<TButton>(*back, "Button1")->PopupMenu(), menu2);
  EXPECT_EQ(WriteComponent(back.get(), TFormFormat::Text), text);
  // An item inside anything but a menu is refused.
  std::string bad = text;
  bad.replace(bad.find("  object PopupMenu1: TPopupMenu"), 0,
              "  object Button3: TButton\n    object Bad1: TMenuItem\n    end\n  end\n");
  EXPECT_THROW(ReadComponent(bad), EReadError);
}

TEST(Menus, ShortCutsReadAsTheClassicMenusShowThem) {
  EXPECT_EQ(ShortCutToText(ShortCut('Z', TShiftState().Include(ssCtrl))), "Ctrl+Z");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, TShiftState().Include(ssShift))), "Shift+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F1 + 2, TShiftState().Include(ssCtrl).Include(ssAlt))),
            "Ctrl+Alt+F3");
  EXPECT_EQ(ShortCutToText(scNone), "");
}

}  // namespace
}  // namespace zelvar::test
