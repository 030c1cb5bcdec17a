#include "platform/core/TypInfo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/TestSupport.h"

#include "tests/platform/core/TestClasses.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> Names(const std::vector<const TPropInfo*>& props) {
  std::vector<std::string> names;
  for (auto* p : props) names.push_back(p->Name);
  return names;
}

using zelvar::test::MessageOf;

// Declares its properties public, with a default and a stored rule, for descendants to publish.
class TPublicBase : public TComponent {
  ZELVAR_CLASS(TPublicBase, TComponent)

 public:
  using TComponent::TComponent;
  bool LabelStored() const { return KeepLabel; }
  int32_t Size = 3;
  std::string Label;
  bool KeepLabel = false;
};

class TPublisher : public TPublicBase {
  ZELVAR_CLASS(TPublisher, TPublicBase)

 public:
  using TPublicBase::TPublicBase;
  int32_t Own = 0;
};

// Publishes Label with a rule of its own in place of the inherited one.
class TLabelKeeper : public TPublisher {
  ZELVAR_CLASS(TLabelKeeper, TPublisher)

 public:
  using TPublisher::TPublisher;
};

const TClassInfo& TPublicBase::StaticClassInfo() {
  static const auto info = TClassBuilder<TPublicBase>("TPublicBase")
                               .Public("Size", &TPublicBase::Size, &TPublicBase::Size)
                               .Default(3)
                               .Public("Label", &TPublicBase::Label, &TPublicBase::Label)
                               .Stored(&TPublicBase::LabelStored)
                               .Build();
  return *info;
}

const TClassInfo& TPublisher::StaticClassInfo() {
  static const auto info = TClassBuilder<TPublisher>("TPublisher")
                               .Property("Own", &TPublisher::Own, &TPublisher::Own)
                               .Publish("Label")
                               .Publish("Size")
                               .Default(4)
                               .Build();
  return *info;
}

const TClassInfo& TLabelKeeper::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TLabelKeeper>("TLabelKeeper").Publish("Size", "Label").Stored(true).Build();
  return *info;
}

TEST(ClassInfo, PublishedPropertiesInDeclarationOrderBaseFirst) {
  EXPECT_THAT(Names(TThing::StaticClassInfo().PublishedProps()),
              ElementsAre("Name", "Tag", "Count", "Flag", "Small", "Shade", "Shades", "Caption",
                          "Sub", "Buddy", "Lines", "OnPage", "OnAsk"));
  // A redeclared property keeps its ancestor's place and takes the new default.
  auto big = TBigThing::StaticClassInfo().PublishedProps();
  EXPECT_EQ(big[2]->Name, "Count");
  EXPECT_EQ(big[2]->Default, 2);
  EXPECT_EQ(big.back()->Name, "Extra");
  EXPECT_TRUE(TBigThing::StaticClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_FALSE(TThing::StaticClassInfo().InheritsFrom(TBigThing::StaticClassInfo()));
}

TEST(ClassInfo, PublishCopiesAnAncestorsPropertyHereWithItsRules) {
  const TClassInfo& ci = TPublisher::StaticClassInfo();
  EXPECT_THAT(Names(ci.PublishedProps()), ElementsAre("Name", "Tag", "Own", "Label", "Size"));
  EXPECT_EQ(ci.FindProp("Size")->Default, 4);
  // The ancestor's declaration stays as it was.
  const TPropInfo* base = TPublicBase::StaticClassInfo().FindProp("Size");
  EXPECT_FALSE(base->Published);
  EXPECT_EQ(base->Default, 3);
  EXPECT_THAT(Names(TPublicBase::StaticClassInfo().PublishedProps()), ElementsAre("Name", "Tag"));

  TPublisher p(nullptr);
  SetPropText(&p, "Size", "9");  // through the ancestor's accessors
  EXPECT_EQ(p.Size, 9);
  const TPropInfo* label = ci.FindProp("Label");
  EXPECT_FALSE(label->IsStored(&p));  // the inherited stored rule
  p.KeepLabel = true;
  EXPECT_TRUE(label->IsStored(&p));

  // Published again further down: the place stays, a new Stored replaces the whole rule.
  const TClassInfo& keeper = TLabelKeeper::StaticClassInfo();
  EXPECT_EQ(Names(keeper.PublishedProps()), Names(ci.PublishedProps()));
  EXPECT_EQ(keeper.FindProp("Size")->Default, 4);
  TLabelKeeper k(nullptr);
  EXPECT_TRUE(keeper.FindProp("Label")->IsStored(&k));
}

TEST(ClassInfo, PublishingANameNoAncestorDeclaresFailsAtOnce) {
  EXPECT_EQ(MessageOf<EPropertyError>([] { TClassBuilder<TPublisher>("TBad").Publish("Nope"); }),
            "Class TBad cannot publish Nope: no ancestor declares it");
  // A class's own property is not its ancestor's.
  EXPECT_EQ(
      MessageOf<EPropertyError>([] { TClassBuilder<TPublisher>("TBad").Publish("Size", "Own"); }),
      "Class TBad cannot publish Own: no ancestor declares it");
}

TEST(ClassInfo, KindsFollowTheFieldTypes) {
  const TClassInfo& ci = TThing::StaticClassInfo();
  EXPECT_EQ(ci.FindProp("count")->Kind, TPropKind::Integer);
  EXPECT_EQ(ci.FindProp("Flag")->Kind, TPropKind::Boolean);
  EXPECT_EQ(ci.FindProp("Shade")->Kind, TPropKind::Enumeration);
  EXPECT_EQ(ci.FindProp("Shades")->Kind, TPropKind::Set);
  EXPECT_EQ(ci.FindProp("Sub")->Kind, TPropKind::Object);
  EXPECT_EQ(ci.FindProp("Buddy")->Kind, TPropKind::Component);
  EXPECT_EQ(ci.FindProp("Lines")->Kind, TPropKind::Strings);
  EXPECT_EQ(ci.FindProp("OnAsk")->Kind, TPropKind::Method);
  EXPECT_FALSE(ci.FindProp("Name")->IsStored(nullptr));
  EXPECT_FALSE(ci.FindProp("LastPosition")->Published);
}

TEST(PublishedMembers, MethodsByNameWithCheckedSignature) {
  TThing t(nullptr);
  TMethod m = t.MethodAddress("setnewposition");
  ASSERT_TRUE(m);
  EXPECT_EQ(m.Name(), "SetNewPosition");
  m.As<void(int32_t)>()(42);
  EXPECT_EQ(t.LastPosition, 42);
  EXPECT_FALSE(t.MethodAddress("NoSuchMethod"));
  EXPECT_THROW(m.As<void(bool)>(), EInvalidCast);
  EXPECT_THROW(m.As<int(int32_t)>(), EInvalidCast);
  EXPECT_THAT(MessageOf<EInvalidCast>([&] { m.As<void()>(); }),
              HasSubstr("TThing.SetNewPosition has the signature void (int), not void ()"));
  // A derived class finds its ancestors' methods.
  TBigThing big(nullptr);
  big.MethodAddress("SetNewPosition").As<void(int32_t)>()(3);
  EXPECT_EQ(big.LastPosition, 3);
}

TEST(PublishedMembers, FieldsByName) {
  TThing owner(nullptr);
  auto* other = new TThing(&owner);
  TFieldRef f = owner.FieldAddress("FPartner");
  ASSERT_TRUE(f);
  EXPECT_EQ(f.Get(), nullptr);
  f.Set(other);
  EXPECT_EQ(owner.FPartner, other);
  EXPECT_FALSE(owner.FieldAddress("FNothing"));
  TStringList notAThing;
  EXPECT_THROW(f.Set(&notAThing), EInvalidCast);
  EXPECT_EQ(owner.FPartner, other);
}

TEST(PropertyAccess, EveryKindReadsAndWritesInFormFileSyntax) {
  TThing form(nullptr);
  form.SetName("Form1");
  auto* t = new TThing(&form);
  t->SetName("Thing1");
  auto* buddy = new TThing(&form);
  buddy->SetName("Buddy1");

  SetPropText(t, "Count", "-12");
  EXPECT_EQ(t->Count, -12);
  EXPECT_EQ(t->CountWrites, 1);  // through the setter
  SetPropText(t, "Flag", "false");
  SetPropText(t, "Shade", "shblue");
  SetPropText(t, "Shades", "[shRed, shBlue]");
  SetPropText(t, "Caption", "'it''s'#9'x'");
  SetPropText(t, "Sub.Num", "$7F");
  SetPropText(t, "Buddy", "Buddy1");
  SetPropText(t, "Lines", "('Dialog' 'Page 1')");
  SetPropText(t, "Tag", "7");

  EXPECT_EQ(GetPropText(t, "Count"), "-12");
  EXPECT_EQ(GetPropText(t, "Flag"), "False");
  EXPECT_EQ(GetPropText(t, "Shade"), "shBlue");
  EXPECT_EQ(GetPropText(t, "Shades"), "[shRed, shBlue]");
  EXPECT_EQ(t->Caption, "it's\tx");
  EXPECT_EQ(GetPropText(t, "Caption"), "'it''s'#9'x'");
  EXPECT_EQ(t->Sub->Num, 127);
  EXPECT_EQ(t->Buddy, buddy);
  EXPECT_EQ(GetPropText(t, "Buddy"), "Buddy1");
  EXPECT_EQ(GetPropText(t, "Lines"), "('Dialog' 'Page 1')");
  EXPECT_EQ(GetPropText(t, "Lines.Strings"), "('Dialog' 'Page 1')");
  EXPECT_EQ(GetPropText(t, "Lines.Count"), "2");
  EXPECT_EQ(GetPropText(t, "Owner"), "Form1");
  EXPECT_EQ(GetPropText(t, "Tag"), "7");

  // The form file's way: fill the owned list in place.
  SetPropText(t, "Lines.Strings", "('a')");
  EXPECT_EQ(t->Lines->Text(), "a\n");
  SetPropText(t, "Buddy", "nil");
  EXPECT_EQ(t->Buddy, nullptr);
  EXPECT_EQ(GetPropText(t, "Buddy"), "nil");
}

TEST(PropertyAccess, BadNamesAndValuesNameTheClassAndProperty) {
  TThing form(nullptr);
  auto* t = new TThing(&form);
  auto* other = new TBigThing(&form);
  other->SetName("Other");
  auto convert = [&](const char* path, const char* text) {
    return MessageOf<EPropertyError>([&] { SetPropText(t, path, text); });
  };
  EXPECT_EQ(convert("Nope", "1"), "Property TThing.Nope does not exist");
  EXPECT_EQ(convert("Sub.Nope", "1"), "Property TSub.Nope does not exist");
  EXPECT_EQ(convert("Count.Nope", "1"), "Property TThing.Count has no properties of its own");
  EXPECT_EQ(convert("Count", "'x'"),
            "Invalid value for property TThing.Count: integer expected, string given");
  EXPECT_EQ(convert("Count", "4294967296"),
            "Value 4294967296 is out of range for property TThing.Count");
  EXPECT_EQ(convert("Small", "256"), "Value 256 is out of range for property TThing.Small");
  EXPECT_EQ(convert("Flag", "1"),
            "Invalid value for property TThing.Flag: boolean expected, integer given");
  EXPECT_EQ(convert("Shade", "shPink"),
            "'shPink' is not a value of TShade for property TThing.Shade");
  EXPECT_EQ(convert("Shades", "[shRed, shPink]"),
            "'shPink' is not a member of TShade for property TThing.Shades");
  EXPECT_EQ(convert("Buddy", "Missing"), "Component 'Missing' not found for property TThing.Buddy");
  EXPECT_EQ(convert("Lines", "('a' 1)"),
            "Invalid value for property TThing.Lines: list item is integer, string expected");
  EXPECT_EQ(convert("Sub", "1"), "Property TThing.Sub is an object: set one of its properties");
  EXPECT_EQ(convert("LastPosition", "1"), "Property TThing.LastPosition is read-only");
  EXPECT_THROW(GetPropText(t, "Sub"), EPropertyError);
  EXPECT_THROW(SetPropText(t, "Count", "1 2"), EParserError);
  // Nothing changed on the way.
  EXPECT_EQ(t->CountWrites, 0);
  EXPECT_EQ(t->Shades, TShades{});
  EXPECT_EQ(t->Small, 0);
}

TEST(PropertyAccess, ComponentReferenceOfTheWrongClassIsRefused) {
  TThing form(nullptr);
  form.SetName("Form1");
  auto* big = new TBigThing(&form);
  big->SetName("Big");
  auto* t = new TThing(&form);
  // A TBigThing is a TThing: accepted. The form itself is found by its own name.
  SetPropText(t, "Buddy", "Big");
  EXPECT_EQ(t->Buddy, big);
  SetPropText(t, "Buddy", "Form1");
  EXPECT_EQ(t->Buddy, &form);
}

TEST(PropertyAccess, EventsBindToPublishedMethodsOfTheRoot) {
  TThing form(nullptr);
  auto* t = new TThing(&form);
  SetPropText(t, "OnPage", "PageChanged");
  ASSERT_TRUE(t->OnPage);
  EXPECT_EQ(t->OnPage.MethodName(), "PageChanged");
  t->OnPage(t, 5);
  EXPECT_EQ(form.LastPosition, 5);  // the root's method ran
  EXPECT_EQ(form.LastSender, t);
  EXPECT_EQ(GetPropText(t, "OnPage"), "PageChanged");

  SetPropText(t, "OnAsk", "AskPage");
  int32_t page = 0;
  EXPECT_FALSE(t->OnAsk(t, page));
  EXPECT_EQ(page, 7);

  EXPECT_THAT(MessageOf<EPropertyError>([&] { SetPropText(t, "OnPage", "AskPage"); }),
              HasSubstr("Method 'AskPage' has the signature"));
  EXPECT_EQ(MessageOf<EPropertyError>([&] { SetPropText(t, "OnPage", "Nothing"); }),
            "Method 'Nothing' not found for property TThing.OnPage");
  EXPECT_EQ(t->OnPage.MethodName(), "PageChanged");
  SetPropText(t, "OnPage", "nil");
  EXPECT_FALSE(t->OnPage);
  EXPECT_EQ(GetPropText(t, "OnPage"), "nil");
}

TEST(PropertyAccess, DefaultsDecideWhatAWriterLeavesOut) {
  TThing t(nullptr);
  const TClassInfo& ci = TThing::StaticClassInfo();
  EXPECT_TRUE(IsDefaultPropValue(&t, *ci.FindProp("Flag")));
  EXPECT_TRUE(IsDefaultPropValue(&t, *ci.FindProp("Shades")));
  EXPECT_FALSE(IsDefaultPropValue(&t, *ci.FindProp("Count")));  // no default: always written
  t.Flag = false;
  EXPECT_FALSE(IsDefaultPropValue(&t, *ci.FindProp("Flag")));
}

TEST(Classes, RegistrationAndCheckedCasts) {
  RegisterClasses<TThing, TBigThing>();
  RegisterClass(TThing::StaticClassInfo());  // again: harmless
  EXPECT_EQ(&FindClass("tbigthing"), &TBigThing::StaticClassInfo());
  EXPECT_EQ(GetClass("TNothing"), nullptr);
  EXPECT_THROW(FindClass("TNothing"), EClassNotFound);

  TThing form(nullptr);
  TComponent* made = FindClass("TBigThing").Factory(&form);
  EXPECT_EQ(made->Owner(), &form);
  EXPECT_EQ(made->ClassName(), "TBigThing");
  EXPECT_TRUE(made->InheritsFrom(TThing::StaticClassInfo()));
  EXPECT_EQ(As<TThing>(made), made);
  EXPECT_EQ(As<TBigThing>(static_cast<TObject*>(nullptr)), nullptr);
  EXPECT_EQ(MessageOf<EInvalidCast>([&] { As<TBigThing>(static_cast<TObject*>(&form)); }),
            "Invalid class typecast: TThing is not a TBigThing");
  EXPECT_FALSE(TStrings::StaticClassInfo().Factory);
}

// Events of shapes TThing's do not have: an enumeration and a string, an object answer.
class THandled : public TComponent {
  ZELVAR_CLASS(THandled, TComponent)

 public:
  using TComponent::TComponent;
  TEvent<void(TObject*, TShade, const std::string&)> OnShade;
  TEvent<TThing*()> OnMake;
};

const TClassInfo& THandled::StaticClassInfo() {
  static const auto info = TClassBuilder<THandled>("THandled")
                               .Property("OnShade", &THandled::OnShade, &THandled::OnShade)
                               .Property("OnMake", &THandled::OnMake, &THandled::OnMake)
                               .Build();
  return *info;
}

int32_t gCountedPage = 0;
void CountPage(TObject*, int32_t page) {
  gCountedPage = page;
}

struct TListener {
  std::string Seen;
  bool Ask(TThing* sender, int32_t& page) {
    Seen = sender->Name();
    page = 9;
    return false;
  }
};

TEST(Handlers, AnyCallableTakesTheEventsLeadingArguments) {
  TThing t(nullptr);
  t.SetName("T");
  TListener listener;
  int paged = 0;
  TFormHandlers handlers{{"Paged", [&] { ++paged; }},
                         {"Asked", Bind(&listener, &TListener::Ask)},
                         {"Counted", &CountPage}};
  handlers.Bind(&t, "OnPage", "paged");  // names compare as method names do
  t.OnPage(&t, 3);
  EXPECT_EQ(paged, 1);
  EXPECT_EQ(t.OnPage.MethodName(), "Paged");  // what a writer stores
  handlers.Bind(&t, "OnPage", "Counted");
  t.OnPage(&t, 4);
  EXPECT_EQ(gCountedPage, 4);

  handlers.Bind(&t, "OnAsk", "Asked");
  int32_t page = 1;
  EXPECT_FALSE(t.OnAsk(&t, page));  // the answer and the var parameter reach the caller
  EXPECT_EQ(page, 9);
  EXPECT_EQ(listener.Seen, "T");
  // The handler takes a TThing* where the event passes any object: checked when raised.
  TSub notAThing(nullptr);
  EXPECT_THROW(t.OnAsk(&notAThing, page), EInvalidCast);
}

TEST(Handlers, EnumerationsStringsAndObjectAnswers) {
  THandled h(nullptr);
  TThing made(nullptr);
  std::string seen;
  TFormHandlers handlers{
      {"Shaded", [&](TObject*, TShade shade,
                     std::string_view text) { seen = std::string(text) + std::to_string(shade); }},
      {"Number", [&](TObject*, int32_t shade) { seen = std::to_string(shade); }},
      {"Make", [&] { return &made; }}};
  handlers.Bind(&h, "OnShade", "Shaded");
  h.OnShade(&h, shBlue, "blue");
  EXPECT_EQ(seen, "blue2");
  handlers.Bind(&h, "OnShade", "Number");  // an int32_t takes any enumeration
  h.OnShade(&h, shGreen, "");
  EXPECT_EQ(seen, "1");
  handlers.Bind(&h, "OnMake", "Make");
  EXPECT_EQ(h.OnMake(), &made);
}

TEST(Handlers, WhatDoesNotFitIsRefusedWhenBoundNamingWhat) {
  TThing t(nullptr);
  THandled h(nullptr);
  TFormHandlers handlers{{"TooMany", [](TObject*, int32_t, int32_t) {}},
                         {"WrongKind", [](TObject*, bool) {}},
                         {"ByRef", [](TObject*, int32_t&) {}},
                         {"Answers", [](TObject*, int32_t) { return true; }},
                         {"Silent", [](TObject*, int32_t&) {}},
                         {"Byte", [](TObject*, uint8_t) {}},
                         {"Sub", []() -> TSub* { return nullptr; }}};
  struct TCase {
    TObject* Obj;
    const char* Event;
    const char* Handler;
    std::string Why;  // after "Handler 'H' does not fit CLASS.EVENT: "
  };
  const TCase cases[] = {
      {&t, "OnPage", "TooMany", "it takes 3 parameters, the event passes 2 parameters"},
      {&t, "OnPage", "WrongKind", "parameter 2 is bool, the event passes int32_t"},
      {&t, "OnPage", "ByRef", "parameter 2 is int32_t&, the event passes int32_t by value"},
      {&t, "OnPage", "Answers", "it returns bool, the event answers nothing"},
      {&t, "OnAsk", "Silent", "it returns nothing, the event asks for bool"},
      // An enumeration takes only its own type.
      {&h, "OnShade", "Byte",
       "parameter 2 is unsigned char, the event passes " + TypeText(typeid(TShade))},
      {&h, "OnMake", "Sub", "it returns TSub*, the event asks for TThing*"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(MessageOf<EPropertyConvertError>([&] { handlers.Bind(c.Obj, c.Event, c.Handler); }),
              "Handler '" + std::string(c.Handler) + "' does not fit " + c.Obj->ClassName() + "." +
                  c.Event + ": " + c.Why);
  EXPECT_FALSE(t.OnPage);  // nothing was bound
  EXPECT_FALSE(t.OnAsk);

  EXPECT_EQ(MessageOf<EPropertyError>([&] { handlers.Bind(&t, "OnPage", "Nobody"); }),
            "No handler named 'Nobody' (handlers given: TooMany, WrongKind, ByRef, Answers, "
            "Silent, Byte, Sub)");
  EXPECT_EQ(MessageOf<EPropertyError>([&] { handlers.Bind(&t, "Count", "TooMany"); }),
            "Property TThing.Count is not an event to bind");
  EXPECT_EQ(MessageOf<EListError>([] {
              TFormHandlers{{"Once", [] {}}, {"ONCE", [] {}}};
            }),
            "Handler 'ONCE' is given twice");
}

}  // namespace
}  // namespace zelvar::test
