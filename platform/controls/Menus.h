#pragma once
// Popup menus: a TPopupMenu holds a flat list of TMenuItem and shows it over a control, on top
// of everything in that control's window, until an item is chosen or the menu is closed. While
// it is open the menu has the window's mouse presses and keys: the form offers them to it
// first (PreviewMouse, PreviewKey, PreviewText). Popup returns at once; the choice arrives as
// the item's OnClick, raised after the menu has closed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/Controls.h"

namespace zelvar {

class TPopupMenu;

// A key with its modifiers, as a menu item shows it: the virtual key in the low byte.
using TShortCut = uint16_t;
inline constexpr TShortCut scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, TShiftState shift);
// "Ctrl+Z", "Shift+Del", "F3"; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);

class TMenuItem : public TComponent {
  ZELVAR_CLASS(TMenuItem, TComponent)

 public:
  explicit TMenuItem(TComponent* owner);
  // Leaves its menu.
  ~TMenuItem() override;

  // '&' marks the accelerator; "-" makes the item a separator line.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  bool IsLine() const { return FCaption == "-"; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  // The default item is drawn bold.
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  // Shown right-aligned beside the caption.
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v);

  // The menu that lists the item; nullptr when none does.
  TPopupMenu* Menu() const { return FMenu; }
  // Visible, enabled and not a line: the hot item can be this one.
  bool Selectable() const { return FVisible && FEnabled && !IsLine(); }
  // Raises OnClick when the item is enabled.
  virtual void Click();

  TNotifyEvent OnClick;

  // Form files nest the items inside their menu.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TMenuItems;
  friend class TPopupMenu;
  void Changed();

  std::string FCaption;
  bool FEnabled = true;
  bool FChecked = false;
  bool FVisible = true;
  bool FDefault = false;
  TShortCut FShortCut = scNone;
  TPopupMenu* FMenu = nullptr;
};

// The items of a menu, in order. Out-of-range indexes raise EListError.
class TMenuItems {
 public:
  TMenuItems(const TMenuItems&) = delete;
  TMenuItems& operator=(const TMenuItems&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* operator[](int index) const { return Items(index); }
  // -1 when the item is not in this menu.
  int IndexOf(const TMenuItem* item) const;
  // At the end; an item in another menu leaves it first.
  void Add(TMenuItem* item);
  // A new item owned by the menu, at the end.
  TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = {});
  // At index 0..Count.
  void Insert(int index, TMenuItem* item);
  // Takes the item out and frees it.
  void Delete(int index);
  // Takes the item out without freeing it; nothing when it is not in this menu.
  void Remove(TMenuItem* item);
  // Frees every item.
  void Clear();

 private:
  friend class TPopupMenu;
  explicit TMenuItems(TPopupMenu& menu) : FMenu(menu) {}
  void CheckIndex(int index, int count) const;

  TPopupMenu& FMenu;
  std::vector<TMenuItem*> FItems;
};

// What the mouse did, as the form offers it to the open menu.
enum class TMouseAction : uint8_t { Down, Up, Move };

class TPopupMenu : public TComponent {
  ZELVAR_CLASS(TPopupMenu, TComponent)

 public:
  explicit TPopupMenu(TComponent* owner);
  // Closes the menu and frees its items.
  ~TPopupMenu() override;

  TMenuItems& Items() { return FItems; }
  const TMenuItems& Items() const { return FItems; }

  // A right click on a control that names this menu opens it.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }

  // Raises OnPopup, then shows the menu with its top-left corner at x, y in over's
  // coordinates, in over's top-level window and inside it (to the left of or above the point
  // where it does not fit). Closes any other open menu first. A menu without visible items
  // shows nothing. Raises EInvalidOperation when over is on no window.
  void Popup(TControl& over, int32_t x, int32_t y);
  // Closes without choosing; nothing when closed.
  void Close();
  bool IsOpen() const { return FView != nullptr; }
  // The menu open now, or nullptr.
  static TPopupMenu* Opened();
  // The control the open menu was shown over; nullptr when closed.
  TControl* PopupComponent() const { return FOver; }
  // The index of the hot (highlighted) item; -1 for none.
  int HotIndex() const { return FHot; }
  // An item's row in the top-level window's client coordinates, while the menu is open; empty
  // for an invisible item. EListError for a bad index, EInvalidOperation when closed.
  TRect ItemRect(int index) const;

  TNotifyEvent OnPopup;

  // --- input of the window the menu is open in, before its controls see it; true when the
  // menu took it. The form calls these for every mouse message, key and typed text.
  static bool PreviewMouse(TWinControl& window, TMouseAction action, TMouseButton button, int32_t x,
                           int32_t y);
  static bool PreviewKey(TWinControl& window, bool down, uint16_t key, TShiftState shift);
  static bool PreviewText(TWinControl& window, std::string_view text);

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMenuItem;
  friend class TMenuItems;
  friend class TMenuView;
  // The items changed: an open menu lays itself out again.
  void ItemsChanged();
  void Relayout();
  void SetHot(int index);
  // Moves the hot item by step (+1 or -1) to the next selectable one, wrapping around.
  void StepHot(int step);
  // Closes the menu, then clicks the item.
  void Choose(int index);
  bool Accelerator(char letter);
  int ItemAtPoint(int32_t x, int32_t y) const;  // window coordinates; -1 for none

  TMenuItems FItems{*this};
  bool FAutoPopup = true;
  TControl* FView = nullptr;  // the menu as shown, a child of the window; nullptr when closed
  TControl* FOver = nullptr;
  int FHot = -1;
};

}  // namespace zelvar
