#pragma once
// The accessible tree: what a screen reader learns of a form. It is computed from the controls
// whenever asked (there is no second tree to keep in step): each control describes itself
// (TControl::DescribeAccessible), including the parts it draws that are no controls (the tabs
// of a page control, the items of a list box). A node is a control, or a control and the index
// of one of its parts, and keeps one id for its lifetime, which a bridge to the system's
// accessibility service uses as the object's address.
//
// Changes are told to one hub (AccessibleHub) that the bridge and tests listen to: focus,
// states, names, children shown and hidden, and announcements (a wizard's page change).
//
// Sections: roles and states · nodes and their description · the tree · actions, text and
// value · events.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"

namespace zelvar {

// --- roles and states

ZELVAR_ENUM(TAccessibleRole, uint8_t, arFrame, arDialog, arPushButton, arRadioButton, arCheckBox,
            arText, arLabel, arPanel, arPageTabList, arPageTab, arProgressBar, arScrollBar, arList,
            arListItem, arTable, arComboBox, arMenu, arMenuItem, arImage, arFiller)
ZELVAR_ENUM(TAccessibleState, uint8_t, astEnabled, astSensitive, astFocusable, astFocused,
            astChecked, astShowing, astVisible, astDefault, astEditable, astMultiLine,
            astSelectable, astSelected)
using TAccessibleStates = TSet<TAccessibleState>;

// How a screen reader says them: "push button", "multi-line".
std::string AccessibleRoleText(TAccessibleRole role);
std::string AccessibleStateText(TAccessibleState state);

// --- nodes and their description

// A control (Part -1) or one of the parts it draws.
struct TAccessibleNode {
  TControl* Control = nullptr;
  int32_t Part = -1;
  bool operator==(const TAccessibleNode&) const = default;
  explicit operator bool() const { return Control != nullptr; }
};

// The range and place of a bar.
struct TAccessibleValue {
  int32_t Min = 0, Max = 0, Current = 0;
};

// A part of a control that is no control itself. Bounds are in the control's coordinates.
struct TAccessiblePart {
  TAccessibleRole Role = arFiller;
  std::string Name;
  TAccessibleStates States;
  TRect Bounds;
  // What pressing the part does; empty when it cannot be pressed.
  std::function<void()> Press;
};

// What a control says of itself. DescribeAccessible finds it filled with the defaults every
// control shares (the caption without its '&' marks, the states from Visible, Enabled and the
// focus) and changes what its class knows better.
struct TAccessibleDescription {
  TAccessibleRole Role = arFiller;
  std::string Name;
  TAccessibleStates States;
  // The one action: "click" for buttons and boxes; empty for none.
  std::string Action;
  std::optional<TAccessibleValue> Value;
  // The text a node edits (edits, memos) reaches Text and its selection through these; the
  // control offers editing when it also says astEditable.
  bool HasText = false;
  std::vector<TAccessiblePart> Parts;
};

// --- the tree

// A node's role, name, states and screen bounds (the form's position plus the node's place in
// it), in one.
struct TAccessibleInfo {
  TAccessibleRole Role = arFiller;
  std::string Name;
  TAccessibleStates States;
  TRect Bounds;
  std::string Action;
  std::optional<TAccessibleValue> Value;
  bool HasText = false;
  int32_t ChildCount = 0;
};

TAccessibleInfo DescribeNode(TAccessibleNode node);
// Parts first, then the visible child controls: windowed ones in tab order, the others after
// them in z-order.
std::vector<TAccessibleNode> AccessibleChildren(TAccessibleNode node);
// The parent node (a part's control; a control's parent); empty for a form.
TAccessibleNode AccessibleParent(TAccessibleNode node);
// The position of node among its parent's children; -1 when it is not among them (hidden).
int32_t AccessibleIndex(TAccessibleNode node);
// The stable id of a node (1 and up), given out on first asking and kept until its control
// is destroyed; NodeOfId is empty for an id no longer (or never) given.
uint32_t AccessibleId(TAccessibleNode node);
TAccessibleNode NodeOfId(uint32_t id);

// The label that names a field (one whose FocusControl it is, in the same form) and the field
// a label names; empty for none.
TAccessibleNode AccessibleLabelledBy(TAccessibleNode node);
TAccessibleNode AccessibleLabelFor(TAccessibleNode node);

// One line: role, 'name' and [states], as `role 'name' [state state]`.
std::string AccessibleLine(TAccessibleNode node);
// The tree below and including root, one line per node indented two spaces per depth.
std::string AccessibleTreeText(TAccessibleNode root);

// --- actions, text and value
// Each raises EInvalidOperation naming the node when it does not offer what is asked.

// Index 0 is the node's one action; EListError for another index.
void DoAccessibleAction(TAccessibleNode node, int32_t index);
std::string AccessibleText(TAccessibleNode node);
// Caret and selection in characters from the start of the text.
int32_t AccessibleCaret(TAccessibleNode node);
void SetAccessibleCaret(TAccessibleNode node, int32_t offset);
// The selection as [start, end), start <= end.
std::pair<int32_t, int32_t> AccessibleSelection(TAccessibleNode node);
// The screen box of a character (as the text is scrolled; zero wide at a line's end), and of
// the characters [start, end): the text's width across when they run over several rows.
TRect AccessibleCharacterBounds(TAccessibleNode node, int32_t offset);
TRect AccessibleRangeBounds(TAccessibleNode node, int32_t start, int32_t end);
// Editing: the control must say astEditable. Offsets are taken within the text.
void SetAccessibleText(TAccessibleNode node, const std::string& text);
void InsertAccessibleText(TAccessibleNode node, int32_t offset, const std::string& text);
void DeleteAccessibleText(TAccessibleNode node, int32_t start, int32_t end);

// A value a user may move (a scroll bar's position) takes a new one as the control takes it,
// kept within its range; EInvalidOperation for a value only shown (a progress bar) and
// EConvertError for one that is no number.
bool AccessibleValueSettable(TAccessibleNode node);
void SetAccessibleValue(TAccessibleNode node, double value);

// --- selection
// Lists and tab lists select among their parts (a list box's items, the tabs of a page
// control or a wizard), by index among the node's children. Each change answers whether it
// was made; EListError for an index outside the children.

bool OffersAccessibleSelection(TAccessibleNode node);
std::vector<int32_t> AccessibleSelectedChildren(TAccessibleNode node);
// Whether the child may be selected: the node is enabled and the child selectable.
bool AccessibleChildSelectable(TAccessibleNode node, int32_t child);
// As a click: a tab is pressed (and the page may refuse to change), a list item becomes the
// current one and the list's OnClick runs.
bool SelectAccessibleChild(TAccessibleNode node, int32_t child);
// Only an enabled multi-select list box lets go of items or takes them all; the others answer
// false.
bool AccessibleSelectsMany(TAccessibleNode node);
bool DeselectAccessibleChild(TAccessibleNode node, int32_t child);
bool SelectAllAccessibleChildren(TAccessibleNode node);
bool ClearAccessibleSelection(TAccessibleNode node);

// --- text by units
// What a screen reader reads by, on character offsets into UTF-8 text; EListError for an
// offset outside 0..characters. Lines end at line breaks (a memo's wrapped rows are not lines
// here); a paragraph is such a line too.

ZELVAR_ENUM(TTextGranularity, uint8_t, tgChar, tgWord, tgSentence, tgLine, tgParagraph)
// The older way: a unit runs from one boundary to the next, so that a word read from word
// starts takes the blanks after it and one read from word ends the blanks before it.
ZELVAR_ENUM(TTextBoundary, uint8_t, tbChar, tbWordStart, tbWordEnd, tbSentenceStart, tbSentenceEnd,
            tbLineStart, tbLineEnd)
ZELVAR_ENUM(TTextWhich, uint8_t, twBefore, twAt, twAfter)

// [Start, End) in characters.
struct TTextSpan {
  int32_t Start = 0, End = 0;
  bool operator==(const TTextSpan&) const = default;
};

// The run between boundaries that holds offset (at an offset on a boundary, the run it
// starts), or the run before or after that one; empty at the start or end of the text when
// there is none.
TTextSpan TextBoundaryRun(const std::string& text, int32_t offset, TTextBoundary boundary,
                          TTextWhich which);
// The unit that holds offset, from its start to the start of the next (with the blanks or the
// line break after it): in the blanks after a word, that word.
TTextSpan TextUnitAt(const std::string& text, int32_t offset, TTextGranularity granularity);

// --- events

ZELVAR_ENUM(TAccessibleEventKind, uint8_t, aeFocus, aeStateChanged, aeNameChanged, aeChildAdded,
            aeChildRemoved, aeAnnouncement)

struct TAccessibleEvent {
  TAccessibleEventKind Kind = aeFocus;
  TAccessibleNode Node;
  // aeStateChanged: which state and whether it is now set.
  TAccessibleState State = astEnabled;
  bool Set = false;
  // aeChildAdded, aeChildRemoved: the child and its index among Node's children.
  TAccessibleNode Child;
  int32_t Index = -1;
  // aeNameChanged: the new name; aeAnnouncement: what to say.
  std::string Text;
};

class TAccessibleHub {
 public:
  using TListener = std::function<void(const TAccessibleEvent&)>;
  // Returns the key RemoveListener takes.
  int32_t AddListener(TListener listener);
  void RemoveListener(int32_t key);
  // Whether anybody listens: the controls skip working out an event nobody hears.
  bool Listening() const { return !FListeners.empty(); }
  void Notify(const TAccessibleEvent& event);

 private:
  std::vector<std::pair<int32_t, TListener>> FListeners;
  int32_t FNextKey = 1;
};

TAccessibleHub& AccessibleHub();

// What the controls call when something a screen reader follows changed. Each is cheap while
// nobody listens.
void AccessibleFocusChanged(TControl* control);
void AccessibleStateChanged(TControl* control, TAccessibleState state, bool set);
void AccessibleNameChanged(TControl* control);
// Before a control hides (shown false) and after it shows (shown true).
void AccessibleShownChanged(TControl* control, bool shown);
void Announce(TControl* source, const std::string& text);

}  // namespace zelvar
