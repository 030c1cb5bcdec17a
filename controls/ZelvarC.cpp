// The page-bound protocol, written once over the toolkit controls, and the members that use it
// as they are: boxes, group boxes, panels, page controls, images and the jump controls. The
// form host is in forms.cpp.

#include <algorithm>
#include <string>

#include "container/FlowCheck.h"
#include "controls/FlowModel.h"
#include "controls/ZelvarC.h"
#include "platform/core/Format.h"
#include "platform/core/ScopeGuard.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"

namespace zelvar {

// =============================================================================================
// TPageBound

template <class Base>
TPageBound<Base>::TPageBound(TComponent* owner)
    : Base(RequireFormOwner(owner)), FOwnedList(std::make_unique<TAposList>()) {
  FAposList = FOwnedList.get();
}

template <class Base>
void TPageBound<Base>::Setup(const TPageBoundSetup& setup) {
  if (setup.AcceptControls) {
    this->IncludeStyle(csAcceptsControls);
    this->ExcludeStyle(csOpaque);
  }
  if constexpr (std::is_base_of_v<TWinControl, Base>) {
    if (setup.NoTabStop) this->SetTabStop(false);
    if (setup.TabOrderZero) this->SetTabOrder(0);
  }
  if (setup.Width >= 0) this->SetWidth(setup.Width);
  if (setup.Height >= 0) this->SetHeight(setup.Height);
  FTrackBounds = true;

  auto* form = As<TForm>(this->Owner());
  if (!form) return;
  for (TComponent* c : form->Components())
    if (auto* z = dynamic_cast<TZelvar*>(c)) {
      FZelvar = z;
      break;
    }
  if (!FZelvar) {
    MessageDlg(kNoZelvarMessage, mtError, {mbOK}, 0);
    return;
  }
  FAposList->SetNumApos(FZelvar->NumPages() + 1);
  FAposList->Record(FZelvar->RealPage()).Shown = 1;
}

template <class Base>
void TPageBound<Base>::Notification(TComponent* component, TOperation operation) {
  Base::Notification(component, operation);
  if (operation != opRemove) return;
  // A container or parent that goes leaves no reference behind.
  if (component == FZelvar) FZelvar = nullptr;
  if (component == FParentInDialog) FParentInDialog = nullptr;
  if (component == FParentInWizard) FParentInWizard = nullptr;
}

template <class Base>
void TPageBound<Base>::SetRef(TWinControl*& field, TWinControl* value) {
  TWinControl* old = field;
  field = value;
  // A sibling's removal reaches this control through the owner anyway (the container always
  // is one); a control of another owner is asked to tell.
  if (value && value->Owner() != this->Owner()) this->FreeNotification(value);
  if (old && old->Owner() != this->Owner() && old != FParentInDialog && old != FParentInWizard)
    this->RemoveFreeNotification(old);
}

template <class Base>
void TPageBound<Base>::SetNewPosition(int32_t n) {
  FTrackBounds = false;
  // Recording resumes however the placing ends.
  TScopeExit resume([this]() noexcept { FTrackBounds = true; });

  const TAposRec& rec = FAposList->Record(n);
  if (rec.Shown == 1) {
    // A parent that was never named or has gone keeps the control where it is.
    TWinControl* parent = n == 0 ? FParentInDialog : FParentInWizard;
    if (parent && parent != this->Parent()) this->SetParent(parent);
    if (rec.Left != this->Left()) this->SetLeft(rec.Left);
    if (rec.Top != this->Top()) this->SetTop(rec.Top);
    if (FAAlign != alNone && FAAlign != this->Align()) this->SetAlign(FAAlign);
    if (!this->Enabled()) this->SetEnabled(true);
    if (!this->Visible()) this->SetVisible(true);
  } else {
    if (FAAlign != alNone) this->SetAlign(alNone);
    this->SetVisible(false);
    this->SetEnabled(false);
    this->SetLeft(kParkedLeft);
  }
}

template <class Base>
void TPageBound<Base>::Loaded() {
  const std::string name = FormName(*this);
  FAposList->CheckLoaded(name, "ShowContainer");
  if (FZelvar) {
    // Records are indexed by the page shown: one for the dialog page and one per wizard page.
    const int64_t pages = int64_t{FZelvar->NumPages()} + 1;
    if (FAposList->RecordCount() < pages)
      throw EReadError("Error reading " + name + ": ShowContainer holds " +
                       std::to_string(FAposList->RecordCount()) + " positions but " +
                       FZelvar->Name() + " has " + std::to_string(pages) + " pages (NumPages " +
                       std::to_string(FZelvar->NumPages()) + " and the dialog page)");
  }
  Base::Loaded();
}

template <class Base>
void TPageBound<Base>::SetNumApos(int32_t n) {
  FAposList->SetNumApos(n);
}

template <class Base>
void TPageBound<Base>::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  Base::SetBounds(left, top, width, height);
  if (FTrackBounds && !this->ControlState().Contains(csCreating) && FZelvar) {
    TAposRec& rec = FAposList->Record(FZelvar->RealPage());
    rec.Left = this->Left();
    rec.Top = this->Top();
  }
}

template <class Base>
void TPageBound<Base>::ChangeScale(int32_t m, int32_t d) {
  auto scale = [m, d](int32_t v) { return ScaleExtent(v, m, d); };
  for (int i = 0; i < FAposList->RecordCount(); ++i) {
    TAposRec& rec = FAposList->Record(i);
    rec.Left = scale(rec.Left);
    rec.Top = scale(rec.Top);
  }
  // The records are scaled already; the control's own move must not record into them.
  TRestore<bool> untracked(FTrackBounds, false);
  const bool parked = this->Left() == kParkedLeft;
  Base::ChangeScale(m, d);
  if (parked) this->SetLeft(kParkedLeft);
}

template <class Base>
void TPageBound<Base>::SetParent(TWinControl* parent) {
  Base::SetParent(parent);
  if (!FZelvar) return;
  if (FZelvar->Page() == 0) {
    SetRef(FParentInDialog, parent);
    if (!FParentInWizard) SetRef(FParentInWizard, FZelvar);
  } else {
    SetRef(FParentInWizard, parent);
    if (!FParentInDialog) SetRef(FParentInDialog, FZelvar);
  }
}

template <class Base>
void TPageBound<Base>::SetParentInDialog(TWinControl* value) {
  if (!value || value == static_cast<TControl*>(this) || value == FParentInDialog || !FZelvar)
    return;
  if (FZelvar->Page() == 0)
    this->SetParent(value);
  else
    SetRef(FParentInDialog, value);
}

template <class Base>
void TPageBound<Base>::SetParentInWizard(TWinControl* value) {
  if (!value || value == static_cast<TControl*>(this) || value == FParentInWizard || !FZelvar)
    return;
  if (FZelvar->Page() != 0)
    this->SetParent(value);
  else
    SetRef(FParentInWizard, value);
}

template <class Base>
void TPageBound<Base>::SetAAlign(TAlign value) {
  FAAlign = value;
  if (FZelvar && FAposList->Record(FZelvar->RealPage()).Shown == 1) this->SetAlign(value);
}

template <class C>
TClassBuilder<C>& PageBoundMembers(TClassBuilder<C>& b) {
  b.Property("ParentInDialog", &C::GetParentInDialog, &C::SetParentInDialog)
      .Property("ParentInWizard", &C::GetParentInWizard, &C::SetParentInWizard)
      .Property("ShowContainer", &C::ShowContainer)
      .Publish("Align")
      .Property("AAlign", &C::AAlign, &C::SetAAlign)
      .Method("SetNewPosition", static_cast<void (C::*)(int32_t)>(&C::SetNewPosition))
      .Method("SetNumApos", static_cast<void (C::*)(int32_t)>(&C::SetNumApos))
      .Field("FZelvar", static_cast<TZelvar * C::*>(&C::FZelvar), false)
      .Field("FAposList", static_cast<TAposList * C::*>(&C::FAposList), false);
  return b;
}

template class TPageBound<TCustomControl>;
template class TPageBound<TGroupBox>;
template class TPageBound<TPanel>;
template class TPageBound<TPageControl>;
template class TPageBound<TImage>;
template class TPageBound<TBitBtn>;
template class TPageBound<TRadioButton>;

// =============================================================================================
// The members

const TClassInfo& TABox::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TABox> b("TABox");
    PageBoundMembers(b).Publish("TabOrder", "Visible");
    return b.Build();
  }();
  return *info;
}

TABox::TABox(TComponent* owner) : TPageBound(owner) {
  Setup(
      {.AcceptControls = true, .NoTabStop = true, .TabOrderZero = true, .Width = 50, .Height = 50});
}

void TABox::Paint() {
  TPageBound::Paint();
  if (!IsDesigning()) return;
  TCanvas& c = *Canvas();
  c.Pen()->SetStyle(psDot);
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(0, 0, Width(), Height());
}

const TClassInfo& TAGroupBox::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAGroupBox> b("TAGroupBox");
    return PageBoundMembers(b).Build();
  }();
  return *info;
}

TAGroupBox::TAGroupBox(TComponent* owner) : TPageBound(owner) {
  Setup({.NoTabStop = true});
}

const TClassInfo& TAPanel::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAPanel> b("TAPanel");
    return PageBoundMembers(b).Build();
  }();
  return *info;
}

TAPanel::TAPanel(TComponent* owner) : TPageBound(owner) {
  Setup({});
}

const TClassInfo& TAPageControl::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAPageControl> b("TAPageControl");
    return PageBoundMembers(b).Build();
  }();
  return *info;
}

TAPageControl::TAPageControl(TComponent* owner) : TPageBound(owner) {
  Setup({.NoTabStop = true});
}

const TClassInfo& TAImage::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAImage> b("TAImage");
    return PageBoundMembers(b).Build();
  }();
  return *info;
}

TAImage::TAImage(TComponent* owner) : TPageBound(owner) {
  Setup({});
}

// =============================================================================================
// Jump controls

template <class Base>
int32_t TJumpControl<Base>::Target(int32_t page) const {
  return JumpTarget(FJumpMode, FJumpPage, page);
}

template class TJumpControl<TBitBtn>;
template class TJumpControl<TRadioButton>;

template <class C>
static TClassBuilder<C>& JumpMembers(TClassBuilder<C>& b) {
  return PageBoundMembers(b)
      .Property("JumpPage", &C::JumpPage, &C::SetJumpPage)
      .Property("JumpMode", &C::JumpMode, &C::SetJumpMode)
      .Public("ButtonMode", &C::ButtonMode, &C::SetButtonMode);
}

const TClassInfo& TAJumpBitBtn::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAJumpBitBtn> b("TAJumpBitBtn");
    return JumpMembers(b).Build();
  }();
  return *info;
}

TAJumpBitBtn::TAJumpBitBtn(TComponent* owner) : TJumpControl(owner) {
  Setup({});
}

void TAJumpBitBtn::Click() {
  TJumpControl::Click();
  // Without a container there is nowhere to jump.
  if (!FZelvar) return;
  if (FJumpMode == jmAbsolut)
    FZelvar->Jump(FJumpPage);
  else
    FZelvar->JumpRel(FJumpPage);
}

const TClassInfo& TAJumpRadioBtn::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAJumpRadioBtn> b("TAJumpRadioBtn");
    return JumpMembers(b).Build();
  }();
  return *info;
}

TAJumpRadioBtn::TAJumpRadioBtn(TComponent* owner) : TJumpControl(owner) {
  Setup({.Width = 140});
}

// =============================================================================================
// The step list

const TClassInfo& TAStepList::StaticClassInfo() {
  static const auto info = [] {
    TClassBuilder<TAStepList> b("TAStepList");
    PageBoundMembers(b)
        .Publish("Font")
        .Publish("Color")
        .Default(kDefaultColor)
        .Publish("TabStop")
        .Default(true)
        .Publish("TabOrder", "Visible")
        .Property("ItemHeight", &TAStepList::ItemHeight, &TAStepList::SetItemHeight)
        .Default(kDefaultItemHeight);
    return b.Build();
  }();
  return *info;
}

TAStepList::TAStepList(TComponent* owner) : TPageBound(owner) {
  SetColor(kDefaultColor);
  SetTabStop(true);
  Setup({.Width = 160, .Height = 240});
  if (!FZelvar) return;
  FFocusStep = std::max(FZelvar->Page(), 0);
  for (int32_t page = 1; page < FAposList->RecordCount(); ++page) FAposList->Record(page).Shown = 1;
}

void TAStepList::SetNumApos(int32_t n) {
  const int32_t before = FAposList->RecordCount();
  TPageBound::SetNumApos(n);
  // New pages take the place of the last wizard page there was.
  const TAposRec place = before > 1 ? FAposList->Record(before - 1) : TAposRec{Left(), Top(), 1};
  for (int32_t page = std::max(before, 1); page < FAposList->RecordCount(); ++page)
    FAposList->Record(page) = {place.Left, place.Top, 1};
}

void TAStepList::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TPageBound::SetBounds(left, top, width, height);
  if (!FTrackBounds || ControlState().Contains(csCreating) || !FZelvar || FZelvar->RealPage() < 1)
    return;
  const TAposRec place = FAposList->Record(FZelvar->RealPage());
  for (int32_t page = 1; page < FAposList->RecordCount(); ++page) {
    FAposList->Record(page).Left = place.Left;
    FAposList->Record(page).Top = place.Top;
  }
}

void TAStepList::ChangeScale(int32_t m, int32_t d) {
  FItemHeight = std::max(1, ScaleExtent(FItemHeight, m, d));
  FTextLeft = std::max(1, ScaleExtent(FTextLeft, m, d));
  TPageBound::ChangeScale(m, d);
}

void TAStepList::SetItemHeight(int32_t v) {
  if (v < 1) throw EInvalidOperation(Format("ItemHeight must be at least 1, not %d", {v}));
  FItemHeight = v;
  Invalidate();
}

int32_t TAStepList::StepCount() const {
  if (!FZelvar) return 0;
  return FZelvar->WayListEnabled() ? FZelvar->WayList()->EntryCount() : FZelvar->NumPages();
}

std::string TAStepList::StepCaption(int32_t step) const {
  if (step < 1 || step > StepCount())
    throw EListError(Format("Step index out of bounds (%d)", {step}));
  const int32_t page = FZelvar->GetRealPage(step);
  std::string name = FZelvar->PageName(page);
  return name.empty() ? Format("Page %d", {page}) : name;
}

bool TAStepList::StepReachable(int32_t step) const {
  if (FReachable.empty()) return true;
  return step >= 1 && static_cast<size_t>(step) < FReachable.size() &&
         FReachable[static_cast<size_t>(step)];
}

bool TAStepList::StepVisited(int32_t step) const {
  return FZelvar && step != FZelvar->Page() && FZelvar->BackStopOf(step) >= 0;
}

int32_t TAStepList::StepAt(int32_t y) const {
  if (y < 0) return 0;
  const int32_t step = y / FItemHeight + 1;
  return step <= StepCount() ? step : 0;
}

bool TAStepList::GoToStep(int32_t step) {
  if (!StepVisited(step) || FZelvar->Busy()) return false;
  FZelvar->BackTo(FZelvar->BackStopOf(step));
  return true;
}

void TAStepList::SetNewPosition(int32_t n) {
  TPageBound::SetNewPosition(n);
  FReachable.clear();
  if (FZelvar && FZelvar->Page() > 0) {
    FFocusStep = FZelvar->Page();
    // Which steps lie ahead: the flow check's walk of the form, from here.
    FReachable = ReachableFrom(FlowModelOf(*FZelvar), FZelvar->Page());
  }
  Invalidate();
}

void TAStepList::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TPageBound::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  const int32_t step = StepAt(y);
  if (step == 0) return;
  FFocusStep = step;
  if (CanFocus()) SetFocus();
  Invalidate();
  GoToStep(step);
}

void TAStepList::KeyDown(uint16_t& key, TShiftState shift) {
  const int32_t count = StepCount();
  if (key == VK_UP || key == VK_DOWN) {
    if (count > 0) FFocusStep = std::clamp(FFocusStep + (key == VK_UP ? -1 : 1), 1, count);
    Invalidate();
    key = 0;
  } else if (key == VK_SPACE) {
    GoToStep(FFocusStep);
    key = 0;
  }
  if (key != 0) TPageBound::KeyDown(key, shift);
}

bool TAStepList::CMDialogKey(uint16_t key, TShiftState shift) {
  // Enter on a step that can be gone back to goes there; on any other it goes on as Enter
  // does on the page (the default button), so the list never swallows it.
  if (key == VK_RETURN && Focused() && GoToStep(FFocusStep)) return true;
  return TPageBound::CMDialogKey(key, shift);
}

void TAStepList::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect({0, 0, Width(), Height()});
  if (IsDesigning()) {
    c.Pen()->SetStyle(psDot);
    c.Brush()->SetStyle(bsClear);
    c.Rectangle(0, 0, Width(), Height());
    c.Pen()->SetStyle(psSolid);
  }
  if (!FZelvar) return;
  c.Brush()->SetStyle(bsClear);
  TFont& font = *c.Font();
  const TFontStyles style = font.Style();
  const TColor color = font.Color();
  const int32_t current = FZelvar->Page();
  for (int32_t step = 1, count = StepCount(); step <= count; ++step) {
    const int32_t top = (step - 1) * FItemHeight;
    if (top >= Height()) break;
    const TColor ink = StepReachable(step) || StepVisited(step) ? color : clGrayText;
    font.SetStyle(step == current ? TFontStyles(style).Include(fsBold) : style);
    font.SetColor(ink);
    if (step == current) {
      // The marker: a small triangle pointing at the caption, as wide as the columns it has.
      const int32_t mid = top + FItemHeight / 2;
      const int32_t size = std::max(1, FTextLeft * 5 / kStepTextLeft), left = FTextLeft / 3;
      c.Pen()->SetColor(ink);
      for (int32_t i = 0; i < size; ++i) {
        c.MoveTo(left + i, mid - (size - 1) + i);
        c.LineTo(left + i, mid + size - i);
      }
    }
    c.TextOut(FTextLeft, top + (FItemHeight - c.TextHeight("X")) / 2, StepCaption(step));
    if (step == FFocusStep && Focused()) c.DrawFocusRect({1, top, Width() - 1, top + FItemHeight});
  }
  font.SetStyle(style);
  font.SetColor(color);
}

void RegisterZelvarC() {
  RegisterClasses<TABox, TAGroupBox, TAPanel, TAPageControl, TAImage, TAJumpBitBtn, TAJumpRadioBtn,
                  TAForm, TAStepList>();
}

}  // namespace zelvar
