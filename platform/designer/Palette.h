#pragma once
// The designer's component palette: TComponentPalette, a tab for each page of the registry
// (PalettePages) and, below, the selection arrow and a button for each class of the shown
// page; the class chosen there is the one the next press on the designed form creates. Also
// the toolkit's own page, "Standard", and its pictures.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/TabLayout.h"
#include "platform/designer/Designer.h"

namespace zelvar {

// The Standard page's pictures, in module "StandardPalette": 24 by 24, named like the classes
// in capitals (TBUTTON), bottom-left pixel transparent; registered on the first call.
HMODULE StandardPaletteImages();
// Registers the page "Standard" with the toolkit's controls; calling it again changes nothing.
void RegisterStandardPalette();

// Where the row of buttons below the tabs stands, as a pure function of the palette's width,
// the number of entries on the shown page and how far they are scrolled.
struct TPaletteRow {
  TRect Arrow;
  // One a page entry; empty for those scrolled out of view.
  std::vector<TRect> Entries;
  // Both empty when every entry fits.
  TRect ScrollBack, ScrollOn;
  int32_t Scroll = 0;     // the first entry shown, clamped to 0..MaxScroll
  int32_t MaxScroll = 0;  // 0 when every entry fits
};
TPaletteRow LayOutPaletteRow(int32_t width, int32_t entryCount, int32_t scroll);

class TComponentPalette : public TCustomControl {
  ZELVAR_CLASS(TComponentPalette, TCustomControl)

 public:
  static constexpr int32_t kDefaultHeight = 60;
  static constexpr int32_t kButtonSize = 28;

  explicit TComponentPalette(TComponent* owner);

  // The class the next press on the designed form creates; nullptr: the selection arrow.
  const TClassInfo* Selected() const { return FSelected; }
  // Shows the class's page and scrolls it into view; nullptr: the arrow. A class on no page
  // raises EInvalidOperation.
  void SetSelected(const TClassInfo* cls);
  // The user chose an entry or the arrow.
  TNotifyEvent OnSelect;

  // The pages and entries come from PalettePages(); Rebuild() reads them again. A selection
  // that is gone goes back to the arrow.
  void Rebuild();
  int32_t PageCount() const { return static_cast<int32_t>(FPages.size()); }
  // -1 only while there are no pages.
  int32_t ActivePage() const { return FActivePage; }
  void SetActivePage(int32_t page);                    // EListError out of range
  int32_t PageOf(const std::string& className) const;  // -1 when none

  // In client coordinates, for scripts and tests that press through the mouse path.
  TRect TabRect(int32_t page) const;  // EListError out of range
  // Empty unless its page is shown and it is scrolled into view.
  TRect EntryRect(const std::string& className) const;
  TRect ArrowRect() const { return Row().Arrow; }
  // The class name over an entry.
  std::string GetHintAt(int32_t x, int32_t y) const override;

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

 protected:
  void Paint() override;

 private:
  const std::vector<TPaletteEntry>& ShownEntries() const;
  TTabStyle TabStyle() const;
  TTabLayout Tabs() const;
  TPaletteRow Row() const;
  // The index on the shown page of the entry at x, y; -1 for none.
  int32_t EntryAt(int32_t x, int32_t y) const;
  void Choose(const TClassInfo* cls);
  void PaintTabs(TCanvas& canvas);
  void PaintEntry(TCanvas& canvas, const TPaletteEntry& entry, const TRect& r);
  void PaintScrollButton(TCanvas& canvas, const TRect& r, int32_t direction, bool enabled);

  std::vector<TPalettePage> FPages;
  int32_t FActivePage = -1;
  int32_t FScroll = 0;
  const TClassInfo* FSelected = nullptr;
};

// A palette entry's 24 x 24 picture at x, y: its image, or a box with the first letters of the
// class's name when it has none.
void DrawPaletteImage(TCanvas& canvas, const TPaletteEntry& entry, int32_t x, int32_t y);
// The palette entry that shows a class: its own, else its closest registered ancestor's image.
TPaletteEntry PaletteEntryOf(const TClassInfo& cls);

}  // namespace zelvar
