#include "platform/core/Component.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/core/TestClasses.h"

namespace zelvar::test {
namespace {

TThing* Make(TComponent* owner, const std::string& name) {
  auto* t = new TThing(owner);
  t->SetName(name);
  return t;
}

TEST(Ownership, OwnerFreesWhatItOwnsLastCreatedFirst) {
  DestroyLog().clear();
  {
    TThing form(nullptr);
    form.SetName("Form");
    Make(&form, "A");
    TThing* b = Make(&form, "B");
    Make(b, "B1");
    Make(&form, "C");
    ASSERT_EQ(form.GetComponentCount(), 3);
    EXPECT_EQ(form.GetComponent(1), b);
    EXPECT_EQ(b->Owner(), &form);
    EXPECT_EQ(b->GetComponent(0)->Root(), &form);
  }
  EXPECT_EQ(DestroyLog(), (std::vector<std::string>{"Form", "C", "B", "B1", "A"}));
}

TEST(Ownership, FindNamesAMissingComponentOrAWrongClass) {
  TThing form(nullptr);
  form.SetName("Form");
  TThing* a = Make(&form, "A");
  EXPECT_EQ(Find<TThing>(form, "a"), a);  // names compare without case, as FindComponent's
  EXPECT_EQ(Find<TComponent>(&form, "A"), a);
  try {
    Find<TThing>(form, "Missing");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "No component named 'Missing' on Form");
  }
  try {
    Find<TBigThing>(form, "A");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "'A' on Form is a TThing, not a TBigThing");
  }
  EXPECT_THROW(Find<TThing>(static_cast<TComponent*>(nullptr), "A"), EComponentError);
}

TEST(Ownership, ComponentDeletedEarlyLeavesItsOwner) {
  TThing form(nullptr);
  TThing* a = Make(&form, "A");
  TThing* b = Make(&form, "B");
  TThing* c = Make(&form, "C");
  delete b;
  ASSERT_EQ(form.GetComponentCount(), 2);
  EXPECT_EQ(form.GetComponent(0), a);
  EXPECT_EQ(form.GetComponent(1), c);
  EXPECT_EQ(c->ComponentIndex(), 1);
  EXPECT_EQ(form.FindComponent("B"), nullptr);
  // The owner and its other components hear of the removal.
  EXPECT_EQ(form.Notified.back(), "remove B");
  EXPECT_EQ(a->Notified.back(), "remove B");
  EXPECT_THROW(form.GetComponent(2), EListError);
  EXPECT_THROW(form.GetComponent(-1), EListError);
}

TEST(Ownership, InsertingIntoAnotherOwnerMovesTheComponent) {
  TThing f1(nullptr), f2(nullptr);
  TThing* a = Make(&f1, "A");
  f2.InsertComponent(a);
  EXPECT_EQ(f1.GetComponentCount(), 0);
  EXPECT_EQ(f2.GetComponent(0), a);
  EXPECT_EQ(a->Owner(), &f2);
  // An owner refuses a second component of the same name.
  TThing* other = Make(&f1, "A");
  EXPECT_THROW(f2.InsertComponent(other), EComponentError);
  EXPECT_EQ(other->Owner(), &f1);
}

TEST(FreeNotification, ReferenceBecomesNilWhenTheTargetIsDestroyed) {
  TThing form(nullptr);
  TThing* a = Make(&form, "A");
  auto* loose = new TThing(nullptr);  // not owned by the form: only free notification tells
  a->SetBuddy(loose);
  delete loose;
  EXPECT_EQ(a->Buddy, nullptr);
}

TEST(FreeNotification, DestroyingTheReferrerFirstLeavesNothingBehind) {
  auto target = std::make_unique<TThing>(nullptr);
  {
    TThing referrer(nullptr);
    referrer.SetBuddy(target.get());
  }
  // The target must not call back into the destroyed referrer (the sanitizer build checks).
  target.reset();
  SUCCEED();
}

TEST(FreeNotification, SiblingsDestroyedTogetherInEitherOrder) {
  DestroyLog().clear();
  {
    TThing form(nullptr);
    TThing* a = Make(&form, "A");
    TThing* b = Make(&form, "B");
    a->SetBuddy(b);  // b dies first (created last) and a hears of it
    b->SetBuddy(a);
  }
  EXPECT_EQ(DestroyLog().size(), 3u);
}

TEST(Names, UniqueAmongTheOwnersComponents) {
  TThing form(nullptr);
  TThing* a = Make(&form, "Button1");
  TThing* b = Make(&form, "Button2");
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_EQ(b->Name(), "Button2");
  b->SetName("BUTTON2");  // a change of case is no clash with itself
  EXPECT_EQ(b->Name(), "BUTTON2");
  EXPECT_EQ(form.FindComponent("button2"), b);
  EXPECT_THROW(a->SetName("1abc"), EComponentError);
  EXPECT_THROW(a->SetName("a b"), EComponentError);
  EXPECT_EQ(a->Name(), "Button1");
  // Components of different owners may share a name.
  TThing* inner = Make(b, "Button1");
  EXPECT_EQ(inner->GetNamePath(), "BUTTON2.Button1");
  try {
    b->SetName("Button1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named Button1 already exists");
  }
}

TEST(Names, IndexStaysRightThroughRenamesAndRemovals) {
  TThing form(nullptr);
  std::vector<TThing*> things;
  for (int i = 0; i < 500; ++i) things.push_back(Make(&form, "C" + std::to_string(i)));
  for (int i = 0; i < 500; i += 2) delete things[i];
  for (int i = 1; i < 500; i += 4) things[i]->SetName("R" + std::to_string(i));
  for (int i = 0; i < 500; ++i) {
    std::string c = "c" + std::to_string(i), r = "r" + std::to_string(i);
    if (i % 2 == 0) {
      EXPECT_EQ(form.FindComponent(c), nullptr) << c;
    } else if (i % 4 == 1) {
      EXPECT_EQ(form.FindComponent(r), things[i]) << r;
      EXPECT_EQ(form.FindComponent(c), nullptr) << c;
    } else {
      EXPECT_EQ(form.FindComponent(c), things[i]) << c;
    }
  }
  // Freed names can be taken again.
  TThing* again = Make(&form, "C0");
  EXPECT_EQ(form.FindComponent("C0"), again);
  EXPECT_THROW(Make(&form, "X")->SetName("r1"), EComponentError);
}

TEST(State, FlagsAndDesigningRecursion) {
  TThing form(nullptr);
  TThing* a = Make(&form, "A");
  TThing* a1 = Make(a, "A1");
  EXPECT_EQ(TComponentState{csReading}.Bits(), 2u);
  EXPECT_EQ(TComponentState{csDesigning}.Bits(), 16u);
  form.SetDesigning(true);
  EXPECT_TRUE(a1->IsDesigning());
  a->SetDesigning(false);
  EXPECT_TRUE(form.IsDesigning());
  EXPECT_FALSE(a1->IsDesigning());
  // Marking the owner as designed again keeps a's own choice, and so does a new owner...
  form.SetDesigning(true);
  EXPECT_FALSE(a->IsDesigning());
  EXPECT_FALSE(a1->IsDesigning());
  TThing other(nullptr);
  other.SetDesigning(true);
  other.InsertComponent(a);
  EXPECT_FALSE(a1->IsDesigning());
  // ...while what is made on a designed owner is designed, and a choice can be undone.
  EXPECT_TRUE(Make(&other, "B")->IsDesigning());
  a->SetDesigning(true);
  EXPECT_TRUE(a1->IsDesigning());
  other.RemoveComponent(a);
  form.InsertComponent(a);
  a->SetDesigning(false);
  a1->SetReadingState(true);
  EXPECT_TRUE(a1->IsReading());
  EXPECT_TRUE(a1->IsLoading());
  a1->SetReadingState(false);
  a1->Loaded();
  EXPECT_TRUE(a1->ComponentState().Empty());
}

TEST(Names, FoundLevelFirstAndPredicatesDepthFirst) {
  // Root owns Panel (which owns a Dup) and then a Dup of its own.
  auto root = std::make_unique<TComponent>(nullptr);
  auto* panel = new TComponent(root.get());
  panel->SetName("Panel");
  auto* inner = new TComponent(panel);
  inner->SetName("Dup");
  auto* outer = new TComponent(root.get());
  outer->SetName("Dup");
  auto* unnamed = new TComponent(inner);

  EXPECT_EQ(FindComponentIn(root.get(), "dup"), outer);  // the owner's own first, any case
  EXPECT_EQ(FindComponentIn(root.get(), "Panel"), panel);
  EXPECT_EQ(FindComponentIn(root.get(), "Missing"), nullptr);
  auto named = [](const TComponent& c) { return c.Name() == "Dup"; };
  EXPECT_EQ(FindComponentWhere(root.get(), named), inner);  // into Panel before its sibling
  auto nameless = [](const TComponent& c) { return c.Name().empty(); };
  EXPECT_EQ(FindComponentWhere(root.get(), nameless), unnamed);
  EXPECT_EQ(FindComponentWhere(unnamed, nameless), nullptr);  // the owner itself is not asked

  EXPECT_EQ(FormName(*panel), "Panel");
  EXPECT_EQ(FormName(*unnamed), "TComponent");
}

}  // namespace
}  // namespace zelvar::test
