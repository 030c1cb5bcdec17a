#include "platform/controls/Controls.h"

#include <algorithm>

#include "platform/controls/Accessibility.h"
#include "platform/controls/Menus.h"

#include "platform/core/Assert.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Bitmap.h"

namespace zelvar {

namespace {

// Takes value out of list, looking from the back: children leave their parent in about the
// reverse of the order they came, so freeing a form of n children stays linear. False when
// the list did not hold it.
template <class T>
bool EraseFromBack(std::vector<T*>& list, const TControl* value) {
  for (size_t i = list.size(); i-- > 0;)
    if (list[i] == value) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  return false;
}

}  // namespace

// =============================================================================================
// TControl

const TClassInfo& TControl::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TControl>("TControl")
          .Property("Left", &TControl::Left, &TControl::SetLeft)
          .Property("Top", &TControl::Top, &TControl::SetTop)
          .Property("Width", &TControl::Width, &TControl::SetWidth)
          .Property("Height", &TControl::Height, &TControl::SetHeight)
          .Public("Parent", &TControl::Parent, &TControl::SetParent)
          // Declared once here, with the defaults the fields start with; descendants publish
          // the ones they show (TClassBuilder::Publish).
          .Public("Visible", &TControl::Visible, &TControl::SetVisible)
          .Default(true)
          .Public("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Default(true)
          .Public("Caption", &TControl::Caption, &TControl::SetCaption)
          .Public("Align", &TControl::Align, &TControl::SetAlign)
          .Default(alNone)
          .Public("Color", &TControl::Color, &TControl::SetColor)
          .Default(clBtnFace)
          .Public("Font", &TControl::Font)
          .Stored(&TControl::FontStored)
          .Public("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
          .Public("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
          .Public("OnClick", &TControl::OnClick, &TControl::OnClick)
          .Public("OnDblClick", &TControl::OnDblClick, &TControl::OnDblClick)
          .Public("OnMouseDown", &TControl::OnMouseDown, &TControl::OnMouseDown)
          .Public("OnMouseUp", &TControl::OnMouseUp, &TControl::OnMouseUp)
          .Public("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
          .Public("Hint", &TControl::Hint, &TControl::SetHint)
          .Public("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Default(false)
          // Published by the controls that hold a value.
          .Public("Required", &TControl::Required, &TControl::SetRequired)
          .Default(false)
          .Build();
  return *info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
  FControlState.Include(csCreating);
  FFont->OnChange = [this] { Invalidate(); };
}

// A control that is freed leaves its parent. A required one then holds nothing back any more:
// the parent hears of it, with no control named (it is half destroyed), unless its owner is
// going too (tell false), as when the whole form goes.
static void LeaveParent(TControl& control, bool tell) {
  TWinControl* parent = control.Parent();
  if (!parent) return;
  parent->RemoveControl(&control);
  if (tell && control.Required()) parent->InputChanged(nullptr);
}

TControl::~TControl() {
  LeaveParent(*this, !IsDestroying());
}

std::string TControl::GetHintAt(int32_t, int32_t) const {
  return FHint;
}

void TControl::AfterConstruction() {
  FControlState.Exclude(csCreating);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  left = ClampExtent(left);
  top = ClampExtent(top);
  width = std::clamp(width, 0, kMaxExtent);
  height = std::clamp(height, 0, kMaxExtent);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool resized = width != FWidth || height != FHeight;
  Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (Aligned()) RequestAlign();
  if (resized) WMSize();
  Invalidate();
}

void TControl::ChangeScale(int32_t m, int32_t d) {
  auto scale = [m, d](int32_t v) { return ScaleExtent(v, m, d); };
  SetBounds(scale(FLeft), scale(FTop), scale(FWidth), scale(FHeight));
  FFont->SetHeight(scale(FFont->Height()));
}

int32_t TControl::GlyphZoom() const {
  const TWinControl* form = GetParentForm();
  return form ? form->FormGlyphZoom() : 1;
}

TRect TControl::GetClientRect() const {
  return {0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(int32_t v) {
  SetWidth(ClampExtent(int64_t{FWidth} - ClientWidth() + v));
}
void TControl::SetClientHeight(int32_t v) {
  SetHeight(ClampExtent(int64_t{FHeight} - ClientHeight() + v));
}

TPoint TControl::FormOrigin() const {
  int64_t x = 0, y = 0;
  for (const TControl* c = this; c->FParent; c = c->FParent) {
    const TPoint shift = c->FParent->ChildOrigin();
    x += c->FLeft + shift.X;
    y += c->FTop + shift.Y;
  }
  // Deep enough nesting of far-off controls would leave any picture anyway.
  return {ClampExtent(x), ClampExtent(y)};
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
  for (TWinControl* p = parent; p; p = p->FParent)
    if (p == this) throw EInvalidOperation("A control cannot be a parent of its own parent");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TWinControl* TControl::GetParentForm() const {
  // Every Invalidate asks this: the parent chain is typed already, so only a control without
  // a parent needs the cast.
  if (!FParent) return const_cast<TWinControl*>(dynamic_cast<const TWinControl*>(this));
  TWinControl* top = FParent;
  while (top->FParent) top = top->FParent;
  return top;
}

TComponent* TControl::GetParentComponent() const {
  return FParent;
}

void TControl::SetParentComponent(TComponent* parent) {
  auto* w = dynamic_cast<TWinControl*>(parent);
  if (parent && !w)
    throw EInvalidOperation(parent->ClassName() + " cannot hold " + ClassName() + " " + Name());
  SetParent(w);
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  Invalidate();
  if (!v) AccessibleShownChanged(this, false);
  FVisible = v;
  if (v) AccessibleShownChanged(this, true);
  if (Aligned()) RequestAlign();
  Invalidate();
  // Required input counts only where it shows.
  if (FRequired) NotifyInputChanged();
}

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  AccessibleStateChanged(this, astEnabled, v);
  Invalidate();
  if (FRequired) NotifyInputChanged();
}

void TControl::SetRequired(bool v) {
  if (v == FRequired) return;
  FRequired = v;
  NotifyInputChanged();
}

void TControl::NotifyInputChanged() {
  if (IsLoading() || IsReading() || IsDestroying()) return;
  if (FParent) FParent->InputChanged(this);
}

void TWinControl::InputChanged(TControl* control) {
  if (Parent()) Parent()->InputChanged(control);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

bool TControl::EnabledInTree() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled) return false;
  return true;
}

void TControl::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  AccessibleNameChanged(this);
  Invalidate();
}

void TControl::SetAlign(TAlign v) {
  if (v == FAlign) return;
  FAlign = v;
  RequestAlign();
}

void TControl::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Invalidate();
}

void TControl::RequestAlign() {
  if (FParent) FParent->Realign();
}

void TControl::Invalidate() {
  if (TWinControl* form = GetParentForm()) form->InvalidateForm();
}

void TControl::Repaint() {
  if (TWinControl* form = GetParentForm()) form->RepaintForm();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) FControlState.Include(csLButtonDown);
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  bool wasDown = FControlState.Contains(csLButtonDown);
  if (button == mbLeft) FControlState.Exclude(csLButtonDown);
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  const bool inside = x >= 0 && y >= 0 && x < FWidth && y < FHeight;
  // A click is a press and release of the left button over the control.
  if (button == mbLeft && wasDown && inside) Click();
  // A right click opens the nearest popup menu at the pointer (the designer opens its own).
  if (button == mbRight && inside && !IsDesigning())
    for (TControl* c = this; c; c = c->FParent)
      if (TPopupMenu* menu = c->FPopupMenu) {
        if (menu->AutoPopup()) menu->Popup(*this, x, y);
        break;
      }
}

void TControl::SetPopupMenu(TPopupMenu* v) {
  if (v == FPopupMenu) return;
  // The link stays while the old menu is open over this control: it closes when this goes.
  if (FPopupMenu && FPopupMenu->PopupComponent() != this) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = v;
  if (v) FreeNotification(v);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::KeyDown(uint16_t&, TShiftState) {}
void TControl::KeyUp(uint16_t&, TShiftState) {}
void TControl::KeyPress(char32_t&) {}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool TControl::DoMouseWheel(TShiftState, int32_t, TPoint) {
  return false;
}
void TControl::WMSize() {}
int32_t TControl::CMDesignHitTest(int32_t, int32_t, TShiftState) {
  return 0;
}
bool TControl::CMDialogKey(uint16_t, TShiftState) {
  return false;
}
bool TControl::CMDialogChar(char) {
  return false;
}

void TControl::PaintControl(TBitmap&, TPoint, const TRect&) {}

// =============================================================================================
// TWinControl

const TClassInfo& TWinControl::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TWinControl>("TWinControl")
          .Public("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
          .Default(false)
          // -1 without a parent: a control on a form always writes its place.
          .Public("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
          .Default(-1)
          .Public("Focused", &TWinControl::Focused)
          .Public("ControlCount", &TWinControl::ControlCount)
          .Public("OnEnter", &TWinControl::OnEnter, &TWinControl::OnEnter)
          .Public("OnExit", &TWinControl::OnExit, &TWinControl::OnExit)
          .Build();
  return *info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  const bool ownerStays = !IsDestroying();
  Destroying();
  // Leave the parent while this is still a windowed control, so its tab list lets go too.
  LeaveParent(*this, ownerStays);
  // A windowed control takes its children with it, whoever owns them; they leave their
  // owners' lists as they go.
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FControls[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  control->FParent = this;
  FControls.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    FTabList.push_back(w);
    if (w->FPendingTabOrder >= 0) {
      int32_t order = w->FPendingTabOrder;
      w->FPendingTabOrder = -1;
      w->SetTabOrder(order);
    }
  }
  if (control->Aligned()) Realign();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->FParent != this) return;
  control->Invalidate();
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    // A control leaving the form cannot keep its focus.
    if (TWinControl* form = GetParentForm()) {
      TWinControl* focused = form->FocusedControl();
      for (TWinControl* f = focused; f; f = f->Parent())
        if (f == w) {
          // A control on its way out is not told it lost the focus: it is half destroyed.
          if (w->IsDestroying())
            form->FActiveControl = nullptr;
          else
            form->SetFocusedControl(nullptr);
          break;
        }
    }
    const bool tabbed = EraseFromBack(FTabList, w);
    ZELVAR_ASSERT(tabbed);  // InsertControl lists every windowed child in the tab order
  }
  const bool listed = EraseFromBack(FControls, control);
  ZELVAR_ASSERT(listed);
  control->FParent = nullptr;
  if (control->Aligned()) Realign();
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  static constexpr TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : kOrder) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->EffectiveAlign() == align && (c->FVisible || IsDesigning())) list.push_back(c);
    auto key = [align](const TControl* c) {
      switch (align) {
        case alTop:
          return c->FTop;
        case alBottom:
          return -(c->FTop + c->FHeight);
        case alLeft:
          return c->FLeft;
        case alRight:
          return -(c->FLeft + c->FWidth);
        default:
          return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](const TControl* a, const TControl* b) { return key(a) < key(b); });
    for (TControl* c : list) {
      // Each edge moves by at most one extent per child: kept within range, the rectangle's
      // sides and sizes cannot overflow however many children there are.
      int32_t w = ClampExtent(std::max<int64_t>(int64_t{rect.Right} - rect.Left, 0));
      int32_t h = ClampExtent(std::max<int64_t>(int64_t{rect.Bottom} - rect.Top, 0));
      switch (align) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, w, c->FHeight);
          rect.Top = ClampExtent(int64_t{rect.Top} + c->FHeight);
          break;
        case alBottom:
          c->SetBounds(rect.Left, ClampExtent(int64_t{rect.Bottom} - c->FHeight), w, c->FHeight);
          rect.Bottom = ClampExtent(int64_t{rect.Bottom} - c->FHeight);
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, c->FWidth, h);
          rect.Left = ClampExtent(int64_t{rect.Left} + c->FWidth);
          break;
        case alRight:
          c->SetBounds(ClampExtent(int64_t{rect.Right} - c->FWidth), rect.Top, c->FWidth, h);
          rect.Right = ClampExtent(int64_t{rect.Right} - c->FWidth);
          break;
        default:
          c->SetBounds(rect.Left, rect.Top, w, h);
          break;
      }
    }
  }
}

void TWinControl::Realign() {
  if (FAligning) {  // moving the aligned children asks again
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  TRestore<bool> aligning(FAligning, true);
  TRect rect = GetClientRect();
  AlignControls(nullptr, rect);
}

void TWinControl::ChangeScale(int32_t m, int32_t d) {
  {
    // Aligned children would be placed by the parent's new size and then scaled again.
    TRestore<bool> aligning(FAligning, true);
    for (TControl* c : FControls) c->ChangeScale(m, d);
    TControl::ChangeScale(m, d);
  }
  Realign();
}

int32_t TWinControl::TabOrder() const {
  if (!Parent()) return FPendingTabOrder;
  const auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int32_t>(it - list.begin());
}

void TWinControl::SetTabOrder(int32_t v) {
  if (!Parent()) {
    FPendingTabOrder = v;
    return;
  }
  auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  int32_t count = static_cast<int32_t>(list.size());
  v = std::clamp(v, 0, count - 1);
  list.erase(it);
  list.insert(list.begin() + v, this);
}

bool TWinControl::CanFocus() const {
  return Showing() && EnabledInTree();
}

bool TWinControl::Focused() const {
  TWinControl* form = GetParentForm();
  return form && form->FocusedControl() == this;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (TWinControl* form = GetParentForm()) form->SetFocusedControl(this);
}

void TWinControl::ListTabs(std::vector<TWinControl*>& out, bool checkTabStop) const {
  for (TWinControl* w : FTabList) {
    if (!w->FVisible || !w->Enabled()) continue;
    if (!checkTabStop || w->FTabStop) out.push_back(w);
    w->ListTabs(out, checkTabStop);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
  std::vector<TWinControl*> list;
  ListTabs(list, checkTabStop);
  if (list.empty()) return nullptr;
  auto it = std::find(list.begin(), list.end(), current);
  if (it == list.end()) return forward ? list.front() : list.back();
  size_t i = static_cast<size_t>(it - list.begin());
  size_t n = list.size();
  TWinControl* next = list[(forward ? i + 1 : i + n - 1) % n];
  return next == current ? nullptr : next;
}

// The first control in tab order below w: what FindNextControl(nullptr, ...) finds, without
// listing every control of a large form first.
static TWinControl* FirstInTabOrder(const std::vector<TWinControl*>& tabs) {
  for (TWinControl* w : tabs) {
    if (!w->Visible() || !w->Enabled()) continue;
    if (w->TabStop()) return w;
    if (TWinControl* inner = FirstInTabOrder(w->TabListRef())) return inner;
  }
  return nullptr;
}

void TWinControl::SelectFirst() {
  if (TWinControl* first = FirstInTabOrder(FTabList)) first->SetFocus();
}

void TWinControl::WMSetFocus() {
  Invalidate();
  if (OnEnter) OnEnter(this);
}

void TWinControl::WMKillFocus() {
  Invalidate();
  if (OnExit) OnExit(this);
}

TWinControl* TWinControl::FocusedControl() const {
  return FActiveControl;
}

void TWinControl::SetFocusedControl(TWinControl* control) {
  if (control == FActiveControl) return;
  TWinControl* old = FActiveControl;
  if (old) RemoveFreeNotification(old);
  FActiveControl = control;
  if (control) FreeNotification(control);
  if (old) old->WMKillFocus();
  if (control && FActiveControl == control) {
    control->WMSetFocus();
    AccessibleFocusChanged(control);
  }
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  // Child controls that the form owns, in z-order; then, for a root, its other components.
  for (TControl* c : std::vector<TControl*>(FControls))
    if (c->Owner() == root) proc(c);
  if (root == this)
    for (int i = 0; i < GetComponentCount(); ++i) {
      TComponent* c = GetComponent(i);
      if (!c->HasParent() || !c->GetParentComponent()) proc(c);
    }
}

void TWinControl::DestroyComponents() {
  // Every control this one owns goes, and with them most children of the windowed ones: laying
  // out what is left after each would make freeing a form of n aligned controls cost n
  // squared. Owned windowed controls are not laid out again at all; this one once at the end.
  // A layout that is asked for meanwhile is remembered (csAlignmentNeeded) and done here.
  const bool aligning = FAligning;
  {
    TRestore<bool> held(FAligning, true);
    FControlState.Exclude(csAlignmentNeeded);
    for (TComponent* c : Components())
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->FAligning = true;
    TControl::DestroyComponents();
  }
  if (FControlState.Contains(csAlignmentNeeded) && !aligning && !IsDestroying()) {
    FControlState.Exclude(csAlignmentNeeded);
    Realign();
  }
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto* c = dynamic_cast<TControl*>(child);
  auto it = std::find(FControls.begin(), FControls.end(), c);
  if (it == FControls.end()) return;
  FControls.erase(it);
  order = std::clamp(order, 0, static_cast<int>(FControls.size()));
  FControls.insert(FControls.begin() + order, c);
}

TCanvas* TWinControl::WindowCanvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(nullptr);
  return FCanvas.get();
}

void TWinControl::PaintWindow(TCanvas& canvas) {
  canvas.Brush()->SetColor(Color());
  canvas.Brush()->SetStyle(bsSolid);
  canvas.FillRect(GetClientRect());
}

void TWinControl::PaintControl(TBitmap& target, TPoint origin, const TRect& clip) {
  TCanvas& canvas = *WindowCanvas();
  canvas.SetTarget(&target);
  canvas.SetOrigin(origin.X, origin.Y);
  canvas.SetDeviceClip(clip);
  canvas.Font()->Assign(Font());
  PaintWindow(canvas);
  const TPoint shift = ChildOrigin();
  for (TControl* c : std::vector<TControl*>(FControls)) {
    // A designer shows what is hidden at run time.
    if (!c->FVisible && !c->IsDesigning()) continue;
    TPoint at{origin.X + shift.X + c->FLeft, origin.Y + shift.Y + c->FTop};
    TRect area = Intersect(clip, {at.X, at.Y, at.X + c->FWidth, at.Y + c->FHeight});
    if (area.Empty()) continue;
    c->PaintControl(target, at, area);
  }
  canvas.SetTarget(&target);
  canvas.SetOrigin(origin.X, origin.Y);
  canvas.SetDeviceClip(clip);
  PaintOver(canvas);
}

void TWinControl::Notification(TComponent* component, TOperation operation) {
  TControl::Notification(component, operation);
  if (operation == opRemove && component == FActiveControl) FActiveControl = nullptr;
}

// =============================================================================================
// TGraphicControl and TCustomControl

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const auto info = TClassBuilder<TGraphicControl>("TGraphicControl").Build();
  return *info;
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TCanvas>(nullptr)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintControl(TBitmap& target, TPoint origin, const TRect& clip) {
  FCanvas->SetTarget(&target);
  FCanvas->SetOrigin(origin.X, origin.Y);
  FCanvas->SetDeviceClip(clip);
  FCanvas->Font()->Assign(Font());
  Paint();
}

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const auto info = TClassBuilder<TCustomControl>("TCustomControl").Build();
  return *info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(TCanvas&) {
  Paint();
}

}  // namespace zelvar
