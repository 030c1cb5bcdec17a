#pragma once
// The control classes: TControl (bounds, parent, visibility, alignment, messages), TWinControl
// (children, realignment, tab order, focus), TGraphicControl and TCustomControl (painting).
// Controls paint into their form's bitmap, each in its own coordinates and clipped to what
// its parents show.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphics.h"

namespace zelvar {

class TWinControl;
class TPopupMenu;               // platform/controls/Menus.h
struct TAccessibleDescription;  // platform/controls/Accessibility.h

// Coordinates and sizes are kept within this many pixels either way, so that the few of them
// any layout adds up cannot overflow, whatever a form file or a caller asks for.
inline constexpr int32_t kMaxExtent = 1 << 28;
// v within -kMaxExtent..kMaxExtent. Inline: layout passes clamp every position they compute.
inline int32_t ClampExtent(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, -kMaxExtent, kMaxExtent));
}
// A place or size scaled by m/d, as ChangeScale scales them, kept within kMaxExtent.
inline int32_t ScaleExtent(int32_t v, int32_t m, int32_t d) {
  return ClampExtent(MulDiv(v, m, d));
}

ZELVAR_ENUM(TAlign, uint8_t, alNone, alTop, alBottom, alLeft, alRight, alClient)
ZELVAR_ENUM(TControlStateFlag, uint8_t, csLButtonDown, csClicked, csPalette, csReadingState,
            csAlignmentNeeded, csFocusing, csCreating)
using TControlState = TSet<TControlStateFlag>;
ZELVAR_ENUM(TControlStyleFlag, uint8_t, csAcceptsControls, csCaptureMouse, csDesignInteractive,
            csClickEvents, csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth,
            csFixedHeight, csNoDesignVisible)
using TControlStyle = TSet<TControlStyleFlag>;
ZELVAR_ENUM(TMouseButton, uint8_t, mbLeft, mbRight, mbMiddle)
ZELVAR_ENUM(TShiftStateFlag, uint8_t, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateFlag>;
// The mouse pointer's shape over a control; crDefault takes the parent's.
ZELVAR_ENUM(TCursor, uint8_t, crDefault, crArrow, crIBeam, crSizeWE, crSizeNS, crHandPoint,
            crHourGlass, crAppStarting)
// One enumeration for the borders of forms and of panels (which take bsNone or bsSingle).
ZELVAR_ENUM(TFormBorderStyle, uint8_t, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow,
            bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;
ZELVAR_ENUM(TAlignment, uint8_t, taLeftJustify, taRightJustify, taCenter)
// How a modal form ended; 0 keeps it open.
using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                              mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8;

using TNotifyEvent = TEvent<void(TObject*)>;
using TMouseEvent = TEvent<void(TObject*, TMouseButton, TShiftState, int32_t, int32_t)>;
using TMouseMoveEvent = TEvent<void(TObject*, TShiftState, int32_t, int32_t)>;
using TKeyEvent = TEvent<void(TObject*, uint16_t&, TShiftState)>;
// A typed character, one code point; a handler may change it, or set it to 0 to swallow it.
using TKeyPressEvent = TEvent<void(TObject*, char32_t&)>;

// One notch of the mouse wheel, as classic wheel messages count it.
inline constexpr int32_t WHEEL_DELTA = 120;

// Virtual key codes the toolkit and its users share.
enum : uint16_t {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_F1 = 112,
  VK_F9 = 120,
};

// Answers to the dialog-code query: which keys a control wants for itself.
enum : int32_t {
  DLGC_WANTARROWS = 1,
  DLGC_WANTTAB = 2,
  DLGC_WANTALLKEYS = 4,
  DLGC_WANTCHARS = 0x80,
};

class TControl : public TComponent {
  ZELVAR_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  // Ends the construction state (csCreating). The toolkit's creation helper New<T> and the
  // form reader call it once the most derived constructor has run.
  void AfterConstruction() override;

  // --- bounds
  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetLeft(int32_t v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int32_t v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int32_t v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int32_t v) { SetBounds(FLeft, FTop, FWidth, v); }
  // Every move and resize comes through here.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual TRect GetClientRect() const;
  int32_t ClientWidth() const { return GetClientRect().Width(); }
  int32_t ClientHeight() const { return GetClientRect().Height(); }
  void SetClientWidth(int32_t v);
  void SetClientHeight(int32_t v);
  // This control's top-left corner in its form's client coordinates.
  TPoint FormOrigin() const;

  // --- tree
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  // The form (the top-level windowed control) this control is on; nullptr when it has none.
  TWinControl* GetParentForm() const;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  // --- state
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool v);
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  // Visible and enabled here and in every parent.
  bool Showing() const;
  bool EnabledInTree() const;
  const std::string& Caption() const { return FCaption; }
  virtual void SetCaption(const std::string& v);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);
  // A control may fill its parent without an alignment of its own (a maximized child form).
  virtual bool FillsParent() const { return false; }
  TAlign EffectiveAlign() const { return FillsParent() ? alClient : FAlign; }
  bool Aligned() const { return EffectiveAlign() != alNone; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TFont* Font() const { return FFont.get(); }
  TControlState ControlState() const { return FControlState; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void IncludeStyle(TControlStyleFlag f) { FControlStyle.Include(f); }
  void ExcludeStyle(TControlStyleFlag f) { FControlStyle.Exclude(f); }

  // --- painting
  // Marks the control for the next paint of its form.
  void Invalidate();
  // Paints the control's form now.
  void Repaint();
  void Refresh() { Repaint(); }

  // --- messages: each reaches a virtual handler that subclasses override
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void Click();
  virtual void KeyDown(uint16_t& key, TShiftState shift);
  virtual void KeyUp(uint16_t& key, TShiftState shift);
  // A typed character, one code point at a time: printable text from the text-input message
  // (any keyboard layout), and Backspace, Tab, Enter and Escape from their key down.
  virtual void KeyPress(char32_t& key);
  // The second press of a double click (its MouseDown has ssDouble), for controls with
  // csDoubleClicks.
  virtual void DblClick();
  // The wheel turned over the control by wheelDelta (WHEEL_DELTA a notch, positive away from
  // the user) with the pointer at mousePos in the control's coordinates. False lets the
  // parent have it.
  virtual bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos);
  // The size changed (after SetBounds).
  virtual void WMSize();
  // Which keys the control wants (DLGC_*); 0 lets the form use them for navigation.
  virtual int32_t WMGetDlgCode() { return 0; }
  // The designer asks whether the control wants a press itself at x, y (non-zero: yes).
  virtual int32_t CMDesignHitTest(int32_t x, int32_t y, TShiftState keys);
  // The form offers Enter and Escape to every control when the focused one does not want
  // them (a default or cancel button takes them); true when handled.
  virtual bool CMDialogKey(uint16_t key, TShiftState shift);
  // The form offers Alt+letter to every control; one whose caption has '&' before that
  // letter takes it. True when handled.
  virtual bool CMDialogChar(char letter);

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v) { FCursor = v; }
  // The menu a right click opens (this control's, else its nearest parent's); nil again when
  // the menu is freed.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* v);

  // --- hints: the form shows the text at the pointer after it rests there (TForm::ShownHint)
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  // Whether hints show here; a parent's ShowHint covers its children too.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }
  // The hint at x, y in the control's coordinates; a control with parts of its own (a palette's
  // buttons) answers per part. Empty: none here.
  virtual std::string GetHintAt(int32_t x, int32_t y) const;

  // --- required input: a control that holds a value (text, a check, a selection) may be
  // marked Required, and what watches the form's input (a wizard's Next) waits until it is
  // given. A control that holds no value is always satisfied.
  bool Required() const { return FRequired; }
  void SetRequired(bool v);
  virtual bool InputSatisfied() const { return true; }

  // What a screen reader learns of the control: the description comes filled with what every
  // control shares, and a class changes what it knows better (platform/controls/Accessibility.h).
  virtual void DescribeAccessible(TAccessibleDescription&) const {}

  // --- scaling to the screen
  // Scales what the control measures in pixels by m / d, rounded as MulDiv: its place, its
  // size and its font, and in overrides the sizes it keeps of its own. A form read at other
  // pixels per inch than the screen's scales every control this way.
  virtual void ChangeScale(int32_t m, int32_t d);
  // How many times glyphs are magnified on this control's form (GlyphZoomFor); 1 elsewhere.
  int32_t GlyphZoom() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Paints the control at origin (its top-left, in the form bitmap) within clip.
  virtual void PaintControl(TBitmap& target, TPoint origin, const TRect& clip);

 protected:
  // The parent's alignment must run again (this control moved, resized, showed or hid).
  void RequestAlign();
  // The stored rule of Font for the controls that publish it: only a changed font is written.
  bool FontStored() const { return !IsDefaultFont(*FFont); }
  void Notification(TComponent* component, TOperation operation) override;
  // The control's value (or its Required) changed: its parents hear of it at once, up to the
  // top (TWinControl::InputChanged); not while a form file is read.
  void NotifyInputChanged();

  TControlState FControlState;
  TControlStyle FControlStyle;

 private:
  friend class TWinControl;
  TWinControl* FParent = nullptr;
  int32_t FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FCaption;
  TAlign FAlign = alNone;
  TCursor FCursor = crDefault;
  TColor FColor = clBtnFace;
  std::string FHint;
  bool FShowHint = false;
  bool FRequired = false;
  std::unique_ptr<TFont> FFont;
  TPopupMenu* FPopupMenu = nullptr;
};

class TWinControl : public TControl {
  ZELVAR_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // Where the children's coordinates start in this control's client area: a view that shows
  // its children moved (a designer showing a form at its own Left and Top) says so here, and
  // painting, hit-testing and FormOrigin follow.
  virtual TPoint ChildOrigin() const { return {0, 0}; }
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const;  // in z-order, back first; EListError out of range
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  // Lays the aligned children out in the client rectangle, in the classic order: top,
  // bottom, left, right, client; each kind in the order of its position.
  virtual void AlignControls(TControl* changed, TRect& rect);
  void Realign();
  // A new size lays the aligned children out again.
  void WMSize() override { Realign(); }
  // The children first, then this control; the aligned ones are laid out once, at the end.
  void ChangeScale(int32_t m, int32_t d) override;
  // On the top-level control (the form): how many times its controls magnify their glyphs.
  virtual int32_t FormGlyphZoom() const { return 1; }

  bool TabStop() const { return FTabStop; }
  // Whether a page change may give the control the focus first, before what the page asks
  // for; a list of where the user is says no, and Tab reaches it.
  virtual bool TakesFirstFocus() const { return true; }
  void SetTabStop(bool v) { FTabStop = v; }
  // Position among the parent's windowed children; -1 without a parent. Setting clamps to
  // the last position and shifts the others.
  int32_t TabOrder() const;
  void SetTabOrder(int32_t v);
  // Windowed children in tab order.
  std::vector<TWinControl*> TabList() const { return FTabList; }
  int TabCount() const { return static_cast<int>(FTabList.size()); }
  const std::vector<TWinControl*>& TabListRef() const { return FTabList; }

  bool CanFocus() const;
  bool Focused() const;
  void SetFocus();
  // Gives the focus to the first control in tab order inside this one.
  void SelectFirst();
  // The next (or previous) control in tab order after current, among this control's
  // descendants; wraps around; nullptr when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;

  virtual void WMSetFocus();
  virtual void WMKillFocus();
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // On the top-level control (the form): which control has the keyboard focus, and the
  // hooks by which controls ask for painting.
  virtual TWinControl* FocusedControl() const;
  virtual void SetFocusedControl(TWinControl* control);
  virtual void InvalidateForm() {}
  virtual void RepaintForm() {}
  // An input control inside this one changed its value (NotifyInputChanged); passed on to the
  // parent, so a form inside another hears of it as well as the outer one. It runs per
  // keystroke, so an override must stay cheap.
  virtual void InputChanged(TControl* control);

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void DestroyComponents() override;
  void PaintControl(TBitmap& target, TPoint origin, const TRect& clip) override;

 protected:
  // Paints this control's own face (not its children); the default fills with Color.
  virtual void PaintWindow(TCanvas& canvas);
  // Paints over the children once they are painted (a designer's grab handles).
  virtual void PaintOver(TCanvas&) {}
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TControl;
  void ListTabs(std::vector<TWinControl*>& out, bool checkTabStop) const;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  int32_t FPendingTabOrder = -1;  // asked for before the control had a parent
  std::unique_ptr<TCanvas> FCanvas;
  bool FAligning = false;
  TWinControl* FActiveControl = nullptr;  // on the top-level control only

 protected:
  TCanvas* WindowCanvas();
};

// A control without a window of its own: it paints on its parent.
class TGraphicControl : public TControl {
  ZELVAR_CLASS(TGraphicControl, TControl)

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() { return FCanvas.get(); }
  void PaintControl(TBitmap& target, TPoint origin, const TRect& clip) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> FCanvas;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
  ZELVAR_CLASS(TCustomControl, TWinControl)

 public:
  explicit TCustomControl(TComponent* owner);
  TCanvas* Canvas() { return WindowCanvas(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(TCanvas& canvas) override;
};

// Creates a component and ends its construction state, as the form reader does.
template <class T, class... A>
T* New(A&&... args) {
  T* c = new T(std::forward<A>(args)...);
  c->AfterConstruction();
  return c;
}

}  // namespace zelvar
