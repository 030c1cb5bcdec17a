#pragma once
// A component with a property of every kind, including the package's lists, so the fuzzers
// reach every path of the form reader.

#include "lists/ZelvarL.h"
#include "platform/core/TypInfo.h"

namespace zelvar::fuzz {

ZELVAR_ENUM(TFuzzKind, uint8_t, fkOne, fkTwo, fkThree)

class TFuzzThing : public TComponent {
  ZELVAR_CLASS(TFuzzThing, TComponent)

 public:
  explicit TFuzzThing(TComponent* owner) : TComponent(owner) {}
  ~TFuzzThing() override {
    delete FNumbers;
    delete FPlaces;
    delete FWay;
    delete FLines;
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == FPeer) FPeer = nullptr;
  }
  void SetPeer(TFuzzThing* p) {
    FPeer = p;
    if (p) p->FreeNotification(this);
  }
  void Handler(TObject*, int32_t) {}

  int32_t FValue = 0;
  bool FFlag = false;
  TFuzzKind FKind = fkOne;
  TSet<TFuzzKind> FKinds;
  std::string FText;
  TFuzzThing* FPeer = nullptr;
  TIntegerList* FNumbers = new TIntegerList;
  TAposList* FPlaces = new TAposList;
  TPageList* FWay = new TPageList;
  TStringList* FLines = new TStringList;
  TEvent<void(TObject*, int32_t)> FOnEvent;
};

inline const TClassInfo& TFuzzThing::StaticClassInfo() {
  static const auto info = TClassBuilder<TFuzzThing>("TFuzzThing")
                               .Property("Value", &TFuzzThing::FValue, &TFuzzThing::FValue)
                               .Property("Flag", &TFuzzThing::FFlag, &TFuzzThing::FFlag)
                               .Property("Kind", &TFuzzThing::FKind, &TFuzzThing::FKind)
                               .Property("Kinds", &TFuzzThing::FKinds, &TFuzzThing::FKinds)
                               .Property("Text", &TFuzzThing::FText, &TFuzzThing::FText)
                               .Property("Peer", &TFuzzThing::FPeer, &TFuzzThing::SetPeer)
                               .Property("Numbers", &TFuzzThing::FNumbers)
                               .Property("Places", &TFuzzThing::FPlaces)
                               .Property("Way", &TFuzzThing::FWay)
                               .Property("Lines", &TFuzzThing::FLines)
                               .Property("OnEvent", &TFuzzThing::FOnEvent, &TFuzzThing::FOnEvent)
                               .Method("Handler", &TFuzzThing::Handler)
                               .Build();
  return *info;
}

inline void RegisterFuzzClasses() {
  RegisterClasses<TFuzzThing>();
}

}  // namespace zelvar::fuzz
