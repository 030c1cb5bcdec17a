#pragma once
// TPageControl and TTabSheet: pages of controls, one shown at a time, chosen by tabs along
// the top. A sheet joins the page control it is parented to (as the form reader parents it);
// the page order is the order sheets joined, changed through PageIndex.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/TabLayout.h"

namespace zelvar {

class TPageControl;

class TTabSheet : public TWinControl {
  ZELVAR_CLASS(TTabSheet, TWinControl)

 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* v);
  // Position among the page control's pages; -1 without one. Setting moves the page.
  int32_t PageIndex() const;
  void SetPageIndex(int32_t v);
  // A sheet without a tab can still be the active page (selected from code).
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  void SetCaption(const std::string& v) override;
  void SetParent(TWinControl* parent) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

using TTabChangingEvent = TEvent<void(TObject*, bool&)>;

class TPageControl : public TCustomControl {
  ZELVAR_CLASS(TPageControl, TCustomControl)

 public:
  // Tab moves the focus to the tab strip, whose arrows then change pages.
  static constexpr bool kDefaultTabStop = true;

  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int32_t PageCount() const { return static_cast<int32_t>(FPages.size()); }
  TTabSheet* Pages(int32_t index) const;  // EListError out of range
  // The shown sheet; nullptr when there are no pages. Setting a sheet of another page control
  // raises EInvalidOperation. Setting from code fires no events.
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int32_t ActivePageIndex() const;
  void SetActivePageIndex(int32_t v);  // -1 for none; EListError out of range
  // The next (or previous) page with a visible tab, wrapping; nullptr when there is none.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // What Ctrl+Tab does: asks OnChanging, moves on, fires OnChange.
  void SelectNextPage(bool goForward);

  // 0: fit to the font; a tab's width 0: fit to its caption.
  int32_t TabHeight() const { return FTabHeight; }
  void SetTabHeight(int32_t v);
  int32_t TabWidth() const { return FTabWidth; }
  void SetTabWidth(int32_t v);
  // The tab of a page in client coordinates; empty when the page shows no tab.
  TRect TabRect(int32_t pageIndex) const;
  // The page whose tab is at x, y; -1 for none.
  int32_t IndexOfTabAt(int32_t x, int32_t y) const;
  // Where the active sheet lies: the client area below the tabs, inside the frame.
  TRect DisplayRect() const;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  void AlignControls(TControl* changed, TRect& rect) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS; }
  // The designer lets a press on a tab through, so pages switch while designing.
  int32_t CMDesignHitTest(int32_t x, int32_t y, TShiftState keys) override;

 protected:
  void Paint() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int32_t index);
  // A change the user asked for: OnChanging may refuse; OnChange follows.
  void UserSelect(TTabSheet* page);
  void ShowActive();
  int32_t TabStripHeight() const;
  TTabStyle TabStyle() const;
  // The tabs that show, in one row; shown receives the page of each tab.
  TTabLayout TabLayout(const TTabStyle& style, std::vector<int32_t>& shown) const;

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  int32_t FTabHeight = 0;
  int32_t FTabWidth = 0;
};

}  // namespace zelvar
