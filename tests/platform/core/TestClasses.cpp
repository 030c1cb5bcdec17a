#include "tests/platform/core/TestClasses.h"

#include "platform/core/TypInfo.h"

namespace zelvar::test {

std::vector<std::string>& DestroyLog() {
  static std::vector<std::string> log;
  return log;
}

const TClassInfo& TSub::StaticClassInfo() {
  static const auto info = TClassBuilder<TSub>("TSub")
                               .Property("Num", &TSub::Num, &TSub::Num)
                               .Default(5)
                               .Property("Text", &TSub::Text, &TSub::Text)
                               .Build();
  return *info;
}

const TClassInfo& TThing::StaticClassInfo() {
  static const auto info = TClassBuilder<TThing>("TThing")
                               .Property("Count", &TThing::Count, &TThing::SetCount)
                               .Property("Flag", &TThing::Flag, &TThing::Flag)
                               .Default(true)
                               .Property("Small", &TThing::Small, &TThing::Small)
                               .Property("Shade", &TThing::Shade, &TThing::Shade)
                               .Default(shRed)
                               .Property("Shades", &TThing::Shades, &TThing::Shades)
                               .Default(TShades{})
                               .Property("Caption", &TThing::Caption, &TThing::Caption)
                               .Property("Sub", &TThing::Sub)
                               .Property("Buddy", &TThing::Buddy, &TThing::SetBuddy)
                               .Property("Lines", &TThing::Lines, &TThing::SetLines)
                               .Property("OnPage", &TThing::OnPage, &TThing::OnPage)
                               .Property("OnAsk", &TThing::OnAsk, &TThing::OnAsk)
                               .Public("LastPosition", &TThing::LastPosition)
                               .Method("SetNewPosition", &TThing::SetNewPosition)
                               .Method("PageChanged", &TThing::PageChanged)
                               .Method("AskPage", &TThing::AskPage)
                               .Field("FPartner", &TThing::FPartner)
                               .Build();
  return *info;
}

const TClassInfo& TBigThing::StaticClassInfo() {
  static const auto info = TClassBuilder<TBigThing>("TBigThing")
                               .Property("Extra", &TBigThing::Extra, &TBigThing::Extra)
                               .Property("Count", &TBigThing::Count, &TBigThing::SetCount)
                               .Default(2)
                               .Build();
  return *info;
}

TThing::TThing(TComponent* owner)
    : TComponent(owner), Sub(new TSub(this)), Lines(new TStringList) {}

TThing::~TThing() {
  DestroyLog().push_back(Name());
  delete Sub;
  delete Lines;
}

void TThing::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  Notified.push_back((op == opInsert ? "insert " : "remove ") + c->Name());
  if (op == opRemove && c == Buddy) Buddy = nullptr;
}

}  // namespace zelvar::test
