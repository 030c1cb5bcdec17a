#pragma once
// Small published classes that exercise every kind of member the type information knows.

#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Strings.h"

namespace zelvar::test {

ZELVAR_ENUM(TShade, uint8_t, shRed, shGreen, shBlue)
using TShades = TSet<TShade>;

// Records destructions, in order, by component name.
std::vector<std::string>& DestroyLog();

class TSub : public TPersistent {
  ZELVAR_CLASS(TSub, TPersistent)

 public:
  explicit TSub(TPersistent* owner) : FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }
  int32_t Num = 5;
  std::string Text;

 private:
  TPersistent* FOwner;
};

class TThing : public TComponent {
  ZELVAR_CLASS(TThing, TComponent)

 public:
  explicit TThing(TComponent* owner);
  ~TThing() override;

  void SetCount(int32_t v) {
    Count = v;
    ++CountWrites;
  }
  void SetBuddy(TThing* b) {
    Buddy = b;
    if (b) b->FreeNotification(this);
  }
  void SetLines(TStrings* lines) { Lines->Assign(lines); }

  // Published methods.
  void SetNewPosition(int32_t n) { LastPosition = n; }
  void PageChanged(TObject* sender, int32_t page) {
    LastSender = sender;
    LastPosition = page;
  }
  bool AskPage(TObject*, int32_t& page) {
    page = 7;
    return false;
  }

  int32_t Count = 2;
  int CountWrites = 0;
  bool Flag = true;
  uint8_t Small = 0;
  TShade Shade = shRed;
  TShades Shades;
  std::string Caption;
  TSub* Sub;
  TThing* Buddy = nullptr;
  TStringList* Lines;
  TEvent<void(TObject*, int32_t)> OnPage;
  TEvent<bool(TObject*, int32_t&)> OnAsk;
  int32_t LastPosition = -1;
  TObject* LastSender = nullptr;
  TThing* FPartner = nullptr;  // a published field

 protected:
  void Notification(TComponent* c, TOperation op) override;

 public:
  std::vector<std::string> Notified;  // "insert X" / "remove X"
};

// Declares Count again with another default: it keeps its place in the property order.
class TBigThing : public TThing {
  ZELVAR_CLASS(TBigThing, TThing)

 public:
  using TThing::TThing;
  int32_t Extra = 0;
};

}  // namespace zelvar::test
