#pragma once
// Building class-info records (TClassBuilder) and reading or writing any published or public
// property by name. The form reader, the designer and the scripts all go through
// GetPropValue/SetPropValue, so a property behaves the same wherever it is set from.

#include <concepts>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Object.h"
#include "platform/core/Strings.h"
#include "platform/core/Value.h"

namespace zelvar {

// ---------------------------------------------------------------------------------------------
// Property access by name

// How names inside values become objects: component references and event handlers.
class TNameResolver {
 public:
  virtual ~TNameResolver() = default;
  // Default: the context's root (its topmost owner) by name, then the root's components,
  // "Form.Component" for a component of another root's component.
  virtual TComponent* FindComponent(TComponent* context, std::string_view name) const;
  // Default: a published method of the context's root.
  virtual TMethod FindMethod(TComponent* context, std::string_view name) const;
};

// The object and property a dotted path ("BtnNext.Text", "PageNames.Strings") names.
struct TPropTarget {
  TObject* Object = nullptr;
  const TPropInfo* Prop = nullptr;  // nullptr: Object is a TStrings named by ".Strings"
};

// Resolves a path; raises EPropertyError naming the class and property when a step is missing.
TPropTarget FindPropTarget(TObject* obj, std::string_view path);

TValue GetPropValue(const TObject* obj, std::string_view path);
void SetPropValue(TObject* obj, std::string_view path, const TValue& value,
                  const TNameResolver* resolver = nullptr);
// The same with values in the text form-file syntax ("12", "'Setup'", "[fsBold]").
std::string GetPropText(const TObject* obj, std::string_view path);
void SetPropText(TObject* obj, std::string_view path, std::string_view text,
                 const TNameResolver* resolver = nullptr);

// The property's value read as it is set: raises EPropertyConvertError for the wrong kind.
TValue GetPropValue(const TObject* obj, const TPropInfo& prop);
void SetPropValue(TObject* obj, const TPropInfo& prop, const TValue& value,
                  const TNameResolver* resolver = nullptr);

// True when an ordinal property holds its declared default (a writer then leaves it out).
bool IsDefaultPropValue(const TObject* obj, const TPropInfo& prop);

// Stores name as the handler of an event without binding code, as a designed form has it (the
// writer writes the name); an empty name clears the event. Raises EPropertyError for a
// property that is no writable event, or a name that is no identifier.
void SetEventName(TObject* obj, const TPropInfo& prop, std::string_view name);

// ---------------------------------------------------------------------------------------------
// TClassBuilder

namespace detail {

template <class M>
struct MemberFnTraits;
template <class R, class B, class... A>
struct MemberFnTraits<R (B::*)(A...)> {
  using Sig = R(A...);
};
template <class R, class B, class... A>
struct MemberFnTraits<R (B::*)(A...) const> {
  using Sig = R(A...);
};

template <class C, class M, class R, class... A>
std::function<std::any(TObject*)> MakeBinder(M method, std::type_identity<R(A...)>) {
  return [method](TObject* self) -> std::any {
    C* obj = As<C>(self);
    return std::function<R(A...)>(
        [obj, method](A... args) -> R { return (obj->*method)(std::forward<A>(args)...); });
  };
}

template <class C, class M, class R, class... A>
std::any MakeInvoker(M method, std::type_identity<R(A...)>) {
  return std::function<R(TObject*, A...)>([method](TObject* self, A... args) -> R {
    return (As<C>(self)->*method)(std::forward<A>(args)...);
  });
}

// Only for objects whose class record holds the method, so they are C's.
template <class C, class M, class R, class... A>
std::any MakeFoundInvoker(M method, std::type_identity<R(A...)>) {
  return std::function<R(TObject*, A...)>([method](TObject* self, A... args) -> R {
    return (static_cast<C*>(self)->*method)(std::forward<A>(args)...);
  });
}

template <class P>
concept ObjectPointer =
    std::is_pointer_v<P> && std::derived_from<std::remove_pointer_t<P>, TObject>;

// A var parameter whose changes a generic handler makes reach the caller: int32_t& and bool&.
// Other references (char32_t&, std::string&) reach it as copies.
template <class A>
constexpr bool IsVarParam =
    std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>> &&
    (std::is_same_v<std::remove_cvref_t<A>, int32_t> ||
     std::is_same_v<std::remove_cvref_t<A>, bool>);

// What reaches a generic handler as an integer: enumerations, sets, characters.
template <class U>
concept IntegerLike = std::is_enum_v<U> || std::is_integral_v<U> || IsTSet<U>::value;

// A parameter or result of an event as EventArg hands it over.
template <class A>
TEventParam EventParamOf() {
  using U = std::remove_cvref_t<A>;
  TEventParam p;
  p.Type = typeid(U);
  p.IsVar = IsVarParam<A>;
  if constexpr (std::is_void_v<U>) {
    p.Kind = TEventParamKind::None;
  } else if constexpr (ObjectPointer<U>) {
    p.Kind = TEventParamKind::Object;
    p.Class = &std::remove_cv_t<std::remove_pointer_t<U>>::StaticClassInfo;
  } else if constexpr (std::is_same_v<U, bool>) {
    p.Kind = TEventParamKind::Boolean;
  } else if constexpr (std::is_same_v<U, std::string>) {
    p.Kind = TEventParamKind::String;
  } else if constexpr (IntegerLike<U>) {
    p.Kind = TEventParamKind::Integer;
  } else {
    p.Kind = TEventParamKind::Other;
  }
  return p;
}
template <class R, class... A>
std::vector<TEventParam> EventParamsOf(std::type_identity<R(A...)>) {
  return {EventParamOf<A>()...};
}

// One argument of an event call as a generic handler sees it; locals keeps copies of values
// that have no pointer of their own (enumerations, sets) alive for the call.
template <class A, class V>
TEventArg EventArg(V& a, std::vector<int32_t>& locals) {
  using U = std::remove_cvref_t<A>;
  if constexpr (ObjectPointer<U>) {
    return {static_cast<TObject*>(a), false};
  } else if constexpr (std::is_same_v<U, int32_t> || std::is_same_v<U, bool>) {
    return {&a, IsVarParam<A>};
  } else if constexpr (std::is_same_v<U, std::string>) {
    return {static_cast<const std::string*>(&a), false};
  } else if constexpr (std::is_enum_v<U> || std::is_integral_v<U>) {
    locals.push_back(static_cast<int32_t>(a));
    return {&locals.back(), false};
  } else if constexpr (requires { a.Bits(); }) {
    locals.push_back(static_cast<int32_t>(a.Bits()));
    return {&locals.back(), false};
  } else {
    return {static_cast<TObject*>(nullptr), false};
  }
}

template <class R, class... A>
std::any MakeGenericHandler(const TGenericHandler& handler, std::type_identity<R(A...)>) {
  return std::function<R(A...)>([handler](A... args) -> R {
    TEventCall call;
    std::vector<int32_t> locals;
    locals.reserve(sizeof...(A));  // the pointers into it must not move
    (call.Args.push_back(EventArg<A>(args, locals)), ...);
    call.HasResult = std::is_same_v<R, bool>;
    call.HasObjectResult = ObjectPointer<R>;
    handler(call);
    if constexpr (std::is_same_v<R, bool>)
      return call.Result;
    else if constexpr (ObjectPointer<R>)
      return As<std::remove_pointer_t<R>>(call.ObjectResult);  // a wrong class raises
    else if constexpr (!std::is_void_v<R>)
      return R{};
  });
}

std::string PropName(const TObject* obj, const TPropInfo& prop);
// A published copy of the property named name that an ancestor of cls declares; raises
// EPropertyError when none does.
std::unique_ptr<TPropInfo> InheritedProp(const TClassInfo& cls, std::string_view name);
[[noreturn]] void RaiseRange(const TObject* obj, const TPropInfo& prop, int64_t v);

}  // namespace detail

bool IsComponentClass(const TClassInfo& cls);

// Builds the class-info record of C. Getters and setters may be member functions, data
// members or callables taking the object; the property's kind follows from its C++ type.
template <class C>
class TClassBuilder {
 public:
  explicit TClassBuilder(std::string name) : FInfo(std::make_unique<TClassInfo>()) {
    FInfo->Name = std::move(name);
    if constexpr (requires { typename C::inherited; }) {
      FInfo->Parent = &C::inherited::StaticClassInfo();
    }
    if constexpr (std::derived_from<C, TComponent> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>) {
      FInfo->Factory = [](TComponent* owner) -> TComponent* {
        C* c = new C(owner);
        c->AfterConstruction();
        return c;
      };
    }
  }

  // A published property.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Property(std::string name, G getter, S setter = nullptr) {
    auto prop = std::make_unique<TPropInfo>();
    prop->Name = std::move(name);
    using T = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;
    Describe<T>(*prop, getter, setter);
    FLast = prop.get();
    FInfo->Props.push_back(std::move(prop));
    return *this;
  }
  // A public property: scripts read and write it, form files never carry it.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Public(std::string name, G getter, S setter = nullptr) {
    Property(std::move(name), getter, setter);
    FLast->Published = false;
    return *this;
  }
  // Publishes, at this position, a property an ancestor declares (often public there): the
  // ancestor's description with its default and stored rule, which Default and Stored may then
  // change for this class. Several names publish several, in that order (Default and Stored
  // then apply to the last). A name no ancestor declares raises EPropertyError.
  template <class... More>
  TClassBuilder& Publish(std::string_view name, More... more) {
    FInfo->Props.push_back(detail::InheritedProp(*FInfo, name));
    FLast = FInfo->Props.back().get();
    if constexpr (sizeof...(more) > 0) Publish(more...);
    return *this;
  }
  // The last property's default: it is not written while it holds this value.
  template <class V>
  TClassBuilder& Default(V value) {
    FLast->Default = static_cast<int64_t>(value);
    return *this;
  }
  template <class E>
  TClassBuilder& Default(TSet<E> value) {
    FLast->Default = static_cast<int64_t>(value.Bits());
    return *this;
  }
  // Each Stored replaces the last property's whole stored rule, an inherited one too.
  TClassBuilder& Stored(bool stored) {
    FLast->StoredFlag = stored;
    FLast->StoredFn = nullptr;
    return *this;
  }
  TClassBuilder& Stored(bool (C::*pred)() const) {
    FLast->StoredFlag = true;
    FLast->StoredFn = [pred](const TObject* o) { return (static_cast<const C*>(o)->*pred)(); };
    return *this;
  }

  // A published method, callable by name with its exact signature.
  template <class M>
  TClassBuilder& Method(std::string name, M method) {
    using Sig = typename detail::MemberFnTraits<M>::Sig;
    FInfo->Methods.push_back(TMethodInfo{
        std::move(name), typeid(Sig), detail::MakeBinder<C>(method, std::type_identity<Sig>{}),
        detail::MakeInvoker<C>(method, std::type_identity<Sig>{}),
        detail::MakeFoundInvoker<C>(method, std::type_identity<Sig>{})});
    return *this;
  }

  // A published field holding an object reference; a read-only one refuses TFieldRef::Set
  // (the object it holds is owned, or kept in step by the class itself).
  template <class F>
  TClassBuilder& Field(std::string name, F C::*field, bool writable = true) {
    static_assert(detail::ObjectPointer<F>, "a published field holds an object reference");
    using U = std::remove_pointer_t<F>;
    TFieldInfo info;
    info.Name = std::move(name);
    info.FieldClass = &U::StaticClassInfo;
    info.Get = [field](const TObject* o) -> TObject* { return static_cast<const C*>(o)->*field; };
    if (writable)
      info.Set = [field](TObject* o, TObject* v) { static_cast<C*>(o)->*field = As<U>(v); };
    FInfo->Fields.push_back(std::move(info));
    return *this;
  }

  std::unique_ptr<const TClassInfo> Build() {
    FInfo->Index();
    return std::move(FInfo);
  }

 private:
  static const C& Self(const TObject* o) { return *static_cast<const C*>(o); }
  static C& Self(TObject* o) { return *static_cast<C*>(o); }

  template <class T, class S>
  static void Assign(C& obj, const S& setter, T value) {
    if constexpr (std::is_member_object_pointer_v<S>) {
      std::invoke(setter, obj) = std::move(value);
    } else {
      std::invoke(setter, obj, std::move(value));
    }
  }

  template <class T, class G, class S>
  void Describe(TPropInfo& p, G getter, S setter) {
    constexpr bool writable = !std::is_null_pointer_v<S>;
    if constexpr (std::is_same_v<T, bool>) {
      p.Kind = TPropKind::Boolean;
      p.GetOrd = [getter](const TObject* o) -> int64_t { return std::invoke(getter, Self(o)); };
      if constexpr (writable)
        p.SetOrd = [setter](TObject* o, int64_t v) { Assign<bool>(Self(o), setter, v != 0); };
    } else if constexpr (IdentifiedInteger<T>) {
      using U = std::underlying_type_t<T>;
      p.Kind = TPropKind::Integer;
      p.IntIdents = &IntIdentsOf(T{});
      p.MinValue = std::numeric_limits<U>::min();
      p.MaxValue = std::numeric_limits<U>::max();
      p.GetOrd = [getter](const TObject* o) -> int64_t {
        return static_cast<U>(std::invoke(getter, Self(o)));
      };
      if constexpr (writable)
        p.SetOrd = [setter](TObject* o, int64_t v) {
          Assign<T>(Self(o), setter, static_cast<T>(static_cast<U>(v)));
        };
    } else if constexpr (PublishedEnum<T>) {
      p.Kind = TPropKind::Enumeration;
      p.EnumType = &EnumTypeOf(T{});
      p.GetOrd = [getter](const TObject* o) -> int64_t {
        return static_cast<int64_t>(std::invoke(getter, Self(o)));
      };
      if constexpr (writable)
        p.SetOrd = [setter](TObject* o, int64_t v) {
          Assign<T>(Self(o), setter, static_cast<T>(v));
        };
    } else if constexpr (IsTSet<T>::value) {
      p.Kind = TPropKind::Set;
      p.EnumType = &EnumTypeOf(typename T::Element{});
      p.GetOrd = [getter](const TObject* o) -> int64_t {
        return std::invoke(getter, Self(o)).Bits();
      };
      if constexpr (writable)
        p.SetOrd = [setter](TObject* o, int64_t v) {
          Assign<T>(Self(o), setter, T::FromBits(static_cast<uint32_t>(v)));
        };
    } else if constexpr (std::is_integral_v<T>) {
      static_assert(sizeof(T) <= 4, "integer properties are at most 32 bits wide");
      p.Kind = TPropKind::Integer;
      p.MinValue = std::numeric_limits<T>::min();
      p.MaxValue = std::numeric_limits<T>::max();
      p.GetOrd = [getter](const TObject* o) -> int64_t { return std::invoke(getter, Self(o)); };
      if constexpr (writable)
        p.SetOrd = [setter](TObject* o, int64_t v) {
          Assign<T>(Self(o), setter, static_cast<T>(v));
        };
    } else if constexpr (std::is_same_v<T, std::string>) {
      p.Kind = TPropKind::String;
      p.GetStr = [getter](const TObject* o) -> std::string { return std::invoke(getter, Self(o)); };
      if constexpr (std::is_lvalue_reference_v<std::invoke_result_t<G, const C&>>)
        p.GetStrView = [getter](const TObject* o) -> std::string_view {
          return std::invoke(getter, Self(o));
        };
      if constexpr (writable)
        p.SetStr = [setter](TObject* o, const std::string& v) {
          Assign<std::string>(Self(o), setter, v);
        };
    } else if constexpr (detail::ObjectPointer<T>) {
      using U = std::remove_pointer_t<T>;
      p.PropClass = &U::StaticClassInfo;
      p.Kind = std::derived_from<U, TComponent> ? TPropKind::Component
               : std::derived_from<U, TStrings> ? TPropKind::Strings
                                                : TPropKind::Object;
      p.GetObj = [getter](const TObject* o) -> TObject* { return std::invoke(getter, Self(o)); };
      if constexpr (writable)
        p.SetObj = [setter](TObject* o, TObject* v) { Assign<T>(Self(o), setter, As<U>(v)); };
    } else if constexpr (IsTEvent<T>::value) {
      using Fn = typename T::Function;
      p.Kind = TPropKind::Method;
      p.EventSignature = typeid(typename T::Signature);
      p.EventReturnsObject = detail::ObjectPointer<typename Fn::result_type>;
      p.EventParams = detail::EventParamsOf(std::type_identity<typename T::Signature>{});
      p.EventResult = detail::EventParamOf<typename Fn::result_type>();
      p.MakeHandler = [](const TGenericHandler& h) {
        return detail::MakeGenericHandler(h, std::type_identity<typename T::Signature>{});
      };
      p.GetEvent = [getter](const TObject* o) -> TEventState {
        const T& e = std::invoke(getter, Self(o));
        return {static_cast<bool>(e), e.MethodName()};
      };
      if constexpr (writable)
        p.SetEvent = [setter](TObject* o, const std::any& code, const std::string& name) {
          if (!code.has_value())
            return Assign<T>(Self(o), setter, name.empty() ? T{} : T(Fn{}, name));
          Assign<T>(Self(o), setter, T(std::any_cast<Fn>(code), name));
        };
    } else {
      static_assert(sizeof(T) == 0, "this type cannot be a published property");
    }
  }

  std::unique_ptr<TClassInfo> FInfo;
  TPropInfo* FLast = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Handlers by name

namespace detail {

// The signature R(A...) of a callable with one call operator: a function, a function
// pointer, a lambda with typed parameters, a Bind result.
template <class F>
struct CallableSig;
template <class R, class... A>
struct CallableSig<R(A...)> {
  using Type = R(A...);
};
template <class R, class... A>
struct CallableSig<R(A...) noexcept> : CallableSig<R(A...)> {};
template <class R, class... A>
struct CallableSig<R (*)(A...)> : CallableSig<R(A...)> {};
template <class R, class... A>
struct CallableSig<R (*)(A...) noexcept> : CallableSig<R(A...)> {};
template <class C, class R, class... A>
struct CallableSig<R (C::*)(A...)> : CallableSig<R(A...)> {};
template <class C, class R, class... A>
struct CallableSig<R (C::*)(A...) const> : CallableSig<R(A...)> {};
template <class C, class R, class... A>
struct CallableSig<R (C::*)(A...) noexcept> : CallableSig<R(A...)> {};
template <class C, class R, class... A>
struct CallableSig<R (C::*)(A...) const noexcept> : CallableSig<R(A...)> {};
template <class F>
requires requires {
  &F::operator();
}
struct CallableSig<F> : CallableSig<decltype(&F::operator())> {};

template <class F>
concept HasOneSignature = requires {
  typename CallableSig<F>::Type;
};

// A handler parameter: an object pointer, a value an event passes (int32_t, bool, a string,
// an enumeration), or int32_t& / bool& for a var parameter the handler changes.
template <class P>
constexpr bool IsHandlerParam =
    std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>
        ? IsVarParam<P>
        : !std::is_rvalue_reference_v<P> &&
              (ObjectPointer<std::remove_cvref_t<P>> || IntegerLike<std::remove_cvref_t<P>> ||
               std::is_same_v<std::remove_cvref_t<P>, std::string> ||
               std::is_same_v<std::remove_cvref_t<P>, std::string_view>);

template <class R>
constexpr bool IsHandlerResult = std::is_void_v<R> || std::is_same_v<R, bool> || ObjectPointer<R>;

template <class P>
TEventParam HandlerParamOf() {
  TEventParam p = EventParamOf<P>();
  if constexpr (std::is_same_v<std::remove_cvref_t<P>, std::string_view>) {
    p.Kind = TEventParamKind::String;
    p.Type = typeid(std::string);
  }
  return p;
}

// An event's argument as the handler's parameter P takes it; an object of another class than
// P names raises EInvalidCast.
template <class P>
decltype(auto) HandlerArg(TEventArg& a) {
  using U = std::remove_cvref_t<P>;
  if constexpr (ObjectPointer<U>) {
    return As<std::remove_cv_t<std::remove_pointer_t<U>>>(std::get<TObject*>(a.Value));
  } else if constexpr (std::is_same_v<U, int32_t>) {
    return *std::get<int32_t*>(a.Value);
  } else if constexpr (std::is_same_v<U, bool>) {
    return *std::get<bool*>(a.Value);
  } else if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view>) {
    return *std::get<const std::string*>(a.Value);
  } else if constexpr (IsTSet<U>::value) {
    return U::FromBits(static_cast<uint32_t>(*std::get<int32_t*>(a.Value)));
  } else {
    return static_cast<U>(*std::get<int32_t*>(a.Value));
  }
}

template <class R, class... A, class F, size_t... I>
void CallHandler(F& code, TEventCall& call, std::index_sequence<I...>) {
  if constexpr (std::is_void_v<R>)
    code(HandlerArg<A>(call.Args[I])...);
  else if constexpr (std::is_same_v<R, bool>)
    call.Result = code(HandlerArg<A>(call.Args[I])...);
  else
    call.ObjectResult = code(HandlerArg<A>(call.Args[I])...);
}

}  // namespace detail

// A handler given by name (TFormHandlers): any callable whose parameters take an event's
// leading arguments. An object parameter of a class the event's does not guarantee (TZelvar*
// where the event passes a TObject* sender) is checked with As when the event is raised;
// int32_t& and bool& take var parameters; a bool result answers an event that asks yes or
// no, an object pointer one that asks for an object. Whether a handler fits an event is
// checked when it is bound, not when the event is raised.
class TFormHandler {
 public:
  template <class F>
  TFormHandler(std::string name, F code)  // NOLINT(google-explicit-constructor): table entries
      : FName(std::move(name)) {
    static_assert(detail::HasOneSignature<std::decay_t<F>>,
                  "a handler is a function, a lambda with typed parameters or a Bind result");
    Init(std::move(code),
         std::type_identity<typename detail::CallableSig<std::decay_t<F>>::Type>{});
  }

  const std::string& Name() const { return FName; }
  // Why the handler cannot take the event's arguments or give its answer; empty when it fits.
  std::string Misfit(const TPropInfo& event) const;
  // Sets obj's event to the handler, under methodName (the name a form file gives it) or the
  // handler's own; raises EPropertyConvertError naming the handler, the event and what does
  // not fit.
  void BindTo(TObject* obj, const TPropInfo& event, std::string_view methodName = {}) const;
  // The same handler under another name (a script's method that names the program's).
  TFormHandler Renamed(std::string name) const;

 private:
  struct TBody {
    std::vector<TEventParam> Params;
    TEventParam Result;
    TGenericHandler Call;
  };

  template <class F, class R, class... A>
  void Init(F code, std::type_identity<R(A...)>) {
    static_assert((detail::IsHandlerParam<A> && ...),
                  "a handler parameter is an object pointer, int32_t, bool, a string, an "
                  "enumeration or set by value, or int32_t& / bool& for a var parameter");
    static_assert(detail::IsHandlerResult<R>, "a handler returns nothing, bool or an object");
    auto body = std::make_shared<TBody>();
    body->Params = {detail::HandlerParamOf<A>()...};
    body->Result = detail::EventParamOf<R>();
    body->Call = [code = std::move(code)](TEventCall& call) mutable {
      detail::CallHandler<R, A...>(code, call, std::index_sequence_for<A...>{});
    };
    FBody = std::move(body);
  }

  std::string FName;
  std::shared_ptr<const TBody> FBody;  // shared: tables and the events bound to them copy it
};

// Handlers by name, for the events a form file names (TFormReadOptions::Handlers) or that
// code binds by name:
//   TFormHandlers{{"Details", [&] { return detailsForm; }},
//                 {"PageChanged", Bind(this, &TSetup::PageChanged)}}
class TFormHandlers {
 public:
  TFormHandlers() = default;
  // A name given twice (names compare case-insensitively) raises EListError.
  TFormHandlers(std::initializer_list<TFormHandler> handlers);
  TFormHandlers& Add(TFormHandler handler);

  bool Empty() const { return FHandlers.empty(); }
  auto begin() const { return FHandlers.begin(); }
  auto end() const { return FHandlers.end(); }
  // nullptr when there is none of that name.
  const TFormHandler* Find(std::string_view name) const;
  // The names, for messages: "Details, PageChanged".
  std::string NameList() const;
  // Binds the handler named name to an event of obj ("OnClick"), as a form file would:
  // raises EPropertyError when there is no such handler or event, EPropertyConvertError when
  // the handler does not fit.
  void Bind(TObject* obj, std::string_view eventPath, std::string_view name) const;

 private:
  std::vector<TFormHandler> FHandlers;
};

}  // namespace zelvar
