#include "platform/designer/FormEditor.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/controls/Clipbrd.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Text.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {

// Forgets the controls of a drag and the parent of a creation when they are freed meanwhile
// (a modal message box during the drag could let that happen).
class TFormEditor::TGuard : public TComponent {
 public:
  explicit TGuard(TFormEditor& editor) : TComponent(nullptr), FEditor(editor) {}
  void Watch(TComponent* c) {
    if (c) FreeNotification(c);
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FEditor.FCreateParent || component == FEditor.FBandParent) {
      FEditor.FDrag = TDrag::None;
      FEditor.FBandParent = nullptr;
    }
    if (component == FEditor.FIcon) {
      FEditor.FIcon = nullptr;
      FEditor.FDrag = TDrag::None;
    }
    if (std::find(FEditor.FDragged.begin(), FEditor.FDragged.end(), component) !=
        FEditor.FDragged.end()) {
      FEditor.FDragged.clear();
      FEditor.FStartBounds.clear();
      if (FEditor.FDrag != TDrag::Creating) FEditor.FDrag = TDrag::None;
    }
  }

 private:
  TFormEditor& FEditor;
};

TFormEditor::TFormEditor(TForm& form)
    : TFormDesigner(form), FGuard(std::make_unique<TGuard>(*this)) {
  form.SetDesignGrid(kGrid);
}

TFormEditor::~TFormEditor() {
  if (Form().Designer() == this) Form().SetDesignGrid(0);
}

int32_t TFormEditor::Snapped(int32_t v, int32_t grid) {
  int32_t half = grid / 2;
  return (v >= 0 ? (v + half) / grid : -((-v + half) / grid)) * grid;
}

TPoint TFormEditor::OriginOf(const TWinControl& parent) const {
  if (&parent == &Form()) return {0, 0};
  TPoint p = parent.FormOrigin(), f = Form().FormOrigin();
  return {p.X - f.X, p.Y - f.Y};
}

TRect TFormEditor::RectOnForm(const TControl& control) const {
  TPoint o = control.Parent() ? OriginOf(*control.Parent()) : TPoint{0, 0};
  return {o.X + control.Left(), o.Y + control.Top(), o.X + control.Left() + control.Width(),
          o.Y + control.Top() + control.Height()};
}

std::vector<TControl*> TFormEditor::SelectedControls() const {
  std::vector<TControl*> result;
  for (TPersistent* p : Selection())
    if (auto* c = dynamic_cast<TControl*>(p); c && c != &Form() && c->Parent()) result.push_back(c);
  return result;
}

// ---------------------------------------------------------------------------------------------
// The mouse

void TFormEditor::DesignMouse(TMessage::TKind kind, TControl* target, TMouseButton button,
                              TShiftState shift, int32_t x, int32_t y) {
  switch (kind) {
    case TMessage::MouseDown:
      Press(target, button, shift, x, y);
      break;
    case TMessage::MouseMove:
      if (FDrag != TDrag::None) Drag(shift, x, y);
      break;
    case TMessage::MouseUp:
      if (FDrag != TDrag::None) Release(shift, x, y);
      break;
    default:
      break;
  }
}

TWinControl* TFormEditor::ParentForNew(TControl* target) const {
  for (TControl* c = target; c && c != &Form(); c = c->Parent())
    if (auto* w = dynamic_cast<TWinControl*>(c);
        w && w->ControlStyle().Contains(csAcceptsControls) && (w->Owner() == &Form()))
      return w;
  return &Form();
}

std::vector<TComponent*> TFormEditor::IconComponents() const {
  std::vector<TComponent*> result;
  for (TComponent* c : Form().Components())
    if (!dynamic_cast<TControl*>(c)) result.push_back(c);
  return result;
}

TRect TFormEditor::IconRect(const TComponent& c) {
  return {c.DesignLeft(), c.DesignTop(), c.DesignLeft() + kIconSize, c.DesignTop() + kIconSize};
}

TComponent* TFormEditor::IconAt(int32_t x, int32_t y) const {
  std::vector<TComponent*> icons = IconComponents();
  for (auto it = icons.rbegin(); it != icons.rend(); ++it)
    if (IconRect(**it).Contains(x, y)) return *it;
  return nullptr;
}

void TFormEditor::Press(TControl* target, TMouseButton button, TShiftState shift, int32_t x,
                        int32_t y) {
  FDrag = TDrag::None;
  FIcon = nullptr;
  if (OnPress) OnPress();
  TComponent* icon = CreationClass && CreationClass() ? nullptr : IconAt(x, y);
  TComponent* hit = icon ? icon : SelectableAt(target);
  if (button == mbRight) {
    if (!IsSelected(hit)) SelectComponent(hit);
    if (OnContextMenu) OnContextMenu(hit, x, y);
    return;
  }
  if (button != mbLeft) return;
  if (const TClassInfo* cls = CreationClass ? CreationClass() : nullptr) {
    FCreating = cls;
    FCreateParent = ParentForNew(target);
    FGuard->Watch(FCreateParent);
    TPoint o = OriginOf(*FCreateParent);
    FCreateAnchor = {x - o.X, y - o.Y};
    if (!shift.Contains(ssAlt)) FCreateAnchor = {Snap(FCreateAnchor.X), Snap(FCreateAnchor.Y)};
    FCreateEnd = FCreateAnchor;
    FDrag = TDrag::Creating;
    return;
  }
  if (shift.Contains(ssDouble) && hit != &Form()) {
    SelectComponent(hit);
    GetComponentEditor(hit, this)->Edit();
    return;
  }
  if (icon) {
    if (shift.Contains(ssShift)) {
      ToggleSelection(icon);
      return;
    }
    if (!IsSelected(icon)) SelectComponent(icon);
    FIcon = icon;
    FGuard->Watch(icon);
    FIconStart = {icon->DesignLeft(), icon->DesignTop()};
    FStart = {x, y};
    FDragged.clear();
    FStartBounds.clear();
    FDrag = TDrag::Pending;
    return;
  }
  if (int h = HandleAt(x, y); h >= 0) {
    FHandle = h;
    FDragged = SelectedControls();
    FDrag = TDrag::Sizing;
  } else if (shift.Contains(ssShift) && hit != &Form()) {
    ToggleSelection(hit);
    return;
  } else if (hit == &Form() || (shift.Contains(ssCtrl) && ParentForNew(target) != &Form())) {
    // The frame's right and bottom edges size the form; its face (or, with Ctrl, a container's)
    // starts a band that selects what it touches.
    const TRect client = Form().GetClientRect();
    FStart = {x, y};
    if (hit == &Form() && (x >= client.Right || y >= client.Bottom)) {
      SelectComponent(nullptr);
      FFormStart = {Form().Width(), Form().Height()};
      FDrag = TDrag::SizingForm;
      return;
    }
    FBandParent = hit == &Form() ? &Form() : ParentForNew(target);
    FBandEnd = FStart;
    FGuard->Watch(FBandParent);
    if (!shift.Contains(ssShift)) SelectComponent(nullptr);
    FDrag = TDrag::Band;
    return;
  } else {
    if (!IsSelected(hit)) SelectComponent(hit);
    // The controls that move together share the pressed one's parent.
    auto* pressed = dynamic_cast<TControl*>(hit);
    FDragged.clear();
    if (pressed) FDragged.push_back(pressed);
    for (TControl* c : SelectedControls())
      if (c != pressed && pressed && c->Parent() == pressed->Parent()) FDragged.push_back(c);
    FDrag = FDragged.empty() ? TDrag::None : TDrag::Pending;
  }
  FStart = {x, y};
  FStartBounds.clear();
  for (TControl* c : FDragged) {
    FGuard->Watch(c);
    FStartBounds.push_back(c->BoundsRect());
  }
}

void TFormEditor::Drag(TShiftState shift, int32_t x, int32_t y) {
  const bool snap = !shift.Contains(ssAlt);
  int32_t dx = x - FStart.X, dy = y - FStart.Y;
  switch (FDrag) {
    case TDrag::Pending:
      if (std::abs(dx) < kDragThreshold && std::abs(dy) < kDragThreshold) return;
      FDrag = TDrag::Moving;
      BeginChange();
      [[fallthrough]];
    case TDrag::Moving: {
      if (FIcon) {
        int32_t left = FIconStart.X + dx, top = FIconStart.Y + dy;
        if (snap) left = Snap(left), top = Snap(top);
        FIcon->SetDesignPos(std::max(left, 0), std::max(top, 0));
        Form().Invalidate();
        Modified();
        return;
      }
      if (FDragged.empty()) return;
      // The pressed control lands on the grid; the others keep their distance to it.
      const TRect& lead = FStartBounds.front();
      int32_t left = lead.Left + dx, top = lead.Top + dy;
      if (snap) left = Snap(left), top = Snap(top);
      dx = left - lead.Left;
      dy = top - lead.Top;
      for (size_t i = 0; i < FDragged.size(); ++i) {
        const TRect& r = FStartBounds[i];
        TRect now = FDragged[i]->BoundsRect();
        if (now.Left != r.Left + dx || now.Top != r.Top + dy)
          FDragged[i]->SetBounds(r.Left + dx, r.Top + dy, r.Width(), r.Height());
      }
      Modified();
      break;
    }
    case TDrag::Sizing: {
      if (FDragged.size() != 1) return;
      TRect r = FStartBounds.front();
      auto edge = [&](int32_t v, int32_t d) { return snap ? Snap(v + d) : v + d; };
      if (FHandle == 0 || FHandle == 6 || FHandle == 7)
        r.Left = std::min(edge(r.Left, dx), r.Right - 1);
      if (FHandle >= 2 && FHandle <= 4) r.Right = std::max(edge(r.Right, dx), r.Left + 1);
      if (FHandle <= 2) r.Top = std::min(edge(r.Top, dy), r.Bottom - 1);
      if (FHandle >= 4 && FHandle <= 6) r.Bottom = std::max(edge(r.Bottom, dy), r.Top + 1);
      if (r != FDragged.front()->BoundsRect()) {
        if (FChangeStarted == false) {
          BeginChange();
          FChangeStarted = true;
        }
        FDragged.front()->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        Modified();
      }
      break;
    }
    case TDrag::Creating: {
      TPoint o = OriginOf(*FCreateParent);
      FCreateEnd = {x - o.X, y - o.Y};
      if (snap) FCreateEnd = {Snap(FCreateEnd.X), Snap(FCreateEnd.Y)};
      Form().Invalidate();
      break;
    }
    case TDrag::SizingForm: {
      int32_t w = std::max(FFormStart.X + dx, 2 * Form().FrameWidth() + 8);
      int32_t h = std::max(FFormStart.Y + dy, 2 * Form().FrameWidth() + Form().CaptionHeight() + 8);
      if (w == Form().Width() && h == Form().Height()) return;
      if (!FChangeStarted) {
        BeginChange();
        FChangeStarted = true;
      }
      Form().SetBounds(Form().Left(), Form().Top(), w, h);
      Modified();
      break;
    }
    case TDrag::Band:
      FBandEnd = {x, y};
      Form().Invalidate();
      break;
    case TDrag::None:
      break;
  }
}

void TFormEditor::Release(TShiftState shift, int32_t x, int32_t y) {
  Drag(shift, x, y);
  TDrag was = FDrag;
  FDrag = TDrag::None;
  FDragged.clear();
  FStartBounds.clear();
  if (was == TDrag::Moving) EndChange();
  FIcon = nullptr;
  if (was == TDrag::Band && FBandParent) {
    // What the band touches among the parent's children joins the selection.
    TRect band{std::min(FStart.X, FBandEnd.X), std::min(FStart.Y, FBandEnd.Y),
               std::max(FStart.X, FBandEnd.X) + 1, std::max(FStart.Y, FBandEnd.Y) + 1};
    std::vector<TPersistent*> sel = Selection();
    for (int i = 0; i < FBandParent->ControlCount(); ++i) {
      TControl* c = FBandParent->Controls(i);
      if (c->Owner() != &Form() || IsSelected(c)) continue;
      if (!Intersect(band, RectOnForm(*c)).Empty()) sel.push_back(c);
    }
    FBandParent = nullptr;
    SetSelection(std::move(sel));
    Form().Invalidate();
    return;
  }
  if ((was == TDrag::Sizing || was == TDrag::SizingForm) && FChangeStarted) {
    FChangeStarted = false;
    EndChange();
  }
  if (was != TDrag::Creating || !FCreating) return;
  const TClassInfo* cls = FCreating;
  FCreating = nullptr;
  TRect r{std::min(FCreateAnchor.X, FCreateEnd.X), std::min(FCreateAnchor.Y, FCreateEnd.Y),
          std::max(FCreateAnchor.X, FCreateEnd.X), std::max(FCreateAnchor.Y, FCreateEnd.Y)};
  // A click, or a drag too small to mean a size, places the class's own size.
  if (r.Width() < kDragThreshold && r.Height() < kDragThreshold)
    r = {FCreateAnchor.X, FCreateAnchor.Y, FCreateAnchor.X, FCreateAnchor.Y};
  TComponent* made = CreateComponent(*cls, FCreateParent, r);
  Form().Invalidate();
  if (OnCreated) OnCreated(made);
}

int TFormEditor::HandleAt(int32_t x, int32_t y) const {
  if (Selection().size() != 1 || SelectedControls().size() != 1) return -1;
  std::vector<THandle> handles = Handles();
  for (size_t i = 0; i < handles.size(); ++i)
    if (handles[i].Rect.Contains(x, y)) return static_cast<int>(i);
  return -1;
}

std::vector<TFormEditor::THandle> TFormEditor::Handles() const {
  std::vector<THandle> result;
  std::vector<TControl*> controls = SelectedControls();
  const bool single = Selection().size() == 1;
  for (TControl* c : controls) {
    TRect r = RectOnForm(*c);
    int32_t cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const TPoint at[8] = {{r.Left, r.Top},
                          {cx, r.Top},
                          {r.Right - 1, r.Top},
                          {r.Right - 1, cy},
                          {r.Right - 1, r.Bottom - 1},
                          {cx, r.Bottom - 1},
                          {r.Left, r.Bottom - 1},
                          {r.Left, cy}};
    for (const TPoint& p : at) {
      const int32_t h = kHandleSize / 2;
      result.push_back({{p.X - h, p.Y - h, p.X - h + kHandleSize, p.Y - h + kHandleSize}, single});
    }
  }
  // An icon is only moved: its corners are marked, never filled.
  for (TPersistent* p : Selection())
    if (auto* c = dynamic_cast<TComponent*>(p); c && !dynamic_cast<TControl*>(c)) {
      TRect r = IconRect(*c);
      for (const TPoint& q : {TPoint{r.Left, r.Top}, TPoint{r.Right - 1, r.Top},
                              TPoint{r.Right - 1, r.Bottom - 1}, TPoint{r.Left, r.Bottom - 1}}) {
        const int32_t h = kHandleSize / 2;
        result.push_back({{q.X - h, q.Y - h, q.X - h + kHandleSize, q.Y - h + kHandleSize}, false});
      }
    }
  return result;
}

TRect TFormEditor::BandRect() const {
  if (FDrag != TDrag::Band || FBandEnd == FStart) return {};
  return {std::min(FStart.X, FBandEnd.X), std::min(FStart.Y, FBandEnd.Y),
          std::max(FStart.X, FBandEnd.X) + 1, std::max(FStart.Y, FBandEnd.Y) + 1};
}

TRect TFormEditor::CreationRect() const {
  if (FDrag != TDrag::Creating || !FCreateParent) return {};
  TPoint o = OriginOf(*FCreateParent);
  return {
      o.X + std::min(FCreateAnchor.X, FCreateEnd.X), o.Y + std::min(FCreateAnchor.Y, FCreateEnd.Y),
      o.X + std::max(FCreateAnchor.X, FCreateEnd.X), o.Y + std::max(FCreateAnchor.Y, FCreateEnd.Y)};
}

// ---------------------------------------------------------------------------------------------
// Creating

std::string TFormEditor::UniqueName(const std::string& className) const {
  std::string base = className;
  if (base.size() > 1 && (base[0] == 'T' || base[0] == 't')) base.erase(0, 1);
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!Form().FindComponent(name) && !SameText(Form().Name(), name)) return name;
  }
}

TComponent* TFormEditor::CreateComponent(const TClassInfo& cls, TWinControl* parent, TRect rect) {
  if (!cls.Factory) throw EInvalidOperation("Cannot create a " + cls.Name + ": it is abstract");
  if (!parent) parent = &Form();
  BeginChange();
  TComponent* made = nullptr;
  try {
    made = cls.Factory(&Form());
    made->SetName(UniqueName(cls.Name));
    made->SetDesigning(true);
    // A new button, label or edit shows its name until the user gives it a text, as classic.
    for (const char* text : {"Caption", "Text"})
      if (const TPropInfo* p = made->ClassInfo().FindProp(text);
          p && p->Published && p->Kind == TPropKind::String && p->GetStr && p->SetStr &&
          p->GetStr(made).empty()) {
        p->SetStr(made, made->Name());
        break;
      }
    if (auto* control = dynamic_cast<TControl*>(made)) {
      control->SetParent(parent);
      int32_t w = rect.Empty() ? control->Width() : rect.Width();
      int32_t h = rect.Empty() ? control->Height() : rect.Height();
      control->SetBounds(rect.Left, rect.Top, w, h);
    } else {
      TPoint o = OriginOf(*parent);
      made->SetDesignPos(std::max(o.X + rect.Left, 0), std::max(o.Y + rect.Top, 0));
    }
  } catch (...) {
    delete made;
    EndChange();
    throw;
  }
  SelectComponent(made);
  Modified();
  EndChange();
  return made;
}

// ---------------------------------------------------------------------------------------------
// Commands

void TFormEditor::MoveSelection(int32_t dx, int32_t dy) {
  if (Selection().empty()) return;
  BeginChange();
  for (TControl* c : SelectedControls())
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  for (TPersistent* p : Selection())
    if (auto* c = dynamic_cast<TComponent*>(p); c && !dynamic_cast<TControl*>(c))
      c->SetDesignPos(std::max(c->DesignLeft() + dx, 0), std::max(c->DesignTop() + dy, 0));
  Form().Invalidate();
  Modified();
  EndChange();
}

void TFormEditor::SizeSelection(int32_t dw, int32_t dh) {
  std::vector<TControl*> controls = SelectedControls();
  if (controls.empty()) return;
  BeginChange();
  for (TControl* c : controls)
    c->SetBounds(c->Left(), c->Top(), std::max(c->Width() + dw, 1), std::max(c->Height() + dh, 1));
  Modified();
  EndChange();
}

void TFormEditor::AlignSelectionToGrid() {
  std::vector<TControl*> controls = SelectedControls();
  if (controls.empty()) return;
  BeginChange();
  for (TControl* c : controls)
    c->SetBounds(Snap(c->Left()), Snap(c->Top()), c->Width(), c->Height());
  Modified();
  EndChange();
}

void TFormEditor::BringSelectionToFront() {
  BeginChange();
  for (TControl* c : SelectedControls()) {
    c->Parent()->SetChildOrder(c, c->Parent()->ControlCount() - 1);
    c->Invalidate();
    Modified();
  }
  EndChange();
}

void TFormEditor::SendSelectionToBack() {
  BeginChange();
  std::vector<TControl*> controls = SelectedControls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    (*it)->Parent()->SetChildOrder(*it, 0);
    (*it)->Invalidate();
    Modified();
  }
  EndChange();
}

void TFormEditor::SelectParent() {
  if (Selection().empty()) return;
  auto* c = dynamic_cast<TControl*>(Selection().front());
  if (!c || !c->Parent()) {
    SelectComponent(nullptr);
    return;
  }
  SelectComponent(SelectableAt(c->Parent()));
}

void TFormEditor::DeleteSelection() {
  if (Selection().empty()) return;
  BeginChange();
  // Freeing a parent frees its children, which then leave the selection by themselves.
  while (!Selection().empty()) {
    auto* c = dynamic_cast<TComponent*>(Selection().back());
    if (!c || c->Owner() != &Form()) {
      std::vector<TPersistent*> rest = Selection();
      rest.pop_back();
      SetSelection(std::move(rest));
      continue;
    }
    delete c;
    Modified();
  }
  EndChange();
  Form().Invalidate();
}

std::string TFormEditor::CopySelection() const {
  std::vector<TComponent*> components;
  for (TPersistent* p : Selection())
    if (auto* c = dynamic_cast<TComponent*>(p); c && c->Owner() == &Form()) {
      // A child of another selected control comes with its parent.
      bool inSelectedParent = false;
      if (auto* control = dynamic_cast<TControl*>(c))
        for (TControl* up = control->Parent(); up; up = up->Parent())
          if (IsSelected(up)) inSelectedParent = true;
      if (!inSelectedParent) components.push_back(c);
    }
  return components.empty() ? std::string{} : WriteComponentsText(&Form(), components);
}

void TFormEditor::Paste(const std::string& text) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return;
  // The blocks are read as the components of a form of their own, then handed over.
  std::unique_ptr<TComponent> holder(ReadComponent(
      "object Clipboard: TZelvarClipboard\n" + text + "\nend\n", DesignReadOptions()));
  TWinControl* parent = &Form();
  if (!Selection().empty())
    if (auto* c = dynamic_cast<TControl*>(Selection().front())) {
      auto* w = dynamic_cast<TWinControl*>(c);
      parent = w && w->ControlStyle().Contains(csAcceptsControls) ? w : c->Parent();
      if (!parent) parent = &Form();
    }
  BeginChange();
  std::vector<TPersistent*> pasted;
  while (holder->GetComponentCount() > 0) {
    TComponent* c = holder->GetComponent(0);
    holder->RemoveComponent(c);
    if (Form().FindComponent(c->Name()) || SameText(Form().Name(), c->Name()))
      c->SetName(UniqueName(c->ClassName()));
    Form().InsertComponent(c);
    c->SetDesigning(true);
    if (auto* control = dynamic_cast<TControl*>(c); control && control->Parent() == holder.get()) {
      control->SetParent(parent);
      pasted.push_back(c);
    } else if (!dynamic_cast<TControl*>(c)) {
      pasted.push_back(c);
    }
    Modified();
  }
  SetSelection(std::move(pasted));
  EndChange();
  Form().Invalidate();
}

bool TFormEditor::DesignKey(uint16_t key, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl), sh = shift.Contains(ssShift);
  auto clipboardCopy = [this] {
    std::string text = CopySelection();
    if (!text.empty()) Clipboard().SetAsText(text);
  };
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      int32_t step = ctrl ? kGrid : 1;
      int32_t dx = key == VK_LEFT ? -step : key == VK_RIGHT ? step : 0;
      int32_t dy = key == VK_UP ? -step : key == VK_DOWN ? step : 0;
      if (sh)
        SizeSelection(dx, dy);
      else
        MoveSelection(dx, dy);
      return true;
    }
    case VK_DELETE:
      if (sh) {
        clipboardCopy();
      }
      DeleteSelection();
      return true;
    case VK_ESCAPE:
      SelectParent();
      return true;
    case VK_INSERT:
      if (ctrl) clipboardCopy();
      if (sh) Paste(Clipboard().AsText());
      return ctrl || sh;
    default:
      break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'C':
      clipboardCopy();
      return true;
    case 'X':
      clipboardCopy();
      DeleteSelection();
      return true;
    case 'V':
      Paste(Clipboard().AsText());
      return true;
    default:
      return false;
  }
}

}  // namespace zelvar
