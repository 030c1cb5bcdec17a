#include "platform/controls/ListBox.h"

#include <algorithm>
#include <numeric>

#include "platform/controls/Accessibility.h"
#include "platform/core/Text.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

// =============================================================================================
// TListBoxStrings

const TClassInfo& TListBoxStrings::StaticClassInfo() {
  static const auto info = TClassBuilder<TListBoxStrings>("TListBoxStrings").Build();
  return *info;
}

std::string TListBoxStrings::Get(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)].Text;
}

void TListBoxStrings::Put(int index, const std::string& s) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)].Text = s;
  if (FBox && FBox->Sorted()) {
    // The changed item leaves its place and takes the one its new text sorts to.
    TItem item = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    const int to = SortedIndex(item.Text);
    FItems.insert(FItems.begin() + to, std::move(item));
    MoveItem(index, to);
  }
  Changed();
}

int64_t TListBoxStrings::GetObject(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)].Object;
}

void TListBoxStrings::PutObject(int index, int64_t object) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)].Object = object;
  Changed();
}

void TListBoxStrings::InsertObject(int index, const std::string& s, int64_t object) {
  CheckIndex(index, Count() + 1);
  if (FBox && FBox->Sorted()) index = SortedIndex(s);
  FItems.insert(FItems.begin() + index, TItem{s, object, false});
  if (FBox) FBox->ItemsMoved([index](int32_t v) { return v >= index ? v + 1 : v; });
  Changed();
}

void TListBoxStrings::Delete(int index) {
  CheckIndex(index, Count());
  FItems.erase(FItems.begin() + index);
  if (FBox)
    FBox->ItemsMoved([index](int32_t v) { return v == index ? -1 : v > index ? v - 1 : v; });
  Changed();
}

void TListBoxStrings::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  if (FBox) FBox->ItemsMoved([](int32_t) { return -1; });
  Changed();
}

void TListBoxStrings::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
  if (FBox)
    FBox->ItemsMoved([index1, index2](int32_t v) {
      return v == index1 ? index2 : v == index2 ? index1 : v;
    });
  // A sorted box stays sorted: the two go back where they belong.
  if (FBox && FBox->Sorted()) Sort();
  Changed();
}

int TListBoxStrings::SortedIndex(const std::string& s) const {
  auto it = std::upper_bound(
      FItems.begin(), FItems.end(), s,
      [](const std::string& a, const TItem& b) { return CompareText(a, b.Text) < 0; });
  return static_cast<int>(it - FItems.begin());
}

void TListBoxStrings::MoveItem(int from, int to) {
  if (!FBox || from == to) return;
  FBox->ItemsMoved([from, to](int32_t v) {
    if (v == from) return to;
    if (from < to && v > from && v <= to) return v - 1;
    if (to < from && v >= to && v < from) return v + 1;
    return v;
  });
}

void TListBoxStrings::Sort() {
  std::vector<int32_t> order(FItems.size());  // order[new] = old
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [this](int32_t a, int32_t b) {
    return CompareText(FItems[static_cast<size_t>(a)].Text, FItems[static_cast<size_t>(b)].Text) <
           0;
  });
  std::vector<TItem> sorted;
  sorted.reserve(FItems.size());
  std::vector<int32_t> where(FItems.size());  // where[old] = new
  for (size_t i = 0; i < order.size(); ++i) {
    sorted.push_back(std::move(FItems[static_cast<size_t>(order[i])]));
    where[static_cast<size_t>(order[i])] = static_cast<int32_t>(i);
  }
  FItems = std::move(sorted);
  if (FBox)
    FBox->ItemsMoved([&where](int32_t v) { return v < 0 ? v : where[static_cast<size_t>(v)]; });
  Changed();
}

// =============================================================================================
// TListBox

const TClassInfo& TListBox::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TListBox>("TListBox")
          .Publish("Align")
          .Publish("Color")
          .Default(kDefaultColor)
          .Publish("Enabled")
          .Property("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect)
          .Default(kDefaultExtendedSelect)
          .Publish("Font")
          .Property("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight)
          .Stored(&TListBox::ItemHeightStored)
          .Property("Items", &TListBox::Items, &TListBox::SetItems)
          .Property("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect)
          .Default(false)
          .Publish("PopupMenu")
          .Property("Sorted", &TListBox::Sorted, &TListBox::SetSorted)
          .Default(false)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Visible", "OnClick")
          .Publish("OnDblClick", "OnEnter", "OnExit", "OnMouseDown", "OnMouseUp")
          .Public("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex)
          .Public("TopIndex", &TListBox::TopIndex, &TListBox::SetTopIndex)
          .Public("Count", &TListBox::Count)
          .Public("SelCount", &TListBox::SelCount)
          .Method("SelectItem", &TListBox::SelectItem)
          .Method("UnselectItem", &TListBox::UnselectItem)
          .Method("ClearSelection", &TListBox::ClearSelection)
          .Publish("Required")
          .Build();
  return *info;
}

TListBox::TListBox(TComponent* owner)
    : TCustomControl(owner),
      FItems(std::make_unique<TListBoxStrings>(this)),
      FBar(*this, sbVertical) {
  FItems->OnChange = [this](TStrings&) { ItemsChanged(); };
  FBar.OnScroll = [this](TScrollCode, int32_t& pos) {
    SetTopIndex(pos);
    pos = FTopIndex;
  };
  // The item height follows the font unless it was set.
  Font()->OnChange = [this, invalidate = Font()->OnChange] {
    if (invalidate) invalidate();
    MeasureFont();
  };
  MeasureFont();
  IncludeStyle(csDoubleClicks);
  SetColor(kDefaultColor);
  SetTabStop(kDefaultTabStop);
  SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() {
  FItems->OnChange = nullptr;
  FItems->FBox = nullptr;
}

void TListBox::MeasureFont() {
  TCanvas& c = *Canvas();
  c.Font()->Assign(Font());
  FFontItemHeight = std::max(c.TextHeight("0"), 1);
  UpdateScrollBar();
}

void TListBox::SetItems(TStrings* v) {
  if (v)
    FItems->Assign(v);
  else
    FItems->Clear();
}

void TListBox::ItemsMoved(const std::function<int32_t(int32_t)>& where) {
  if (FItemIndex >= 0) FItemIndex = where(FItemIndex);
  if (FAnchor >= 0) FAnchor = where(FAnchor);
}

void TListBox::ItemsChanged() {
  UpdateScrollBar();
  Invalidate();
  // Clearing or deleting the items may take the selection with them.
  NotifyInputChanged();
}

bool TListBox::InputSatisfied() const {
  return SelCount() > 0;
}

void TListBox::CheckIndex(int32_t index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// --- selection

void TListBox::SetItemIndex(int32_t v) {
  if (v < -1 || v >= Count())
    throw EListError("List index out of bounds (" + std::to_string(v) + ")");
  if (!FMultiSelect) {
    if (FItemIndex >= 0) FItems->FItems[static_cast<size_t>(FItemIndex)].Selected = false;
    if (v >= 0) FItems->FItems[static_cast<size_t>(v)].Selected = true;
  }
  FItemIndex = FAnchor = v;
  ScrollInView(v);
  Invalidate();
  NotifyInputChanged();
}

bool TListBox::Selected(int32_t index) const {
  CheckIndex(index);
  return FItems->FItems[static_cast<size_t>(index)].Selected;
}

void TListBox::SetSelected(int32_t index, bool v) {
  CheckIndex(index);
  if (!FMultiSelect) {
    // One item at most: selecting makes it current, unselecting the current leaves none.
    if (v)
      SetItemIndex(index);
    else if (index == FItemIndex)
      SetItemIndex(-1);
    return;
  }
  FItems->FItems[static_cast<size_t>(index)].Selected = v;
  Invalidate();
  NotifyInputChanged();
}

int32_t TListBox::SelCount() const {
  if (!FMultiSelect) return FItemIndex >= 0 ? 1 : 0;
  return static_cast<int32_t>(std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                                            [](const auto& item) { return item.Selected; }));
}

void TListBox::ClearSelection() {
  if (!FMultiSelect) {
    SetItemIndex(-1);
    return;
  }
  for (auto& item : FItems->FItems) item.Selected = false;
  Invalidate();
  NotifyInputChanged();
}

void TListBox::SetMultiSelect(bool v) {
  if (v == FMultiSelect) return;
  FMultiSelect = v;
  if (!v) {
    // Back to one selected item: the current one.
    for (auto& item : FItems->FItems) item.Selected = false;
    if (FItemIndex >= 0) FItems->FItems[static_cast<size_t>(FItemIndex)].Selected = true;
  }
  Invalidate();
  NotifyInputChanged();
}

void TListBox::SetSorted(bool v) {
  if (v == FSorted) return;
  FSorted = v;
  if (v) FItems->Sort();
}

bool TListBox::SelectRange(int32_t from, int32_t to, bool keepOthers) {
  if (from > to) std::swap(from, to);
  bool changed = false;
  for (int32_t i = 0; i < Count(); ++i) {
    auto& item = FItems->FItems[static_cast<size_t>(i)];
    const bool in = i >= from && i <= to;
    const bool now = in || (keepOthers && item.Selected);
    changed |= now != item.Selected;
    item.Selected = now;
  }
  return changed;
}

bool TListBox::MoveFocus(int32_t index, TShiftState shift, bool byMouse) {
  const int32_t old = FItemIndex;
  bool changed = index != old;
  auto& item = FItems->FItems[static_cast<size_t>(index)];
  if (!FMultiSelect) {
    if (old >= 0) FItems->FItems[static_cast<size_t>(old)].Selected = false;
    item.Selected = true;
    FAnchor = index;
  } else if (FExtendedSelect && shift.Contains(ssShift)) {
    if (FAnchor < 0) FAnchor = index;
    changed |= SelectRange(FAnchor, index, shift.Contains(ssCtrl));
  } else if (FExtendedSelect && !shift.Contains(ssCtrl)) {
    changed |= SelectRange(index, index, false);
    FAnchor = index;
  } else if (byMouse) {
    // Ctrl+click in an extended box, any click in a simple one: the item toggles.
    item.Selected = !item.Selected;
    changed = true;
    FAnchor = index;
  }
  // Without a click, Ctrl+arrows (or arrows in a simple multi-select box) move only the focus.
  FItemIndex = index;
  ScrollInView(index);
  Invalidate();
  if (changed) NotifyInputChanged();
  return changed;
}

// --- geometry

int32_t TListBox::ItemHeight() const {
  return FItemHeight > 0 ? FItemHeight : FFontItemHeight;
}

void TListBox::SetItemHeight(int32_t v) {
  v = std::clamp(v, 0, kMaxExtent);
  if (v == FItemHeight) return;
  FItemHeight = v;
  UpdateScrollBar();
  Invalidate();
}

void TListBox::ChangeScale(int32_t m, int32_t d) {
  TCustomControl::ChangeScale(m, d);
  if (FItemHeight > 0) SetItemHeight(ScaleExtent(FItemHeight, m, d));
}

int32_t TListBox::VisibleRows() const {
  const int32_t room = std::max(Height() - 2 * kBorder, 0);
  return room / ItemHeight();
}

int32_t TListBox::MaxTopIndex() const {
  return std::max(Count() - std::max(VisibleRows(), 1), 0);
}

TRect TListBox::ItemsArea() const {
  const TRect area = PlaceScrollBars(Shrink(GetClientRect(), kBorder), false,
                                     !FBar.Bounds().Empty(), ScrollBarWidth(*this))
                         .Client;
  return area.Empty() ? TRect{} : area;
}

int32_t TListBox::ItemAtPos(int32_t x, int32_t y) const {
  const TRect area = ItemsArea();
  if (!area.Contains(x, y)) return -1;
  const int64_t index = int64_t{FTopIndex} + (y - area.Top) / ItemHeight();
  return index < Count() ? static_cast<int32_t>(index) : -1;
}

TRect TListBox::ItemRect(int32_t index) const {
  CheckIndex(index);
  const TRect area = ItemsArea();
  if (index < FTopIndex || area.Empty()) return {};
  const int64_t top = area.Top + int64_t{index - FTopIndex} * ItemHeight();
  if (top >= area.Bottom) return {};
  const auto y = static_cast<int32_t>(top);
  return {area.Left, y, area.Right, y + ItemHeight()};
}

void TListBox::UpdateScrollBar() {
  const int32_t rows = VisibleRows();
  const TRect inner = Shrink(GetClientRect(), kBorder);
  // The bar shows only when there is more than fits, as the classic box has it.
  const bool shown = Count() > rows && !inner.Empty();
  FBar.SetBounds(PlaceScrollBars(inner, false, shown, ScrollBarWidth(*this)).Vert);
  FBar.SetParams(0, std::max(Count() - 1, 0), std::max(rows, 1));
  FBar.SetLargeChange(std::max(rows - 1, 1));
  FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
  FBar.SetPosition(FTopIndex);
}

void TListBox::SetTopIndex(int32_t v) {
  v = std::clamp(v, 0, MaxTopIndex());
  if (v == FTopIndex) return;
  FTopIndex = v;
  FBar.SetPosition(v);
  Invalidate();
}

void TListBox::ScrollInView(int32_t index) {
  if (index < 0) return;
  const int32_t rows = std::max(VisibleRows(), 1);
  if (index < FTopIndex)
    SetTopIndex(index);
  else if (index >= FTopIndex + rows)
    SetTopIndex(index - rows + 1);
}

void TListBox::WMSize() {
  TCustomControl::WMSize();
  UpdateScrollBar();
}

// --- mouse and keyboard

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  if (!Focused() && CanFocus() && GetParentForm() != this) SetFocus();
  if (ScrollBarsMouseDown({&FBar}, x, y)) return;
  if (shift.Contains(ssDouble)) {
    // The first press chose the item; the second is the double click, not another choice.
    FControlState.Exclude(csLButtonDown);
    return;
  }
  const int32_t index = ItemAtPos(x, y);
  if (index < 0) return;
  FDragging = true;
  MoveFocus(index, shift, true);
}

void TListBox::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseMove(shift, x, y);
  if (ScrollBarsMouseMove({&FBar}, x, y)) return;
  if (!FDragging || Count() == 0) return;
  // Dragging past the top or bottom scrolls a line at a time towards it.
  const TRect area = ItemsArea();
  int32_t index;
  if (y < area.Top)
    index = std::max(FTopIndex - 1, 0);
  else if (y >= area.Bottom)
    index = std::min(FTopIndex + std::max(VisibleRows(), 1), Count() - 1);
  else
    index = ItemAtPos(area.Left, y);
  if (index < 0) index = Count() - 1;  // below the last item
  if (index == FItemIndex) return;
  if (!FMultiSelect)
    MoveFocus(index, {}, true);
  else if (FExtendedSelect)
    MoveFocus(index, {ssShift}, true);
}

void TListBox::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  // A press on the scroll bar scrolls; it is not a click on an item.
  if (ScrollBarsMouseUp({&FBar}, x, y)) FControlState.Exclude(csLButtonDown);
  FDragging = false;
  TCustomControl::MouseUp(button, shift, x, y);
}

void TListBox::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const int32_t count = Count();
  const int32_t page = std::max(VisibleRows() - 1, 1);
  const int32_t at = FItemIndex;
  int64_t to;
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      to = at < 0 ? 0 : at - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      to = int64_t{at} + 1;
      break;
    case VK_PRIOR:
      to = int64_t{at} - page;
      break;
    case VK_NEXT:
      to = int64_t{at} + page;
      break;
    case VK_HOME:
      to = 0;
      break;
    case VK_END:
      to = count - 1;
      break;
    case VK_SPACE:
      key = 0;
      if (!FMultiSelect || at < 0) return;
      if (FExtendedSelect && shift.Contains(ssShift)) {
        if (MoveFocus(at, shift, false)) Click();
      } else {
        SetSelected(at, !Selected(at));
        Click();
      }
      return;
    default:
      return;
  }
  key = 0;
  if (count == 0) return;
  if (MoveFocus(static_cast<int32_t>(std::clamp<int64_t>(to, 0, count - 1)), shift, false)) Click();
}

int32_t TListBox::FindByFirstChar(char32_t c) const {
  const int32_t count = Count();
  auto fold = [](char32_t ch) {
    return ch < 0x80 ? static_cast<char32_t>(UpperChar(static_cast<char>(ch))) : ch;
  };
  const char32_t want = fold(c);
  for (int32_t k = 1; k <= count; ++k) {
    const int32_t i = static_cast<int32_t>((int64_t{FItemIndex} + k + count) % count);
    const std::string& text = FItems->Ref(i);
    if (!text.empty() && fold(DecodeUtf8Char(text, 0).Code) == want) return i;
  }
  return -1;
}

void TListBox::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if (key < 32 || key == 127) return;
  const int32_t index = FindByFirstChar(key);
  key = 0;
  if (index >= 0 && MoveFocus(index, {}, false)) Click();
}

bool TListBox::DoMouseWheel(TShiftState, int32_t wheelDelta, TPoint) {
  const int64_t lines = int64_t{WheelNotches(FWheelRest, wheelDelta)} * kWheelScrollLines;
  SetTopIndex(static_cast<int32_t>(std::clamp<int64_t>(FTopIndex - lines, 0, Count())));
  return true;
}

// --- painting

void TListBox::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect client = GetClientRect();
  canvas.Brush()->SetStyle(bsSolid);
  // A sunken box: two pixels of edge, darker along the top and left.
  Frame3D(canvas, client, clBtnShadow, clBtnHighlight);
  Frame3D(canvas, Shrink(client, 1), cl3DDkShadow, cl3DLight);
  const TRect inner = Shrink(client, kBorder);
  if (inner.Empty()) return;
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(inner);
  FBar.Paint(canvas, EnabledInTree());

  const TRect area = ItemsArea();
  if (area.Empty()) return;
  const TPoint origin = canvas.Origin();
  const TRect deviceClip = Offset(canvas.ClipRect(), origin);
  canvas.SetDeviceClip(Intersect(deviceClip, Offset(area, origin)));
  const bool enabled = EnabledInTree();
  const TColor text = enabled ? Font()->Color() : clGrayText;
  const int32_t h = ItemHeight();
  // Only the items that show: from the top one down to the bottom of the box.
  for (int32_t i = FTopIndex, y = area.Top; i < Count() && y < area.Bottom; ++i, y += h) {
    const TRect rect{area.Left, y, area.Right, y + h};
    const bool selected = FItems->FItems[static_cast<size_t>(i)].Selected;
    if (selected) {
      canvas.Brush()->SetColor(clHighlight);
      canvas.FillRect(rect);
    }
    canvas.Font()->SetColor(selected ? clHighlightText : text);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(rect.Left + 2, rect.Top, FItems->Ref(i));
    canvas.Brush()->SetStyle(bsSolid);
  }
  if (Focused() && FItemIndex >= 0) {
    const TRect focus = ItemRect(FItemIndex);
    if (!focus.Empty()) canvas.DrawFocusRect(focus);
  }
  canvas.SetDeviceClip(deviceClip);
}

// =============================================================================================
// What a screen reader learns of it

void TListBox::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arList;
  d.Name.clear();
  const TAccessibleStates shared =
      d.States * TAccessibleStates{astEnabled, astSensitive, astVisible};
  auto* self = const_cast<TListBox*>(this);
  for (int32_t i = 0; i < Count(); ++i) {
    TAccessiblePart item{arListItem, FItems->Get(i), shared + TAccessibleStates{astSelectable},
                         ItemRect(i), [self, i] {
                           // As a click on the item: it is chosen, and the program hears it.
                           if (self->MultiSelect()) self->SetSelected(i, true);
                           self->SetItemIndex(i);
                           self->Click();
                         }};
    if (Selected(i)) item.States.Include(astSelected);
    if (d.States.Contains(astShowing) && !item.Bounds.Empty()) item.States.Include(astShowing);
    d.Parts.push_back(std::move(item));
  }
}

}  // namespace zelvar
