#include "platform/core/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <map>

#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"

namespace zelvar {

// ---------------------------------------------------------------------------------------------
// TEnumTypeInfo

TEnumTypeInfo::TEnumTypeInfo(std::string name, std::string_view commaList)
    : FName(std::move(name)) {
  auto trim = [](std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
  };
  while (!commaList.empty()) {
    size_t comma = commaList.find(',');
    std::string_view item = commaList.substr(0, comma);
    commaList = comma == std::string_view::npos ? std::string_view{} : commaList.substr(comma + 1);
    item = trim(item);
    if (!item.empty()) FNames.emplace_back(item);
  }
}

const std::string& TEnumTypeInfo::NameOf(int64_t v) const {
  if (v < 0 || v >= Count()) throw EListError(Format("Value %d is not a member of %s", {v, FName}));
  return FNames[static_cast<size_t>(v)];
}

int TEnumTypeInfo::ValueOf(std::string_view ident) const {
  for (size_t i = 0; i < FNames.size(); ++i)
    if (SameText(FNames[i], ident)) return static_cast<int>(i);
  return -1;
}

// ---------------------------------------------------------------------------------------------
// Methods and fields

std::string TypeText(const std::type_info& type) {
  return TypeText(std::type_index(type));
}

std::string TypeText(std::type_index type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string text = status == 0 && demangled ? demangled : type.name();
  std::free(demangled);
  return text;
}

const std::string& TMethod::Name() const {
  static const std::string empty;
  return FInfo ? FInfo->Name : empty;
}

void TMethod::CheckSignature(const std::type_info& sig) const {
  if (!FInfo) throw EInvalidCast("Call of an unassigned method");
  if (FInfo->Signature != sig)
    throw EInvalidCast("Method " + (FData ? FData->ClassName() + "." : std::string()) +
                       FInfo->Name + " has the signature " + TypeText(FInfo->Signature) + ", not " +
                       TypeText(sig));
}

TObject* TFieldRef::Get() const {
  if (!FInfo) throw EInvalidCast("Access to a field that does not exist");
  return FInfo->Get(FSelf);
}

void TFieldRef::Set(TObject* value) const {
  if (!FInfo) throw EInvalidCast("Access to a field that does not exist");
  FInfo->Set(FSelf, value);
}

const char* PropKindName(TPropKind kind) {
  switch (kind) {
    case TPropKind::Integer:
      return "integer";
    case TPropKind::Boolean:
      return "boolean";
    case TPropKind::Enumeration:
      return "enumeration";
    case TPropKind::Set:
      return "set";
    case TPropKind::String:
      return "string";
    case TPropKind::Object:
      return "object";
    case TPropKind::Component:
      return "component";
    case TPropKind::Strings:
      return "strings";
    case TPropKind::Method:
      return "event";
  }
  return "?";
}

// ---------------------------------------------------------------------------------------------
// TClassInfo

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const auto& p : c->Props)
      if (SameText(p->Name, name)) return p.get();
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const auto& m : c->Methods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const auto& f : c->Fields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::PublishedProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->Parent) chain.push_back(c);
  std::vector<const TPropInfo*> props;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const auto& p : (*it)->Props) {
      if (!p->Published) continue;
      bool redeclared = false;
      for (auto& slot : props) {
        if (SameText(slot->Name, p->Name)) {
          slot = p.get();
          redeclared = true;
          break;
        }
      }
      if (!redeclared) props.push_back(p.get());
    }
  }
  return props;
}

// ---------------------------------------------------------------------------------------------
// TObject

const TClassInfo& TObject::StaticClassInfo() {
  static const auto info = TClassBuilder<TObject>("TObject").Build();
  return *info;
}

TMethod TObject::MethodAddress(std::string_view name) {
  const TMethodInfo* m = ClassInfo().FindMethod(name);
  return m ? TMethod(this, m) : TMethod();
}

TFieldRef TObject::FieldAddress(std::string_view name) {
  const TFieldInfo* f = ClassInfo().FindField(name);
  return f ? TFieldRef(this, f) : TFieldRef();
}

void RaiseInvalidCast(const TObject* obj, const char* targetName) {
  throw EInvalidCast("Invalid class typecast: " + obj->ClassName() + " is not a " + targetName);
}

// ---------------------------------------------------------------------------------------------
// Class registration

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> registry;
  return registry;
}
}  // namespace

void RegisterClass(const TClassInfo& cls) {
  auto [it, inserted] = Registry().emplace(UpperCase(cls.Name), &cls);
  if (!inserted && it->second != &cls)
    throw EFilerError("A class named " + cls.Name + " already exists");
}

const TClassInfo* GetClass(std::string_view name) {
  auto it = Registry().find(UpperCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name) {
  if (const TClassInfo* cls = GetClass(name)) return *cls;
  throw EClassNotFound("Class " + std::string(name) + " not found");
}

}  // namespace zelvar
