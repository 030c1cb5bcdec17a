#include "platform/backends/AtSpi.h"

#include <dbus/dbus.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "platform/controls/Accessibility.h"
#include "platform/controls/TextEditing.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Text.h"
#include "platform/forms/Forms.h"

// Sections: numbers of roles and states · writing messages · objects and their properties ·
// the methods · events · the connection.

namespace zelvar {

namespace {

constexpr const char* kPathPrefix = "/org/a11y/atspi/accessible/";
constexpr const char* kNullPath = "/org/a11y/atspi/null";
constexpr const char* kCachePath = "/org/a11y/atspi/cache";
constexpr const char* kIfAccessible = "org.a11y.atspi.Accessible";
constexpr const char* kIfApplication = "org.a11y.atspi.Application";
constexpr const char* kIfComponent = "org.a11y.atspi.Component";
constexpr const char* kIfAction = "org.a11y.atspi.Action";
constexpr const char* kIfText = "org.a11y.atspi.Text";
constexpr const char* kIfEditableText = "org.a11y.atspi.EditableText";
constexpr const char* kIfValue = "org.a11y.atspi.Value";
constexpr const char* kIfSelection = "org.a11y.atspi.Selection";
constexpr const char* kIfEventObject = "org.a11y.atspi.Event.Object";
constexpr const char* kIfEventWindow = "org.a11y.atspi.Event.Window";
constexpr const char* kIfProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kToolkitVersion = "0.1";

// --- numbers of roles and states (atspi-constants.h)

constexpr uint32_t kRoleApplication = 75;
constexpr uint32_t kRoleNumbers[] = {
    23,  // frame
    16,  // dialog
    43,  // push button
    44,  // radio button
    7,   // check box
    61,  // text
    29,  // label
    39,  // panel
    38,  // page tab list
    37,  // page tab
    42,  // progress bar
    48,  // scroll bar
    31,  // list
    32,  // list item
    55,  // table
    11,  // combo box
    33,  // menu
    35,  // menu item
    27,  // image
    20,  // filler
};
static_assert(std::size(kRoleNumbers) == arFiller + 1);

constexpr uint32_t kStateActive = 1;
constexpr uint32_t kRelationLabelFor = 1, kRelationLabelledBy = 2;
constexpr uint32_t kStateNumbers[] = {
    8,   // enabled
    24,  // sensitive
    11,  // focusable
    12,  // focused
    4,   // checked
    25,  // showing
    30,  // visible
    39,  // is default
    7,   // editable
    17,  // multi-line
    22,  // selectable
    23,  // selected
};
static_assert(std::size(kStateNumbers) == astSelected + 1);

// How ATK names the states in StateChanged events, where it differs from ours.
std::string StateEventName(TAccessibleState s) {
  return s == astDefault ? "default" : AccessibleStateText(s);
}

// --- writing messages

// libdbus refuses (and may abort on) a string that is not UTF-8: a caption with a stray byte
// goes out with replacement characters.
std::string ValidUtf8(const std::string& s) {
  if (IsValidUtf8(s)) return s;
  std::string out;
  for (size_t i = 0; i < s.size();) {
    TUtf8Char c = DecodeUtf8Char(s, i);
    AppendUtf8(out, c.Code);
    i += c.Length;
  }
  return out;
}

void PutString(DBusMessageIter* it, const std::string& s) {
  std::string valid = ValidUtf8(s);
  const char* p = valid.c_str();
  dbus_message_iter_append_basic(it, DBUS_TYPE_STRING, &p);
}

void PutInt(DBusMessageIter* it, int32_t v) {
  dbus_message_iter_append_basic(it, DBUS_TYPE_INT32, &v);
}

void PutUint(DBusMessageIter* it, uint32_t v) {
  dbus_message_iter_append_basic(it, DBUS_TYPE_UINT32, &v);
}

void PutBool(DBusMessageIter* it, bool v) {
  dbus_bool_t b = v;
  dbus_message_iter_append_basic(it, DBUS_TYPE_BOOLEAN, &b);
}

void PutDouble(DBusMessageIter* it, double v) {
  dbus_message_iter_append_basic(it, DBUS_TYPE_DOUBLE, &v);
}

// An object reference: the bus name of its application and its path.
struct TRef {
  std::string Bus, Path;
};

void PutRef(DBusMessageIter* it, const TRef& ref) {
  DBusMessageIter s;
  dbus_message_iter_open_container(it, DBUS_TYPE_STRUCT, nullptr, &s);
  PutString(&s, ref.Bus);
  const char* path = ref.Path.c_str();
  dbus_message_iter_append_basic(&s, DBUS_TYPE_OBJECT_PATH, &path);
  dbus_message_iter_close_container(it, &s);
}

template <class F>
void PutContainer(DBusMessageIter* it, int type, const char* signature, F&& fill) {
  DBusMessageIter inner;
  dbus_message_iter_open_container(it, type, signature, &inner);
  fill(&inner);
  dbus_message_iter_close_container(it, &inner);
}

using TBusValue = std::variant<std::string, int32_t, double, TRef>;

void PutVariant(DBusMessageIter* it, const TBusValue& v) {
  static constexpr const char* kSignatures[] = {"s", "i", "d", "(so)"};
  PutContainer(it, DBUS_TYPE_VARIANT, kSignatures[v.index()], [&](DBusMessageIter* inner) {
    if (auto* s = std::get_if<std::string>(&v)) PutString(inner, *s);
    if (auto* i = std::get_if<int32_t>(&v)) PutInt(inner, *i);
    if (auto* d = std::get_if<double>(&v)) PutDouble(inner, *d);
    if (auto* r = std::get_if<TRef>(&v)) PutRef(inner, *r);
  });
}

void PutStringMap(DBusMessageIter* it, const std::vector<std::pair<std::string, std::string>>& m) {
  PutContainer(it, DBUS_TYPE_ARRAY, "{ss}", [&](DBusMessageIter* array) {
    for (const auto& [key, value] : m)
      PutContainer(array, DBUS_TYPE_DICT_ENTRY, nullptr, [&](DBusMessageIter* entry) {
        PutString(entry, key);
        PutString(entry, value);
      });
  });
}

// A request whose arguments do not fit, answered as such.
struct TBadArgs {
  std::string Message;
};

// The arguments of a request, read in order; a wrong type is a TBadArgs.
class TArgs {
 public:
  explicit TArgs(DBusMessage* m) { FMore = dbus_message_iter_init(m, &FIt); }
  int32_t Int() { return Basic<int32_t>(DBUS_TYPE_INT32); }
  uint32_t Uint() { return Basic<uint32_t>(DBUS_TYPE_UINT32); }
  std::string String() { return Basic<const char*>(DBUS_TYPE_STRING); }
  DBusMessageIter* Raw() {
    if (!FMore) throw TBadArgs{"too few arguments"};
    return &FIt;
  }

 private:
  template <class T>
  T Basic(int type) {
    if (!FMore || dbus_message_iter_get_arg_type(&FIt) != type)
      throw TBadArgs{std::string("expected an argument of type ") + static_cast<char>(type)};
    T v{};
    dbus_message_iter_get_basic(&FIt, &v);
    FMore = dbus_message_iter_next(&FIt);
    return v;
  }
  DBusMessageIter FIt{};
  bool FMore = false;
};

// A number in a variant, as a client sends a value: a double, or any integer.
double NumberOf(DBusMessageIter* variant) {
  if (dbus_message_iter_get_arg_type(variant) != DBUS_TYPE_VARIANT)
    throw TBadArgs{"expected a variant"};
  DBusMessageIter inner;
  dbus_message_iter_recurse(variant, &inner);
  DBusBasicValue v{};
  switch (dbus_message_iter_get_arg_type(&inner)) {
    case DBUS_TYPE_DOUBLE:
      dbus_message_iter_get_basic(&inner, &v);
      return v.dbl;
    case DBUS_TYPE_INT32:
      dbus_message_iter_get_basic(&inner, &v);
      return v.i32;
    case DBUS_TYPE_UINT32:
      dbus_message_iter_get_basic(&inner, &v);
      return v.u32;
    case DBUS_TYPE_INT64:
      dbus_message_iter_get_basic(&inner, &v);
      return double(v.i64);
    default:
      throw TBadArgs{"a value is a number"};
  }
}

// --- text offsets: AT-SPI counts characters, the text is UTF-8 (counted as the edits count it)

// Characters in s, as AT-SPI's int32 offsets count them.
int32_t CharCountOf(const std::string& s) {
  return static_cast<int32_t>(std::min<size_t>(CharCount(s), INT32_MAX));
}

std::string CharSlice(const std::string& s, int32_t start, int32_t end) {
  int32_t count = CharCountOf(s);
  if (end < 0 || end > count) end = count;
  start = std::clamp(start, 0, end);
  size_t a = ByteOfChar(s, static_cast<size_t>(start));
  return s.substr(a, ByteOfChar(s, static_cast<size_t>(end)) - a);
}

// The top-level forms, the application's children.
std::vector<TForm*> TopForms() {
  std::vector<TForm*> out;
  for (TForm* f : Application().ShownForms())
    if (!f->Parent()) out.push_back(f);
  return out;
}

TControl* TopOf(TControl* c) {
  while (c->Parent()) c = c->Parent();
  return c;
}

// A box on the screen in the coordinates a client asks for, for node n: on the screen (0), in
// the window (1) or in n's parent (2).
TRect InCoords(TAccessibleNode n, TRect r, uint32_t coords) {
  TAccessibleNode origin = coords == 1   ? TAccessibleNode{TopOf(n.Control)}
                           : coords == 2 ? AccessibleParent(n)
                                         : TAccessibleNode{};
  if (origin) {
    TRect o = DescribeNode(origin).Bounds;
    r = {r.Left - o.Left, r.Top - o.Top, r.Right - o.Left, r.Bottom - o.Top};
  }
  return r;
}

void PutBox(DBusMessageIter* it, TRect r) {
  PutInt(it, r.Left);
  PutInt(it, r.Top);
  PutInt(it, r.Right - r.Left);
  PutInt(it, r.Bottom - r.Top);
}

}  // namespace

// --- objects and their properties

struct TAtSpiBridge::TState {
  DBusConnection* Connection = nullptr;
  std::string Bus;    // our unique name on the accessibility bus
  TRef Desktop;       // the registry's desktop, our root's parent
  int32_t AppId = 0;  // what the registry numbered us
  int32_t HubKey = 0;
  DBusPendingCall* Embedding = nullptr;
  std::vector<uint32_t> PendingActions;  // ids of nodes to press once the requests are answered
  // Changes of a selection, which run as a click does, after the answers as presses do.
  std::vector<std::pair<uint32_t, std::function<void(TAccessibleNode)>>> PendingChanges;
  std::vector<uint32_t> Windows;  // ids of the forms shown in windows, in their order

  // An object is the root (Node empty) or a node.
  struct TObject {
    bool Root = false;
    TAccessibleNode Node;
  };

  TRef RootRef() const { return {Bus, kRootPath}; }
  TRef RefOf(TAccessibleNode node) const {
    return node ? TRef{Bus, PathOfId(AccessibleId(node))} : RootRef();
  }

  std::optional<TObject> Resolve(const std::string& path) const {
    if (path == kRootPath) return TObject{true, {}};
    TAccessibleNode node = NodeOfId(IdOfPath(path));
    if (!node) return std::nullopt;
    return TObject{false, node};
  }

  std::vector<TAccessibleNode> Children(const TObject& o) const {
    if (!o.Root) return AccessibleChildren(o.Node);
    std::vector<TAccessibleNode> out;
    for (TForm* f : TopForms()) out.push_back({f});
    return out;
  }

  TRef ParentOf(const TObject& o) const {
    if (o.Root) return Desktop.Path.empty() ? TRef{"", kNullPath} : Desktop;
    return RefOf(AccessibleParent(o.Node));
  }

  int32_t IndexOf(const TObject& o) const {
    if (o.Root) return -1;
    if (AccessibleParent(o.Node)) return AccessibleIndex(o.Node);
    std::vector<TForm*> forms = TopForms();
    auto it = std::find(forms.begin(), forms.end(), o.Node.Control);
    return it == forms.end() ? -1 : static_cast<int32_t>(it - forms.begin());
  }

  static std::string ProgramName() {
    const char* name = program_invocation_short_name;
    return name && *name ? name : "zelvar";
  }

  std::vector<std::string> Interfaces(const TObject& o) const {
    if (o.Root) return {kIfAccessible, kIfApplication};
    TAccessibleInfo info = DescribeNode(o.Node);
    std::vector<std::string> out = {kIfAccessible, kIfComponent};
    if (!info.Action.empty()) out.push_back(kIfAction);
    if (info.HasText) out.push_back(kIfText);
    if (info.HasText && info.States.Contains(astEditable)) out.push_back(kIfEditableText);
    if (info.Value) out.push_back(kIfValue);
    if (OffersAccessibleSelection(o.Node)) out.push_back(kIfSelection);
    return out;
  }

  bool Offers(const TObject& o, const std::string& iface) const {
    std::vector<std::string> all = Interfaces(o);
    return std::find(all.begin(), all.end(), iface) != all.end();
  }

  static const std::vector<std::string>& PropertyNames(const std::string& iface) {
    static const std::vector<std::string> none,
        accessible = {"Name", "Description", "Parent", "ChildCount", "Locale", "AccessibleId"},
        action = {"NActions"}, selection = {"NSelectedChildren"},
        text = {"CharacterCount", "CaretOffset"},
        value = {"MinimumValue", "MaximumValue", "CurrentValue", "MinimumIncrement"},
        application = {"ToolkitName", "Version", "AtspiVersion", "Id"};
    if (iface == kIfAccessible) return accessible;
    if (iface == kIfAction) return action;
    if (iface == kIfText) return text;
    if (iface == kIfValue) return value;
    if (iface == kIfSelection) return selection;
    if (iface == kIfApplication) return application;
    return none;
  }

  std::optional<TBusValue> Property(const TObject& o, const std::string& iface,
                                    const std::string& name) const {
    if (!Offers(o, iface)) return std::nullopt;
    if (iface == kIfAccessible) {
      if (name == "Name") return o.Root ? ProgramName() : DescribeNode(o.Node).Name;
      if (name == "Description" || name == "Locale") return std::string();
      if (name == "Parent") return ParentOf(o);
      if (name == "ChildCount") return static_cast<int32_t>(Children(o).size());
      if (name == "AccessibleId") return o.Root ? std::string() : o.Node.Control->Name();
    } else if (iface == kIfApplication) {
      if (name == "ToolkitName") return std::string("Zelvar");
      if (name == "Version") return std::string(kToolkitVersion);
      if (name == "AtspiVersion") return std::string("2.1");
      if (name == "Id") return AppId;
    } else if (iface == kIfAction) {
      if (name == "NActions") return int32_t{1};
    } else if (iface == kIfText) {
      if (name == "CharacterCount") return CharCountOf(AccessibleText(o.Node));
      if (name == "CaretOffset") return AccessibleCaret(o.Node);
    } else if (iface == kIfSelection) {
      if (name == "NSelectedChildren")
        return static_cast<int32_t>(AccessibleSelectedChildren(o.Node).size());
    } else if (iface == kIfValue) {
      TAccessibleValue v = *DescribeNode(o.Node).Value;
      if (name == "MinimumValue") return double(v.Min);
      if (name == "MaximumValue") return double(v.Max);
      if (name == "CurrentValue") return double(v.Current);
      if (name == "MinimumIncrement") return 1.0;
    }
    return std::nullopt;
  }

  // --- the methods

  // Answers m into reply; false for a method this object does not have.
  bool Answer(const TObject& o, DBusMessage* m, DBusMessage* reply);
  bool AnswerProperties(const TObject& o, const std::string& member, TArgs& args,
                        DBusMessageIter* out);
  bool AnswerAccessible(const TObject& o, const std::string& member, TArgs& args,
                        DBusMessageIter* out);
  bool AnswerComponent(TAccessibleNode node, const std::string& member, TArgs& args,
                       DBusMessageIter* out);
  bool AnswerAction(TAccessibleNode node, const std::string& member, TArgs& args,
                    DBusMessageIter* out);
  bool AnswerText(TAccessibleNode node, const std::string& member, TArgs& args,
                  DBusMessageIter* out);
  bool AnswerEditableText(TAccessibleNode node, const std::string& member, TArgs& args,
                          DBusMessageIter* out);
  bool AnswerSelection(TAccessibleNode node, const std::string& member, TArgs& args,
                       DBusMessageIter* out);
  void Later(TAccessibleNode node, std::function<void(TAccessibleNode)> change);

  // --- events

  void Emit(TAccessibleNode node, const char* iface, const char* member, const std::string& detail,
            int32_t detail1, const TBusValue& data);
  void Tell(const TAccessibleEvent& e);
};

bool TAtSpiBridge::TState::AnswerProperties(const TObject& o, const std::string& member,
                                            TArgs& args, DBusMessageIter* out) {
  if (member == "Get") {
    std::string iface = args.String(), name = args.String();
    std::optional<TBusValue> v = Property(o, iface, name);
    if (!v) throw TBadArgs{"no property " + iface + "." + name};
    PutVariant(out, *v);
    return true;
  }
  if (member == "GetAll") {
    std::string iface = args.String();
    PutContainer(out, DBUS_TYPE_ARRAY, "{sv}", [&](DBusMessageIter* array) {
      if (!Offers(o, iface)) return;
      for (const std::string& name : PropertyNames(iface))
        PutContainer(array, DBUS_TYPE_DICT_ENTRY, nullptr, [&](DBusMessageIter* entry) {
          PutString(entry, name);
          PutVariant(entry, *Property(o, iface, name));
        });
    });
    return true;
  }
  if (member == "Set") {
    std::string iface = args.String(), name = args.String();
    DBusMessageIter* variant = args.Raw();
    // A screen reader moves a scroll bar by its value; the toolkit refuses a read-only one.
    if (!o.Root && iface == kIfValue && name == "CurrentValue" && Offers(o, iface)) {
      SetAccessibleValue(o.Node, NumberOf(variant));
      return true;
    }
    // The registry numbers each application it embeds; nothing else may be set.
    if (!o.Root || iface != kIfApplication || name != "Id" ||
        dbus_message_iter_get_arg_type(variant) != DBUS_TYPE_VARIANT)
      throw TBadArgs{"property " + iface + "." + name + " cannot be set"};
    DBusMessageIter inner;
    dbus_message_iter_recurse(variant, &inner);
    if (dbus_message_iter_get_arg_type(&inner) != DBUS_TYPE_INT32)
      throw TBadArgs{"Id takes an integer"};
    dbus_message_iter_get_basic(&inner, &AppId);
    return true;
  }
  return false;
}

bool TAtSpiBridge::TState::AnswerAccessible(const TObject& o, const std::string& member,
                                            TArgs& args, DBusMessageIter* out) {
  if (member == "GetChildAtIndex") {
    int32_t index = args.Int();
    std::vector<TAccessibleNode> children = Children(o);
    // A client may ask for a child that went meanwhile: the null reference says so.
    if (index < 0 || index >= static_cast<int32_t>(children.size()))
      PutRef(out, {"", kNullPath});
    else
      PutRef(out, RefOf(children[static_cast<size_t>(index)]));
  } else if (member == "GetChildren") {
    PutContainer(out, DBUS_TYPE_ARRAY, "(so)", [&](DBusMessageIter* array) {
      for (TAccessibleNode child : Children(o)) PutRef(array, RefOf(child));
    });
  } else if (member == "GetIndexInParent") {
    PutInt(out, IndexOf(o));
  } else if (member == "GetRole") {
    PutUint(out, o.Root ? kRoleApplication : kRoleNumbers[DescribeNode(o.Node).Role]);
  } else if (member == "GetRoleName" || member == "GetLocalizedRoleName") {
    PutString(out, o.Root ? "application" : AccessibleRoleText(DescribeNode(o.Node).Role));
  } else if (member == "GetState") {
    uint32_t bits[2] = {0, 0};
    auto set = [&](uint32_t n) { bits[n / 32] |= uint32_t{1} << (n % 32); };
    if (!o.Root) {
      TAccessibleInfo info = DescribeNode(o.Node);
      for (uint8_t s = 0; s <= astSelected; ++s)
        if (info.States.Contains(static_cast<TAccessibleState>(s))) set(kStateNumbers[s]);
      if (o.Node.Part < 0 && o.Node.Control == Application().ActiveForm()) set(kStateActive);
    }
    PutContainer(out, DBUS_TYPE_ARRAY, "u", [&](DBusMessageIter* array) {
      for (uint32_t b : bits) PutUint(array, b);
    });
  } else if (member == "GetInterfaces") {
    PutContainer(out, DBUS_TYPE_ARRAY, "s", [&](DBusMessageIter* array) {
      for (const std::string& i : Interfaces(o)) PutString(array, i);
    });
  } else if (member == "GetAttributes") {
    std::vector<std::pair<std::string, std::string>> attributes = {{"toolkit", "Zelvar"}};
    if (!o.Root && !o.Node.Control->Name().empty())
      attributes.emplace_back("id", o.Node.Control->Name());
    PutStringMap(out, attributes);
  } else if (member == "GetApplication") {
    PutRef(out, RootRef());
  } else if (member == "GetRelationSet") {
    std::vector<std::pair<uint32_t, TAccessibleNode>> relations;
    if (!o.Root) {
      if (TAccessibleNode label = AccessibleLabelledBy(o.Node))
        relations.emplace_back(kRelationLabelledBy, label);
      if (TAccessibleNode field = AccessibleLabelFor(o.Node))
        relations.emplace_back(kRelationLabelFor, field);
    }
    PutContainer(out, DBUS_TYPE_ARRAY, "(ua(so))", [&](DBusMessageIter* array) {
      for (const auto& [type, target] : relations)
        PutContainer(array, DBUS_TYPE_STRUCT, nullptr, [&](DBusMessageIter* relation) {
          PutUint(relation, type);
          PutContainer(relation, DBUS_TYPE_ARRAY, "(so)",
                       [&](DBusMessageIter* targets) { PutRef(targets, RefOf(target)); });
        });
    });
  } else {
    return false;
  }
  return true;
}

bool TAtSpiBridge::TState::AnswerComponent(TAccessibleNode node, const std::string& member,
                                           TArgs& args, DBusMessageIter* out) {
  auto extents = [&](TAccessibleNode n, uint32_t coords) {
    return InCoords(n, DescribeNode(n).Bounds, coords);
  };
  if (member == "GetExtents") {
    TRect r = extents(node, args.Uint());
    PutContainer(out, DBUS_TYPE_STRUCT, nullptr, [&](DBusMessageIter* s) { PutBox(s, r); });
  } else if (member == "GetPosition") {
    TRect r = extents(node, args.Uint());
    PutInt(out, r.Left);
    PutInt(out, r.Top);
  } else if (member == "GetSize") {
    TRect r = extents(node, 0);
    PutInt(out, r.Right - r.Left);
    PutInt(out, r.Bottom - r.Top);
  } else if (member == "Contains") {
    int32_t x = args.Int(), y = args.Int();
    PutBool(out, extents(node, args.Uint()).Contains(x, y));
  } else if (member == "GetAccessibleAtPoint") {
    int32_t x = args.Int(), y = args.Int();
    uint32_t coords = args.Uint();
    // The last child drawn at the point is the one on top.
    TAccessibleNode hit;
    for (TAccessibleNode child : AccessibleChildren(node))
      if (extents(child, coords).Contains(x, y)) hit = child;
    PutRef(out, hit ? RefOf(hit) : TRef{"", kNullPath});
  } else if (member == "GetLayer") {
    PutUint(out, node.Control->Parent() ? 3 : 7);  // widget, window
  } else if (member == "GetMDIZOrder") {
    int16_t z = 0;
    dbus_message_iter_append_basic(out, DBUS_TYPE_INT16, &z);
  } else if (member == "GetAlpha") {
    PutDouble(out, 1.0);
  } else if (member == "GrabFocus") {
    auto* win = node.Part < 0 ? dynamic_cast<TWinControl*>(node.Control) : nullptr;
    bool can = win && win->CanFocus();
    if (can) win->SetFocus();
    PutBool(out, can);
  } else {
    return false;
  }
  return true;
}

bool TAtSpiBridge::TState::AnswerAction(TAccessibleNode node, const std::string& member,
                                        TArgs& args, DBusMessageIter* out) {
  std::string action = DescribeNode(node).Action;
  auto checked = [&](int32_t index) {
    if (index != 0)
      throw TBadArgs{"action " + std::to_string(index) + " does not exist (there is one)"};
  };
  if (member == "GetName" || member == "GetLocalizedName" || member == "GetDescription") {
    checked(args.Int());
    PutString(out, member == "GetDescription" ? "" : action);
  } else if (member == "GetKeyBinding") {
    checked(args.Int());
    PutString(out, "");
  } else if (member == "GetActions") {
    PutContainer(out, DBUS_TYPE_ARRAY, "(sss)", [&](DBusMessageIter* array) {
      PutContainer(array, DBUS_TYPE_STRUCT, nullptr, [&](DBusMessageIter* s) {
        PutString(s, action);
        PutString(s, "");
        PutString(s, "");
      });
    });
  } else if (member == "DoAction") {
    checked(args.Int());
    // The press runs after the answer: it may open a modal dialog, whose loop dispatches
    // the bus again, and the client waits for its answer meanwhile.
    bool enabled = DescribeNode(node).States.Contains(astEnabled);
    if (enabled) PendingActions.push_back(AccessibleId(node));
    PutBool(out, enabled);
  } else {
    return false;
  }
  return true;
}

bool TAtSpiBridge::TState::AnswerText(TAccessibleNode node, const std::string& member, TArgs& args,
                                      DBusMessageIter* out) {
  std::string text = AccessibleText(node);
  int32_t count = CharCountOf(text);
  auto bounded = [&](int32_t offset) {
    if (offset < 0 || offset > count)
      throw TBadArgs{"offset " + std::to_string(offset) + " is outside the text (0 to " +
                     std::to_string(count) + ")"};
    return offset;
  };
  if (member == "GetText") {
    int32_t start = args.Int(), end = args.Int();
    PutString(out, CharSlice(text, start, end));
  } else if (member == "GetCharacterAtOffset") {
    int32_t offset = args.Int();
    size_t at = offset >= 0 ? ByteOfChar(text, static_cast<size_t>(offset)) : text.size();
    PutInt(out, at < text.size() ? static_cast<int32_t>(DecodeUtf8Char(text, at).Code) : 0);
  } else if (member == "GetStringAtOffset" || member == "GetTextAtOffset" ||
             member == "GetTextBeforeOffset" || member == "GetTextAfterOffset") {
    int32_t offset = std::clamp(args.Int(), 0, count);
    uint32_t kind = args.Uint();
    TTextSpan span;
    if (member == "GetStringAtOffset") {
      if (kind > tgParagraph) throw TBadArgs{"granularity " + std::to_string(kind) + " is unknown"};
      span = TextUnitAt(text, offset, static_cast<TTextGranularity>(kind));
    } else {
      if (kind > tbLineEnd) throw TBadArgs{"boundary " + std::to_string(kind) + " is unknown"};
      TTextWhich which = member == "GetTextAtOffset"       ? twAt
                         : member == "GetTextBeforeOffset" ? twBefore
                                                           : twAfter;
      span = TextBoundaryRun(text, offset, static_cast<TTextBoundary>(kind), which);
    }
    PutString(out, CharSlice(text, span.Start, span.End));
    PutInt(out, span.Start);
    PutInt(out, span.End);
  } else if (member == "GetCharacterExtents") {
    int32_t offset = bounded(args.Int());
    PutBox(out, InCoords(node, AccessibleCharacterBounds(node, offset), args.Uint()));
  } else if (member == "GetRangeExtents") {
    int32_t start = bounded(args.Int()), end = bounded(args.Int());
    PutBox(out, InCoords(node, AccessibleRangeBounds(node, start, end), args.Uint()));
  } else if (member == "SetCaretOffset") {
    SetAccessibleCaret(node, bounded(args.Int()));
    PutBool(out, true);
  } else if (member == "GetNSelections") {
    auto [a, b] = AccessibleSelection(node);
    PutInt(out, a < b ? 1 : 0);
  } else if (member == "GetSelection") {
    args.Int();
    auto [a, b] = AccessibleSelection(node);
    PutInt(out, a);
    PutInt(out, b);
  } else if (member == "GetAttributes" || member == "GetAttributeRun") {
    args.Int();
    PutStringMap(out, {});
    PutInt(out, 0);
    PutInt(out, count);
  } else if (member == "GetDefaultAttributes" || member == "GetDefaultAttributeSet") {
    PutStringMap(out, {});
  } else {
    return false;
  }
  return true;
}

bool TAtSpiBridge::TState::AnswerEditableText(TAccessibleNode node, const std::string& member,
                                              TArgs& args, DBusMessageIter* out) {
  if (member == "SetTextContents") {
    SetAccessibleText(node, args.String());
  } else if (member == "InsertText") {
    int32_t position = args.Int();
    std::string text = args.String();
    int32_t length = args.Int();
    // The length counts characters of text to insert; negative takes all of it.
    if (length >= 0) text = CharSlice(text, 0, length);
    InsertAccessibleText(node, position, text);
  } else if (member == "DeleteText") {
    int32_t start = args.Int(), end = args.Int();
    DeleteAccessibleText(node, start, end);
  } else {
    return false;
  }
  PutBool(out, true);
  return true;
}

void TAtSpiBridge::TState::Later(TAccessibleNode node,
                                 std::function<void(TAccessibleNode)> change) {
  PendingChanges.emplace_back(AccessibleId(node), std::move(change));
}

bool TAtSpiBridge::TState::AnswerSelection(TAccessibleNode node, const std::string& member,
                                           TArgs& args, DBusMessageIter* out) {
  // Selected children are counted among the selected ones; the others among all children.
  auto selected = [&](int32_t nth) {
    std::vector<int32_t> all = AccessibleSelectedChildren(node);
    return nth >= 0 && nth < static_cast<int32_t>(all.size()) ? all[static_cast<size_t>(nth)] : -1;
  };
  if (member == "GetSelectedChild") {
    int32_t child = selected(args.Int());
    PutRef(out, child < 0 ? TRef{"", kNullPath} : RefOf({node.Control, child}));
  } else if (member == "SelectChild") {
    int32_t child = args.Int();
    bool can = AccessibleChildSelectable(node, child);
    if (can) Later(node, [child](TAccessibleNode n) { SelectAccessibleChild(n, child); });
    PutBool(out, can);
  } else if (member == "DeselectSelectedChild" || member == "DeselectChild") {
    int32_t child = args.Int();
    if (member == "DeselectSelectedChild") child = selected(child);
    bool can = child >= 0 && AccessibleSelectsMany(node);
    if (can) Later(node, [child](TAccessibleNode n) { DeselectAccessibleChild(n, child); });
    PutBool(out, can);
  } else if (member == "IsChildSelected") {
    int32_t child = args.Int();
    std::vector<int32_t> all = AccessibleSelectedChildren(node);
    PutBool(out, std::find(all.begin(), all.end(), child) != all.end());
  } else if (member == "SelectAll" || member == "ClearSelection") {
    bool can = AccessibleSelectsMany(node);
    if (can)
      Later(node, member == "SelectAll" ? SelectAllAccessibleChildren : ClearAccessibleSelection);
    PutBool(out, can);
  } else {
    return false;
  }
  return true;
}

bool TAtSpiBridge::TState::Answer(const TObject& o, DBusMessage* m, DBusMessage* reply) {
  std::string iface = dbus_message_get_interface(m) ? dbus_message_get_interface(m) : "";
  std::string member = dbus_message_get_member(m) ? dbus_message_get_member(m) : "";
  TArgs args(m);
  DBusMessageIter out;
  dbus_message_iter_init_append(reply, &out);
  if (iface == kIfProperties) return AnswerProperties(o, member, args, &out);
  if (iface == kIfAccessible) return AnswerAccessible(o, member, args, &out);
  if (iface == kIfApplication && o.Root && member == "GetLocale") {
    PutString(&out, "");
    return true;
  }
  if (o.Root || !Offers(o, iface)) return false;
  if (iface == kIfComponent) return AnswerComponent(o.Node, member, args, &out);
  if (iface == kIfAction) return AnswerAction(o.Node, member, args, &out);
  if (iface == kIfText) return AnswerText(o.Node, member, args, &out);
  if (iface == kIfEditableText) return AnswerEditableText(o.Node, member, args, &out);
  if (iface == kIfSelection) return AnswerSelection(o.Node, member, args, &out);
  return false;
}

namespace {

// The bulk cache a client asks for first: nothing is kept, so the client asks each object.
DBusHandlerResult HandleCache(DBusConnection* connection, DBusMessage* m, void*) {
  if (!dbus_message_is_method_call(m, "org.a11y.atspi.Cache", "GetItems"))
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
  DBusMessage* reply = dbus_message_new_method_return(m);
  DBusMessageIter it;
  dbus_message_iter_init_append(reply, &it);
  PutContainer(&it, DBUS_TYPE_ARRAY, "((so)(so)(so)iiassusau)", [](DBusMessageIter*) {});
  dbus_connection_send(connection, reply, nullptr);
  dbus_message_unref(reply);
  return DBUS_HANDLER_RESULT_HANDLED;
}

DBusHandlerResult HandleMessage(DBusConnection* connection, DBusMessage* m, void* data) {
  auto& state = *static_cast<TAtSpiBridge::TState*>(data);
  if (dbus_message_get_type(m) != DBUS_MESSAGE_TYPE_METHOD_CALL)
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
  const char* path = dbus_message_get_path(m);
  auto fail = [&](const char* name, const std::string& text) {
    DBusMessage* error = dbus_message_new_error(m, name, ValidUtf8(text).c_str());
    dbus_connection_send(connection, error, nullptr);
    dbus_message_unref(error);
    return DBUS_HANDLER_RESULT_HANDLED;
  };
  auto object = state.Resolve(path ? path : "");
  if (!object) return fail(DBUS_ERROR_UNKNOWN_OBJECT, std::string("No object at ") + path);
  DBusMessage* reply = dbus_message_new_method_return(m);
  try {
    if (!state.Answer(*object, m, reply)) {
      dbus_message_unref(reply);
      return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    }
  } catch (const TBadArgs& e) {
    dbus_message_unref(reply);
    return fail(DBUS_ERROR_INVALID_ARGS, e.Message);
  } catch (const Exception& e) {
    // The toolkit's refusal (a read-only edit, an offset past the text) reaches the client.
    dbus_message_unref(reply);
    return fail(DBUS_ERROR_FAILED, e.Message());
  }
  dbus_connection_send(connection, reply, nullptr);
  dbus_message_unref(reply);
  return DBUS_HANDLER_RESULT_HANDLED;
}

}  // namespace

// --- events

void TAtSpiBridge::TState::Emit(TAccessibleNode node, const char* iface, const char* member,
                                const std::string& detail, int32_t detail1, const TBusValue& data) {
  std::string path = RefOf(node).Path;
  DBusMessage* signal = dbus_message_new_signal(path.c_str(), iface, member);
  DBusMessageIter it;
  dbus_message_iter_init_append(signal, &it);
  PutString(&it, detail);
  PutInt(&it, detail1);
  PutInt(&it, 0);
  PutVariant(&it, data);
  PutContainer(&it, DBUS_TYPE_ARRAY, "{sv}", [](DBusMessageIter*) {});
  dbus_connection_send(Connection, signal, nullptr);
  dbus_message_unref(signal);
}

void TAtSpiBridge::TState::Tell(const TAccessibleEvent& e) {
  switch (e.Kind) {
    case aeFocus:
      Emit(e.Node, kIfEventObject, "StateChanged", "focused", 1, int32_t{0});
      Emit(e.Node, "org.a11y.atspi.Event.Focus", "Focus", "", 0, int32_t{0});
      break;
    case aeStateChanged:
      Emit(e.Node, kIfEventObject, "StateChanged", StateEventName(e.State), e.Set ? 1 : 0,
           int32_t{0});
      break;
    case aeNameChanged:
      Emit(e.Node, kIfEventObject, "PropertyChange", "accessible-name", 0, e.Text);
      break;
    case aeChildAdded:
    case aeChildRemoved:
      Emit(e.Node, kIfEventObject, "ChildrenChanged", e.Kind == aeChildAdded ? "add" : "remove",
           e.Index, RefOf(e.Child));
      break;
    case aeAnnouncement:
      // detail1 is the politeness: 1, polite.
      Emit(e.Node, kIfEventObject, "Announcement", "", 1, e.Text);
      break;
  }
}

// --- the connection

namespace {

// A press waits for the requests to be answered; by then an earlier press may have disabled the
// control (Next on the last page) or taken the part away, and then it is dropped, as a click
// on a disabled button is.
bool PressableNow(TAccessibleNode node) {
  if (!node) return false;
  try {
    TAccessibleInfo info = DescribeNode(node);
    return !info.Action.empty() && info.States.Contains(astEnabled);
  } catch (const EListError&) {
    return false;
  }
}

}  // namespace

std::string TAtSpiBridge::PathOfId(uint32_t id) {
  return kPathPrefix + std::to_string(id);
}

uint32_t TAtSpiBridge::IdOfPath(const std::string& path) {
  std::string prefix = kPathPrefix;
  if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return 0;
  std::string digits = path.substr(prefix.size());
  if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos ||
      digits[0] == '0')
    return 0;
  return static_cast<uint32_t>(std::stoul(digits));
}

namespace {

// The accessibility bus's address: AT_SPI_BUS_ADDRESS, or what org.a11y.Bus says on the
// session bus. Empty, with the reason, when there is none.
std::string BusAddress(std::string& why) {
  if (const char* a = std::getenv("AT_SPI_BUS_ADDRESS"); a && *a) return a;
  // Without a session bus libdbus would try to launch one: no bus means no screen reader.
  if (const char* s = std::getenv("DBUS_SESSION_BUS_ADDRESS"); !s || !*s) {
    why = "no session bus";
    return "";
  }
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* session = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
  std::string address;
  if (session) {
    dbus_connection_set_exit_on_disconnect(session, FALSE);
    DBusMessage* call =
        dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress");
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(session, call, 3000, &error);
    dbus_message_unref(call);
    const char* text = nullptr;
    if (reply && dbus_message_get_args(reply, &error, DBUS_TYPE_STRING, &text, DBUS_TYPE_INVALID))
      address = text;
    if (reply) dbus_message_unref(reply);
    dbus_connection_close(session);
    dbus_connection_unref(session);
  }
  if (dbus_error_is_set(&error)) why = error.message;
  dbus_error_free(&error);
  return address;
}

void Embedded(DBusPendingCall* pending, void* data) {
  auto& state = *static_cast<TAtSpiBridge::TState*>(data);
  DBusMessage* reply = dbus_pending_call_steal_reply(pending);
  dbus_pending_call_unref(pending);
  state.Embedding = nullptr;
  if (!reply) return;
  DBusMessageIter it, s;
  if (dbus_message_iter_init(reply, &it) &&
      dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_STRUCT) {
    dbus_message_iter_recurse(&it, &s);
    const char* bus = nullptr;
    const char* path = nullptr;
    if (dbus_message_iter_get_arg_type(&s) == DBUS_TYPE_STRING) {
      dbus_message_iter_get_basic(&s, &bus);
      dbus_message_iter_next(&s);
      if (dbus_message_iter_get_arg_type(&s) == DBUS_TYPE_OBJECT_PATH) {
        dbus_message_iter_get_basic(&s, &path);
        state.Desktop = {bus, path};
      }
    }
  }
  dbus_message_unref(reply);
}

}  // namespace

std::unique_ptr<TAtSpiBridge> TAtSpiBridge::Open(std::string* why) {
  std::string reason;
  std::string address = BusAddress(reason);
  if (address.empty()) {
    if (why) *why = reason.empty() ? "no accessibility bus" : reason;
    return nullptr;
  }
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* connection = dbus_connection_open_private(address.c_str(), &error);
  if (connection && !dbus_bus_register(connection, &error)) {
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
    connection = nullptr;
  }
  if (!connection) {
    if (why) *why = error.message ? error.message : "cannot connect to " + address;
    dbus_error_free(&error);
    return nullptr;
  }
  dbus_connection_set_exit_on_disconnect(connection, FALSE);
  auto state = std::make_unique<TState>();
  state->Connection = connection;
  state->Bus = dbus_bus_get_unique_name(connection);
  return std::unique_ptr<TAtSpiBridge>(new TAtSpiBridge(std::move(state)));
}

TAtSpiBridge::TAtSpiBridge(std::unique_ptr<TState> state) : F(std::move(state)) {
  static const DBusObjectPathVTable kVTable = {nullptr, HandleMessage, nullptr,
                                               nullptr, nullptr,       nullptr};
  // One handler for the whole subtree: the root and every node below the prefix.
  dbus_connection_register_fallback(F->Connection, "/org/a11y/atspi/accessible", &kVTable, F.get());
  static const DBusObjectPathVTable kCacheVTable = {nullptr, HandleCache, nullptr,
                                                    nullptr, nullptr,     nullptr};
  dbus_connection_register_object_path(F->Connection, kCachePath, &kCacheVTable, nullptr);
  F->HubKey = AccessibleHub().AddListener([state = F.get()](const TAccessibleEvent& e) {
    try {
      state->Tell(e);
    } catch (const Exception&) {
      // A node that went between the event and its telling has nothing more to say.
    }
  });
  // The registry adds the root to the desktop; its answer names the desktop, the root's
  // parent. It is not waited for.
  DBusMessage* call = dbus_message_new_method_call("org.a11y.atspi.Registry", kRootPath,
                                                   "org.a11y.atspi.Socket", "Embed");
  DBusMessageIter it;
  dbus_message_iter_init_append(call, &it);
  PutRef(&it, F->RootRef());
  if (dbus_connection_send_with_reply(F->Connection, call, &F->Embedding, 5000) && F->Embedding)
    dbus_pending_call_set_notify(F->Embedding, Embedded, F.get(), nullptr);
  dbus_message_unref(call);
  dbus_connection_flush(F->Connection);
}

TAtSpiBridge::~TAtSpiBridge() {
  AccessibleHub().RemoveListener(F->HubKey);
  if (F->Embedding) {
    dbus_pending_call_cancel(F->Embedding);
    dbus_pending_call_unref(F->Embedding);
  }
  dbus_connection_unregister_object_path(F->Connection, "/org/a11y/atspi/accessible");
  dbus_connection_unregister_object_path(F->Connection, kCachePath);
  dbus_connection_flush(F->Connection);
  dbus_connection_close(F->Connection);
  dbus_connection_unref(F->Connection);
}

int TAtSpiBridge::FileDescriptor() const {
  int fd = -1;
  return dbus_connection_get_unix_fd(F->Connection, &fd) ? fd : -1;
}

void TAtSpiBridge::FormShown(TForm* form) {
  TAccessibleNode node{form};
  F->Windows.push_back(AccessibleId(node));
  F->Emit({}, kIfEventObject, "ChildrenChanged", "add", static_cast<int32_t>(F->Windows.size() - 1),
          F->RefOf(node));
  F->Emit(node, kIfEventWindow, "Create", "", 0, std::string());
  F->Emit(node, kIfEventWindow, "Activate", "", 0, std::string());
}

void TAtSpiBridge::FormHidden(TForm* form) {
  TAccessibleNode node{form};
  auto it = std::find(F->Windows.begin(), F->Windows.end(), AccessibleId(node));
  if (it == F->Windows.end()) return;
  auto index = static_cast<int32_t>(it - F->Windows.begin());
  F->Windows.erase(it);
  F->Emit(node, kIfEventWindow, "Deactivate", "", 0, std::string());
  F->Emit(node, kIfEventWindow, "Destroy", "", 0, std::string());
  F->Emit({}, kIfEventObject, "ChildrenChanged", "remove", index, F->RefOf(node));
}

void TAtSpiBridge::Dispatch() {
  dbus_connection_read_write(F->Connection, 0);
  while (dbus_connection_dispatch(F->Connection) == DBUS_DISPATCH_DATA_REMAINS) {
  }
  // A press may open a modal dialog whose loop comes back here: the list is taken first.
  std::vector<uint32_t> actions;
  actions.swap(F->PendingActions);
  for (uint32_t id : actions)
    if (PressableNow(NodeOfId(id))) DoAccessibleAction(NodeOfId(id), 0);
  std::vector<std::pair<uint32_t, std::function<void(TAccessibleNode)>>> changes;
  changes.swap(F->PendingChanges);
  for (auto& [id, change] : changes) {
    TAccessibleNode node = NodeOfId(id);
    try {
      if (node) change(node);
    } catch (const EListError&) {
      // The item went meanwhile, as a press that comes too late.
    }
  }
  dbus_connection_flush(F->Connection);
}

}  // namespace zelvar
