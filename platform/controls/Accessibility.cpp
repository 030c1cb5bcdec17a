#include "platform/controls/Accessibility.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>

#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TextEditing.h"
#include "platform/core/Format.h"
#include "platform/core/Text.h"
#include "platform/graphics/Captions.h"

namespace zelvar {

// --- roles and states

namespace {

constexpr const char* kRoleText[] = {
    "frame", "dialog",        "push button", "radio button", "check box",  "text",  "label",
    "panel", "page tab list", "page tab",    "progress bar", "scroll bar", "list",  "list item",
    "table", "combo box",     "menu",        "menu item",    "image",      "filler"};
constexpr const char* kStateText[] = {"enabled",  "sensitive",  "focusable",  "focused",
                                      "checked",  "showing",    "visible",    "default",
                                      "editable", "multi-line", "selectable", "selected"};
static_assert(std::size(kRoleText) == arFiller + 1);
static_assert(std::size(kStateText) == astSelected + 1);

}  // namespace

std::string AccessibleRoleText(TAccessibleRole role) {
  return kRoleText[role];
}

std::string AccessibleStateText(TAccessibleState state) {
  return kStateText[state];
}

// --- nodes and their description

namespace {

std::string NodeName(TAccessibleNode node) {
  const std::string name = FormName(*node.Control);
  return node.Part < 0 ? name : Format("%s part %d", {name, node.Part});
}

// The caption of the label that names a field: the label whose FocusControl it is, among the
// controls of its form.
const TLabel* LabelFor(const TWinControl& field) {
  const TWinControl* form = field.GetParentForm();
  if (!form) return nullptr;
  const TLabel* found = nullptr;
  std::function<void(const TWinControl&)> walk = [&](const TWinControl& w) {
    for (int i = 0; i < w.ControlCount() && !found; ++i) {
      TControl* c = w.Controls(i);
      if (auto* label = dynamic_cast<const TLabel*>(c); label && label->FocusControl() == &field)
        found = label;
      else if (auto* inner = dynamic_cast<const TWinControl*>(c))
        walk(*inner);
    }
  };
  walk(*form);
  return found;
}

TAccessibleDescription Describe(const TControl& c) {
  TAccessibleDescription d;
  auto* win = dynamic_cast<const TWinControl*>(&c);
  d.Role = win ? arPanel : arFiller;
  d.Name = StripAccel(c.Caption()).Text;
  if (c.Visible()) d.States.Include(astVisible);
  if (c.Showing()) d.States.Include(astShowing);
  if (c.EnabledInTree()) d.States.Include(astEnabled).Include(astSensitive);
  if (win && win->TabStop()) d.States.Include(astFocusable);
  if (win && win->Focused()) d.States.Include(astFocused);
  c.DescribeAccessible(d);
  if (d.Name.empty() && win)
    if (const TLabel* label = LabelFor(*win)) d.Name = StripAccel(label->Caption()).Text;
  return d;
}

TRect ScreenRect(const TControl& c, TRect local) {
  TPoint origin = c.FormOrigin();
  if (const TWinControl* form = c.GetParentForm(); form && form != &c) {
    origin.X += form->Left();
    origin.Y += form->Top();
  } else if (!c.Parent()) {
    origin = {c.Left(), c.Top()};
  }
  return {origin.X + local.Left, origin.Y + local.Top, origin.X + local.Right,
          origin.Y + local.Bottom};
}

const TAccessiblePart& PartOf(const TAccessibleDescription& d, TAccessibleNode node) {
  if (node.Part >= static_cast<int32_t>(d.Parts.size()))
    throw EListError(Format("%s no longer exists", {NodeName(node)}));
  return d.Parts[static_cast<size_t>(node.Part)];
}

}  // namespace

TAccessibleInfo DescribeNode(TAccessibleNode node) {
  if (!node) throw EInvalidOperation("No accessible node given");
  TAccessibleDescription d = Describe(*node.Control);
  TAccessibleInfo info;
  if (node.Part >= 0) {
    const TAccessiblePart& part = PartOf(d, node);
    info.Role = part.Role;
    info.Name = part.Name;
    info.States = part.States;
    info.Bounds = ScreenRect(*node.Control, part.Bounds);
    if (part.Press) info.Action = "click";
    return info;
  }
  info.Role = d.Role;
  info.Name = d.Name;
  info.States = d.States;
  info.Bounds = ScreenRect(*node.Control, {0, 0, node.Control->Width(), node.Control->Height()});
  info.Action = d.Action;
  info.Value = d.Value;
  info.HasText = d.HasText;
  info.ChildCount = static_cast<int32_t>(AccessibleChildren(node).size());
  return info;
}

// --- the tree

std::vector<TAccessibleNode> AccessibleChildren(TAccessibleNode node) {
  std::vector<TAccessibleNode> out;
  if (!node || node.Part >= 0) return out;
  TAccessibleDescription d = Describe(*node.Control);
  for (size_t i = 0; i < d.Parts.size(); ++i)
    out.push_back({node.Control, static_cast<int32_t>(i)});
  auto* win = dynamic_cast<TWinControl*>(node.Control);
  if (!win) return out;
  for (TWinControl* w : win->TabListRef())
    if (w->Visible()) out.push_back({w});
  for (int i = 0; i < win->ControlCount(); ++i) {
    TControl* c = win->Controls(i);
    if (c->Visible() && !dynamic_cast<TWinControl*>(c)) out.push_back({c});
  }
  return out;
}

TAccessibleNode AccessibleParent(TAccessibleNode node) {
  if (!node) return {};
  if (node.Part >= 0) return {node.Control};
  return {node.Control->Parent()};
}

int32_t AccessibleIndex(TAccessibleNode node) {
  TAccessibleNode parent = AccessibleParent(node);
  if (!parent) return -1;
  std::vector<TAccessibleNode> siblings = AccessibleChildren(parent);
  auto it = std::find(siblings.begin(), siblings.end(), node);
  return it == siblings.end() ? -1 : static_cast<int32_t>(it - siblings.begin());
}

namespace {

// Gives ids out and takes them back when their control goes; it hears of that through the
// free notification, so an id never names a freed control.
class TIdRegistry : public TComponent {
 public:
  TIdRegistry() : TComponent(nullptr) {}
  ~TIdRegistry() override {
    for (auto& [control, parts] : FByControl) RemoveFreeNotification(control);
  }

  uint32_t IdOf(TAccessibleNode node) {
    auto [it, added] = FByControl.try_emplace(node.Control);
    if (added) FreeNotification(node.Control);
    auto& ids = it->second;
    if (auto found = ids.find(node.Part); found != ids.end()) return found->second;
    uint32_t id = FNext++;
    ids[node.Part] = id;
    FById[id] = node;
    return id;
  }
  TAccessibleNode NodeOf(uint32_t id) const {
    auto it = FById.find(id);
    return it == FById.end() ? TAccessibleNode{} : it->second;
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    auto it = FByControl.find(component);
    if (it == FByControl.end()) return;
    for (auto& [part, id] : it->second) FById.erase(id);
    FByControl.erase(it);
  }

 private:
  // Keyed by the component: a control being freed is told as a TComponent, and is no longer a
  // TControl to cast to.
  std::map<TComponent*, std::map<int32_t, uint32_t>> FByControl;
  std::map<uint32_t, TAccessibleNode> FById;
  uint32_t FNext = 1;
};

TIdRegistry& Ids() {
  static TIdRegistry ids;
  return ids;
}

}  // namespace

uint32_t AccessibleId(TAccessibleNode node) {
  if (!node) throw EInvalidOperation("No accessible node given");
  return Ids().IdOf(node);
}

TAccessibleNode NodeOfId(uint32_t id) {
  return Ids().NodeOf(id);
}

TAccessibleNode AccessibleLabelledBy(TAccessibleNode node) {
  auto* field = node.Part < 0 ? dynamic_cast<TWinControl*>(node.Control) : nullptr;
  const TLabel* label = field ? LabelFor(*field) : nullptr;
  return {const_cast<TLabel*>(label)};
}

TAccessibleNode AccessibleLabelFor(TAccessibleNode node) {
  auto* label = node.Part < 0 ? dynamic_cast<TLabel*>(node.Control) : nullptr;
  TWinControl* field = label ? label->FocusControl() : nullptr;
  // As the field finds its label: within one form.
  return {field && field->GetParentForm() == label->GetParentForm() ? field : nullptr};
}

std::string AccessibleLine(TAccessibleNode node) {
  TAccessibleInfo info = DescribeNode(node);
  std::string line = AccessibleRoleText(info.Role) + " '" + info.Name + "' [";
  bool first = true;
  for (uint8_t s = 0; s <= astSelected; ++s)
    if (info.States.Contains(static_cast<TAccessibleState>(s))) {
      if (!first) line += ' ';
      line += AccessibleStateText(static_cast<TAccessibleState>(s));
      first = false;
    }
  return line + "]";
}

std::string AccessibleTreeText(TAccessibleNode root) {
  std::string out;
  std::function<void(TAccessibleNode, size_t)> walk = [&](TAccessibleNode node, size_t depth) {
    out += std::string(depth * 2, ' ') + AccessibleLine(node) + "\n";
    for (TAccessibleNode child : AccessibleChildren(node)) walk(child, depth + 1);
  };
  walk(root, 0);
  return out;
}

// --- actions, text and value

void DoAccessibleAction(TAccessibleNode node, int32_t index) {
  TAccessibleInfo info = DescribeNode(node);
  if (info.Action.empty()) throw EInvalidOperation(NodeName(node) + " offers no action");
  if (index != 0)
    throw EListError(Format("%s has one action (index 0), not %d", {NodeName(node), index}));
  if (!info.States.Contains(astEnabled))
    throw EInvalidOperation(NodeName(node) + " is disabled and cannot be pressed");
  if (node.Part >= 0) {
    // The description is taken again: the part's action belongs to this very description.
    TAccessibleDescription d = Describe(*node.Control);
    PartOf(d, node).Press();
  } else {
    node.Control->Click();
  }
}

namespace {

TCustomEdit& TextOf(TAccessibleNode node) {
  auto* edit = node.Part < 0 ? dynamic_cast<TCustomEdit*>(node.Control) : nullptr;
  if (!edit || !Describe(*edit).HasText) throw EInvalidOperation(NodeName(node) + " holds no text");
  return *edit;
}

TCustomEdit& EditableTextOf(TAccessibleNode node) {
  TCustomEdit& edit = TextOf(node);
  if (!Describe(edit).States.Contains(astEditable))
    throw EInvalidOperation(NodeName(node) + " cannot be edited (read-only or disabled)");
  return edit;
}

void CheckOffset(TAccessibleNode node, const TCustomEdit& edit, int32_t offset) {
  if (offset < 0 || offset > edit.TextLength())
    throw EListError(Format("Offset %d is outside the text of %s (0 to %d)",
                            {offset, NodeName(node), static_cast<int32_t>(edit.TextLength())}));
}

}  // namespace

std::string AccessibleText(TAccessibleNode node) {
  return TextOf(node).Text();
}

int32_t AccessibleCaret(TAccessibleNode node) {
  TCustomEdit& edit = TextOf(node);
  // The caret is the moving end of the selection, which may run backwards.
  return edit.SelStart() + edit.SelLength();
}

void SetAccessibleCaret(TAccessibleNode node, int32_t offset) {
  TCustomEdit& edit = TextOf(node);
  CheckOffset(node, edit, offset);
  edit.SetSelStart(offset);
  edit.SetSelLength(0);
}

std::pair<int32_t, int32_t> AccessibleSelection(TAccessibleNode node) {
  TCustomEdit& edit = TextOf(node);
  int32_t a = edit.SelStart(), b = edit.SelStart() + edit.SelLength();
  return {std::min(a, b), std::max(a, b)};
}

TRect AccessibleCharacterBounds(TAccessibleNode node, int32_t offset) {
  TCustomEdit& edit = TextOf(node);
  CheckOffset(node, edit, offset);
  return ScreenRect(edit, edit.CharRect(offset));
}

TRect AccessibleRangeBounds(TAccessibleNode node, int32_t start, int32_t end) {
  TCustomEdit& edit = TextOf(node);
  CheckOffset(node, edit, start);
  CheckOffset(node, edit, end);
  if (end < start) std::swap(start, end);
  TRect first = edit.CharRect(start), last = edit.CharRect(std::max(end - 1, start));
  TRect box{first.Left, first.Top, std::max(first.Right, last.Right), last.Bottom};
  if (last.Top != first.Top) {
    const TRect text = edit.TextRect();
    box.Left = text.Left;
    box.Right = text.Right;
  }
  return ScreenRect(edit, box);
}

void SetAccessibleText(TAccessibleNode node, const std::string& text) {
  EditableTextOf(node).SetText(text);
}

void InsertAccessibleText(TAccessibleNode node, int32_t offset, const std::string& text) {
  TCustomEdit& edit = EditableTextOf(node);
  CheckOffset(node, edit, offset);
  edit.SetSelStart(offset);
  edit.SetSelLength(0);
  edit.SetSelText(text);
}

void DeleteAccessibleText(TAccessibleNode node, int32_t start, int32_t end) {
  TCustomEdit& edit = EditableTextOf(node);
  CheckOffset(node, edit, start);
  CheckOffset(node, edit, end);
  if (end < start) throw EListError(Format("Cannot delete from %d back to %d", {start, end}));
  edit.SetSelStart(start);
  edit.SetSelLength(end - start);
  edit.SetSelText("");
}

// --- values

bool AccessibleValueSettable(TAccessibleNode node) {
  return node.Part < 0 && dynamic_cast<TScrollBar*>(node.Control) && DescribeNode(node).Value;
}

void SetAccessibleValue(TAccessibleNode node, double value) {
  if (!AccessibleValueSettable(node))
    throw EInvalidOperation(NodeName(node) + " shows a value that cannot be set");
  if (!std::isfinite(value))
    throw EConvertError(
        Format("%s takes a number, not %s", {NodeName(node), std::to_string(value)}));
  auto* bar = static_cast<TScrollBar*>(node.Control);
  // Within the range first, so that the cast to an integer is defined; the bar keeps its page.
  bar->SetPosition(
      static_cast<int32_t>(std::lround(std::clamp(value, double(bar->Min()), double(bar->Max())))));
}

// --- selection

namespace {

// The description of a node that selects among its parts, and the part a child index names.
TAccessibleDescription SelectionOf(TAccessibleNode node) {
  if (!OffersAccessibleSelection(node))
    throw EInvalidOperation(NodeName(node) + " has nothing to select");
  return Describe(*node.Control);
}

const TAccessiblePart& ChildPart(const TAccessibleDescription& d, TAccessibleNode node,
                                 int32_t child) {
  // The parts come first among the children; a child control is never selected.
  if (child < 0 || child >= static_cast<int32_t>(d.Parts.size()))
    throw EListError(Format("%s has no item %d to select", {NodeName(node), child}));
  return d.Parts[static_cast<size_t>(child)];
}

// An enabled list box that takes more than one item; null for anything else.
TListBox* MultiList(TAccessibleNode node) {
  auto* list = node.Part < 0 ? dynamic_cast<TListBox*>(node.Control) : nullptr;
  return list && list->MultiSelect() && list->EnabledInTree() ? list : nullptr;
}

}  // namespace

bool OffersAccessibleSelection(TAccessibleNode node) {
  if (!node || node.Part >= 0) return false;
  TAccessibleRole role = Describe(*node.Control).Role;
  return role == arList || role == arPageTabList;
}

std::vector<int32_t> AccessibleSelectedChildren(TAccessibleNode node) {
  TAccessibleDescription d = SelectionOf(node);
  std::vector<int32_t> out;
  for (size_t i = 0; i < d.Parts.size(); ++i)
    if (d.Parts[i].States.Contains(astSelected)) out.push_back(static_cast<int32_t>(i));
  return out;
}

namespace {

bool Selectable(const TAccessibleDescription& d, const TAccessiblePart& part) {
  return d.States.Contains(astEnabled) && part.States.Contains(astSelectable);
}

}  // namespace

bool AccessibleChildSelectable(TAccessibleNode node, int32_t child) {
  TAccessibleDescription d = SelectionOf(node);
  return Selectable(d, ChildPart(d, node, child));
}

bool SelectAccessibleChild(TAccessibleNode node, int32_t child) {
  TAccessibleDescription d = SelectionOf(node);
  const TAccessiblePart& part = ChildPart(d, node, child);
  if (!Selectable(d, part)) return false;
  if (part.States.Contains(astSelected)) return true;
  if (part.Press) part.Press();
  // The wizard may keep its page (a rule, a required answer): the tab then stays unselected.
  return DescribeNode({node.Control, child}).States.Contains(astSelected);
}

bool AccessibleSelectsMany(TAccessibleNode node) {
  return MultiList(node) != nullptr;
}

bool DeselectAccessibleChild(TAccessibleNode node, int32_t child) {
  TAccessibleDescription d = SelectionOf(node);
  const TAccessiblePart& part = ChildPart(d, node, child);
  TListBox* list = MultiList(node);
  if (!list) return false;
  if (part.States.Contains(astSelected)) {
    list->SetSelected(child, false);
    list->Click();
  }
  return true;
}

namespace {

// Changes every item of a multi-select list box at once, as a click; false for anything else.
bool ChangeAllItems(TAccessibleNode node, bool selected) {
  SelectionOf(node);
  TListBox* list = MultiList(node);
  if (!list) return false;
  for (int32_t i = 0; i < list->Count(); ++i) list->SetSelected(i, selected);
  list->Click();
  return true;
}

}  // namespace

bool SelectAllAccessibleChildren(TAccessibleNode node) {
  return ChangeAllItems(node, true);
}

bool ClearAccessibleSelection(TAccessibleNode node) {
  return ChangeAllItems(node, false);
}

// --- text by units

namespace {

std::vector<char32_t> CodesOf(const std::string& text) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < text.size(); i = NextCharBoundary(text, i))
    out.push_back(DecodeUtf8Char(text, i).Code);
  return out;
}

bool IsBlank(char32_t c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0 || c == 0x3000;
}

bool InWord(const std::vector<char32_t>& t, size_t i) {
  if (IsWordChar(t[i])) return true;
  // "don't" is one word: an apostrophe between letters joins them.
  return (t[i] == '\'' || t[i] == 0x2019) && i > 0 && i + 1 < t.size() && IsWordChar(t[i - 1]) &&
         IsWordChar(t[i + 1]);
}

bool EndsSentence(char32_t c) {
  return c == '.' || c == '!' || c == '?' || c == 0x2026;
}

bool ClosesSentence(char32_t c) {
  return c == '"' || c == '\'' || c == ')' || c == ']' || c == 0x2019 || c == 0x201D;
}

// The units of a kind in order, each without the blanks or line break after it.
std::vector<TTextSpan> Units(const std::vector<char32_t>& t, TTextGranularity granularity) {
  std::vector<TTextSpan> out;
  const auto n = static_cast<int32_t>(t.size());
  auto at = [&](int32_t i) { return t[static_cast<size_t>(i)]; };
  switch (granularity) {
    case tgChar:  // counted by TextBoundaryRun itself
      break;
    case tgWord:
      for (int32_t i = 0; i < n;) {
        if (!InWord(t, static_cast<size_t>(i))) {
          ++i;
          continue;
        }
        int32_t start = i;
        while (i < n && InWord(t, static_cast<size_t>(i))) ++i;
        out.push_back({start, i});
      }
      break;
    case tgSentence:
      for (int32_t i = 0; i < n;) {
        while (i < n && IsBlank(at(i))) ++i;
        if (i == n) break;
        int32_t start = i, end = -1;
        for (; i < n && end < 0; ++i) {
          if (at(i) == '\n') {
            end = i;
          } else if (EndsSentence(at(i))) {
            int32_t j = i + 1;
            while (j < n && (EndsSentence(at(j)) || ClosesSentence(at(j)))) ++j;
            if (j == n || IsBlank(at(j))) end = j;
            i = j - 1;
          }
        }
        if (end < 0) end = n;
        int32_t last = end;
        while (last > start && IsBlank(at(last - 1))) --last;
        out.push_back({start, last});
        i = end;
      }
      break;
    case tgLine:
    case tgParagraph:
      for (int32_t start = 0, i = 0;; ++i)
        if (i == n || at(i) == '\n') {
          out.push_back({start, i});
          if (i == n) break;
          start = i + 1;
        }
      break;
  }
  return out;
}

void CheckTextOffset(const std::vector<char32_t>& t, int32_t offset) {
  if (offset < 0 || offset > static_cast<int32_t>(t.size()))
    throw EListError(Format("Offset %d is outside the text (0 to %d)",
                            {offset, static_cast<int32_t>(t.size())}));
}

}  // namespace

TTextSpan TextBoundaryRun(const std::string& text, int32_t offset, TTextBoundary boundary,
                          TTextWhich which) {
  std::vector<char32_t> t = CodesOf(text);
  CheckTextOffset(t, offset);
  const auto n = static_cast<int32_t>(t.size());
  if (boundary == tbChar) {
    int32_t start = offset + (which == twBefore ? -1 : which == twAfter ? 1 : 0);
    if (start < 0) return {0, 0};
    return {std::min(start, n), std::min(start + 1, n)};
  }
  static constexpr TTextGranularity kUnit[] = {tgChar,     tgWord, tgWord, tgSentence,
                                               tgSentence, tgLine, tgLine};
  static_assert(std::size(kUnit) == tbLineEnd + 1);
  const bool ends = boundary == tbWordEnd || boundary == tbSentenceEnd || boundary == tbLineEnd;
  // The boundaries: where units start (or end), and the start of the text.
  std::vector<int32_t> marks = {0};
  for (const TTextSpan& u : Units(t, kUnit[boundary])) {
    int32_t mark = ends ? u.End : u.Start;
    if (mark > marks.back()) marks.push_back(mark);
  }
  // At the very end an end boundary closes the run before it.
  int32_t probe = ends && offset == n && n > 0 ? n - 1 : offset;
  auto run = [&](std::ptrdiff_t i) -> TTextSpan {
    if (i < 0) return {0, 0};
    if (i >= std::ssize(marks)) return {n, n};
    auto next = static_cast<size_t>(i) + 1;
    return {marks[static_cast<size_t>(i)], next < marks.size() ? marks[next] : n};
  };
  std::ptrdiff_t at = std::upper_bound(marks.begin(), marks.end(), probe) - marks.begin() - 1;
  return run(at + (which == twBefore ? -1 : which == twAfter ? 1 : 0));
}

TTextSpan TextUnitAt(const std::string& text, int32_t offset, TTextGranularity granularity) {
  static constexpr TTextBoundary kStart[] = {tbChar, tbWordStart, tbSentenceStart, tbLineStart,
                                             tbLineStart};
  static_assert(std::size(kStart) == tgParagraph + 1);
  return TextBoundaryRun(text, offset, kStart[granularity], twAt);
}

// --- events

int32_t TAccessibleHub::AddListener(TListener listener) {
  FListeners.emplace_back(FNextKey, std::move(listener));
  return FNextKey++;
}

void TAccessibleHub::RemoveListener(int32_t key) {
  std::erase_if(FListeners, [key](const auto& l) { return l.first == key; });
}

void TAccessibleHub::Notify(const TAccessibleEvent& event) {
  // A listener may remove itself (or another) while it is told.
  for (const auto& [key, listener] : std::vector(FListeners)) listener(event);
}

TAccessibleHub& AccessibleHub() {
  static TAccessibleHub hub;
  return hub;
}

namespace {

// Events are told of controls a user can meet: not while a form is read, built or freed.
bool Tells(const TControl* control) {
  return control && AccessibleHub().Listening() && !control->IsLoading() && !control->IsReading() &&
         !control->IsDestroying();
}

}  // namespace

void AccessibleFocusChanged(TControl* control) {
  if (!Tells(control)) return;
  TAccessibleEvent e;
  e.Kind = aeFocus;
  e.Node = {control};
  AccessibleHub().Notify(e);
}

void AccessibleStateChanged(TControl* control, TAccessibleState state, bool set) {
  if (!Tells(control)) return;
  TAccessibleEvent e;
  e.Kind = aeStateChanged;
  e.Node = {control};
  e.State = state;
  e.Set = set;
  AccessibleHub().Notify(e);
}

void AccessibleNameChanged(TControl* control) {
  if (!Tells(control)) return;
  TAccessibleEvent e;
  e.Kind = aeNameChanged;
  e.Node = {control};
  e.Text = Describe(*control).Name;
  AccessibleHub().Notify(e);
}

void AccessibleShownChanged(TControl* control, bool shown) {
  if (!Tells(control) || !control->Parent()) return;
  TAccessibleEvent e;
  e.Kind = shown ? aeChildAdded : aeChildRemoved;
  e.Node = {control->Parent()};
  e.Child = {control};
  e.Index = AccessibleIndex(e.Child);
  AccessibleHub().Notify(e);
  AccessibleStateChanged(control, astShowing, shown && control->Showing());
}

void Announce(TControl* source, const std::string& text) {
  if (!Tells(source)) return;
  TAccessibleEvent e;
  e.Kind = aeAnnouncement;
  e.Node = {source};
  e.Text = text;
  AccessibleHub().Notify(e);
}

}  // namespace zelvar
