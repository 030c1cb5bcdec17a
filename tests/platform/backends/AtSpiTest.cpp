// The AT-SPI2 bridge on a private bus of the test's own, asked as a screen reader asks: over
// D-Bus, from a second connection in this process. The whole chain with the registry and
// pyatspi is tests/a11y.

#include "platform/backends/AtSpi.h"

#include <dbus/dbus.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/controls/Accessibility.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

TEST(AtSpiPaths, IdsRoundTripAndOtherPathsAreNoNode) {
  EXPECT_EQ(TAtSpiBridge::PathOfId(42), "/org/a11y/atspi/accessible/42");
  EXPECT_EQ(TAtSpiBridge::IdOfPath(TAtSpiBridge::PathOfId(7)), 7u);
  for (const char* path :
       {TAtSpiBridge::kRootPath, "/org/a11y/atspi/accessible/", "/org/a11y/atspi/accessible/0",
        "/org/a11y/atspi/accessible/012", "/org/a11y/atspi/accessible/12x",
        "/org/a11y/atspi/accessible/99999999999", "/org/a11y/atspi/cache/3", ""})
    EXPECT_EQ(TAtSpiBridge::IdOfPath(path), 0u) << path;
}

TEST(AtSpiOpen, IsOffWithoutABus) {
  TEnvVar a11y("AT_SPI_BUS_ADDRESS", nullptr), session("DBUS_SESSION_BUS_ADDRESS", nullptr);
  std::string why;
  EXPECT_EQ(TAtSpiBridge::Open(&why), nullptr);
  EXPECT_EQ(why, "no session bus");
  TEnvVar dead("AT_SPI_BUS_ADDRESS", "unix:path=/nonexistent/zelvar-bus");
  EXPECT_EQ(TAtSpiBridge::Open(&why), nullptr);
  EXPECT_NE(why.find("/nonexistent/zelvar-bus"), std::string::npos) << why;
}

// A dialog with a button and a labelled edit, a bridge on a private bus, and a client on it.
class AtSpi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FILE* out =
        ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (!out) return;
    char line[512];
    if (std::fgets(line, sizeof line, out)) Address = std::string(line, std::strcspn(line, "\n"));
    if (std::fgets(line, sizeof line, out)) DaemonPid = std::atoi(line);
    ::pclose(out);
  }
  static void TearDownTestSuite() {
    if (DaemonPid > 0) ::kill(DaemonPid, SIGTERM);
  }

  void SetUp() override {
    if (Address.empty()) GTEST_SKIP() << "no dbus-daemon to run a private bus";
    Form.reset(New<TForm>(nullptr));
    Form->SetName("Dialog");
    Form->SetCaption("Setup");
    Form->SetBounds(50, 60, 300, 200);
    Form->SetVisible(true);
    auto* label = New<TLabel>(Form.get());
    label->SetCaption("&Folder:");
    label->SetParent(Form.get());
    Edit = New<TEdit>(Form.get());
    Edit->SetBounds(80, 10, 100, 20);
    Edit->SetParent(Form.get());
    Edit->SetText("abc");
    label->SetFocusControl(Edit);
    Next = New<TButton>(Form.get());
    Next->SetBounds(200, 150, 80, 24);
    Next->SetCaption("&Next");
    Next->SetParent(Form.get());
    Next->OnClick = [this](TObject*) { ++Clicks; };

    // The client plays the registry too, which the bridge asks to embed its root.
    DBusError error;
    dbus_error_init(&error);
    Client = dbus_connection_open_private(Address.c_str(), &error);
    ASSERT_NE(Client, nullptr) << error.message;
    ASSERT_TRUE(dbus_bus_register(Client, &error)) << error.message;
    ASSERT_EQ(dbus_bus_request_name(Client, "org.a11y.atspi.Registry", 0, &error),
              DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER);
    dbus_bus_add_match(Client, "type='signal',interface='org.a11y.atspi.Event.Object'", nullptr);
    dbus_bus_add_match(Client, "type='signal',interface='org.a11y.atspi.Event.Window'", nullptr);
    TEnvVar bus("AT_SPI_BUS_ADDRESS", Address.c_str());
    std::string why;
    Bridge = TAtSpiBridge::Open(&why);
    ASSERT_NE(Bridge, nullptr) << why;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (BridgeName.empty() && std::chrono::steady_clock::now() < end) {
      Bridge->Dispatch();
      dbus_connection_read_write(Client, 10);
      while (DBusMessage* m = dbus_connection_pop_message(Client)) {
        if (dbus_message_is_method_call(m, "org.a11y.atspi.Socket", "Embed")) {
          BridgeName = dbus_message_get_sender(m);
          EmbedPath = dbus_message_get_path(m);
          EmbedSignature = dbus_message_get_signature(m);
          DBusMessage* reply = dbus_message_new_method_return(m);
          DBusMessageIter it, desktop;
          dbus_message_iter_init_append(reply, &it);
          dbus_message_iter_open_container(&it, DBUS_TYPE_STRUCT, nullptr, &desktop);
          const char* name = dbus_bus_get_unique_name(Client);
          const char* path = "/org/a11y/atspi/accessible/root";
          dbus_message_iter_append_basic(&desktop, DBUS_TYPE_STRING, &name);
          dbus_message_iter_append_basic(&desktop, DBUS_TYPE_OBJECT_PATH, &path);
          dbus_message_iter_close_container(&it, &desktop);
          dbus_connection_send(Client, reply, nullptr);
          dbus_message_unref(reply);
        }
        dbus_message_unref(m);
      }
    }
    ASSERT_FALSE(BridgeName.empty()) << "the bridge never asked to be embedded";
  }
  void TearDown() override {
    if (Client) {
      dbus_connection_close(Client);
      dbus_connection_unref(Client);
    }
    Bridge.reset();
    Form.reset();
  }

  struct Reply {
    std::shared_ptr<DBusMessage> Message;
    std::string Error;
    bool Ok() const { return Message && Error.empty(); }
  };

  // Calls a method of the bridge and lets the bridge answer; args appends the arguments.
  Reply Call(const std::string& path, const char* iface, const char* member,
             const std::function<void(DBusMessage*)>& args = {}) {
    DBusMessage* call =
        dbus_message_new_method_call(BridgeName.c_str(), path.c_str(), iface, member);
    if (args) args(call);
    DBusPendingCall* pending = nullptr;
    dbus_connection_send_with_reply(Client, call, &pending, 5000);
    dbus_message_unref(call);
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!dbus_pending_call_get_completed(pending) && std::chrono::steady_clock::now() < end) {
      dbus_connection_read_write(Client, 0);
      Bridge->Dispatch();
      dbus_connection_read_write_dispatch(Client, 5);
    }
    Reply reply;
    reply.Message.reset(dbus_pending_call_steal_reply(pending), dbus_message_unref);
    dbus_pending_call_unref(pending);
    if (!reply.Message)
      reply.Error = "no answer";
    else if (dbus_message_get_type(reply.Message.get()) == DBUS_MESSAGE_TYPE_ERROR)
      reply.Error = dbus_message_get_error_name(reply.Message.get());
    return reply;
  }
  std::string PathOf(TControl* c) { return TAtSpiBridge::PathOfId(AccessibleId({c})); }

  // The first basic value of a reply (through a variant).
  template <class T>
  static T First(const Reply& r) {
    DBusMessageIter it, inner;
    dbus_message_iter_init(r.Message.get(), &it);
    if (dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_VARIANT) {
      dbus_message_iter_recurse(&it, &inner);
      it = inner;
    }
    T v{};
    dbus_message_iter_get_basic(&it, &v);
    return v;
  }
  static std::string Text(const Reply& r) { return First<const char*>(r); }
  Reply Property(const std::string& path, const char* iface, const char* name) {
    return Call(path, DBUS_INTERFACE_PROPERTIES, "Get", [&](DBusMessage* m) {
      dbus_message_append_args(m, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING, &name,
                               DBUS_TYPE_INVALID);
    });
  }
  // Sets a property to one basic value of the given type.
  Reply SetProperty(const std::string& path, const char* iface, const char* name, int type,
                    const void* value) {
    return Call(path, DBUS_INTERFACE_PROPERTIES, "Set", [&](DBusMessage* m) {
      DBusMessageIter a, v;
      const char signature[] = {static_cast<char>(type), '\0'};
      dbus_message_iter_init_append(m, &a);
      dbus_message_iter_append_basic(&a, DBUS_TYPE_STRING, &iface);
      dbus_message_iter_append_basic(&a, DBUS_TYPE_STRING, &name);
      dbus_message_iter_open_container(&a, DBUS_TYPE_VARIANT, signature, &v);
      dbus_message_iter_append_basic(&v, type, value);
      dbus_message_iter_close_container(&a, &v);
    });
  }

  // The signals that reached the client, as "member detail text-or-number".
  std::vector<std::string> Signals() {
    Bridge->Dispatch();
    std::vector<std::string> out;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < end) {
      dbus_connection_read_write(Client, 10);
      while (DBusMessage* m = dbus_connection_pop_message(Client)) {
        if (dbus_message_get_type(m) == DBUS_MESSAGE_TYPE_SIGNAL &&
            std::string(dbus_message_get_interface(m)).starts_with("org.a11y.atspi.Event.")) {
          DBusMessageIter it, data;
          dbus_message_iter_init(m, &it);
          const char* detail = nullptr;
          dbus_message_iter_get_basic(&it, &detail);
          dbus_message_iter_next(&it);
          int32_t detail1 = 0;
          dbus_message_iter_get_basic(&it, &detail1);
          dbus_message_iter_next(&it);
          dbus_message_iter_next(&it);
          dbus_message_iter_recurse(&it, &data);
          const char* text = nullptr;
          if (dbus_message_iter_get_arg_type(&data) == DBUS_TYPE_STRING)
            dbus_message_iter_get_basic(&data, &text);
          std::string what = text && *text ? text : std::to_string(detail1);
          out.push_back(std::string(dbus_message_get_member(m)) + " " + detail + " " + what + " " +
                        dbus_message_get_path(m));
        }
        dbus_message_unref(m);
      }
    }
    return out;
  }

  static inline std::string Address;
  static inline int DaemonPid = 0;
  std::unique_ptr<TForm> Form;
  TEdit* Edit = nullptr;
  TButton* Next = nullptr;
  int Clicks = 0;
  std::unique_ptr<TAtSpiBridge> Bridge;
  DBusConnection* Client = nullptr;
  std::string BridgeName, EmbedPath, EmbedSignature;
};

TEST_F(AtSpi, TheRootIsEmbeddedAndNamesTheToolkit) {
  EXPECT_EQ(EmbedPath, TAtSpiBridge::kRootPath);
  EXPECT_EQ(EmbedSignature, "(so)");
  const char* root = TAtSpiBridge::kRootPath;
  EXPECT_EQ(First<uint32_t>(Call(root, "org.a11y.atspi.Accessible", "GetRole")), 75u);
  EXPECT_EQ(Text(Property(root, "org.a11y.atspi.Application", "ToolkitName")), "Zelvar");
  // The registry's answer made its desktop the root's parent.
  Reply parent = Property(root, "org.a11y.atspi.Accessible", "Parent");
  ASSERT_TRUE(parent.Ok()) << parent.Error;
  DBusMessageIter it, variant, ref;
  dbus_message_iter_init(parent.Message.get(), &it);
  dbus_message_iter_recurse(&it, &variant);
  dbus_message_iter_recurse(&variant, &ref);
  const char* bus = nullptr;
  dbus_message_iter_get_basic(&ref, &bus);
  EXPECT_STREQ(bus, dbus_bus_get_unique_name(Client));
  // The registry numbers the application.
  int32_t id = 7;
  Reply set = SetProperty(root, "org.a11y.atspi.Application", "Id", DBUS_TYPE_INT32, &id);
  EXPECT_TRUE(set.Ok()) << set.Error;
  EXPECT_EQ(First<int32_t>(Property(root, "org.a11y.atspi.Application", "Id")), 7);
}

TEST_F(AtSpi, AButtonHasItsRoleNameStatesAndAPressThatRunsAfterTheAnswer) {
  std::string next = PathOf(Next);
  EXPECT_EQ(First<uint32_t>(Call(next, "org.a11y.atspi.Accessible", "GetRole")), 43u);
  EXPECT_EQ(Text(Property(next, "org.a11y.atspi.Accessible", "Name")), "Next");
  EXPECT_EQ(First<int32_t>(Property(next, "org.a11y.atspi.Action", "NActions")), 1);
  Reply state = Call(next, "org.a11y.atspi.Accessible", "GetState");
  DBusMessageIter it, words;
  dbus_message_iter_init(state.Message.get(), &it);
  dbus_message_iter_recurse(&it, &words);
  uint32_t low = 0;
  dbus_message_iter_get_basic(&words, &low);
  EXPECT_TRUE(low & (1u << 8)) << "enabled";
  EXPECT_TRUE(low & (1u << 25)) << "showing";
  EXPECT_FALSE(low & (1u << 4)) << "checked";

  auto doAction = [&](int32_t index) {
    return Call(next, "org.a11y.atspi.Action", "DoAction", [&](DBusMessage* m) {
      dbus_message_append_args(m, DBUS_TYPE_INT32, &index, DBUS_TYPE_INVALID);
    });
  };
  Reply pressed = doAction(0);
  ASSERT_TRUE(pressed.Ok()) << pressed.Error;
  EXPECT_TRUE(First<dbus_bool_t>(pressed));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(doAction(1).Error, DBUS_ERROR_INVALID_ARGS);
  // A disabled button answers no and is not pressed.
  Next->SetEnabled(false);
  EXPECT_FALSE(First<dbus_bool_t>(doAction(0)));
  EXPECT_EQ(Clicks, 1);
  // A label has no action to call.
  EXPECT_EQ(Call(PathOf(Form->Controls(0)), "org.a11y.atspi.Action", "DoAction").Error,
            DBUS_ERROR_UNKNOWN_METHOD);
}

TEST_F(AtSpi, TextIsReadAndEditedInCharacters) {
  std::string edit = PathOf(Edit);
  EXPECT_EQ(Text(Property(edit, "org.a11y.atspi.Accessible", "Name")), "Folder:");
  auto call = [&](const char* iface, const char* member, auto... args) {
    return Call(edit, iface, member,
                [&](DBusMessage* m) { dbus_message_append_args(m, args..., DBUS_TYPE_INVALID); });
  };
  const char* umlauts = "Grüße";
  EXPECT_TRUE(
      call("org.a11y.atspi.EditableText", "SetTextContents", DBUS_TYPE_STRING, &umlauts).Ok());
  EXPECT_EQ(Edit->Text(), "Grüße");
  EXPECT_EQ(First<int32_t>(Property(edit, "org.a11y.atspi.Text", "CharacterCount")), 5);
  int32_t from = 2, to = 4, all = -1, zero = 0;
  EXPECT_EQ(
      Text(call("org.a11y.atspi.Text", "GetText", DBUS_TYPE_INT32, &from, DBUS_TYPE_INT32, &to)),
      "üß");
  const char* more = "xyz";
  int32_t two = 2;
  EXPECT_TRUE(call("org.a11y.atspi.EditableText", "InsertText", DBUS_TYPE_INT32, &to,
                   DBUS_TYPE_STRING, &more, DBUS_TYPE_INT32, &two)
                  .Ok());
  EXPECT_EQ(
      Text(call("org.a11y.atspi.Text", "GetText", DBUS_TYPE_INT32, &zero, DBUS_TYPE_INT32, &all)),
      "Grüßxye");
  EXPECT_TRUE(call("org.a11y.atspi.EditableText", "DeleteText", DBUS_TYPE_INT32, &zero,
                   DBUS_TYPE_INT32, &two)
                  .Ok());
  EXPECT_EQ(Edit->Text(), "üßxye");
  // Past the end, and into a read-only edit: the toolkit's refusal reaches the client.
  int32_t far = 40;
  EXPECT_EQ(call("org.a11y.atspi.EditableText", "DeleteText", DBUS_TYPE_INT32, &zero,
                 DBUS_TYPE_INT32, &far)
                .Error,
            DBUS_ERROR_FAILED);
  Edit->SetReadOnly(true);
  EXPECT_EQ(call("org.a11y.atspi.EditableText", "SetTextContents", DBUS_TYPE_STRING, &more).Error,
            DBUS_ERROR_UNKNOWN_METHOD);
  EXPECT_EQ(Edit->Text(), "üßxye");
}

// A memo read as Orca reads it: by line, by word, and the line before and after.
TEST_F(AtSpi, AMemoAnswersByLineAndWord) {
  auto* memo = New<TMemo>(Form.get());
  memo->SetBounds(10, 40, 200, 80);
  memo->SetParent(Form.get());
  memo->SetText("Terms apply.\nRead them twice\nEnd");
  std::string path = PathOf(memo);
  struct TAnswer {
    std::string Text;
    int32_t Start = -1, End = -1;
  };
  auto ask = [&](const char* member, int32_t offset, uint32_t kind) {
    Reply r = Call(path, "org.a11y.atspi.Text", member, [&](DBusMessage* m) {
      dbus_message_append_args(m, DBUS_TYPE_INT32, &offset, DBUS_TYPE_UINT32, &kind,
                               DBUS_TYPE_INVALID);
    });
    TAnswer a;
    const char* text = nullptr;
    if (r.Ok())
      dbus_message_get_args(r.Message.get(), nullptr, DBUS_TYPE_STRING, &text, DBUS_TYPE_INT32,
                            &a.Start, DBUS_TYPE_INT32, &a.End, DBUS_TYPE_INVALID);
    a.Text = text ? text : r.Error;
    return a;
  };
  TAnswer line = ask("GetStringAtOffset", 15, 3);
  EXPECT_EQ(line.Text, "Read them twice\n");
  EXPECT_EQ(line.Start, 13);
  EXPECT_EQ(line.End, 29);
  EXPECT_EQ(ask("GetStringAtOffset", 20, 1).Text, "them ");
  EXPECT_EQ(ask("GetStringAtOffset", 2, 2).Text, "Terms apply.\n");
  EXPECT_EQ(ask("GetTextAtOffset", 15, 5).Text, "Read them twice\n");
  EXPECT_EQ(ask("GetTextBeforeOffset", 15, 5).Text, "Terms apply.\n");
  EXPECT_EQ(ask("GetTextAfterOffset", 15, 5).Text, "End");
  EXPECT_EQ(ask("GetTextAtOffset", 15, 0).Text, "a");
  EXPECT_EQ(ask("GetStringAtOffset", 15, 5).Text, DBUS_ERROR_INVALID_ARGS);
  EXPECT_EQ(ask("GetTextAtOffset", 15, 7).Text, DBUS_ERROR_INVALID_ARGS);
}

TEST_F(AtSpi, AFieldIsLabelledByItsLabelAndTheLabelIsForIt) {
  // Each relation as "type path...", in the order given.
  auto relations = [&](const std::string& path) {
    Reply r = Call(path, "org.a11y.atspi.Accessible", "GetRelationSet");
    std::vector<std::string> out;
    DBusMessageIter it, array, relation, targets, ref;
    dbus_message_iter_init(r.Message.get(), &it);
    for (dbus_message_iter_recurse(&it, &array);
         dbus_message_iter_get_arg_type(&array) == DBUS_TYPE_STRUCT;
         dbus_message_iter_next(&array)) {
      dbus_message_iter_recurse(&array, &relation);
      uint32_t type = 0;
      dbus_message_iter_get_basic(&relation, &type);
      std::string line = std::to_string(type);
      dbus_message_iter_next(&relation);
      for (dbus_message_iter_recurse(&relation, &targets);
           dbus_message_iter_get_arg_type(&targets) == DBUS_TYPE_STRUCT;
           dbus_message_iter_next(&targets)) {
        dbus_message_iter_recurse(&targets, &ref);
        dbus_message_iter_next(&ref);
        const char* target = nullptr;
        dbus_message_iter_get_basic(&ref, &target);
        line += std::string(" ") + target;
      }
      out.push_back(line);
    }
    return out;
  };
  std::string label = PathOf(Form->Controls(0)), edit = PathOf(Edit);
  EXPECT_EQ(relations(edit), std::vector<std::string>{"2 " + label});
  EXPECT_EQ(relations(label), std::vector<std::string>{"1 " + edit});
  EXPECT_TRUE(relations(PathOf(Next)).empty());
  EXPECT_TRUE(relations(TAtSpiBridge::kRootPath).empty());
}

TEST_F(AtSpi, AListSelectsItsItemsAsAClickDoes) {
  auto* list = New<TListBox>(Form.get());
  list->SetBounds(10, 40, 100, 80);
  list->SetParent(Form.get());
  for (const char* item : {"Typical", "Custom"}) list->Items()->Add(item);
  list->OnClick = [this](TObject*) { ++Clicks; };
  std::string path = PathOf(list);
  auto call = [&](const char* member, std::optional<int32_t> index = std::nullopt) {
    return Call(path, "org.a11y.atspi.Selection", member, [&](DBusMessage* m) {
      if (index) dbus_message_append_args(m, DBUS_TYPE_INT32, &*index, DBUS_TYPE_INVALID);
    });
  };
  Reply interfaces = Call(path, "org.a11y.atspi.Accessible", "GetInterfaces");
  std::vector<std::string> names;
  DBusMessageIter it, array;
  dbus_message_iter_init(interfaces.Message.get(), &it);
  for (dbus_message_iter_recurse(&it, &array);
       dbus_message_iter_get_arg_type(&array) == DBUS_TYPE_STRING; dbus_message_iter_next(&array)) {
    const char* name = nullptr;
    dbus_message_iter_get_basic(&array, &name);
    names.push_back(name);
  }
  EXPECT_NE(std::find(names.begin(), names.end(), "org.a11y.atspi.Selection"), names.end());
  EXPECT_EQ(First<int32_t>(Property(path, "org.a11y.atspi.Selection", "NSelectedChildren")), 0);
  EXPECT_TRUE(First<dbus_bool_t>(call("SelectChild", 1)));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(First<int32_t>(Property(path, "org.a11y.atspi.Selection", "NSelectedChildren")), 1);
  EXPECT_TRUE(First<dbus_bool_t>(call("IsChildSelected", 1)));
  EXPECT_FALSE(First<dbus_bool_t>(call("IsChildSelected", 0)));
  Reply child = call("GetSelectedChild", 0);
  DBusMessageIter ref;
  dbus_message_iter_init(child.Message.get(), &it);
  dbus_message_iter_recurse(&it, &ref);
  dbus_message_iter_next(&ref);
  const char* selected = nullptr;
  dbus_message_iter_get_basic(&ref, &selected);
  EXPECT_EQ(selected, TAtSpiBridge::PathOfId(AccessibleId({list, 1})));
  EXPECT_EQ(Text(Property(selected, "org.a11y.atspi.Accessible", "Name")), "Custom");
  // A single-select list neither takes all nor lets go; an item past the end is an error.
  EXPECT_FALSE(First<dbus_bool_t>(call("SelectAll")));
  EXPECT_FALSE(First<dbus_bool_t>(call("ClearSelection")));
  EXPECT_FALSE(First<dbus_bool_t>(call("DeselectSelectedChild", 0)));
  EXPECT_EQ(call("SelectChild", 5).Error, DBUS_ERROR_FAILED);
  list->SetMultiSelect(true);
  EXPECT_TRUE(First<dbus_bool_t>(call("SelectAll")));
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(First<dbus_bool_t>(call("DeselectSelectedChild", 0)));
  EXPECT_FALSE(list->Selected(0));
  EXPECT_EQ(Clicks, 3);
  // A button selects nothing.
  EXPECT_EQ(Call(PathOf(Next), "org.a11y.atspi.Selection", "SelectAll").Error,
            DBUS_ERROR_UNKNOWN_METHOD);
}

TEST_F(AtSpi, AScrollBarsValueIsSetAndAProgressBarsRefused) {
  auto* bar = New<TScrollBar>(Form.get());
  bar->SetParent(Form.get());
  bar->SetParams(5, 0, 50);
  auto* progress = New<TProgressBar>(Form.get());
  progress->SetParent(Form.get());
  auto set = [&](TControl* c, double value) {
    return SetProperty(PathOf(c), "org.a11y.atspi.Value", "CurrentValue", DBUS_TYPE_DOUBLE, &value);
  };
  Reply moved = set(bar, 20);
  EXPECT_TRUE(moved.Ok()) << moved.Error;
  EXPECT_EQ(bar->Position(), 20);
  EXPECT_EQ(First<double>(Property(PathOf(bar), "org.a11y.atspi.Value", "CurrentValue")), 20.0);
  EXPECT_TRUE(set(bar, 400).Ok());
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(set(progress, 3).Error, DBUS_ERROR_FAILED);
  EXPECT_EQ(progress->Position(), 0);
  EXPECT_EQ(set(Next, 3).Error, DBUS_ERROR_INVALID_ARGS);
}

TEST_F(AtSpi, ChildrenAndUnknownObjects) {
  Reply children = Call(PathOf(Form.get()), "org.a11y.atspi.Accessible", "GetChildren");
  ASSERT_TRUE(children.Ok()) << children.Error;
  std::vector<std::string> paths;
  DBusMessageIter it, array, ref;
  dbus_message_iter_init(children.Message.get(), &it);
  for (dbus_message_iter_recurse(&it, &array);
       dbus_message_iter_get_arg_type(&array) == DBUS_TYPE_STRUCT; dbus_message_iter_next(&array)) {
    dbus_message_iter_recurse(&array, &ref);
    dbus_message_iter_next(&ref);
    const char* path = nullptr;
    dbus_message_iter_get_basic(&ref, &path);
    paths.push_back(path);
  }
  EXPECT_EQ(paths,
            (std::vector<std::string>{PathOf(Edit), PathOf(Next), PathOf(Form->Controls(0))}));
  EXPECT_EQ(First<int32_t>(Call(PathOf(Next), "org.a11y.atspi.Accessible", "GetIndexInParent")), 1);
  // A node whose control is gone is no longer there.
  std::string gone = PathOf(Next);
  delete Next;
  EXPECT_EQ(Call(gone, "org.a11y.atspi.Accessible", "GetRole").Error, DBUS_ERROR_UNKNOWN_OBJECT);
  EXPECT_EQ(Call("/org/a11y/atspi/accessible/0", "org.a11y.atspi.Accessible", "GetRole").Error,
            DBUS_ERROR_UNKNOWN_OBJECT);
}

TEST_F(AtSpi, HubEventsGoOutAsSignals) {
  Signals();
  Announce(Form.get(), "Step 2 of 6: Licence");
  Next->SetCaption("&Go");
  std::vector<std::string> heard = Signals();
  EXPECT_EQ(heard,
            (std::vector<std::string>{"Announcement  Step 2 of 6: Licence " + PathOf(Form.get()),
                                      "PropertyChange accessible-name Go " + PathOf(Next)}));
}

}  // namespace
}  // namespace zelvar::test

namespace zelvar::test {
namespace {

// Two presses in a row, the first of which disables the button (Next on the last page): the
// second is dropped, never an error out of the window loop.
TEST_F(AtSpi, APressThatComesTooLateIsDropped) {
  Next->OnClick = [this](TObject*) {
    ++Clicks;
    Next->SetEnabled(false);
  };
  std::string next = PathOf(Next);
  std::vector<DBusPendingCall*> pending;
  for (int i = 0; i < 2; ++i) {
    DBusMessage* call = dbus_message_new_method_call(BridgeName.c_str(), next.c_str(),
                                                     "org.a11y.atspi.Action", "DoAction");
    int32_t index = 0;
    dbus_message_append_args(call, DBUS_TYPE_INT32, &index, DBUS_TYPE_INVALID);
    dbus_connection_send_with_reply(Client, call, &pending.emplace_back(), 5000);
    dbus_message_unref(call);
  }
  dbus_connection_flush(Client);
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!dbus_pending_call_get_completed(pending[1]) && std::chrono::steady_clock::now() < end) {
    EXPECT_NO_THROW(Bridge->Dispatch());
    dbus_connection_read_write_dispatch(Client, 5);
  }
  for (DBusPendingCall* p : pending) {
    EXPECT_TRUE(dbus_pending_call_get_completed(p));
    dbus_pending_call_unref(p);
  }
  EXPECT_EQ(Clicks, 1);
}

}  // namespace
}  // namespace zelvar::test

namespace zelvar::test {
namespace {

TEST_F(AtSpi, AWindowOpeningAndClosingChangesTheApplicationsChildren) {
  Signals();
  std::string root = TAtSpiBridge::kRootPath, form = PathOf(Form.get());
  Bridge->FormShown(Form.get());
  EXPECT_EQ(Signals(), (std::vector<std::string>{"ChildrenChanged add 0 " + root,
                                                 "Create  0 " + form, "Activate  0 " + form}));
  Bridge->FormHidden(Form.get());
  EXPECT_EQ(Signals(), (std::vector<std::string>{"Deactivate  0 " + form, "Destroy  0 " + form,
                                                 "ChildrenChanged remove 0 " + root}));
  // A form the bridge never saw shown is no window of it.
  Bridge->FormHidden(Form.get());
  EXPECT_TRUE(Signals().empty());
}

}  // namespace
}  // namespace zelvar::test
