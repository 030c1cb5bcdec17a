#include "platform/core/Object.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unordered_map>

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

TIntIdents::TIntIdents(std::initializer_list<std::pair<const char*, int64_t>> idents) {
  for (const auto& [name, value] : idents) FIdents.emplace_back(name, value);
}

std::optional<int64_t> TIntIdents::ValueOf(std::string_view ident) const {
  for (const auto& [name, value] : FIdents)
    if (SameText(name, ident)) return value;
  return std::nullopt;
}

const std::string* TIntIdents::NameOf(int64_t value) const {
  for (const auto& entry : FIdents)
    if (entry.second == value) return &entry.first;
  return nullptr;
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
  if (!FInfo->Set) throw EInvalidOperation("Field " + FInfo->Name + " is read-only");
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

namespace {

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Case-insensitive order of names without building upper-case copies of the query.
bool LessText(std::string_view upper, std::string_view name) {
  size_t n = std::min(upper.size(), name.size());
  for (size_t i = 0; i < n; ++i) {
    char a = upper[i];
    char b = AsciiUpper(name[i]);
    if (a != b) return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  }
  return upper.size() < name.size();
}

bool LessName(std::string_view name, std::string_view upper) {
  size_t n = std::min(upper.size(), name.size());
  for (size_t i = 0; i < n; ++i) {
    char a = AsciiUpper(name[i]);
    char b = upper[i];
    if (a != b) return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  }
  return name.size() < upper.size();
}

template <class T>
void AddToIndex(std::vector<std::pair<std::string, const T*>>& index, const std::string& name,
                const T* member) {
  std::string upper = UpperCase(name);
  for (auto& entry : index) {
    if (entry.first == upper) {
      entry.second = member;  // a descendant's declaration hides its ancestor's
      return;
    }
  }
  index.emplace_back(std::move(upper), member);
}

}  // namespace

template <class T>
const T* TClassInfo::Lookup(const TNameIndex<T>& index, std::string_view name) {
  auto it = std::lower_bound(
      index.begin(), index.end(), name,
      [](const auto& entry, std::string_view n) { return LessText(entry.first, n); });
  if (it == index.end() || LessName(name, it->first)) return nullptr;
  return it->second;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
  return Lookup(FPropIndex, name);
}
const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  return Lookup(FMethodIndex, name);
}
const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  return Lookup(FFieldIndex, name);
}

void TClassInfo::Index() {
  if (Parent) {
    FPublished = Parent->FPublished;
    FPropIndex = Parent->FPropIndex;
    FMethodIndex = Parent->FMethodIndex;
    FFieldIndex = Parent->FFieldIndex;
  }
  for (const auto& p : Props) {
    AddToIndex(FPropIndex, p->Name, p.get());
    if (!p->Published) continue;
    bool redeclared = false;
    for (auto& slot : FPublished) {
      if (SameText(slot->Name, p->Name)) {
        slot = p.get();
        redeclared = true;
        break;
      }
    }
    if (!redeclared) FPublished.push_back(p.get());
  }
  for (const auto& m : Methods) AddToIndex(FMethodIndex, m.Name, &m);
  for (const auto& f : Fields) AddToIndex(FFieldIndex, f.Name, &f);
  auto byName = [](const auto& a, const auto& b) { return a.first < b.first; };
  std::sort(FPropIndex.begin(), FPropIndex.end(), byName);
  std::sort(FMethodIndex.begin(), FMethodIndex.end(), byName);
  std::sort(FFieldIndex.begin(), FFieldIndex.end(), byName);
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
std::unordered_map<std::string, const TClassInfo*>& Registry() {
  static std::unordered_map<std::string, const TClassInfo*> registry;
  return registry;
}
}  // namespace

void RegisterClass(const TClassInfo& cls) {
  auto [it, inserted] = Registry().emplace(UpperCase(cls.Name), &cls);
  if (!inserted && it->second != &cls)
    throw EFilerError("A class named " + cls.Name + " already exists");
}

const TClassInfo* GetClass(std::string_view name) {
  // A form names the same few classes over and over: remember the last one asked for.
  static const TClassInfo* last = nullptr;
  if (last && SameText(last->Name, name)) return last;
  auto it = Registry().find(UpperCase(name));
  if (it == Registry().end()) return nullptr;
  return last = it->second;
}

const TClassInfo& FindClass(std::string_view name) {
  if (const TClassInfo* cls = GetClass(name)) return *cls;
  throw EClassNotFound("Class " + std::string(name) + " not found");
}

std::vector<const TClassInfo*> RegisteredClasses() {
  std::vector<const TClassInfo*> classes;
  for (const auto& entry : Registry()) classes.push_back(entry.second);
  std::sort(classes.begin(), classes.end(),
            [](const TClassInfo* a, const TClassInfo* b) { return a->Name < b->Name; });
  return classes;
}

}  // namespace zelvar
