#pragma once
// Unit ZelvarC: controls that follow the container's pages. Each keeps, per page, whether it
// is shown there and where (its position list), and has one parent for the wizard pages and
// one for the dialog page; the container's broadcast SetNewPosition places or hides it.
//
// The protocol is written once, as TPageBound<Base>, over the toolkit control each member
// extends: TABox (a plain box), TAGroupBox, TAPanel, TAPageControl, TAImage, the jump controls
// TAJumpBitBtn and TAJumpRadioBtn, TAForm, a box that hosts a whole form, and TAStepList, the
// list of the wizard's steps.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "container/ZelvarA.h"
#include "lists/ZelvarL.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Image.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

class TForm;
class TAForm;

ZELVAR_ENUM(TFormCreate, uint8_t, fcOnCreate, fcOnDemand, fcOnDemandFree)

using TGetFormEvent = TEvent<TForm*()>;
using TFreeFormEvent = TEvent<void(TAForm* sender, TForm* form)>;

// The text of the box shown when a page-bound control finds no container on its form.
inline constexpr const char* kNoZelvarMessage = "No Zelvar on Form!";

// How a member's construction differs from the box's.
struct TPageBoundSetup {
  bool AcceptControls = false;  // add csAcceptsControls, drop csOpaque
  bool NoTabStop = false;       // TabStop False
  bool TabOrderZero = false;    // TabOrder 0
  int32_t Width = -1;           // -1: the base's own size
  int32_t Height = -1;
};

template <class Base>
class TPageBound : public Base {
 public:
  explicit TPageBound(TComponent* owner);
  ~TPageBound() override = default;

  TWinControl* GetParentInDialog() const { return FParentInDialog; }
  void SetParentInDialog(TWinControl* value);
  TWinControl* GetParentInWizard() const { return FParentInWizard; }
  void SetParentInWizard(TWinControl* value);
  TAposList* ShowContainer() const { return FAposList; }
  TAlign AAlign() const { return FAAlign; }
  void SetAAlign(TAlign value);
  TZelvar* Zelvar() const { return FZelvar; }
  bool TrackBounds() const { return FTrackBounds; }

  // Shows the control at its place for page n under the parent of the mode, or hides it.
  virtual void SetNewPosition(int32_t n);
  // The position list takes n entries.
  void SetNumApos(int32_t n);

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  // The places per page scale with the control; a control parked off the page stays parked.
  void ChangeScale(int32_t m, int32_t d) override;
  void SetParent(TWinControl* parent) override;
  // Refuses a stored position list that is damaged or has no record for a page of the
  // container: every later page change would fail on it.
  void Loaded() override;

  // Published fields, found by name by the design-time editors.
  TZelvar* FZelvar = nullptr;
  TAposList* FAposList = nullptr;  // owned (FOwnedList)

 protected:
  // Construction after the base's: the member's differences, then the container search.
  void Setup(const TPageBoundSetup& setup);
  void Notification(TComponent* component, TOperation operation) override;

  TWinControl* FParentInDialog = nullptr;
  TWinControl* FParentInWizard = nullptr;
  bool FTrackBounds = true;
  TAlign FAAlign = alNone;

 private:
  void SetRef(TWinControl*& field, TWinControl* value);
  std::unique_ptr<TAposList> FOwnedList;
};

// Adds the protocol's published members to a member's class record.
template <class C>
TClassBuilder<C>& PageBoundMembers(TClassBuilder<C>& b);

// ---------------------------------------------------------------------------------------------

class TABox : public TPageBound<TCustomControl> {
  ZELVAR_CLASS(TABox, TPageBound<TCustomControl>)

 public:
  explicit TABox(TComponent* owner);

 protected:
  // At design time a dotted outline; nothing at run time.
  void Paint() override;
};

class TAGroupBox : public TPageBound<TGroupBox> {
  ZELVAR_CLASS(TAGroupBox, TPageBound<TGroupBox>)

 public:
  explicit TAGroupBox(TComponent* owner);
};

class TAPanel : public TPageBound<TPanel> {
  ZELVAR_CLASS(TAPanel, TPageBound<TPanel>)

 public:
  explicit TAPanel(TComponent* owner);
};

class TAPageControl : public TPageBound<TPageControl> {
  ZELVAR_CLASS(TAPageControl, TPageBound<TPageControl>)

 public:
  explicit TAPageControl(TComponent* owner);
};

class TAImage : public TPageBound<TImage> {
  ZELVAR_CLASS(TAImage, TPageBound<TImage>)

 public:
  explicit TAImage(TComponent* owner);
};

// What both jump controls add: a target page, read absolutely or relative to the container's
// position, and the design-time switch that lets them work inside the designer.
template <class Base>
class TJumpControl : public TPageBound<Base> {
 public:
  explicit TJumpControl(TComponent* owner) : TPageBound<Base>(owner) {}

  int32_t JumpPage() const { return FJumpPage; }
  void SetJumpPage(int32_t v) { FJumpPage = v; }
  TJumpMode JumpMode() const { return FJumpMode; }
  void SetJumpMode(TJumpMode v) { FJumpMode = v; }
  bool ButtonMode() const { return FButtonMode; }
  // True: designed (inert in the designer); False: works in the designer as at run time.
  void SetButtonMode(bool value) {
    FButtonMode = value;
    this->SetDesigning(value);
  }
  // The page this control sends the container to from position page.
  int32_t Target(int32_t page) const;

 protected:
  bool FButtonMode = true;
  TJumpMode FJumpMode = jmAbsolut;
  int32_t FJumpPage = 0;
};

class TAJumpBitBtn : public TJumpControl<TBitBtn> {
  ZELVAR_CLASS(TAJumpBitBtn, TJumpControl<TBitBtn>)

 public:
  explicit TAJumpBitBtn(TComponent* owner);
  // The button's own click (and OnClick), then the jump.
  void Click() override;
};

class TAJumpRadioBtn : public TJumpControl<TRadioButton> {
  ZELVAR_CLASS(TAJumpRadioBtn, TJumpControl<TRadioButton>)

 public:
  explicit TAJumpRadioBtn(TComponent* owner);
};

// A box that shows a whole form, which the application hands over through OnGetForm.
class TAForm : public TABox {
  ZELVAR_CLASS(TAForm, TABox)

 public:
  explicit TAForm(TComponent* owner);
  ~TAForm() override;

  TFormCreate FormCreate() const { return FFormCreate; }
  void SetFormCreate(TFormCreate v) { FFormCreate = v; }
  // The hosted form, nil while none is held; the host frees it.
  TForm* HostedForm() const { return FForm; }

  TGetFormEvent OnGetForm;
  TFreeFormEvent OnFreeForm;

  void SetNewPosition(int32_t n) override;
  void Loaded() override;
  void SetName(const std::string& name) override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void GetForm();
  void Embed();
  void FreeForm();

  TFormCreate FFormCreate = fcOnCreate;
  TForm* FForm = nullptr;
};

// The wizard's steps, listed by page name on the left of the pages as classic setup programs
// show them: one per position (way-list entry, or page 1..NumPages), the current one bold
// with a marker, those no walk forward from here reaches greyed. A step Back may return to
// (one in the history that SkipOnBack does not pass over) is a click, or Enter or Space on the
// focus mark, away; the container goes there by its history rules. A new list is shown on
// every wizard page.
class TAStepList : public TPageBound<TCustomControl> {
  ZELVAR_CLASS(TAStepList, TPageBound<TCustomControl>)

 public:
  static constexpr int32_t kDefaultItemHeight = 20;
  // Where a step's caption starts at 96 pixels per inch: the current step's marker is before it.
  static constexpr int32_t kStepTextLeft = 18;
  static constexpr TColor kDefaultColor = clWindow;

  explicit TAStepList(TComponent* owner);

  int32_t ItemHeight() const { return FItemHeight; }
  // EInvalidOperation below 1.
  void SetItemHeight(int32_t v);

  // The steps, 1 up: how many, each one's caption (the page's name, or "Page n" without one).
  int32_t StepCount() const;
  std::string StepCaption(int32_t step) const;
  // Whether a walk forward from the current position reaches the step (the current one does).
  bool StepReachable(int32_t step) const;
  // Whether the step is one the container can go back to.
  bool StepVisited(int32_t step) const;
  // The step under a point of the list, 0 for none.
  int32_t StepAt(int32_t y) const;
  // The step the focus mark is on (0 before the first page change).
  int32_t FocusStep() const { return FFocusStep; }
  // Goes back to a visited step, as Back would; false, changing nothing, for any other step.
  bool GoToStep(int32_t step);

  void SetNewPosition(int32_t n) override;
  // A list of steps belongs on every wizard page: the pages added are shown there too, and a
  // move on one wizard page moves it on all of them.
  void SetNumApos(int32_t n);
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void ChangeScale(int32_t m, int32_t d) override;
  bool TakesFirstFocus() const override { return false; }
  void KeyDown(uint16_t& key, TShiftState shift) override;
  bool CMDialogKey(uint16_t key, TShiftState shift) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

 private:
  int32_t FItemHeight = kDefaultItemHeight;
  int32_t FTextLeft = kStepTextLeft;  // scaled with the form
  int32_t FFocusStep = 0;
  // By step, as the last page change left the walk; empty on the dialog page.
  std::vector<bool> FReachable;
};

// Registers the page-bound classes with the form reader.
void RegisterZelvarC();

}  // namespace zelvar
