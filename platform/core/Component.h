#pragma once
// TComponent: the ownership tree. An owner frees what it owns, last created first; a component
// deleted early leaves its owner's list and tells every component that asked for free
// notification, so their references become nil instead of dangling.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Persistent.h"

namespace zelvar {

ZELVAR_ENUM(TComponentStateFlag, uint8_t, csLoading, csReading, csWriting, csDestroying,
            csDesigning, csAncestor, csUpdating, csFixups, csFreeNotification, csInline,
            csDesignInstance)
using TComponentState = TSet<TComponentStateFlag>;

ZELVAR_ENUM(TOperation, uint8_t, opInsert, opRemove)

// True for a valid component name: a letter or '_' followed by letters, digits and '_'.
bool IsValidIdent(std::string_view name);

class TComponent : public TPersistent {
  ZELVAR_CLASS(TComponent, TPersistent)

 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  // The topmost owner (the form for a component on a form); the component itself when unowned.
  TComponent* Root();

  const std::string& Name() const { return FName; }
  // Raises EComponentError for an invalid identifier or a name another component of the same
  // owner already has (compared case-insensitively).
  virtual void SetName(const std::string& name);
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t tag) { FTag = tag; }
  // Where a designer shows a component that is no control, as a form file keeps it for such
  // components ("Left" and "Top"): left in the low 16 bits, top in the high ones.
  int32_t DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(int32_t v) { FDesignInfo = v; }
  int16_t DesignLeft() const { return static_cast<int16_t>(FDesignInfo & 0xFFFF); }
  int16_t DesignTop() const { return static_cast<int16_t>((FDesignInfo >> 16) & 0xFFFF); }
  void SetDesignPos(int32_t left, int32_t top) {
    FDesignInfo = static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(top)) << 16) |
                                       static_cast<uint16_t>(left));
  }

  int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError for an index out of range.
  TComponent* GetComponent(int index) const;
  const std::vector<TComponent*>& Components() const { return FComponents; }
  // The index of this component in its owner's list; -1 when unowned.
  int ComponentIndex() const;
  // An owned component by name, case-insensitively; nullptr when there is none.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  TComponentState ComponentState() const { return FComponentState; }
  bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
  bool IsReading() const { return FComponentState.Contains(csReading); }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  bool IsDestroying() const { return FComponentState.Contains(csDestroying); }
  // Sets or clears csDesigning on this component and everything it owns. A component taken
  // out of the design state here (a button that the designer must let the user click as at
  // run time) keeps that choice, with what it owns, when an owner is marked as designed
  // later or again; setting it designed here undoes the choice.
  void SetDesigning(bool value);
  // The form reader marks every component it creates while the read runs.
  void SetReadingState(bool reading);

  // Called once a form file has been read completely; clears csLoading.
  virtual void Loaded();
  // Called right after the most derived constructor by the reader and by New<T>: the point at
  // which a component counts as constructed.
  virtual void AfterConstruction() {}
  // The writer is about to store this root (true), or has stored it (false; also after a
  // failed write). A root that shows other values than it stores (a form scaled to the
  // screen) puts the stored ones in place meanwhile.
  virtual void Writing(bool /*begin*/) {}

  // Asks to be told (Notification with opRemove) when component is destroyed; mutual.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // Frees every owned component, last created first. A class whose Notification must see
  // its owned components leave calls this first thing in its destructor.
  virtual void DestroyComponents();
  // Marks this component and everything it owns as being destroyed.
  void Destroying();

  std::string GetNamePath() const override;
  TPersistent* GetOwner() const override { return FOwner; }

  // --- form files
  // The components a writer stores inside this one, in order. A root stores the components
  // it owns that have no parent of their own; controls add their child controls.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
  // True for components nested in a parent other than their owner (controls).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  // The reader nests a component in the component whose block holds it.
  virtual void SetParentComponent(TComponent*) {}
  virtual void SetChildOrder(TComponent*, int) {}

 protected:
  // Told when a component is inserted into this component's list, when one is removed from
  // its owner's list, and when a component this one asked about is destroyed. Removals are
  // forwarded to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, std::string_view curName,
                              std::string_view newName);

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  // What an owner's SetDesigning passes down: the state, but no choice of the component's own.
  void ApplyDesigning(bool value);

  TComponent* FOwner = nullptr;
  std::string FName;
  int32_t FTag = 0;
  int32_t FDesignInfo = 0;
  std::vector<TComponent*> FComponents;
  // Owned components by name, case-insensitively, so that naming thousands of components stays
  // linear: an open-addressing table of (hash, component) kept flat for the cache.
  class TNameIndex {
   public:
    TComponent* Find(std::string_view name) const;
    void Add(TComponent* c);  // c's name must not be in the table yet
    void Remove(TComponent* c);
    void Clear();

   private:
    struct TSlot {
      size_t Hash = 0;
      TComponent* Component = nullptr;  // nullptr: empty; kTombstone: removed
    };
    static size_t HashOf(std::string_view name);
    void Grow();
    std::vector<TSlot> FSlots;
    size_t FUsed = 0;  // live entries and tombstones
  };
  TNameIndex FNameIndex;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
  bool FKeptOutOfDesign = false;  // set by SetDesigning(false) on this component itself
};

// Depth first: the owner's own components, then those each of them owns.
TComponent* FindComponentIn(const TComponent* owner, std::string_view name);

// The first component that pred accepts, depth first: each of the owner's components, then
// those it owns, before the owner's next one.
template <class Pred>
TComponent* FindComponentWhere(const TComponent* owner, const Pred& pred) {
  for (int i = 0; i < owner->GetComponentCount(); ++i) {
    TComponent* c = owner->GetComponent(i);
    if (pred(*c)) return c;
    if (TComponent* inner = FindComponentWhere(c, pred)) return inner;
  }
  return nullptr;
}

// How messages name a component: its Name, or its class when it has none.
std::string FormName(const TComponent& c);

// The component owner owns under name, of class T (or a descendant). Where FindComponent
// answers nullptr, this raises EComponentError naming the missing component or its class, so
// a misspelled name fails where it is written.
[[noreturn]] void RaiseFindError(const TComponent& owner, std::string_view name,
                                 const TComponent* found, const std::string& wanted);
template <class T>
T* Find(const TComponent& owner, std::string_view name) {
  TComponent* c = owner.FindComponent(name);
  if (auto* t = dynamic_cast<T*>(c)) return t;
  RaiseFindError(owner, name, c, T::StaticClassInfo().Name);
}
template <class T>
T* Find(const TComponent* owner, std::string_view name) {
  if (!owner) throw EComponentError("No owner to find '" + std::string(name) + "' in");
  return Find<T>(*owner, name);
}

}  // namespace zelvar
