#pragma once
// The visual form designer's editing: what the mouse and the keys do to a designed form.
// A press selects (Shift adds), a drag moves the selection or, on a grab handle, sizes it,
// and with a palette class chosen a press or a drag creates a component there. Positions
// snap to the grid unless Alt is held. Every move and size goes through the control's own
// SetBounds, so controls that keep a place per page record it as they would for any caller.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/designer/Designer.h"

namespace zelvar {

class TFormEditor : public TFormDesigner {
 public:
  static constexpr int32_t kGrid = 8;
  static constexpr int32_t kHandleSize = 6;
  // How far the mouse moves before a press becomes a drag.
  static constexpr int32_t kDragThreshold = 3;

  explicit TFormEditor(TForm& form);
  ~TFormEditor() override;

  // The class the next press creates (the palette's choice); nullptr or unset: select.
  std::function<const TClassInfo*()> CreationClass;
  // A component was created from the palette (the palette goes back to the arrow).
  std::function<void(TComponent*)> OnCreated;
  // Any press the designer takes (the window gives its surface the keyboard).
  std::function<void()> OnPress;
  // A right click on a selected component, at x, y in the form's client coordinates.
  std::function<void(TComponent*, int32_t x, int32_t y)> OnContextMenu;

  // Keys the designer itself handles: arrows move the selection by a pixel (Ctrl: by the
  // grid; Shift: size it), Delete deletes it, Escape selects the parent, Ctrl+C/X/V and
  // Ctrl+Insert, Shift+Delete, Shift+Insert use the clipboard. False for any other key.
  bool DesignKey(uint16_t key, TShiftState shift);

  // The selected controls (not the form, nor components without bounds).
  std::vector<TControl*> SelectedControls() const;
  void MoveSelection(int32_t dx, int32_t dy);
  void SizeSelection(int32_t dw, int32_t dh);
  void AlignSelectionToGrid();
  void BringSelectionToFront();
  void SendSelectionToBack();
  void SelectParent();
  // Frees the selected components (the form itself stays); their owners and the components
  // that refer to them clean up as for any freed component.
  void DeleteSelection();
  // The selection's text form (object blocks), as the clipboard holds it; empty for none.
  std::string CopySelection() const;
  // Creates the components of a text form inside the selected control when it takes
  // children, else beside it; names that are taken get the next free number. The pasted
  // components become the selection. EParserError/EReadError for text that is no form text.
  void Paste(const std::string& text);

  // Makes a component of cls owned by the form, named as the designer names new components,
  // inside parent at rect (in parent's client coordinates; an empty rect keeps the class's
  // own size at its top-left corner).
  TComponent* CreateComponent(const TClassInfo& cls, TWinControl* parent, TRect rect);
  // The class name without its leading T and the first free number: Button1, Zelvar2.
  std::string UniqueName(const std::string& className) const;

  // Components that are no controls (timers, menus) show as icons at their design place.
  static constexpr int32_t kIconSize = 28;
  std::vector<TComponent*> IconComponents() const;
  static TRect IconRect(const TComponent& c);

  // What the designer paints over the form, in the form's client coordinates: the grab
  // handles of the selection (filled for a single selection, frames for several) and the
  // rectangle a creating drag spans.
  struct THandle {
    TRect Rect;
    bool Filled = true;
  };
  std::vector<THandle> Handles() const;
  TRect CreationRect() const;
  // The rectangle a drag on the form's empty face spans: what it touches gets selected.
  TRect BandRect() const;
  // A control's rectangle in the form's client coordinates.
  TRect RectOnForm(const TControl& control) const;
  // Snaps to the grid.
  static int32_t Snap(int32_t v) { return Snapped(v, kGrid); }

 protected:
  void DesignMouse(TMessage::TKind kind, TControl* target, TMouseButton button, TShiftState shift,
                   int32_t x, int32_t y) override;

 private:
  enum class TDrag { None, Pending, Moving, Sizing, Creating, SizingForm, Band };
  static int32_t Snapped(int32_t v, int32_t grid);
  void Press(TControl* target, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void Drag(TShiftState shift, int32_t x, int32_t y);
  void Release(TShiftState shift, int32_t x, int32_t y);
  // The handle (0 top-left, clockwise to 7 left) of the single selection at x, y; -1 none.
  int HandleAt(int32_t x, int32_t y) const;
  TWinControl* ParentForNew(TControl* target) const;
  TComponent* IconAt(int32_t x, int32_t y) const;
  TPoint OriginOf(const TWinControl& parent) const;

  class TGuard;
  TDrag FDrag = TDrag::None;
  TPoint FStart;                    // where the press was, form client coordinates
  std::vector<TRect> FStartBounds;  // the selected controls' bounds at the press
  std::vector<TControl*> FDragged;  // the controls a move or size changes
  int FHandle = -1;
  TComponent* FIcon = nullptr;  // the icon a drag moves
  TPoint FIconStart;
  TPoint FFormStart;                   // the form's size when a drag on its frame began
  TWinControl* FBandParent = nullptr;  // whose children a band selects
  TPoint FBandEnd;
  bool FChangeStarted = false;  // a size drag has changed something
  const TClassInfo* FCreating = nullptr;
  TWinControl* FCreateParent = nullptr;
  TPoint FCreateAnchor;  // in the new parent's client coordinates, snapped
  TPoint FCreateEnd;
  std::unique_ptr<TGuard> FGuard;  // drops pointers to what is freed during a drag
};

}  // namespace zelvar
