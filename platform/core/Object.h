#pragma once
// TObject and the run-time type information every class of the toolkit carries: one class-info
// record per class with its name, parent, factory and published members (properties, methods,
// fields) in declaration order. Form files, the designer and scripts all reach members through
// these records by name.

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <variant>
#include <vector>

#include "platform/core/Exceptions.h"

namespace zelvar {

class TObject;
class TComponent;
struct TClassInfo;

// ---------------------------------------------------------------------------------------------
// Enumerations and sets

// The identifiers of a published enumeration, in value order (values run from 0).
class TEnumTypeInfo {
 public:
  // commaList is the enumerator list as written in source ("alNone, alTop, alBottom").
  TEnumTypeInfo(std::string name, std::string_view commaList);
  const std::string& Name() const { return FName; }
  int Count() const { return static_cast<int>(FNames.size()); }
  // The identifier of value v; raises EListError for a value outside the enumeration.
  const std::string& NameOf(int64_t v) const;
  // The value of an identifier, compared case-insensitively; -1 when there is none.
  int ValueOf(std::string_view ident) const;

 private:
  std::string FName;
  std::vector<std::string> FNames;
};

// Declares an enumeration whose identifiers the type information knows, so properties of the
// type are read and written by name ("alClient").
#define ZELVAR_ENUM(Name, Base, ...)                                \
  enum Name : Base { __VA_ARGS__ };                                 \
  inline const ::zelvar::TEnumTypeInfo& EnumTypeOf(Name) {          \
    static const ::zelvar::TEnumTypeInfo info(#Name, #__VA_ARGS__); \
    return info;                                                    \
  }

// Identifiers for some values of an integer type (colours: clBtnFace), as form files write them.
class TIntIdents {
 public:
  TIntIdents(std::initializer_list<std::pair<const char*, int64_t>> idents);
  // The value of an identifier, compared case-insensitively.
  std::optional<int64_t> ValueOf(std::string_view ident) const;
  // The identifier of a value, or nullptr.
  const std::string* NameOf(int64_t value) const;
  // Every identifier with its value, in declaration order (a designer's drop-down).
  const std::vector<std::pair<std::string, int64_t>>& Idents() const { return FIdents; }

 private:
  std::vector<std::pair<std::string, int64_t>> FIdents;
};

// An integer type whose values may also be written as identifiers: an enum of the integer's
// width with no enumerators, and IntIdentsOf found beside it.
template <class T>
concept IdentifiedInteger = std::is_enum_v<T> && requires(T t) {
  { IntIdentsOf(t) } -> std::same_as<const TIntIdents&>;
};

template <class E>
concept PublishedEnum = std::is_enum_v<E> && requires(E e) {
  { EnumTypeOf(e) } -> std::same_as<const TEnumTypeInfo&>;
};

// A set of up to 32 members of a published enumeration, as the classic "set of" type.
template <class E>
class TSet {
 public:
  using Element = E;
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E e : members) Include(e);
  }
  static constexpr TSet FromBits(uint32_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint32_t Bit(E e) {
    auto v = static_cast<uint32_t>(e);
    return v < 32 ? (uint32_t{1} << v) : 0;
  }
  uint32_t FBits = 0;
};

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {};

// ---------------------------------------------------------------------------------------------
// Events and published methods

// An event is a method reference: the code to call plus the name of the published method it
// was bound from, so a writer can store the name and a reader can bind it again by name.
template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
 public:
  using Signature = R(A...);
  using Function = std::function<R(A...)>;

  TEvent() = default;
  TEvent(std::nullptr_t) {}  // NOLINT(google-explicit-constructor): event = nullptr clears it
  TEvent(Function code, std::string methodName = {})
      : FCode(std::move(code)), FMethodName(std::move(methodName)) {}
  // Any callable of a fitting shape, by plain assignment: a lambda, a free function, a member
  // function bound to its object (Bind).
  template <class F>
  requires(!std::is_same_v<std::remove_cvref_t<F>, TEvent> &&
           !std::is_same_v<std::remove_cvref_t<F>, Function> &&
           !std::is_same_v<std::remove_cvref_t<F>, std::nullptr_t> &&
           std::is_invocable_r_v<R, F&, A...>)
      TEvent(F&& code)  // NOLINT(google-explicit-constructor): events are assigned handlers
      : FCode(std::forward<F>(code)) {}

  explicit operator bool() const { return static_cast<bool>(FCode); }
  R operator()(A... args) const { return FCode(std::forward<A>(args)...); }
  const std::string& MethodName() const { return FMethodName; }
  void Clear() {
    FCode = nullptr;
    FMethodName.clear();
  }

 private:
  Function FCode;
  std::string FMethodName;
};

// A member function bound to its object, for an event: OnPageChange = Bind(this,
// &TSetup::PageChanged). The object must outlive the event's use, as with any handler.
template <class C, class R, class... A>
auto Bind(C* object, R (C::*method)(A...)) {
  return [object, method](A... args) -> R { return (object->*method)(std::forward<A>(args)...); };
}
template <class C, class R, class... A>
auto Bind(const C* object, R (C::*method)(A...) const) {
  return [object, method](A... args) -> R { return (object->*method)(std::forward<A>(args)...); };
}

template <class T>
struct IsTEvent : std::false_type {};
template <class Sig>
struct IsTEvent<TEvent<Sig>> : std::true_type {};

// Readable text of a C++ type for messages ("void (int)").
std::string TypeText(const std::type_info& type);
std::string TypeText(std::type_index type);

struct TMethodInfo {
  std::string Name;
  std::type_index Signature = typeid(void);
  // Returns a std::function<Signature> bound to the given object.
  std::function<std::any(TObject*)> Bind;
  // A std::function<R(TObject*, A...)> for Signature R(A...): calls without binding first.
  // It checks that the object is of the method's class.
  std::any Invoke;
  // The same without that check, for callers that found the method through the object's own
  // class record (which makes the object one of the method's class): broadcasts to thousands.
  std::any InvokeFound;

  // InvokeFound as the given shape; nullptr when the method has another signature.
  template <class R, class... A>
  const std::function<R(TObject*, A...)>* FoundInvoker() const {
    if (Signature != typeid(R(A...))) return nullptr;
    return std::any_cast<std::function<R(TObject*, A...)>>(&InvokeFound);
  }
};

// A published method bound to an instance: what MethodAddress finds.
class TMethod {
 public:
  TMethod() = default;
  TMethod(TObject* data, const TMethodInfo* info) : FData(data), FInfo(info) {}

  explicit operator bool() const { return FInfo != nullptr; }
  TObject* Data() const { return FData; }
  const TMethodInfo* Info() const { return FInfo; }
  const std::string& Name() const;
  bool HasSignature(const std::type_info& sig) const { return FInfo && FInfo->Signature == sig; }

  // The method as a callable of the given shape; a different shape raises EInvalidCast.
  template <class Sig>
  std::function<Sig> As() const {
    CheckSignature(typeid(Sig));
    return std::any_cast<std::function<Sig>>(FInfo->Bind(FData));
  }
  // Calls the method at once; a different shape raises EInvalidCast. Cheaper than As<Sig>():
  // nothing is bound or allocated.
  template <class R, class... A>
  R Call(A... args) const {
    CheckSignature(typeid(R(A...)));
    const auto* f = std::any_cast<std::function<R(TObject*, A...)>>(&FInfo->Invoke);
    return (*f)(FData, std::forward<A>(args)...);
  }
  // Binds the method as an event handler, keeping its name for streaming.
  template <class Sig>
  TEvent<Sig> AsEvent() const {
    return TEvent<Sig>(As<Sig>(), Name());
  }

 private:
  void CheckSignature(const std::type_info& sig) const;
  TObject* FData = nullptr;
  const TMethodInfo* FInfo = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Published fields

// Class records of member types are reached through a function: a class may well refer to its
// own kind (a control's Parent), and its record is still being built at that moment.
using TClassInfoFn = const TClassInfo& (*)();

// What one parameter or the result of an event is, as a handler given by name has to take
// it (TFormHandlers, platform/core/TypInfo.h). Derived once from the event's signature.
enum class TEventParamKind : uint8_t {
  None,     // a result: the event answers nothing
  Object,   // a pointer to a TObject descendant
  Integer,  // int32_t, and what reaches a generic handler as one: enumerations, sets, chars
  Boolean,
  String,
  Other,  // nothing a handler can take (a rectangle)
};
struct TEventParam {
  TEventParamKind Kind = TEventParamKind::None;
  bool IsVar = false;                   // int32_t& or bool&: the handler's changes reach the caller
  std::type_index Type = typeid(void);  // the C++ type without reference and const
  TClassInfoFn Class = nullptr;         // objects: the class the event declares
};

struct TFieldInfo {
  std::string Name;
  TClassInfoFn FieldClass = nullptr;
  std::function<TObject*(const TObject*)> Get;
  std::function<void(TObject*, TObject*)> Set;  // checks the value's class
};

// A published field of an instance: what FieldAddress finds.
class TFieldRef {
 public:
  TFieldRef() = default;
  TFieldRef(TObject* self, const TFieldInfo* info) : FSelf(self), FInfo(info) {}
  explicit operator bool() const { return FInfo != nullptr; }
  const TFieldInfo* Info() const { return FInfo; }
  TObject* Get() const;
  void Set(TObject* value) const;

 private:
  TObject* FSelf = nullptr;
  const TFieldInfo* FInfo = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Properties

enum class TPropKind : uint8_t {
  Integer,
  Boolean,
  Enumeration,
  Set,
  String,
  Object,     // a nested persistent object, streamed as dotted names
  Component,  // a reference to a component, streamed by name
  Strings,    // a strings list
  Method,     // an event
};

const char* PropKindName(TPropKind kind);

struct TEventState {
  bool Assigned = false;
  std::string MethodName;
};

// An event call seen from outside C++ (a script's handler): the arguments as they are, var
// parameters by pointer so the handler can change them, and a result for events that answer.
struct TEventArg {
  // An object, an integer (also enumerations and sets, read-only), a boolean, a string.
  std::variant<TObject*, int32_t*, bool*, const std::string*> Value;
  bool IsVar = false;  // a var parameter: the handler's changes reach the caller
};
struct TEventCall {
  std::vector<TEventArg> Args;
  bool HasResult = false;
  bool Result = true;  // what an answering event returns unless the handler says otherwise
  // Events that return an object (a form to embed): the handler's answer, nil by default.
  bool HasObjectResult = false;
  TObject* ObjectResult = nullptr;
};
using TGenericHandler = std::function<void(TEventCall&)>;

struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  const TEnumTypeInfo* EnumType = nullptr;  // enumerations and sets
  const TIntIdents* IntIdents = nullptr;    // integers that have names for some values
  TClassInfoFn PropClass = nullptr;         // objects, components and strings lists
  std::type_index EventSignature = typeid(void);
  bool EventReturnsObject = false;       // an event that asks its handler for an object
  std::vector<TEventParam> EventParams;  // events: what each parameter is, in order
  TEventParam EventResult;               // events: what the handler answers
  int64_t MinValue = 0, MaxValue = 0;    // integers: the range of the field's type

  std::function<int64_t(const TObject*)> GetOrd;  // integer, boolean, enumeration, set bits
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(const TObject*)> GetStr;
  // Set when the string lives in the object (a field), so writers can read it without a copy.
  std::function<std::string_view(const TObject*)> GetStrView;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TObject*(const TObject*)> GetObj;  // objects, components, strings lists
  std::function<void(TObject*, TObject*)> SetObj;  // checks the value's class
  std::function<TEventState(const TObject*)> GetEvent;
  // Sets an event from a std::function of the event's signature held in an any. An empty any
  // with a name keeps the name alone (a designed form's handler); with none it clears.
  std::function<void(TObject*, const std::any&, const std::string&)> SetEvent;
  // Wraps a generic handler as a std::function of the event's signature, for SetEvent.
  std::function<std::any(const TGenericHandler&)> MakeHandler;

  std::optional<int64_t> Default;  // ordinal kinds; none means "always written"
  bool StoredFlag = true;
  std::function<bool(const TObject*)> StoredFn;
  bool Published = true;  // false: public, read and written by scripts, never streamed

  bool Writable() const { return SetOrd || SetStr || SetObj || SetEvent; }
  bool IsStored(const TObject* obj) const { return StoredFlag && (!StoredFn || StoredFn(obj)); }
};

// ---------------------------------------------------------------------------------------------
// Class information

struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  // Creates an instance for the form reader; empty for classes it cannot create.
  std::function<TComponent*(TComponent* owner)> Factory;
  std::vector<std::unique_ptr<TPropInfo>> Props;  // this class's own, in declaration order
  std::vector<TMethodInfo> Methods;
  std::vector<TFieldInfo> Fields;

  bool InheritsFrom(const TClassInfo& other) const;
  // Properties, published and public, of this class and its ancestors; case-insensitive.
  const TPropInfo* FindProp(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  // Published properties in form-file order: base classes first; a property a class declares
  // again keeps its ancestor's place and takes the new declaration.
  const std::vector<const TPropInfo*>& PublishedProps() const { return FPublished; }

  // Builds the lookup tables once the members are complete (TClassBuilder::Build does it);
  // the parent's record must be complete already.
  void Index();

 private:
  template <class T>
  using TNameIndex = std::vector<std::pair<std::string, const T*>>;  // upper-case names, sorted
  template <class T>
  static const T* Lookup(const TNameIndex<T>& index, std::string_view name);

  std::vector<const TPropInfo*> FPublished;
  TNameIndex<TPropInfo> FPropIndex;
  TNameIndex<TMethodInfo> FMethodIndex;
  TNameIndex<TFieldInfo> FFieldIndex;
};

// ---------------------------------------------------------------------------------------------
// TObject

// Declares the class-info functions of a class; the record itself is built in the class's
// source file with TClassBuilder (platform/core/TypInfo.h).
#define ZELVAR_CLASS(Self, Parent)                         \
 public:                                                   \
  using inherited = Parent;                                \
  static const ::zelvar::TClassInfo& StaticClassInfo();    \
  const ::zelvar::TClassInfo& ClassInfo() const override { \
    return Self::StaticClassInfo();                        \
  }                                                        \
                                                           \
 private:

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().Name; }
  bool InheritsFrom(const TClassInfo& cls) const { return ClassInfo().InheritsFrom(cls); }
  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }

  // A published method by name, bound to this object; empty when there is none.
  TMethod MethodAddress(std::string_view name);
  // A published field by name; empty when there is none.
  TFieldRef FieldAddress(std::string_view name);
};

// The checked cast: nil stays nil, an object of another class raises EInvalidCast.
[[noreturn]] void RaiseInvalidCast(const TObject* obj, const char* targetName);

template <class T>
T* As(TObject* obj) {
  if (obj == nullptr) return nullptr;
  if (auto* t = dynamic_cast<T*>(obj)) return t;
  RaiseInvalidCast(obj, T::StaticClassInfo().Name.c_str());
}
template <class T>
const T* As(const TObject* obj) {
  return As<T>(const_cast<TObject*>(obj));
}

// ---------------------------------------------------------------------------------------------
// Class registration, for the form reader

void RegisterClass(const TClassInfo& cls);
template <class... T>
void RegisterClasses() {
  (RegisterClass(T::StaticClassInfo()), ...);
}
// nullptr when no class of that name is registered.
const TClassInfo* GetClass(std::string_view name);
// Raises EClassNotFound when no class of that name is registered.
const TClassInfo& FindClass(std::string_view name);
// Every registered class, by name.
std::vector<const TClassInfo*> RegisteredClasses();

}  // namespace zelvar
