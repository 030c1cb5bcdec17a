#include "platform/core/Component.h"

#include <algorithm>

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
  if (FOwner) {
    if (!FName.empty()) FOwner->FNameIndex.erase(UpperCase(FName));
    if (!name.empty()) FOwner->FNameIndex[UpperCase(name)] = this;
  }
  FName = name;
}

void TComponent::ValidateRename(TComponent* component, std::string_view curName,
                                std::string_view newName) {
  if (component && !SameText(curName, newName) && component->FOwner == this) {
    TComponent* other = FindComponent(newName);
    if (other && other != component)
      throw EComponentError("A component named " + std::string(newName) + " already exists");
  }
}

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
  auto it = FNameIndex.find(UpperCase(name));
  return it == FNameIndex.end() ? nullptr : it->second;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->FOwner == this) return;
  // Checked before anything changes, so a refused component stays where it was.
  if (TComponent* clash = FindComponent(component->FName); clash && clash != component)
    throw EComponentError("A component named " + component->FName + " already exists");
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  FComponents.push_back(component);
  component->FOwner = this;
  if (!component->FName.empty()) FNameIndex[UpperCase(component->FName)] = component;
}

void TComponent::Remove(TComponent* component) {
  // The last component is the common case (an owner freeing its components).
  if (!FComponents.empty() && FComponents.back() == component)
    FComponents.pop_back();
  else
    std::erase(FComponents, component);
  component->FOwner = nullptr;
  if (!component->FName.empty()) {
    auto it = FNameIndex.find(UpperCase(component->FName));
    if (it != FNameIndex.end() && it->second == component) FNameIndex.erase(it);
  }
}

void TComponent::SetDesigning(bool value) {
  if (value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(value);
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
  if (operation == opRemove && component) RemoveFreeNotification(component);
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

}  // namespace zelvar
