#include "platform/core/TypInfo.h"

#include "platform/core/Assert.h"
#include "platform/core/SysUtils.h"
#include "platform/core/ValueText.h"

namespace zelvar {

bool IsComponentClass(const TClassInfo& cls) {
  return cls.InheritsFrom(TComponent::StaticClassInfo());
}

namespace detail {

std::string PropName(const TObject* obj, const TPropInfo& prop) {
  return obj->ClassName() + "." + prop.Name;
}

std::unique_ptr<TPropInfo> InheritedProp(const TClassInfo& cls, std::string_view name) {
  const TPropInfo* inherited = cls.Parent ? cls.Parent->FindProp(name) : nullptr;
  if (!inherited)
    throw EPropertyError("Class " + cls.Name + " cannot publish " + std::string(name) +
                         ": no ancestor declares it");
  auto prop = std::make_unique<TPropInfo>(*inherited);
  prop->Published = true;
  return prop;
}

void RaiseRange(const TObject* obj, const TPropInfo& prop, int64_t v) {
  throw EPropertyConvertError("Value " + std::to_string(v) + " is out of range for property " +
                              PropName(obj, prop));
}

}  // namespace detail

namespace {

using detail::PropName;

[[noreturn]] void RaiseWrongKind(const TObject* obj, const TPropInfo& prop, const TValue& v) {
  throw EPropertyConvertError("Invalid value for property " + PropName(obj, prop) + ": " +
                              PropKindName(prop.Kind) + " expected, " + v.KindName() + " given");
}

std::string_view NextSegment(std::string_view& path) {
  size_t dot = path.find('.');
  std::string_view seg = path.substr(0, dot);
  path = dot == std::string_view::npos ? std::string_view{} : path.substr(dot + 1);
  return seg;
}

TComponent* ContextComponent(TObject* obj) {
  // A nested persistent's names resolve on the component that holds it.
  for (auto* p = dynamic_cast<TPersistent*>(obj); p; p = p->GetOwner())
    if (auto* c = dynamic_cast<TComponent*>(p)) return c;
  return nullptr;
}

const TNameResolver& DefaultResolver() {
  static const TNameResolver resolver;
  return resolver;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TNameResolver

TComponent* TNameResolver::FindComponent(TComponent* context, std::string_view name) const {
  if (!context) return nullptr;
  TComponent* root = context->Root();
  std::string_view rest = name;
  std::string_view first = NextSegment(rest);
  TComponent* found = SameText(root->Name(), first) ? root : root->FindComponent(first);
  while (found && !rest.empty()) found = found->FindComponent(NextSegment(rest));
  return found;
}

TMethod TNameResolver::FindMethod(TComponent* context, std::string_view name) const {
  if (!context) return {};
  return context->Root()->MethodAddress(name);
}

// ---------------------------------------------------------------------------------------------
// Paths

TPropTarget FindPropTarget(TObject* obj, std::string_view path) {
  if (!obj) throw EPropertyError("Property " + std::string(path) + " of nil");
  std::string_view rest = path;
  TObject* cur = obj;
  while (true) {
    std::string_view seg = NextSegment(rest);
    if (rest.empty() && SameText(seg, "Strings") && cur->Is<TStrings>()) return {cur, nullptr};
    const TPropInfo* prop = cur->ClassInfo().FindProp(seg);
    if (!prop)
      throw EPropertyError("Property " + cur->ClassName() + "." + std::string(seg) +
                           " does not exist");
    if (rest.empty()) return {cur, prop};
    if (prop->Kind != TPropKind::Object && prop->Kind != TPropKind::Strings)
      throw EPropertyError("Property " + PropName(cur, *prop) + " has no properties of its own");
    TObject* next = prop->GetObj(cur);
    if (!next) throw EPropertyError("Property " + PropName(cur, *prop) + " is nil");
    cur = next;
  }
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

TValue StringsValue(const TStrings& list) {
  TValueList lines;
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Get(i));
  return lines;
}

}  // namespace

TValue GetPropValue(const TObject* obj, const TPropInfo& prop) {
  switch (prop.Kind) {
    case TPropKind::Integer: {
      int64_t v = prop.GetOrd(obj);
      if (prop.IntIdents)
        if (const std::string* name = prop.IntIdents->NameOf(v)) return TIdent{*name};
      return v;
    }
    case TPropKind::Boolean:
      return prop.GetOrd(obj) != 0;
    case TPropKind::Enumeration:
      return TIdent{prop.EnumType->NameOf(prop.GetOrd(obj))};
    case TPropKind::Set: {
      TSetValue set;
      auto bits = static_cast<uint64_t>(prop.GetOrd(obj));
      for (int i = 0; i < prop.EnumType->Count() && i < 32; ++i)
        if (bits & (uint64_t{1} << i)) set.Members.push_back(prop.EnumType->NameOf(i));
      return set;
    }
    case TPropKind::String:
      return prop.GetStr(obj);
    case TPropKind::Object:
      throw EPropertyError("Property " + PropName(obj, prop) +
                           " is an object: name one of its properties");
    case TPropKind::Component: {
      auto* c = static_cast<TComponent*>(prop.GetObj(obj));
      if (!c) return TNil{};
      return TIdent{c->Name()};
    }
    case TPropKind::Strings: {
      auto* list = static_cast<TStrings*>(prop.GetObj(obj));
      return list ? StringsValue(*list) : TValue(TNil{});
    }
    case TPropKind::Method: {
      // A designed form's handler has a name and no code yet: it counts.
      TEventState e = prop.GetEvent(obj);
      if (e.MethodName.empty()) return TNil{};
      return TIdent{e.MethodName};
    }
  }
  return TNil{};
}

TValue GetPropValue(const TObject* obj, std::string_view path) {
  TPropTarget t = FindPropTarget(const_cast<TObject*>(obj), path);
  if (!t.Prop) {
    ZELVAR_ASSERT(t.Object->Is<TStrings>());  // a target without a property is a list's Strings
    return StringsValue(*static_cast<TStrings*>(t.Object));
  }
  return GetPropValue(t.Object, *t.Prop);
}

std::string GetPropText(const TObject* obj, std::string_view path) {
  return FormatValue(GetPropValue(obj, path));
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

void FillList(TStringList& list, const TObject* obj, const TPropInfo* prop, std::string_view path,
              const TValue& value) {
  std::string name = prop ? PropName(obj, *prop) : obj->ClassName() + "." + std::string(path);
  if (!value.Is<TValueList>())
    throw EPropertyConvertError("Invalid value for property " + name +
                                ": list of strings expected, " + value.KindName() + " given");
  for (const TValue& item : value.As<TValueList>()) {
    if (!item.IsString())
      throw EPropertyConvertError("Invalid value for property " + name + ": list item is " +
                                  item.KindName() + ", string expected");
    list.Add(item.AsString());
  }
}

int64_t SetBits(const TObject* obj, const TPropInfo& prop, const TSetValue& set) {
  int64_t bits = 0;
  for (const std::string& m : set.Members) {
    int v = prop.EnumType->ValueOf(m);
    if (v < 0 || v >= 32)
      throw EPropertyConvertError("'" + m + "' is not a member of " + prop.EnumType->Name() +
                                  " for property " + PropName(obj, prop));
    bits |= int64_t{1} << v;
  }
  return bits;
}

}  // namespace

void SetPropValue(TObject* obj, const TPropInfo& prop, const TValue& value,
                  const TNameResolver* resolver) {
  const TNameResolver& names = resolver ? *resolver : DefaultResolver();
  if (prop.Kind == TPropKind::Object)
    throw EPropertyError("Property " + PropName(obj, prop) +
                         " is an object: set one of its properties");
  if (!prop.Writable() && prop.Kind != TPropKind::Strings)
    throw EPropertyError("Property " + PropName(obj, prop) + " is read-only");
  switch (prop.Kind) {
    case TPropKind::Integer: {
      int64_t v = 0;
      if (value.Is<TIdent>() && prop.IntIdents) {
        auto known = prop.IntIdents->ValueOf(value.As<TIdent>().Name);
        if (!known)
          throw EPropertyConvertError("'" + value.As<TIdent>().Name +
                                      "' is not a value of property " + PropName(obj, prop));
        v = *known;
      } else if (value.Is<int64_t>()) {
        v = value.As<int64_t>();
      } else {
        RaiseWrongKind(obj, prop, value);
      }
      if (v < prop.MinValue || v > prop.MaxValue) detail::RaiseRange(obj, prop, v);
      prop.SetOrd(obj, v);
      return;
    }
    case TPropKind::Boolean:
      if (!value.Is<bool>()) RaiseWrongKind(obj, prop, value);
      prop.SetOrd(obj, value.As<bool>() ? 1 : 0);
      return;
    case TPropKind::Enumeration: {
      if (!value.Is<TIdent>()) RaiseWrongKind(obj, prop, value);
      int v = prop.EnumType->ValueOf(value.As<TIdent>().Name);
      if (v < 0)
        throw EPropertyConvertError("'" + value.As<TIdent>().Name + "' is not a value of " +
                                    prop.EnumType->Name() + " for property " + PropName(obj, prop));
      prop.SetOrd(obj, v);
      return;
    }
    case TPropKind::Set:
      if (!value.Is<TSetValue>()) RaiseWrongKind(obj, prop, value);
      prop.SetOrd(obj, SetBits(obj, prop, value.As<TSetValue>()));
      return;
    case TPropKind::String:
      if (!value.IsString()) RaiseWrongKind(obj, prop, value);
      prop.SetStr(obj, value.AsString());
      return;
    case TPropKind::Object:
      return;  // refused above
    case TPropKind::Component: {
      TComponent* target = nullptr;
      if (value.Is<TIdent>()) {
        target = names.FindComponent(ContextComponent(obj), value.As<TIdent>().Name);
        if (!target)
          throw EPropertyError("Component '" + value.As<TIdent>().Name +
                               "' not found for property " + PropName(obj, prop));
      } else if (!value.Is<TNil>()) {
        RaiseWrongKind(obj, prop, value);
      }
      try {
        prop.SetObj(obj, target);
      } catch (const EInvalidCast&) {
        throw EPropertyConvertError("Invalid value for property " + PropName(obj, prop) + ": " +
                                    target->Name() + " is a " + target->ClassName() + ", not a " +
                                    prop.PropClass().Name);
      }
      return;
    }
    case TPropKind::Strings: {
      TStringList list;
      FillList(list, obj, &prop, prop.Name, value);
      if (prop.SetObj) {
        prop.SetObj(obj, &list);
      } else if (auto* own = static_cast<TStrings*>(prop.GetObj(obj))) {
        own->Assign(&list);
      } else {
        throw EPropertyError("Property " + PropName(obj, prop) + " is nil");
      }
      return;
    }
    case TPropKind::Method: {
      if (value.Is<TNil>()) {
        prop.SetEvent(obj, std::any{}, {});
        return;
      }
      if (!value.Is<TIdent>()) RaiseWrongKind(obj, prop, value);
      const std::string& name = value.As<TIdent>().Name;
      TMethod m = names.FindMethod(ContextComponent(obj), name);
      if (!m)
        throw EPropertyError("Method '" + name + "' not found for property " + PropName(obj, prop));
      if (m.Info()->Signature != prop.EventSignature)
        throw EPropertyConvertError(
            "Method '" + name + "' has the signature " + TypeText(m.Info()->Signature) +
            ", property " + PropName(obj, prop) + " needs " + TypeText(prop.EventSignature));
      prop.SetEvent(obj, m.Info()->Bind(m.Data()), m.Name());
      return;
    }
  }
}

void SetPropValue(TObject* obj, std::string_view path, const TValue& value,
                  const TNameResolver* resolver) {
  TPropTarget t = FindPropTarget(obj, path);
  if (!t.Prop) {
    // "List.Strings": the form file fills the owned list in place.
    ZELVAR_ASSERT(t.Object->Is<TStrings>());
    TStringList list;
    FillList(list, t.Object, nullptr, "Strings", value);
    static_cast<TStrings*>(t.Object)->Assign(&list);
    return;
  }
  SetPropValue(t.Object, *t.Prop, value, resolver);
}

void SetPropText(TObject* obj, std::string_view path, std::string_view text,
                 const TNameResolver* resolver) {
  SetPropValue(obj, path, ParseValue(text), resolver);
}

bool IsDefaultPropValue(const TObject* obj, const TPropInfo& prop) {
  return prop.Default.has_value() && prop.GetOrd && prop.GetOrd(obj) == *prop.Default;
}

void SetEventName(TObject* obj, const TPropInfo& prop, std::string_view name) {
  if (prop.Kind != TPropKind::Method || !prop.SetEvent)
    throw EPropertyError("Property " + PropName(obj, prop) + " is no event that can be set");
  if (!name.empty() && !IsValidIdent(name))
    throw EPropertyError("'" + std::string(name) + "' is not a valid method name");
  prop.SetEvent(obj, std::any{}, std::string(name));
}

// ---------------------------------------------------------------------------------------------
// Handlers by name

namespace {

std::string ParamText(const TEventParam& p) {
  std::string text;
  switch (p.Kind) {
    case TEventParamKind::None:
      return "nothing";
    case TEventParamKind::Object:
      text = p.Class().Name + "*";
      break;
    case TEventParamKind::Boolean:
      text = "bool";
      break;
    case TEventParamKind::String:
      text = "a string";
      break;
    case TEventParamKind::Integer:
      text = p.Type == typeid(int32_t) ? "int32_t" : TypeText(p.Type);
      break;
    case TEventParamKind::Other:
      text = TypeText(p.Type);
      break;
  }
  return p.IsVar ? text + "&" : text;
}

// Objects of one class can be of the other: a handler's TZelvar* for an event's TObject* is
// checked when the event is raised; unrelated classes could never be.
bool Related(const TEventParam& a, const TEventParam& b) {
  return a.Class().InheritsFrom(b.Class()) || b.Class().InheritsFrom(a.Class());
}

bool SameKind(const TEventParam& handler, const TEventParam& event) {
  if (handler.Kind != event.Kind) return false;
  if (handler.Kind == TEventParamKind::Object) return Related(handler, event);
  // An int32_t takes any integer an event passes; an enumeration or a set only its own type.
  if (handler.Kind == TEventParamKind::Integer)
    return handler.Type == typeid(int32_t) || handler.Type == event.Type;
  return true;
}

std::string ParamMisfit(const TEventParam& handler, const TEventParam& event) {
  if (event.Kind == TEventParamKind::Other)
    return "cannot be taken: the event passes " + ParamText(event);
  if (!SameKind(handler, event))
    return "is " + ParamText(handler) + ", the event passes " + ParamText(event);
  if (handler.IsVar && !event.IsVar)
    return "is " + ParamText(handler) + ", the event passes " + ParamText(event) + " by value";
  return {};
}

}  // namespace

std::string TFormHandler::Misfit(const TPropInfo& event) const {
  const auto& params = FBody->Params;
  auto count = [](size_t n) { return std::to_string(n) + (n == 1 ? " parameter" : " parameters"); };
  if (params.size() > event.EventParams.size())
    return "it takes " + count(params.size()) + ", the event passes " +
           count(event.EventParams.size());
  for (size_t i = 0; i < params.size(); ++i)
    if (std::string why = ParamMisfit(params[i], event.EventParams[i]); !why.empty())
      return "parameter " + std::to_string(i + 1) + " " + why;
  if (!SameKind(FBody->Result, event.EventResult))
    return "it returns " + ParamText(FBody->Result) + ", the event " +
           (event.EventResult.Kind == TEventParamKind::None
                ? std::string("answers nothing")
                : "asks for " + ParamText(event.EventResult));
  return {};
}

void TFormHandler::BindTo(TObject* obj, const TPropInfo& event, std::string_view methodName) const {
  if (event.Kind != TPropKind::Method || !event.SetEvent || !event.MakeHandler)
    throw EPropertyError("Property " + PropName(obj, event) + " is not an event to bind");
  if (std::string why = Misfit(event); !why.empty())
    throw EPropertyConvertError("Handler '" + FName + "' does not fit " + PropName(obj, event) +
                                ": " + why);
  event.SetEvent(obj, event.MakeHandler(FBody->Call),
                 methodName.empty() ? FName : std::string(methodName));
}

TFormHandler TFormHandler::Renamed(std::string name) const {
  TFormHandler copy = *this;
  copy.FName = std::move(name);
  return copy;
}

TFormHandlers::TFormHandlers(std::initializer_list<TFormHandler> handlers) {
  for (const TFormHandler& h : handlers) Add(h);
}

TFormHandlers& TFormHandlers::Add(TFormHandler handler) {
  if (Find(handler.Name())) throw EListError("Handler '" + handler.Name() + "' is given twice");
  FHandlers.push_back(std::move(handler));
  return *this;
}

const TFormHandler* TFormHandlers::Find(std::string_view name) const {
  for (const TFormHandler& h : FHandlers)
    if (SameText(h.Name(), name)) return &h;
  return nullptr;
}

std::string TFormHandlers::NameList() const {
  std::string list;
  for (const TFormHandler& h : FHandlers) list += (list.empty() ? "" : ", ") + h.Name();
  return list;
}

void TFormHandlers::Bind(TObject* obj, std::string_view eventPath, std::string_view name) const {
  const TFormHandler* handler = Find(name);
  if (!handler)
    throw EPropertyError(
        "No handler named '" + std::string(name) + "'" +
        (Empty() ? std::string(": none were given") : " (handlers given: " + NameList() + ")"));
  TPropTarget target = FindPropTarget(obj, eventPath);
  if (!target.Prop) throw EPropertyError(std::string(eventPath) + " is not an event");
  handler->BindTo(target.Object, *target.Prop);
}

}  // namespace zelvar
