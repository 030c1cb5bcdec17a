#pragma once
// Unit ZelvarA: TZelvar, the container that turns a form into a multi-page wizard or tabbed
// dialog. It holds the pages, their names, the way list that routes Next, the history that
// drives Back, the nine descriptions of its navigation buttons and the two button orders, and
// it tells every page-bound control of the form when the page changes.
//
// Page numbers: 0 is the dialog page, 1..NumPages the wizard pages (way-list positions while
// the way list is enabled), -1 asks to finish. The implementation is split by concern:
// Zelvar.cpp (state, construction, persistence), navigation.cpp, Busy.cpp (answers that take
// time), buttons.cpp, sizing.cpp.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "container/BarLayout.h"
#include "container/InputValues.h"
#include "container/WizardState.h"
#include "lists/ZelvarL.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Controls.h"
#include "platform/controls/TabLayout.h"
#include "platform/core/Strings.h"
#include "platform/forms/Forms.h"

namespace zelvar {

class TForm;
class TZelvar;
struct TBroadcastMethod;

ZELVAR_ENUM(ZelvarStyle, uint8_t, asWizard, asNone, asTabbed)

using TPageChangeEvent = TEvent<void(TZelvar* sender, int32_t page)>;
using TCanPageChangeEvent = TEvent<bool(TZelvar* sender, int32_t fromPage, int32_t& toPage)>;
using THelpClickEvent = TEvent<void(TZelvar* sender, int32_t page)>;
using TAskPageChangeEvent = TEvent<void(TZelvar* sender, int32_t aktPage, int32_t& newPage)>;
using TCancelClickEvent = TEvent<bool(TZelvar* sender, int32_t page)>;
using TCommitEvent = TEvent<void(TZelvar* sender, int32_t page)>;
using TStateErrorEvent = TEvent<void(TZelvar* sender, const std::string& message)>;
// Whether the page's input is complete: complete comes preset from the required controls, and
// the handler may change it either way.
using TPageCompleteEvent = TEvent<void(TZelvar* sender, int32_t page, bool& complete)>;
using TBusyCancelEvent = TEvent<void(TZelvar* sender, int32_t page)>;

// Whether Cancel, Escape or closing the window first asks "Discard the changes you made?":
// never, always, or only when an input control's value differs from the one it had when the
// modal loop started.
ZELVAR_ENUM(TConfirmCancel, uint8_t, ccNever, ccAlways, ccIfModified)

// The shape of the two broadcast methods every page-bound control publishes: SetNewPosition
// and SetNumApos, one integer each.
using AMethod1 = void(int32_t n);

// What the container draws across the top of the page area: nothing, or a banner with the
// page's name, its subtitle and an image.
ZELVAR_ENUM(THeaderStyle, uint8_t, hsNone, hsBanner)

// Where the banner's parts stand, as a pure function of the container's width, its text
// heights, the image's size and the pad around text and image (8 pixels at 96 pixels per
// inch): the container paints it, tests measure it.
struct THeaderLayout {
  int32_t Height = 0;     // the banner, separator included; 0 without one
  TPoint Title;           // the title's top-left
  TPoint Subtitle;        // the subtitle's top-left
  TRect Image;            // empty without an image
  int32_t Separator = 0;  // the y of the separator's dark line; the light one is below it
};
inline constexpr int32_t kHeaderPad = 8;
THeaderLayout CalcHeaderLayout(int32_t width, int32_t titleHeight, int32_t subtitleHeight,
                               TPoint imageSize, int32_t pad = kHeaderPad);

// How a jump control's JumpPage reads: a page, or a distance from the container's position.
ZELVAR_ENUM(TJumpMode, uint8_t, jmAbsolut, jmRelativ)

// The page a jump control with this mode and JumpPage sends the container to from position
// page; -1, which offers no target, when a relative sum leaves the integer range.
int32_t JumpTarget(TJumpMode mode, int32_t jumpPage, int32_t page);

// What one navigation button shows: its caption, glyph, glyph layout, and whether it is shown
// and enabled. Every setter lays the container's button bar out again.
class TButtonData : public TPersistent {
  ZELVAR_CLASS(TButtonData, TPersistent)

 public:
  // Registered as a class of its own so form files and scripts can name it.
  TButtonData() : TButtonData(nullptr) {}
  explicit TButtonData(TZelvar* owner);
  ~TButtonData() override;

  const std::string& Text() const { return FText; }
  void SetText(const std::string& v);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  // The record's own bitmap; the caller does not own it.
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  // Copies the bitmap (nil empties the glyph). A strip whose width is a whole multiple of its
  // height sets NumGlyphs to that multiple, or to 1 past 4.
  void SetGlyph(TBitmap* v);
  uint8_t GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(uint8_t v);  // stored as 4 above 4
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Show() const { return FShow; }
  void SetShow(bool v);

  // Puts this record onto a button at top and left, writing only what differs; tab is the tab
  // position to ask for, and becomes the one the button got; a negative one leaves the tab
  // order as it is. True when the button is shown.
  // held keeps the button disabled whatever the record says (Next until the page is complete).
  // shownText, when given, is shown instead of Text (a caption shortened to its button).
  bool WriteToButton(TBitBtn& button, int32_t top, int32_t left, bool showGlyph, int32_t& tab,
                     bool held = false, const std::string* shownText = nullptr);

  TPersistent* GetOwner() const override;

 private:
  friend class TZelvar;  // the language file stores text, Enabled and Show without relayout
  void Changed();

  TZelvar* FOwner;
  // The glyph mark a button's Tag holds while it shows this record's glyph: 1..9 by record.
  int32_t FMark = 0;
  std::string FText;
  std::unique_ptr<TBitmap> FGlyph;
  uint8_t FNumGlyphs = 0;
  TButtonLayout FLayout = blGlyphLeft;
  bool FEnabled = false;
  bool FShow = false;
};

// A bitmap button of the container's bar that works in the form designer like at run time.
class TDesignButton : public TBitBtn {
  ZELVAR_CLASS(TDesignButton, TBitBtn)

 public:
  using TBitBtn::TBitBtn;
};

// A form that holds one is run as a wizard from its start page (Application().Run).
class TZelvar : public TCustomControl,
                public IFormRunner,
                public IModalGuard,
                public IInputWatcher {
  ZELVAR_CLASS(TZelvar, TCustomControl)

 public:
  // The container fills its form.
  static constexpr TAlign kDefaultAlign = alClient;

  explicit TZelvar(TComponent* owner);
  ~TZelvar() override;

  // --- published state
  int32_t NumPages() const { return FNumPages; }
  void SetNumPages(int32_t n);
  const std::string& CaptionDialog() const { return FCaptionDialog; }
  void SetCaptionDialog(const std::string& v);
  const std::string& CaptionWizard() const { return FCaptionWizard; }
  void SetCaptionWizard(const std::string& v);
  int32_t ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int32_t w);
  int32_t ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int32_t h);
  bool ShowGlyph() const { return FShowGlyph; }
  void setshowglyph(bool v);
  bool RememberPage() const { return FRememberPage; }
  void SetRememberPage(bool v) { FRememberPage = v; }
  TStrings* PageNames() const { return FPageNames.get(); }
  // The name PageNames gives a page (0 the dialog page); empty where the list holds none.
  std::string PageName(int32_t page) const;
  // Copies the lines; the given list stays the caller's.
  void setpagenames(TStrings* v);
  TButtonData* BtnHelp() const { return FBtnHelp.get(); }
  TButtonData* BtnWizardOK() const { return FBtnWizardOK.get(); }
  TButtonData* BtnFinish() const { return FBtnFinish.get(); }
  TButtonData* BtnDialogOK() const { return FBtnDialogOK.get(); }
  TButtonData* BtnChangeWizard() const { return FBtnChangeWizard.get(); }
  TButtonData* BtnChangeDialog() const { return FBtnChangeDialog.get(); }
  TButtonData* BtnCancel() const { return FBtnCancel.get(); }
  TButtonData* BtnNext() const { return FBtnNext.get(); }
  TButtonData* BtnBack() const { return FBtnBack.get(); }
  TPageList* WayList() const { return FWayList.get(); }
  bool WayListEnabled() const { return FWayListEnabled; }
  void SetWayListEnabled(bool v);
  int32_t StartPage() const { return FStartPage; }
  void SetStartPage(int32_t v);
  bool ShowPageNames() const { return FShowPageNames; }
  void setshowpagenames(bool v);
  TIntegerList* BLWizard() const { return FBLWizard.get(); }
  TIntegerList* BLDialog() const { return FBLDialog.get(); }
  TButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TButtonStyle s);
  int32_t Page() const { return FPage; }
  // The only way the page changes: asks OnCanPageChange, applies the page to the form and
  // to every page-bound control, updates the buttons and raises OnPageChange.
  void setPage(int32_t value);
  bool Seperator() const { return FSeperator; }
  void SetSeparator(bool v);
  bool SetFormProperties() const { return FSetFormProperties; }
  void SetSetFormProperties(bool v) { FSetFormProperties = v; }
  bool UseHistory() const { return FUseHistory; }
  void SetUseHistory(bool v) { FUseHistory = v; }
  bool SetFormCaption() const { return FSetFormCaption; }
  void SetSetFormCaption(bool v) { FSetFormCaption = v; }
  ZelvarStyle Style() const { return FStyle; }
  void SetStyle(ZelvarStyle v);
  int32_t TabSpaceX() const { return FTabSpaceX; }
  void SetTabSpaceX(int32_t v);
  int32_t TabSpaceY() const { return FTabSpaceY; }
  void SetTabSpaceY(int32_t v);
  // Pages (pages shown, not way-list positions) that Back passes over: it goes to the latest
  // page of the history that is not listed, or without the history to the nearest lower one.
  TIntegerList* SkipOnBack() const { return FSkipOnBack.get(); }
  // Pages that, once left forward (Next, a jump), cannot be gone back to: the history is
  // cleared after the change and OnCommit is raised with the page left. Without the history,
  // Back never steps down onto or past one.
  TIntegerList* CommitPages() const { return FCommitPages.get(); }
  static constexpr TConfirmCancel kDefaultConfirmCancel = ccNever;
  TConfirmCancel ConfirmCancel() const { return FConfirmCancel; }
  void SetConfirmCancel(TConfirmCancel v) { FConfirmCancel = v; }
  // The file Execute resumes from and saves to (see Execute); "" for none. A relative name is
  // taken in the user's state folder (StateFilePath).
  const std::string& ResumeState() const { return FResumeState; }
  void SetResumeState(const std::string& v) { FResumeState = v; }
  // The navigation buttons widen to fit their captions in the container's font, each group of
  // the bar (between its spaces) as wide as its widest, never narrower than ButtonWidth. When
  // the bar is too narrow the form grows on the dialog page; in the wizard the buttons share
  // what there is and long captions end in "…".
  static constexpr bool kDefaultButtonAutoSize = false;
  bool ButtonAutoSize() const { return FButtonAutoSize; }
  void SetButtonAutoSize(bool v);
  // The banner across the top of the page area in the wizard style: the name of the page
  // shown (bold), its line of PageSubtitles (index = page), HeaderImage at the right and a
  // separator below. The page area (GetClientRect) starts below it.
  static constexpr THeaderStyle kDefaultHeaderStyle = hsNone;
  THeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(THeaderStyle v);
  TStrings* PageSubtitles() const { return FPageSubtitles.get(); }
  void SetPageSubtitles(TStrings* v);  // copies the lines
  TBitmap* HeaderImage() const { return FHeaderImage.get(); }
  void SetHeaderImage(TBitmap* v);  // copies the picture; nil empties it
  // A picture at the left of the page area on the pages of WatermarkPages (pages shown, as in
  // SkipOnBack), or, while that is empty, on the first and last positions; the page area
  // starts to its right there.
  TBitmap* WatermarkImage() const { return FWatermarkImage.get(); }
  void SetWatermarkImage(TBitmap* v);
  TIntegerList* WatermarkPages() const { return FWatermarkPages.get(); }
  // The banner as it stands now (Height 0 without one) and whether the page shown has the
  // watermark.
  THeaderLayout HeaderLayout() const;
  bool ShowsWatermark() const;

  TPageChangeEvent OnPageChange;
  TCanPageChangeEvent OnCanPageChange;
  THelpClickEvent OnHelpClick;
  TAskPageChangeEvent OnAskPageChange;
  TCancelClickEvent OnCancelClick;
  TCommitEvent OnCommit;
  // A saved state could not be read: Execute goes on from its page as if there were none.
  TStateErrorEvent OnStateError;
  TPageCompleteEvent OnPageComplete;
  // Cancel, Escape or closing the window abandoned a page change waiting for EndBusy.
  TBusyCancelEvent OnBusyCancel;

  // --- answers that take time
  // Called from OnCanPageChange: its answer comes later, through EndBusy. Until then the page
  // stays, the navigation (all but Cancel and Help) is held, the form shows a busy pointer and
  // the bar a marquee; the modal loop goes on. EInvalidOperation outside OnCanPageChange, or
  // while a change already waits.
  void BeginBusy();
  // allow: the waiting change goes on as if OnCanPageChange had said yes, to the page it left
  // in ToPage; otherwise nothing changes. EInvalidOperation when no change waits, except once
  // after Cancel abandoned one: the late answer is dropped quietly.
  void EndBusy(bool allow);
  // A page change waits for EndBusy.
  bool Busy() const { return FPending != nullptr; }
  // Whether the wait holds this button of the bar disabled (every one but Cancel and Help).
  bool HeldWhileBusy(const TControl& button) const;
  // The marquee of the bar while busy; nullptr otherwise.
  TProgressBar* BusyBar() const { return FBusyBar; }

  // --- form sizes per mode (public, not published: the form file keeps them as FormSize)
  int32_t WizardWidth() const { return FWizardWidth; }
  int32_t WizardHeight() const { return FWizardHeight; }
  int32_t DialogWidth() const { return FDialogWidth; }
  int32_t DialogHeight() const { return FDialogHeight; }
  void setWizardWidth(int32_t v);
  void setWizardHeight(int32_t v);
  void setDialogWidth(int32_t v);
  void setDialogHeight(int32_t v);

  // --- navigation
  void Nextclick(TObject* sender);
  void Backclick(TObject* sender);
  void Changeclick(TObject* sender);
  void OKClick(TObject* sender);
  void CancelClick(TObject* sender);
  void HelpClick(TObject* sender);
  // The latest history entry Back may return to that holds position (one SkipOnBack does not
  // pass over); -1 when there is none. Commits clear the history, so no entry lies before one.
  int32_t BackStopOf(int32_t position) const;
  // Goes back to the history's entry index as Back goes to its latest one: the entries from it
  // on go, and come back when the change is refused or redirected. EListError for an index
  // outside the history or an entry Back passes over.
  void BackTo(int32_t index);
  // Records the current position in the history (when used), then goes to page.
  void Jump(int32_t page);
  void JumpRel(int32_t offset);
  // Shows the owner form modally on page; the form's modal result when it closes. Resumes
  // from ResumeState when it is set.
  int32_t Execute(int32_t page);
  // With a resumeFromFile, a state saved there for this form (its section is the form's
  // name) is restored first, and the wizard opens where it was; without one, or when the
  // state's position no longer exists, it opens on page. A damaged state is ignored after
  // OnStateError. Closing the window keeps the state for the next run; finishing, or leaving
  // with Cancel, removes it. A relative file is taken in the user's state folder.
  int32_t Execute(int32_t page, const std::string& resumeFromFile);
  // Execute from the start page.
  int32_t RunForm() override { return Execute(FStartPage); }
  // The form's modal loop started: its input values are what Cancel compares against.
  void ModalStarted() override;
  // Closing the window asks, as Cancel does, whether to discard the changes (ConfirmCancel).
  bool CanCloseForm() override;
  // --- save and resume
  // The wizard as it stands: position, history, sizes and the form's input values.
  TWizardState State() const;
  // Puts a state back: the values first (so the page's handlers see them), then the sizes and
  // the position, then the history. What no longer matches is left out: values of controls
  // gone or of another kind, a position that cannot be shown (the page stays), history entries
  // that cannot. A value its control cannot hold raises EConvertError, with every value put
  // back as it was.
  void ApplyState(const TWizardState& state);
  // The state as an INI section [State] on a stream, and back. LoadState raises EReadError
  // naming the problem for a damaged state, and changes nothing then.
  void SaveState(TStream& stream) const;
  void LoadState(TStream& stream);
  // The state as section of an INI file, the file's other sections kept; the file name is
  // used as given. LoadStateFromIni is false when the file or the section is not there.
  void SaveStateToIni(const std::string& fileName, const std::string& section) const;
  bool LoadStateFromIni(const std::string& fileName, const std::string& section);
  // The section Execute keeps its state in: the form's name.
  std::string StateSection() const;

  // --- required input
  // Whether the page is complete, as last evaluated: while it is not, Next, Finish and OK are
  // disabled and do nothing. A page is incomplete while a control marked Required that is
  // shown on it (it and its parents up to the form visible and enabled) lacks its input, or
  // when OnPageComplete says so. Always complete in the designer.
  bool PageComplete() const { return FPageComplete; }
  // Evaluates the page again (raising OnPageComplete) and updates the buttons: for an
  // application whose own rule depends on more than the input controls. Page changes and
  // every input change evaluate it by themselves.
  void UpdatePageComplete();
  // An input control of the form changed its value.
  void FormInputChanged(TControl* control) override;
  // The input values as the modal loop started (empty before one started).
  const TInputValues& StartValues() const { return FStartValues; }
  void ClearHistory();
  int32_t RealPage() const { return GetRealPage(FPage); }
  // The page shown at a position: the way list's entry for it while the list is enabled.
  int32_t GetRealPage(int32_t page) const;
  // Where Next leads by the form's checked jump radio buttons; Page + 1 when none decides.
  int32_t getjumppage() const;
  // Design time: the designer selects the container.
  void UpdateDesigner();
  void Deselect() {}
  // Rebuilds the tabs (tabbed style), applies the current page again and repaints: what the
  // design-time editors call after changing the container.
  void zelvarupdate();

  // --- button bar
  // Gives the container the button bar a container made in the form designer starts with,
  // and shows it at once. All nine descriptions are enabled and get their glyphs and texts:
  // Help "&Help", ZelvarOK "&OK", Finish "&Finish", DialogOK "&OK", ChangeZelvar "&Wizard",
  // ChangeDialog "&Dialog", Cancel "&Cancel", Next "&Next" (its glyph on the right), Back
  // "&Back"; Help and the wizard's OK are hidden, the others shown. CaptionWizard becomes
  // "Wizard - Page %d of %d" and CaptionDialog "Dialog". A "Zelvar.ini" beside the program
  // may replace the texts: its key Language in section [Option] names the section that holds
  // them, under the keys above and CaptionWizard, CaptionDialog. The bar is then laid out for
  // the page shown, with its default button (Next, or OK on the dialog page).
  // A container read from a form file keeps its stored button data; called on one, this
  // replaces them, as a new container in the designer would have them.
  void UseDefaultButtons();
  void ShowButtons();
  void ClearGlyphTag();
  TDesignButton* ChangeButton() const { return FChangeButton; }
  TDesignButton* HelpButton() const { return FHelpButton; }
  TBitBtn* CancelButton() const { return FCancelButton; }
  TDesignButton* BackButton() const { return FBackButton; }
  TDesignButton* NextButton() const { return FNextButton; }
  TBitBtn* OKButton() const { return FOKButton; }
  // Design time: the right button steps the page without the history.
  void NextRightDown(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void BackRightDown(TObject* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);

  // --- page-bound controls
  // Puts a page-bound control (one that publishes SetNewPosition, FAposList and FZelvar, as
  // every control of unit ZelvarC does) on page, at bounds, without showing that page: page
  // is the page shown (0 the dialog page, 1..NumPages the wizard pages), not a way-list
  // position. The control is shown on that page only; a control without a parent is put on
  // the container. It is shown now when page is the page shown, and hidden otherwise; no
  // page-change event is raised. EListError for a page out of range; EComponentError for a
  // control that is not page-bound, follows no or another container, or belongs to another
  // form.
  void Place(TControl* control, int32_t page, const TRect& bounds);

  // --- sizing, caption and keys
  // Resizes the owner form to w by h around its centre (only while Align is alClient).
  void myresize(int32_t w, int32_t h);
  // The form's caption for the page; the container's own caption is the control's as ever.
  void SetCaption();
  using TCustomControl::SetCaption;
  // In the designer, a new size is the form's size for the mode being edited.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void WMSize() override;
  // The buttons' size, the tabs' spacing and the form sizes per mode scale with the rest.
  void ChangeScale(int32_t m, int32_t d) override;
  // Left and right arrows step through the pages.
  void KeyDown(uint16_t& key, TShiftState shift) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS; }

  // --- the tab strip and painting
  // The area the pages use: above the button bar, inside the tab frame, or all of it.
  TRect GetClientRect() const override;
  void AlignControls(TControl* changed, TRect& rect) override;
  int32_t tabheight() const;
  int32_t tablength(int32_t row) const;
  // True when the tab of position p stands in row r (never for the dialog page).
  bool tabinline(int32_t p, int32_t r) const;
  // Selects the page whose tab lies under x, y (container coordinates), if any.
  void tabclick(int32_t x, int32_t y);
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  int32_t CMDesignHitTest(int32_t x, int32_t y, TShiftState keys) override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  // In the tabbed style a tab list whose tabs (parts) a press selects, as a click does.
  void DescribeAccessible(TAccessibleDescription& d) const override;

  // Tells a screen reader which page shows now: "Step 2 of 6: Licence", counted as the
  // wizard's caption counts.
  void AnnouncePage();

  // --- internal state, read by tests and the design-time editors
  const TIntegerList& History() const { return *FHistory; }
  TIntegerList& History() { return *FHistory; }
  int32_t LastWizardPage() const { return FLastWizardPage; }
  bool PageChangeAllowed() const { return FPageChangeAllowed; }
  bool ButtonsReady() const { return FButtonsReady; }
  bool RecordSize() const { return FRecordSize; }
  bool HideBanner() const { return FHideBanner; }
  const TIntegerList* TabRows() const { return FTabRows.get(); }

  // The owner as a form: nullptr without an owner, EInvalidCast for an owner of another class.
  TForm* OwnerForm() const;

  void DefineProperties(TFiler& filer) override;
  void Loaded() override;
  // With SetFormProperties: the owner form centred on the screen, a dialog's border, no scaling.
  void ApplyFormProperties();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Paint() override;

 private:
  // Construction steps.
  TDesignButton* MakeDesignButton(const char* name);
  // The button descriptions and captions from the language file, or its defaults.
  void ApplyLanguageFile();
  // After a page change in the wizard style: the focus goes to the first control of the page
  // that takes it, else to the default button, so that Enter goes on.
  void FocusPage();

  // A component a broadcast is to reach, with its class's method.
  struct TBroadcastTarget {
    TComponent* Component;
    const TBroadcastMethod* Method;
  };
  using TBroadcastList = std::vector<TBroadcastTarget>;
  // Calls each target's method with n, last first. Every target is reached even when one
  // fails; the first failure is returned.
  std::exception_ptr Broadcast(TBroadcastList targets, int32_t n);
  // Broadcasts SetNumApos(n) to the components of the owner form that publish it.
  std::exception_ptr BroadcastNumApos(int32_t n);
  // A page change as one transaction: it saves what a change may touch, and when it is left
  // by an exception it puts all of it back and shows the previous page again (navigation.cpp).
  class TPageChange;
  // The components a page change tells of the page, as the place check found them
  // (navigation.cpp).
  struct TPageTargets;
  // Raises EListError, naming the page, unless the shown page exists and every page-bound
  // control of the form holds a place for it. The components it walks are kept in targets, so
  // that the broadcast need not look their classes up again.
  void CheckShowable(int32_t shown, TPageTargets& targets) const;
  // True when Back or a jump could show this position: it has a way-list entry (when the list
  // is enabled) and its page lies within 0..NumPages.
  bool CanShowPosition(int32_t position) const;
  // Applies FPage, whose page shown is shown, coming from position from: caption, form size,
  // the controls' broadcast (to the targets the check found, while they are still the form's
  // components) and the buttons. A control's failure is raised after the rest.
  void ApplyPage(int32_t from, int32_t shown, TPageTargets& targets);
  void UpdateBackAndNext(int32_t value);
  // Whether a list holds the page shown at a position; entries outside 1..NumPages never
  // match, and a position that cannot be shown is in no list.
  bool Lists(const TIntegerList& pages, int32_t position) const;
  // Where Back leads: the index of the history entry it returns to (with the history), or the
  // position it steps down to (without, stopping above a commit page); -1 when Back has
  // nowhere to go.
  int32_t BackTarget() const;
  // After Next or a jump left position from and the change took place: a commit page clears
  // the history and raises OnCommit.
  void CommitLeft(int32_t from);
  void TellDesignerModified();
  void setnobuttons();
  void setWizardbuttons();
  void setdialogbuttons();
  // Writes one order list onto the buttons; wizard chooses the column of the code table.
  void LayOutButtons(const TIntegerList& order, bool wizard, bool lastPage);
  TBitBtn* ButtonFor(int32_t code, bool wizard, bool lastPage, TButtonData*& data) const;
  // The width a button needs to show the description's caption and glyph unshortened.
  int32_t NaturalButtonWidth(const TButtonData& data) const;
  // With ButtonAutoSize: the widths the bar's buttons get, in metrics.Widths. False when the
  // form grew instead, which has laid the bar out again.
  bool FitButtons(std::span<const int32_t> order, const TBarButtons& bar, bool wizard,
                  TButtonData* const (&data)[bcOK + 1], TBarMetrics& metrics);
  bool OnLastPage() const;
  // Groups the tabs into rows (FTabRows: the number of tabs in each row), then lays the
  // pages out below the strip.
  void inittabsinline();
  // Lays the aligned children out again when the client rectangle is no longer the one they
  // were laid out in (the strip grew or shrank, the style changed).
  void FollowClientRect();
  // Drawing the strip, during Paint: all rows, the current one last and lowest; one row of the
  // layout; one tab, whose drawn width is kept in the page name's object slot.
  void painttabs();
  void painttabline(const TTabLayout& layout, int32_t row, const std::vector<int32_t>& textWidths);
  void painttab(int32_t p, const TTabPlace& tab, int32_t textWidth, bool selected);
  // The tab strip must be drawn again.
  void RepaintTabs() { Invalidate(); }
  // Text is measured and drawn with the container's font.
  TCanvas& TextCanvas() const;
  int32_t RowHeight() const;
  // The caption of the tab at a position: the name of the page shown there ("" when none).
  std::string TabCaption(int32_t position) const;
  int32_t TabCaptionWidth(int32_t position) const;
  int32_t FirstOfRow(int32_t row) const;
  // The strip's geometry: its values, the captions' widths of positions 1..count, how many
  // tabs the rows hold, and where the rows place the tabs with the current page selected.
  TTabStyle TabStyle() const;
  std::vector<int32_t> TabTextWidths(int32_t count) const;
  int32_t TabsInRows() const;
  TTabLayout TabLayout(const std::vector<int32_t>& textWidths) const;

  // The two page lists are written only while they hold entries, so a form without them
  // keeps its bytes.
  bool SkipOnBackStored() const;
  bool CommitPagesStored() const;
  bool ResumeStateStored() const { return !FResumeState.empty(); }
  bool PageSubtitlesStored() const { return FPageSubtitles->Count() > 0; }
  bool HeaderImageStored() const { return !FHeaderImage->Empty(); }
  bool WatermarkImageStored() const { return !FWatermarkImage->Empty(); }
  bool WatermarkPagesStored() const;
  // The banner and the watermark, during Paint.
  void PaintHeader(TCanvas& c);
  // Execute's resume file: true when a state was restored from it.
  bool Resume(const std::string& file, int32_t page);
  void KeepState(const std::string& file, int32_t result);
  // The page's completeness from its required controls, then OnPageComplete's say.
  bool EvaluatePageComplete();
  // True unless ConfirmCancel asks and the user answers No.
  bool ConfirmDiscard() const;

  // What asked for a page change, so that a deferred answer finishes it as the action would.
  enum class TRequestKind : uint8_t { Page, Next, Back, Jump };
  // The question setPage is asking OnCanPageChange.
  struct TQuestion {
    TRequestKind Kind;
    int32_t Requested;
  };
  // A page change waiting for EndBusy: what asked, from where, to where the handler left
  // ToPage, and the history and last wizard page as the action had prepared them and as they
  // were before it (kept once the action returned: Deferred).
  struct TPendingChange {
    TRequestKind Kind = TRequestKind::Page;
    int32_t From = 0;
    int32_t Requested = 0;
    int32_t Target = 0;
    int32_t PreparedLastWizardPage = 0;
    TIntegerList Prepared, Before;
    bool Deferred = false;
  };
  // Ends the wait without a change: the bar and the pointer as before.
  void DropPending();
  // Shows or takes down what the wait looks like: the bar's buttons, the marquee, the pointer.
  void ShowBusy(bool busy);
  void PlaceBusyBar();
  // Goes on with a change EndBusy allowed.
  void CompletePending(const TPendingChange& pending);
  // Cancel or closing the window while busy: abandons the change and raises OnBusyCancel.
  void AbandonPending();

  void ReadHistoryNum(TReader& reader);
  void WriteHistoryNum(TWriter& writer) const;
  void ReadFormSize(TStream& stream);
  void WriteFormSize(TStream& stream) const;

  int32_t FNumPages = 0;
  std::string FCaptionDialog;
  std::string FCaptionWizard;
  int32_t FButtonWidth = 90;
  int32_t FButtonHeight = 25;
  bool FShowGlyph = true;
  bool FRememberPage = false;
  std::unique_ptr<TStringList> FPageNames;
  std::unique_ptr<TButtonData> FBtnHelp, FBtnWizardOK, FBtnFinish, FBtnDialogOK, FBtnChangeWizard,
      FBtnChangeDialog, FBtnCancel, FBtnNext, FBtnBack;
  std::unique_ptr<TPageList> FWayList;
  bool FWayListEnabled = false;
  int32_t FStartPage = 1;
  bool FShowPageNames = false;
  std::unique_ptr<TIntegerList> FBLWizard, FBLDialog;
  std::unique_ptr<TIntegerList> FSkipOnBack, FCommitPages;
  TButtonStyle FButtonStyle = bsAutoDetect;
  int32_t FPage = 0;
  bool FSeperator = true;
  bool FSetFormProperties = true;
  bool FUseHistory = true;
  bool FSetFormCaption = true;
  ZelvarStyle FStyle = asWizard;
  int32_t FTabSpaceX = 16;
  int32_t FTabSpaceY = 8;
  int32_t FHeaderPad = kHeaderPad;               // scaled with the form
  TMagnifiedCopy FShownHeader, FShownWatermark;  // the pictures as painted on a scaled form
  TConfirmCancel FConfirmCancel = kDefaultConfirmCancel;
  bool FButtonAutoSize = kDefaultButtonAutoSize;
  THeaderStyle FHeaderStyle = kDefaultHeaderStyle;
  // Made with the object: the layout asks for them while the buttons are being made.
  std::unique_ptr<TStringList> FPageSubtitles = std::make_unique<TStringList>();
  std::unique_ptr<TBitmap> FHeaderImage = std::make_unique<TBitmap>();
  std::unique_ptr<TBitmap> FWatermarkImage = std::make_unique<TBitmap>();
  std::unique_ptr<TIntegerList> FWatermarkPages = std::make_unique<TIntegerList>();
  TInputValues FStartValues;
  // Set by Execute: the values before a resumed state, which Cancel compares against.
  bool FKeepStartValues = false;
  // Cancel was pressed in the modal loop now running: its state is not kept.
  bool FCancelled = false;
  std::string FResumeState;
  std::string FResumeFile;  // resolved, while Execute runs with one
  bool FPageComplete = true;
  TRect FAlignedClient;  // the client rectangle of the last layout

  std::unique_ptr<TIntegerList> FHistory;
  int32_t FLastWizardPage = 1;
  bool FPageChangeAllowed = false;
  bool FButtonsReady = false;
  bool FRecordSize = true;
  bool FHideBanner = false;
  int32_t FWizardWidth = 0, FWizardHeight = 0, FDialogWidth = 0, FDialogHeight = 0;
  std::unique_ptr<TIntegerList> FTabRows;

  std::unique_ptr<TPendingChange> FPending;
  TQuestion* FAsking = nullptr;                    // while OnCanPageChange is asked
  TRequestKind FRequestKind = TRequestKind::Page;  // of the next setPage
  const int32_t* FAnswer = nullptr;                // a deferred answer: setPage does not ask again
  int32_t FChangeDepth = 0;                        // nested page-change transactions
  bool FBusyAbandoned = false;  // Cancel abandoned a change; its EndBusy is dropped
  TProgressBar* FBusyBar = nullptr;
  int32_t FBarFreeLeft = 0, FBarFreeRight = 0;  // the bar's free space between its groups

  TDesignButton* FChangeButton = nullptr;
  TDesignButton* FHelpButton = nullptr;
  TBitBtn* FCancelButton = nullptr;
  TDesignButton* FBackButton = nullptr;
  TDesignButton* FNextButton = nullptr;
  TBitBtn* FOKButton = nullptr;

  // The components running broadcasts still have to reach (innermost first); one that leaves
  // the form meanwhile is struck out, so it is never called after it is gone.
  struct TBroadcastFrame {
    TBroadcastList* Targets;
    TBroadcastFrame* Outer;
  };
  TBroadcastFrame* FBroadcasts = nullptr;
  // Counts the removals this container hears of: a list of the form's components made before
  // is still the form's while the count and the form's size are the same.
  uint64_t FRemovals = 0;
};

// The first wizard container among what owner owns, depth first; nullptr when there is none.
TZelvar* FindZelvar(const TComponent& owner);

// Registers TZelvar, TDesignButton and TButtonData with the form reader.
void RegisterZelvarA();

}  // namespace zelvar
