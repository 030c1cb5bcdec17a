#include "platform/core/Component.h"

#include <algorithm>

#include "platform/core/Assert.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

bool IsValidIdent(std::string_view name) {
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

const TClassInfo& TComponent::StaticClassInfo() {
  static const auto info = TClassBuilder<TComponent>("TComponent")
                               .Property("Name", &TComponent::FName, &TComponent::SetName)
                               .Stored(false)
                               .Property("Tag", &TComponent::FTag, &TComponent::SetTag)
                               .Default(0)
                               .Public("Owner", &TComponent::FOwner)
                               .Public("ComponentCount", &TComponent::GetComponentCount)
                               .Build();
  return *info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Everyone holding a reference to this component drops it now.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    std::erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Root() {
  TComponent* c = this;
  while (c->FOwner) c = c->FOwner;
  return c;
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, name);
  else
    ValidateRename(nullptr, FName, name);
  if (!FOwner) {
    FName = name;
    return;
  }
  auto& index = FOwner->FNameIndex;
  if (!name.empty()) {
    TComponent* other = index.Find(name);
    if (other && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  if (!FName.empty()) index.Remove(this);  // found by the name it has now
  FName = name;
  if (!FName.empty()) index.Add(this);
}

// ---------------------------------------------------------------------------------------------
// The name index

namespace {
TComponent* const kTombstone = reinterpret_cast<TComponent*>(alignof(TComponent));
}

size_t TComponent::TNameIndex::HashOf(std::string_view name) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a over the upper-case bytes
  for (char c : name) {
    h ^= static_cast<unsigned char>(UpperChar(c));
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h);
}

TComponent* TComponent::TNameIndex::Find(std::string_view name) const {
  if (FSlots.empty()) return nullptr;
  size_t hash = HashOf(name);
  size_t mask = FSlots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = FSlots[i];
    if (!slot.Component) return nullptr;
    if (slot.Component != kTombstone && slot.Hash == hash && SameText(slot.Component->FName, name))
      return slot.Component;
  }
}

void TComponent::TNameIndex::Add(TComponent* c) {
  if ((FUsed + 1) * 2 > FSlots.size()) Grow();
  size_t hash = HashOf(c->FName);
  size_t mask = FSlots.size() - 1;
  size_t i = hash & mask;
  while (FSlots[i].Component && FSlots[i].Component != kTombstone) i = (i + 1) & mask;
  if (!FSlots[i].Component) ++FUsed;
  FSlots[i] = {hash, c};
}

void TComponent::TNameIndex::Remove(TComponent* c) {
  if (FSlots.empty()) return;
  size_t hash = HashOf(c->FName);
  size_t mask = FSlots.size() - 1;
  for (size_t i = hash & mask; FSlots[i].Component; i = (i + 1) & mask) {
    if (FSlots[i].Component == c) {
      FSlots[i].Component = kTombstone;
      return;
    }
  }
}

void TComponent::TNameIndex::Clear() {
  FSlots.clear();
  FUsed = 0;
}

void TComponent::TNameIndex::Grow() {
  std::vector<TSlot> old;
  old.swap(FSlots);
  size_t live = 0;
  for (const TSlot& s : old) live += s.Component && s.Component != kTombstone;
  size_t size = 16;
  while (size < (live + 1) * 4) size *= 2;  // room to grow before the next rebuild
  FSlots.assign(size, TSlot{});
  FUsed = 0;
  size_t mask = size - 1;
  for (const TSlot& s : old) {
    if (!s.Component || s.Component == kTombstone) continue;
    size_t i = s.Hash & mask;
    while (FSlots[i].Component) i = (i + 1) & mask;
    FSlots[i] = s;
    ++FUsed;
  }
}

// A hook for owners with rules of their own; uniqueness among the owner's components is
// checked by SetName itself.
void TComponent::ValidateRename(TComponent*, std::string_view, std::string_view) {}

TComponent* TComponent::GetComponent(int index) const {
  if (index < 0 || index >= GetComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  return FNameIndex.Find(name);
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->FOwner == this) return;
  // Checked before anything changes, so a refused component stays where it was.
  if (TComponent* clash = FindComponent(component->FName); clash && clash != component)
    throw EComponentError("A component named " + component->FName + " already exists");
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  // What a designed form gains is designed too, from its constructor on.
  if (IsDesigning()) component->ApplyDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  ZELVAR_ASSERT(!component->FOwner);  // InsertComponent takes it from its former owner first
  FComponents.push_back(component);
  component->FOwner = this;
  if (!component->FName.empty()) FNameIndex.Add(component);
}

void TComponent::Remove(TComponent* component) {
  ZELVAR_ASSERT(component->FOwner == this);
  // The last component is the common case (an owner freeing its components).
  if (!FComponents.empty() && FComponents.back() == component)
    FComponents.pop_back();
  else
    std::erase(FComponents, component);
  component->FOwner = nullptr;
  if (!component->FName.empty()) FNameIndex.Remove(component);
}

void TComponent::SetDesigning(bool value) {
  FKeptOutOfDesign = !value;
  ApplyDesigning(value);
}

void TComponent::ApplyDesigning(bool value) {
  if (value && FKeptOutOfDesign) return;
  if (value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* c : FComponents) c->ApplyDesigning(value);
}

void TComponent::SetReadingState(bool reading) {
  if (reading) {
    FComponentState.Include(csReading).Include(csLoading);
  } else {
    FComponentState.Exclude(csReading);
  }
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
      component->FFreeNotifies.end())
    component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  std::erase(FFreeNotifies, component);
  std::erase(component->FFreeNotifies, this);
}

void TComponent::DestroyComponents() {
  FNameIndex.Clear();  // all of them go; no need to take names out one by one
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    Remove(last);
    delete last;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation != opRemove || !component) return;
  RemoveFreeNotification(component);
  // A removal reaches everything this component owns, so no sibling keeps a reference to it.
  // Insertions are told to the owner alone: telling every sibling of every new component
  // would make building a form of n components cost n squared.
  // A component removed during the loop (by an override) must not invalidate the walk.
  for (size_t i = 0; i < FComponents.size(); ++i)
    FComponents[i]->Notification(component, operation);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  if (root != this) return;
  for (TComponent* c : FComponents)
    if (!c->HasParent()) proc(c);
}

std::string TComponent::GetNamePath() const {
  std::string path = FName.empty() ? ClassName() : FName;
  for (TComponent* o = FOwner; o; o = o->FOwner)
    if (!o->FName.empty()) path = o->FName + "." + path;
  return path;
}

TComponent* FindComponentIn(const TComponent* owner, std::string_view name) {
  if (TComponent* c = owner->FindComponent(name)) return c;
  for (int i = 0; i < owner->GetComponentCount(); ++i)
    if (TComponent* c = FindComponentIn(owner->GetComponent(i), name)) return c;
  return nullptr;
}

std::string FormName(const TComponent& c) {
  return c.Name().empty() ? c.ClassName() : c.Name();
}

void RaiseFindError(const TComponent& owner, std::string_view name, const TComponent* found,
                    const std::string& wanted) {
  std::string where = FormName(owner);
  if (!found) throw EComponentError("No component named '" + std::string(name) + "' on " + where);
  throw EComponentError("'" + std::string(name) + "' on " + where + " is a " + found->ClassName() +
                        ", not a " + wanted);
}

}  // namespace zelvar
