// Sections: short cuts · TMenuItem · TMenuItems · the menu's layout and face · TPopupMenu
// (showing, input, form files).

#include "platform/controls/Menus.h"

#include <algorithm>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Captions.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

namespace {

// The menu open now: one at a time, whichever window it is in.
TPopupMenu* gOpened = nullptr;
// A left or middle press that closed a menu: its release is the menu's too, so the control
// under it does not see a release without a press. A right press passes its release on, so
// that right-clicking elsewhere opens the menu there, as on the classic desktop.
bool gEatRelease = false;

bool IsAlnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

// =============================================================================================
// Short cuts

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  TShortCut s = key & 0xFF;
  if (shift.Contains(ssShift)) s |= scShift;
  if (shift.Contains(ssCtrl)) s |= scCtrl;
  if (shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

std::string ShortCutToText(TShortCut shortCut) {
  const uint16_t key = shortCut & 0xFF;
  std::string name;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    name = std::string(1, static_cast<char>(key));
  } else if (key >= VK_F1 && key < VK_F1 + 12) {
    name = "F" + std::to_string(key - VK_F1 + 1);
  } else {
    static const std::pair<uint16_t, const char*> named[] = {
        {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
        {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
        {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
    };
    for (const auto& [k, n] : named)
      if (k == key) name = n;
  }
  if (name.empty()) return "";
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

// =============================================================================================
// TMenuItem

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const auto info = TClassBuilder<TMenuItem>("TMenuItem")
                               .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                               .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
                               .Default(false)
                               .Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
                               .Default(false)
                               .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                               .Default(true)
                               .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
                               .Default(scNone)
                               .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                               .Default(true)
                               .Property("OnClick", &TMenuItem::OnClick, &TMenuItem::OnClick)
                               .Build();
  return *info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (FMenu) FMenu->Items().Remove(this);
}

void TMenuItem::Changed() {
  if (FMenu) FMenu->ItemsChanged();
}

void TMenuItem::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  if (v == FDefault) return;
  FDefault = v;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (v == FShortCut) return;
  FShortCut = v;
  Changed();
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  return FMenu;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TPopupMenu*>(parent)) {
    if (FMenu != menu) menu->Items().Add(this);
    return;
  }
  // A form file keeps an item of no menu at the top, beside the menus.
  if (!parent || parent == Owner()) {
    if (FMenu) FMenu->Items().Remove(this);
    return;
  }
  throw EInvalidOperation(parent->ClassName() + " cannot hold " + ClassName() + " " + Name());
}

// =============================================================================================
// TMenuItems

void TMenuItems::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count)
    throw EListError("Menu index out of bounds (" + std::to_string(index) + ")");
}

TMenuItem* TMenuItems::Items(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)];
}

int TMenuItems::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItems::Add(TMenuItem* item) {
  Insert(Count(), item);
}

TMenuItem* TMenuItems::Add(const std::string& caption, TNotifyEvent onClick) {
  auto* item = New<TMenuItem>(&FMenu);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  Add(item);
  return item;
}

void TMenuItems::Insert(int index, TMenuItem* item) {
  if (!item) throw EInvalidOperation("Cannot insert nil into " + FormName(FMenu));
  if (item->FMenu == &FMenu)
    throw EInvalidOperation("Menu item " + FormName(*item) + " is in " + FormName(FMenu) +
                            " already");
  CheckIndex(index, Count() + 1);
  if (item->FMenu) item->FMenu->Items().Remove(item);
  FItems.insert(FItems.begin() + index, item);
  item->FMenu = &FMenu;
  FMenu.ItemsChanged();
}

void TMenuItems::Delete(int index) {
  TMenuItem* item = Items(index);
  Remove(item);
  delete item;
}

void TMenuItems::Remove(TMenuItem* item) {
  int index = IndexOf(item);
  if (index < 0) return;
  FItems.erase(FItems.begin() + index);
  item->FMenu = nullptr;
  FMenu.ItemsChanged();
}

void TMenuItems::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

// =============================================================================================
// The menu's layout and face

namespace {

// The classic menu's measures: a two-pixel raised frame and a pixel of face inside it, a
// column for the check mark before the captions, short cuts right-aligned after them.
constexpr int32_t kFrame = 3;
constexpr int32_t kGutter = 18;
constexpr int32_t kRightPad = 16;
constexpr int32_t kShortCutGap = 24;
constexpr int32_t kRowPad = 6;  // above and below the text together
constexpr int32_t kLineRow = 8;

struct TRowSize {
  bool Hidden = false;
  bool Line = false;
  int32_t Caption = 0;   // width of the caption as drawn
  int32_t ShortCut = 0;  // width of the short cut's text; 0 for none
};

struct TMenuLayout {
  std::vector<TRect> Rows;  // one per item, in the menu's coordinates; empty when hidden
  int32_t Width = 0, Height = 0;
};

// Rows one text line (plus padding) high, lines thinner; as wide as the widest caption and
// short cut need.
TMenuLayout LayOutMenu(const std::vector<TRowSize>& rows, int32_t lineHeight) {
  int32_t caption = 0, shortCut = 0;
  for (const TRowSize& r : rows) {
    if (r.Hidden || r.Line) continue;
    caption = std::max(caption, r.Caption);
    shortCut = std::max(shortCut, r.ShortCut);
  }
  TMenuLayout out;
  out.Width = 2 * kFrame + kGutter + caption + (shortCut ? kShortCutGap + shortCut : 0) + kRightPad;
  int32_t y = kFrame;
  for (const TRowSize& r : rows) {
    if (r.Hidden) {
      out.Rows.push_back({});
      continue;
    }
    int32_t h = r.Line ? kLineRow : lineHeight + kRowPad;
    out.Rows.push_back({kFrame, y, out.Width - kFrame, y + h});
    y += h;
  }
  out.Height = y + kFrame;
  return out;
}

// A check of two strokes three pixels thick, seven wide: down for three columns, then up.
void DrawCheckMark(TCanvas& c, int32_t x, int32_t y, TColor color) {
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(color);
  for (int32_t i = 0; i < 7; ++i) {
    int32_t top = y + (i < 3 ? 2 + i : 6 - i);
    c.FillRect({x + i, top, x + i + 1, top + 3});
  }
}

void SetBold(TFont& font, bool bold) {
  TFontStyles style = font.Style();
  if (bold)
    style.Include(fsBold);
  else
    style.Exclude(fsBold);
  font.SetStyle(style);
}

}  // namespace

// The open menu as its window shows it: a control on top of the window's others, which only
// paints. Its input reaches the menu through the Preview functions, so it can go at any time.
class TMenuView : public TGraphicControl {
  ZELVAR_CLASS(TMenuView, TGraphicControl)

 public:
  explicit TMenuView(TPopupMenu& menu) : TGraphicControl(nullptr), FMenu(menu) {}

  TMenuLayout Layout() {
    TCanvas measure(nullptr);
    measure.Font()->Assign(Font());
    std::vector<TRowSize> rows;
    const TMenuItems& items = FMenu.Items();
    for (int i = 0; i < items.Count(); ++i) {
      const TMenuItem* item = items[i];
      TRowSize r;
      r.Hidden = !item->Visible();
      r.Line = item->IsLine();
      SetBold(*measure.Font(), item->Default());
      r.Caption = CaptionWidth(measure, item->Caption());
      std::string shortCut = ShortCutToText(item->ShortCut());
      if (!shortCut.empty()) r.ShortCut = measure.TextWidth(shortCut);
      rows.push_back(r);
    }
    return LayOutMenu(rows, CaptionHeight(measure));
  }

 protected:
  void Paint() override {
    TCanvas& c = *Canvas();
    TRect r = GetClientRect();
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clMenu);
    c.FillRect(r);
    Frame3D(c, r, cl3DLight, cl3DDkShadow, 1);
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
    const TMenuLayout layout = Layout();
    const int32_t lineHeight = CaptionHeight(c);
    const TMenuItems& items = FMenu.Items();
    for (int i = 0; i < items.Count(); ++i) {
      const TMenuItem& item = *items[i];
      const TRect row = layout.Rows[static_cast<size_t>(i)];
      if (row.Empty()) continue;
      if (item.IsLine()) {
        // Etched: a shadow line over a highlight line, across the row.
        int32_t y = row.Top + kLineRow / 2 - 1;
        c.Brush()->SetColor(clBtnShadow);
        c.FillRect({row.Left + 1, y, row.Right - 1, y + 1});
        c.Brush()->SetColor(clBtnHighlight);
        c.FillRect({row.Left + 1, y + 1, row.Right - 1, y + 2});
        continue;
      }
      const bool hot = i == FMenu.FHot;
      if (hot) {
        c.Brush()->SetColor(clHighlight);
        c.FillRect(row);
      }
      const TColor text = hot ? clHighlightText : clMenuText;
      c.Font()->SetColor(text);
      SetBold(*c.Font(), item.Default());
      const int32_t y = row.Top + (row.Height() - lineHeight) / 2;
      if (item.Checked())
        DrawCheckMark(c, row.Left + (kGutter - 7) / 2, row.Top + (row.Height() - 9) / 2,
                      item.Enabled() ? text : clBtnShadow);
      DrawCaption(c, row.Left + kGutter, y, item.Caption(), item.Enabled());
      std::string shortCut = ShortCutToText(item.ShortCut());
      if (!shortCut.empty()) {
        c.Brush()->SetStyle(bsClear);
        if (!item.Enabled()) c.Font()->SetColor(clGrayText);
        c.TextOut(row.Right - kRightPad - c.TextWidth(shortCut), y, shortCut);
        c.Brush()->SetStyle(bsSolid);
      }
    }
  }

 private:
  TPopupMenu& FMenu;
};

const TClassInfo& TMenuView::StaticClassInfo() {
  static const auto info = TClassBuilder<TMenuView>("TMenuView").Build();
  return *info;
}

// =============================================================================================
// TPopupMenu

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TPopupMenu>("TPopupMenu")
          .Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
          .Default(true)
          .Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup)
          .Public("IsOpen", &TPopupMenu::IsOpen)
          .Build();
  return *info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() {
  Close();
  // The items are the menu's, whoever owns them.
  while (!FItems.FItems.empty()) {
    TMenuItem* item = FItems.FItems.back();
    FItems.FItems.pop_back();
    item->FMenu = nullptr;
    delete item;
  }
}

TPopupMenu* TPopupMenu::Opened() {
  return gOpened;
}

void TPopupMenu::Popup(TControl& over, int32_t x, int32_t y) {
  if (!over.GetParentForm())
    throw EInvalidOperation("Cannot show " + FormName(*this) + " over " + FormName(over) +
                            ": it is on no window");
  if (gOpened) gOpened->Close();
  FOver = &over;
  FreeNotification(&over);
  if (OnPopup) OnPopup(this);
  // The handler may have freed the control, or opened a menu of its own.
  if (FOver != &over || gOpened) {
    FOver = nullptr;
    return;
  }
  TWinControl* window = over.GetParentForm();
  if (!window || std::none_of(FItems.FItems.begin(), FItems.FItems.end(),
                              [](const TMenuItem* i) { return i->Visible(); })) {
    FOver = nullptr;
    return;
  }
  auto* view = New<TMenuView>(*this);
  FView = view;
  FreeNotification(view);
  FHot = -1;
  gOpened = this;
  gEatRelease = false;
  const TMenuLayout layout = view->Layout();
  // Where it does not fit to the right of (below) the point, it opens to the left (above), so
  // the pointer stays off its rows; then it is kept inside the window.
  const TPoint origin = &over == window ? TPoint{0, 0} : over.FormOrigin();
  const TRect client = window->GetClientRect();
  auto place = [](int64_t at, int32_t size, int32_t room) {
    if (at + size > room) at -= size;
    return ClampExtent(std::max<int64_t>(0, std::min<int64_t>(at, int64_t{room} - size)));
  };
  view->SetBounds(place(int64_t{origin.X} + x, layout.Width, client.Width()),
                  place(int64_t{origin.Y} + y, layout.Height, client.Height()), layout.Width,
                  layout.Height);
  view->SetParent(window);
}

void TPopupMenu::Close() {
  FOver = nullptr;
  if (!FView) return;
  TControl* view = FView;
  FView = nullptr;
  FHot = -1;
  if (gOpened == this) gOpened = nullptr;
  delete view;
}

TRect TPopupMenu::ItemRect(int index) const {
  FItems.CheckIndex(index, FItems.Count());
  auto* view = static_cast<TMenuView*>(FView);
  if (!view) throw EInvalidOperation(FormName(*this) + " is not open");
  TRect r = view->Layout().Rows[static_cast<size_t>(index)];
  if (r.Empty()) return {};
  return {r.Left + view->Left(), r.Top + view->Top(), r.Right + view->Left(),
          r.Bottom + view->Top()};
}

void TPopupMenu::ItemsChanged() {
  if (!FView) return;
  if (FHot >= FItems.Count() ||
      (FHot >= 0 && !FItems.FItems[static_cast<size_t>(FHot)]->Selectable()))
    FHot = -1;
  Relayout();
}

void TPopupMenu::Relayout() {
  if (std::none_of(FItems.FItems.begin(), FItems.FItems.end(),
                   [](const TMenuItem* i) { return i->Visible(); })) {
    Close();
    return;
  }
  const TMenuLayout layout = static_cast<TMenuView*>(FView)->Layout();
  FView->SetBounds(FView->Left(), FView->Top(), layout.Width, layout.Height);
  FView->Invalidate();
}

void TPopupMenu::SetHot(int index) {
  if (index == FHot) return;
  FHot = index;
  if (FView) FView->Invalidate();
}

void TPopupMenu::StepHot(int step) {
  const int n = FItems.Count();
  const int start = FHot >= 0 ? FHot : (step > 0 ? -1 : n);
  for (int i = 1; i <= n; ++i) {
    int index = ((start + step * i) % n + n) % n;
    if (FItems.FItems[static_cast<size_t>(index)]->Selectable()) {
      SetHot(index);
      return;
    }
  }
}

void TPopupMenu::Choose(int index) {
  TMenuItem* item = FItems.Items(index);
  // Closed first: the handler may open a dialog, or another menu.
  Close();
  item->Click();
}

bool TPopupMenu::Accelerator(char letter) {
  std::vector<int> matches;
  for (int i = 0; i < FItems.Count(); ++i) {
    const TMenuItem& item = *FItems.FItems[static_cast<size_t>(i)];
    if (item.Selectable() && IsAccel(letter, item.Caption())) matches.push_back(i);
  }
  if (matches.empty()) return false;
  if (matches.size() == 1) {
    Choose(matches[0]);
    return true;
  }
  // Items sharing a letter take turns being hot, as in the classic menus.
  auto next = std::upper_bound(matches.begin(), matches.end(), FHot);
  SetHot(next == matches.end() ? matches.front() : *next);
  return true;
}

int TPopupMenu::ItemAtPoint(int32_t x, int32_t y) const {
  if (!FView) return -1;
  const TMenuLayout layout = static_cast<TMenuView*>(FView)->Layout();
  for (size_t i = 0; i < layout.Rows.size(); ++i)
    if (layout.Rows[i].Contains(x - FView->Left(), y - FView->Top())) return static_cast<int>(i);
  return -1;
}

bool TPopupMenu::PreviewMouse(TWinControl& window, TMouseAction action, TMouseButton button,
                              int32_t x, int32_t y) {
  TPopupMenu* menu = gOpened;
  if (!menu) {
    if (action == TMouseAction::Down) gEatRelease = false;
    if (action != TMouseAction::Up || !gEatRelease) return false;
    gEatRelease = false;
    return true;
  }
  if (menu->FView->Parent() != &window) {
    // A press in another window closes the menu and goes on there.
    if (action == TMouseAction::Down) menu->Close();
    return false;
  }
  const bool inside = menu->FView->BoundsRect().Contains(x, y);
  const int index = menu->ItemAtPoint(x, y);
  const bool selectable =
      index >= 0 && menu->FItems.FItems[static_cast<size_t>(index)]->Selectable();
  switch (action) {
    case TMouseAction::Move:
    case TMouseAction::Down:
      if (action == TMouseAction::Down && !inside) {
        menu->Close();
        gEatRelease = button != mbRight;
        break;
      }
      menu->SetHot(selectable ? index : -1);
      break;
    case TMouseAction::Up:
      // A release off the rows (the one of the press that opened the menu) leaves it open.
      if (selectable) menu->Choose(index);
      break;
  }
  return true;
}

bool TPopupMenu::PreviewKey(TWinControl& window, bool down, uint16_t key, TShiftState shift) {
  TPopupMenu* menu = gOpened;
  if (!menu || menu->FView->Parent() != &window) return false;
  if (!down) return true;
  switch (key) {
    case VK_UP:
      menu->StepHot(-1);
      break;
    case VK_DOWN:
      menu->StepHot(1);
      break;
    case VK_HOME:
      menu->SetHot(-1);
      menu->StepHot(1);
      break;
    case VK_END:
      menu->SetHot(-1);
      menu->StepHot(-1);
      break;
    case VK_RETURN:
      if (menu->FHot >= 0) menu->Choose(menu->FHot);
      break;
    case VK_ESCAPE:
      menu->Close();
      break;
    default:
      // Plain letters come as typed text; with Alt nothing is typed, so the key says it.
      if (shift.Contains(ssAlt) && key < 0x80 && IsAlnum(static_cast<char>(key)))
        menu->Accelerator(static_cast<char>(key));
  }
  return true;
}

bool TPopupMenu::PreviewText(TWinControl& window, std::string_view text) {
  TPopupMenu* menu = gOpened;
  if (!menu || menu->FView->Parent() != &window) return false;
  // Accelerators are ASCII letters and digits; the rest of the text after a choice is the
  // menu's too.
  for (char c : text)
    if (IsAlnum(c) && menu->Accelerator(c) && !menu->IsOpen()) break;
  return true;
}

void TPopupMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
  for (TMenuItem* item : std::vector<TMenuItem*>(FItems.FItems)) proc(item);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FView) {
    // Its window took it along.
    FView = nullptr;
    FOver = nullptr;
    FHot = -1;
    if (gOpened == this) gOpened = nullptr;
  } else if (component == FOver) {
    Close();
  }
}

}  // namespace zelvar
