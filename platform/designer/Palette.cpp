#include "platform/designer/Palette.h"

#include "platform/controls/Menus.h"

#include <algorithm>

#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Image.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TabPaint.h"
#include "platform/core/Text.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

void RegisterStandardPalette() {
  // RegisterComponents finds the page by name and keeps each class once, so a second call
  // leaves the page as it is. One line a class: the order here is the order on the page.
  RegisterComponents("Standard",
                     {
                         &TLabel::StaticClassInfo(),       &TEdit::StaticClassInfo(),
                         &TMemo::StaticClassInfo(),        &TButton::StaticClassInfo(),
                         &TBitBtn::StaticClassInfo(),      &TCheckBox::StaticClassInfo(),
                         &TRadioButton::StaticClassInfo(), &TListBox::StaticClassInfo(),
                         &TComboBox::StaticClassInfo(),    &TScrollBar::StaticClassInfo(),
                         &TGroupBox::StaticClassInfo(),    &TPanel::StaticClassInfo(),
                         &TImage::StaticClassInfo(),       &TPageControl::StaticClassInfo(),
                         &TStringGrid::StaticClassInfo(),  &TDrawGrid::StaticClassInfo(),
                         &TProgressBar::StaticClassInfo(), &TTimer::StaticClassInfo(),
                         &TPopupMenu::StaticClassInfo(),
                     },
                     StandardPaletteImages());
}

// =============================================================================================
// Geometry

namespace {

constexpr int32_t kTabTop = 2;
constexpr int32_t kTabHeight = 18;
constexpr int32_t kBandTop = kTabTop + kTabHeight;  // the raised band the buttons sit on
constexpr int32_t kRowTop = kBandTop + 5;
constexpr int32_t kMargin = 4;
constexpr int32_t kEntriesLeft = kMargin + TComponentPalette::kButtonSize + 6;
constexpr int32_t kScrollWidth = 12;
constexpr int32_t kImageSize = 24;

}  // namespace

TPaletteRow LayOutPaletteRow(int32_t width, int32_t entryCount, int32_t scroll) {
  constexpr int32_t size = TComponentPalette::kButtonSize;
  TPaletteRow row;
  row.Arrow = {kMargin, kRowTop, kMargin + size, kRowTop + size};
  const int32_t count = std::max(entryCount, 0);
  row.Entries.assign(static_cast<size_t>(count), TRect{});
  int32_t right = width - kMargin;
  int32_t fit = std::max(0, (right - kEntriesLeft) / size);
  if (count > fit) {
    // The two arrows take the right end; the entries get what is left.
    row.ScrollOn = {right - kScrollWidth, kRowTop, right, kRowTop + size};
    row.ScrollBack = {right - 2 * kScrollWidth, kRowTop, right - kScrollWidth, kRowTop + size};
    right -= 2 * kScrollWidth + 2;
    fit = std::max(0, (right - kEntriesLeft) / size);
    row.MaxScroll = count - fit;
  }
  row.Scroll = std::clamp(scroll, 0, row.MaxScroll);
  for (int32_t i = row.Scroll; i < count && i < row.Scroll + fit; ++i) {
    const int32_t left = kEntriesLeft + (i - row.Scroll) * size;
    row.Entries[static_cast<size_t>(i)] = {left, kRowTop, left + size, kRowTop + size};
  }
  return row;
}

// =============================================================================================
// TComponentPalette

const TClassInfo& TComponentPalette::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TComponentPalette>("TComponentPalette").Publish("Align", "Visible").Build();
  return *info;
}

TComponentPalette::TComponentPalette(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 400, kDefaultHeight);
  SetShowHint(true);
  Rebuild();
}

void TComponentPalette::Rebuild() {
  FPages = PalettePages();
  if (FPages.empty())
    FActivePage = -1;
  else
    FActivePage = std::clamp(FActivePage, 0, PageCount() - 1);
  if (FSelected && PageOf(FSelected->Name) < 0) FSelected = nullptr;
  Invalidate();
}

const std::vector<TPaletteEntry>& TComponentPalette::ShownEntries() const {
  static const std::vector<TPaletteEntry> none;
  return FActivePage < 0 ? none : FPages[static_cast<size_t>(FActivePage)].Entries;
}

void TComponentPalette::SetActivePage(int32_t page) {
  if (page < 0 || page >= PageCount())
    throw EListError("Palette page index out of bounds (" + std::to_string(page) + ")");
  if (page == FActivePage) return;
  FActivePage = page;
  FScroll = 0;
  Invalidate();
}

int32_t TComponentPalette::PageOf(const std::string& className) const {
  for (size_t p = 0; p < FPages.size(); ++p)
    for (const TPaletteEntry& e : FPages[p].Entries)
      if (SameText(e.Class->Name, className)) return static_cast<int32_t>(p);
  return -1;
}

void TComponentPalette::SetSelected(const TClassInfo* cls) {
  if (cls) {
    const int32_t page = PageOf(cls->Name);
    if (page < 0) throw EInvalidOperation("The palette holds no class " + cls->Name);
    SetActivePage(page);
    const auto& entries = ShownEntries();
    const auto index = static_cast<int32_t>(
        std::find_if(entries.begin(), entries.end(),
                     [&](const TPaletteEntry& e) { return SameText(e.Class->Name, cls->Name); }) -
        entries.begin());
    // Scrolled just far enough for the entry to show.
    const TPaletteRow row = Row();
    const auto shown = static_cast<int32_t>(std::count_if(
        row.Entries.begin(), row.Entries.end(), [](const TRect& r) { return !r.Empty(); }));
    if (index < row.Scroll)
      FScroll = index;
    else if (index >= row.Scroll + shown)
      FScroll = index - std::max(shown, 1) + 1;
    cls = entries[static_cast<size_t>(index)].Class;
  }
  if (cls == FSelected) return;
  FSelected = cls;
  Invalidate();
}

TTabStyle TComponentPalette::TabStyle() const {
  TTabStyle style;
  style.Left = 2;
  style.Top = kTabTop;
  style.RowHeight = kTabHeight;
  style.Padding = 12;
  style.SelectedReach = {2, 2, 2, 0};
  return style;
}

TTabLayout TComponentPalette::Tabs() const {
  TCanvas measure(nullptr);
  measure.Font()->Assign(Font());
  std::vector<int32_t> widths;
  for (const TPalettePage& page : FPages) widths.push_back(measure.TextWidth(page.Name));
  // One row, in registration order: a palette has few pages.
  const int32_t row[] = {PageCount()};
  return PlaceTabs(widths, row, FActivePage, TabStyle());
}

TRect TComponentPalette::TabRect(int32_t page) const {
  if (page < 0 || page >= PageCount())
    throw EListError("Palette page index out of bounds (" + std::to_string(page) + ")");
  return Tabs().Tabs[static_cast<size_t>(page)].Bounds;
}

TPaletteRow TComponentPalette::Row() const {
  return LayOutPaletteRow(Width(), static_cast<int32_t>(ShownEntries().size()), FScroll);
}

int32_t TComponentPalette::EntryAt(int32_t x, int32_t y) const {
  const TPaletteRow row = Row();
  for (size_t i = 0; i < row.Entries.size(); ++i)
    if (row.Entries[i].Contains(x, y)) return static_cast<int32_t>(i);
  return -1;
}

TRect TComponentPalette::EntryRect(const std::string& className) const {
  const auto& entries = ShownEntries();
  const TPaletteRow row = Row();
  for (size_t i = 0; i < entries.size(); ++i)
    if (SameText(entries[i].Class->Name, className)) return row.Entries[i];
  return {};
}

std::string TComponentPalette::GetHintAt(int32_t x, int32_t y) const {
  const int32_t i = EntryAt(x, y);
  return i < 0 ? std::string() : ShownEntries()[static_cast<size_t>(i)].Class->Name;
}

void TComponentPalette::Choose(const TClassInfo* cls) {
  SetSelected(cls);
  if (OnSelect) OnSelect(this);
}

void TComponentPalette::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const TTabLayout tabs = Tabs();
  if (const int32_t tab = TabAt(tabs, TabStyle(), x, y); tab >= 0) {
    SetActivePage(tab);
    return;
  }
  const TPaletteRow row = Row();
  if (row.Arrow.Contains(x, y)) {
    Choose(nullptr);
  } else if (row.ScrollBack.Contains(x, y) || row.ScrollOn.Contains(x, y)) {
    const int32_t scroll =
        std::clamp(row.Scroll + (row.ScrollOn.Contains(x, y) ? 1 : -1), 0, row.MaxScroll);
    if (scroll == FScroll) return;
    FScroll = scroll;
    Invalidate();
  } else if (const int32_t i = EntryAt(x, y); i >= 0) {
    // A second press on the chosen entry goes back to the arrow, as the classic palette does.
    const TClassInfo* cls = ShownEntries()[static_cast<size_t>(i)].Class;
    Choose(cls == FSelected ? nullptr : cls);
  }
}

// =============================================================================================
// Painting

void TComponentPalette::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect client = GetClientRect();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(client);
  Frame3D(canvas, {0, kBandTop, client.Right, client.Bottom}, clBtnHighlight, clBtnShadow);
  PaintTabs(canvas);

  const TPaletteRow row = Row();
  // The chosen button sunken; the others flat.
  if (!FSelected) Frame3D(canvas, row.Arrow, clBtnShadow, clBtnHighlight);
  const TImageData* pointer = LoadBitmapA(StandardPaletteImages(), "POINTER");
  TPaletteEntry arrow{nullptr, pointer};
  PaintEntry(canvas, arrow, row.Arrow);
  const auto& entries = ShownEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const TRect& r = row.Entries[i];
    if (r.Empty()) continue;
    if (entries[i].Class == FSelected) Frame3D(canvas, r, clBtnShadow, clBtnHighlight);
    PaintEntry(canvas, entries[i], r);
  }
  if (!row.ScrollOn.Empty()) {
    PaintScrollButton(canvas, row.ScrollBack, -1, row.Scroll > 0);
    PaintScrollButton(canvas, row.ScrollOn, 1, row.Scroll < row.MaxScroll);
  }
}

void TComponentPalette::PaintTabs(TCanvas& canvas) {
  const TTabLayout layout = Tabs();
  canvas.Font()->Assign(Font());
  // The shown page's tab last: it stands taller and covers the band's top edge under it.
  const auto paintTab = [&](size_t i, bool shown) {
    PaintTab(canvas, layout.Tabs[i].Bounds, shown, FPages[i].Name, Color(), Font()->Color());
  };
  for (size_t i = 0; i < layout.Tabs.size(); ++i)
    if (static_cast<int32_t>(i) != layout.Selected) paintTab(i, false);
  if (layout.Selected >= 0) paintTab(static_cast<size_t>(layout.Selected), true);
}

void TComponentPalette::PaintEntry(TCanvas& canvas, const TPaletteEntry& entry, const TRect& r) {
  const bool pressed = entry.Class ? entry.Class == FSelected : !FSelected;
  // A pressed button's face moves a pixel down and right, as on a classic tool button.
  const int32_t x = r.Left + (r.Width() - kImageSize) / 2 + (pressed ? 1 : 0);
  const int32_t y = r.Top + (r.Height() - kImageSize) / 2 + (pressed ? 1 : 0);
  DrawPaletteImage(canvas, entry, x, y);
}

void DrawPaletteImage(TCanvas& canvas, const TPaletteEntry& entry, int32_t x, int32_t y) {
  if (entry.Image) {
    TBitmap image;
    image.LoadFromResource(entry.Image);
    image.SetTransparent(true);
    canvas.Draw(x, y, image);
    return;
  }
  // No picture of its own: a plain box with the first letters of the name past its T.
  const std::string& name = entry.Class->Name;
  const size_t from = name.size() > 1 && (name[0] == 'T' || name[0] == 't') ? 1 : 0;
  const std::string letters = name.substr(from, 2);
  const TRect box{x + 1, y + 1, x + kImageSize - 1, y + kImageSize - 1};
  canvas.Brush()->SetColor(clWhite);
  canvas.FillRect(box);
  canvas.Brush()->SetColor(clBlack);
  canvas.FrameRect(box);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(clBlack);
  canvas.TextOut(box.Left + (box.Width() - canvas.TextWidth(letters)) / 2,
                 box.Top + (box.Height() - canvas.TextHeight(letters)) / 2, letters);
  canvas.Brush()->SetStyle(bsSolid);
}

TPaletteEntry PaletteEntryOf(const TClassInfo& cls) {
  for (const TClassInfo* c = &cls; c; c = c->Parent)
    for (const TPalettePage& page : PalettePages())
      for (const TPaletteEntry& e : page.Entries)
        if (e.Class == c) return {&cls, e.Image};
  return {&cls, nullptr};
}

void TComponentPalette::PaintScrollButton(TCanvas& canvas, const TRect& r, int32_t direction,
                                          bool enabled) {
  Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow);
  canvas.Brush()->SetColor(enabled ? clBlack : clBtnShadow);
  // A small triangle, its point towards where the entries move in from.
  const int32_t cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t x = direction < 0 ? cx - 2 + k : cx + 1 - k;
    canvas.FillRect({x, cy - k, x + 1, cy + k + 1});
  }
}

}  // namespace zelvar
