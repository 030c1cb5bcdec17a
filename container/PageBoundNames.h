#pragma once
// What the container reads of the page-bound controls through their class records, by the
// names they publish, so that it needs none of their headers and any class that publishes the
// names takes part: the broadcast methods SetNewPosition and SetNumApos, the position list
// FAposList, the container FZelvar, and for a control that chooses where Next leads (a jump radio
// button) JumpPage, JumpMode, Checked, Enabled and ButtonMode. Each is looked up once per class
// (TClassCache).

#include <cstdint>
#include <functional>
#include <optional>

#include "container/ZelvarA.h"

namespace zelvar {

// A class's published method of the broadcasts' shape, void(int32_t).
struct TBroadcastMethod {
  TBroadcastMethod(const TClassInfo& cls, const char* name);
  // Calls the method on c, an instance of the class; one of another shape raises EInvalidCast.
  // Inline: a page change makes this call for every component of the form.
  void Call(TComponent* c, int32_t n) const {
    if (Invoke)
      (*Invoke)(c, n);
    else
      CallChecked(c, n);
  }
  // The call that checks the shape: for a method of another shape, which it reports.
  void CallChecked(TComponent* c, int32_t n) const;

  const TMethodInfo* Method;  // nullptr: the class publishes none
  // Found through the component's own class record, it may be called without a cast check;
  // nullptr for a method of another shape.
  const std::function<void(TObject*, int32_t)>* Invoke;
};

// SetNumApos: the number of pages changed.
struct TNumAposMethod : TBroadcastMethod {
  explicit TNumAposMethod(const TClassInfo& cls) : TBroadcastMethod(cls, "SetNumApos") {}
};

// What a page change uses of a class: SetNewPosition, and the position list that must hold a
// place for the page before anything changes; and the container its instances follow
// (FZelvar), by which placing and focusing tell a control of the page from any other.
struct TPlaceRoles : TBroadcastMethod {
  explicit TPlaceRoles(const TClassInfo& cls);
  // The position list of c, an instance of the class; nullptr when the class publishes none.
  TAposList* PositionList(const TComponent& c) const {
    return AposList ? static_cast<TAposList*>(AposList->Get(&c)) : nullptr;
  }
  // Raises EListError naming c, an instance of the class, unless its position list (when it
  // has one) holds a place for page, a page number of 0 or more. Inline: a page change checks
  // every component of the form.
  void CheckPlace(const TComponent& c, int32_t page) const {
    if (const TAposList* list = PositionList(c); list && page >= list->RecordCount())
      RaiseNoPlace(c, page, *list);
  }
  // True when the class publishes all three names: its instances follow a container's pages.
  bool PageBound() const { return Method && AposList && Container; }
  // The container c follows; nullptr when it has none or its class publishes no FZelvar.
  TZelvar* ContainerOf(const TComponent& c) const {
    return Container ? static_cast<TZelvar*>(Container->Get(&c)) : nullptr;
  }

  const TFieldInfo* AposList;   // kept only when it holds a TAposList
  const TFieldInfo* Container;  // kept only when it holds a TZelvar

 private:
  [[noreturn]] static void RaiseNoPlace(const TComponent& c, int32_t page, const TAposList& list);
};

// What decides whether a component chooses where Next leads: a class takes part when it
// publishes JumpPage (an integer), JumpMode, Checked and Enabled; ButtonMode, when published,
// lets it work in the designer.
struct TJumpRoles {
  explicit TJumpRoles(const TClassInfo& cls);
  bool TakesPart() const { return JumpPage != nullptr; }
  // Where c, an instance of the class, sends the container from position page; none when it
  // does not take part, is held inert by the designer, is disabled or is not checked.
  std::optional<int32_t> Choice(const TComponent& c, int32_t page) const;

  const TPropInfo* JumpPage = nullptr;  // all four set, or none
  const TPropInfo* JumpMode = nullptr;
  const TPropInfo* Checked = nullptr;
  const TPropInfo* Enabled = nullptr;
  const TPropInfo* ButtonMode = nullptr;  // optional; without it the control is always designed
};

}  // namespace zelvar
