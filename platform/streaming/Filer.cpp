#include "platform/streaming/Filer.h"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <unordered_map>

#include "platform/core/ScopeGuard.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/core/ValueText.h"

namespace zelvar {

static_assert(LDBL_MANT_DIG == 64, "extended values are read as the x87 80-bit format");

namespace {

// Raised once a read error carries its full context, so outer levels pass it on unchanged.
class EReadFailure : public EReadError {
 public:
  using EReadError::EReadError;
};

uint16_t LE16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t LE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t LE64(const uint8_t* p) {
  return LE32(p) | (static_cast<uint64_t>(LE32(p + 4)) << 32);
}

std::string HexByte(uint8_t b) {
  return "$" + HexText(b, 2);
}

}  // namespace

// =============================================================================================
// TReader: values

TReader::TReader(TStream& stream) : FStream(&stream) {
  FStreamStart = stream.Position();
  if (auto* mem = dynamic_cast<TMemoryStream*>(&stream)) {
    // Read memory in place: no copy of a large form.
    const std::string& data = mem->Data();
    size_t start = static_cast<size_t>(std::min<int64_t>(FStreamStart, data.size()));
    FData = reinterpret_cast<const uint8_t*>(data.data()) + start;
    FSize = data.size() - start;
  } else {
    FOwnedBytes = stream.ReadAll();
    FData = reinterpret_cast<const uint8_t*>(FOwnedBytes.data());
    FSize = FOwnedBytes.size();
  }
}

TReader::TReader(std::string_view bytes)
    : FData(reinterpret_cast<const uint8_t*>(bytes.data())), FSize(bytes.size()) {}

TReader::~TReader() {
  if (!FStream) return;
  try {
    FStream->SetPosition(FStreamStart + static_cast<int64_t>(FPos));
  } catch (const Exception&) {
    // A stream that cannot seek back keeps its position; the reader is gone either way.
  }
}

void TReader::ErrorAt(const std::string& message, size_t offset) const {
  std::string where =
      OnDescribeOffset ? OnDescribeOffset(offset) : "offset " + std::to_string(offset);
  std::string what = FContext.empty() ? "form" : FContext;
  throw EReadFailure("Error reading " + what + " at " + where + ": " + message);
}

void TReader::Error(const std::string& message) const {
  ErrorAt(message, FPos);
}

const uint8_t* TReader::Need(size_t count) {
  if (count > FSize - FPos) ErrorAt("Unexpected end of stream", FSize);
  const uint8_t* p = FData + FPos;
  FPos += count;
  return p;
}

void TReader::SetPosition(size_t pos) {
  if (pos > FSize) ErrorAt("Position beyond the end of the stream", FSize);
  FPos = pos;
}

uint8_t TReader::PeekByte() {
  if (FPos >= FSize) ErrorAt("Unexpected end of stream", FSize);
  return FData[FPos];
}

uint32_t TReader::ReadUInt32() {
  return LE32(Need(4));
}

TValueType TReader::NextValue() {
  if (FPos >= FSize) ErrorAt("Unexpected end of stream", FSize);
  uint8_t b = FData[FPos];
  if (b > kMaxValueType) ErrorAt("Unknown value type " + HexByte(b), FPos);
  return static_cast<TValueType>(b);
}

TValueType TReader::ReadValue() {
  TValueType t = NextValue();
  ++FPos;
  return t;
}

bool TReader::EndOfList() {
  // Only the terminator is looked at: in a property list the next byte is a name's length,
  // which may well be above the highest value type.
  if (FPos >= FSize) ErrorAt("Unexpected end of stream", FSize);
  return FData[FPos] == vaNull;
}

void TReader::ReadListEnd() {
  size_t at = FPos;
  if (ReadValue() != vaNull) ErrorAt("End of list expected", at);
}

void TReader::ReadSignature() {
  if (FSize - FPos < 4 || std::memcmp(FData + FPos, kFormSignature.data(), 4) != 0)
    ErrorAt("Invalid stream format: the signature TPF0 is missing", FPos);
  FPos += 4;
}

int64_t TReader::ReadIntegerOf(TValueType type) {
  switch (type) {
    case vaInt8:
      return static_cast<int8_t>(*Need(1));
    case vaInt16:
      return static_cast<int16_t>(LE16(Need(2)));
    case vaInt32:
      return static_cast<int32_t>(LE32(Need(4)));
    case vaInt64:
      return static_cast<int64_t>(LE64(Need(8)));
    default:
      return 0;
  }
}

int32_t TReader::ReadInteger() {
  size_t at = FPos;
  TValueType t = ReadValue();
  if (t != vaInt8 && t != vaInt16 && t != vaInt32) ErrorAt("Integer expected", at);
  return static_cast<int32_t>(ReadIntegerOf(t));
}

int64_t TReader::ReadInt64() {
  size_t at = FPos;
  TValueType t = ReadValue();
  if (t != vaInt8 && t != vaInt16 && t != vaInt32 && t != vaInt64) ErrorAt("Integer expected", at);
  return ReadIntegerOf(t);
}

std::string_view TReader::ReadStrView() {
  size_t n = ReadByte();
  const uint8_t* p = Need(n);
  return std::string_view(reinterpret_cast<const char*>(p), n);
}

std::string TReader::ReadStr() {
  return std::string(ReadStrView());
}

std::string TReader::ReadString() {
  size_t at = FPos;
  TValue v = ReadTValue();
  if (!v.IsString()) ErrorAt("String expected", at);
  return v.AsString();
}

std::string_view TReader::ReadBinaryBytes() {
  uint32_t n = ReadUInt32();
  const uint8_t* p = Need(n);
  return std::string_view(reinterpret_cast<const char*>(p), n);
}

TValue TReader::ReadTValue() {
  size_t at = FPos;
  TValueType t = ReadValue();
  switch (t) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      return ReadIntegerOf(t);
    case vaExtended: {
      long double v = 0;
      std::memcpy(&v, Need(10), 10);
      return v;
    }
    case vaSingle: {
      float f;
      std::memcpy(&f, Need(4), 4);
      return static_cast<long double>(f);
    }
    case vaDate: {
      double d;
      std::memcpy(&d, Need(8), 8);
      return static_cast<long double>(d);
    }
    case vaCurrency:
      return static_cast<long double>(static_cast<int64_t>(LE64(Need(8)))) / 10000;
    case vaString:
      return ReadStr();
    case vaLString:
    case vaUTF8String: {
      uint32_t n = ReadUInt32();
      const uint8_t* p = Need(n);
      return std::string(reinterpret_cast<const char*>(p), n);
    }
    case vaWString: {
      uint32_t n = ReadUInt32();
      const uint8_t* p = Need(size_t{n} * 2);
      std::u16string w(n, u'\0');
      for (uint32_t i = 0; i < n; ++i) w[i] = static_cast<char16_t>(LE16(p + 2 * i));
      return w;
    }
    case vaIdent:
      return TIdent{ReadStr()};
    case vaFalse:
      return false;
    case vaTrue:
      return true;
    case vaNil:
      return TNil{};
    case vaBinary: {
      std::string_view bytes = ReadBinaryBytes();
      return TBinary{std::vector<uint8_t>(bytes.begin(), bytes.end())};
    }
    case vaSet: {
      TSetValue set;
      while (true) {
        std::string member = ReadStr();
        if (member.empty()) break;
        set.Members.push_back(std::move(member));
      }
      return set;
    }
    case vaList: {
      if (++FListDepth > kMaxValueNesting) ErrorAt("Lists nested too deeply", at);
      TValueList items;
      while (!EndOfList()) items.push_back(ReadTValue());
      ++FPos;
      --FListDepth;
      return items;
    }
    case vaCollection:
      ErrorAt("Collections are not supported here", at);
    case vaNull:
      ErrorAt("Value expected", at);
  }
  ErrorAt("Unknown value type", at);
}

// =============================================================================================
// TReader: components

namespace {

// Event names bind to the reader's method finder instead of the root's own methods.
class TReaderNames : public TNameResolver {
 public:
  explicit TReaderNames(const TReader& reader) : FReader(reader) {}
  TMethod FindMethod(TComponent* context, std::string_view name) const override {
    if (FReader.OnFindMethod) return FReader.OnFindMethod(FReader.Root(), std::string(name));
    return TNameResolver::FindMethod(FReader.Root() ? FReader.Root() : context, name);
  }

 private:
  const TReader& FReader;
};

struct TFixup {
  TObject* Instance;
  const TPropInfo* Prop;
  std::string Name;
  std::string Context;
  size_t Offset;
};

}  // namespace

// The component-level read: one object per ReadRootComponent call.
class TReaderImpl {
 public:
  explicit TReaderImpl(TReader& r) : R(r), Names(r) {}

  TComponent* ReadRoot(TComponent* owner) {
    R.ReadSignature();
    size_t at = R.FPos;
    auto [flags, childPos] = ReadPrefix();
    (void)flags;
    (void)childPos;
    std::string className = R.ReadStr();
    std::string name = R.ReadStr();
    R.FContext = name.empty() ? className : name;
    TComponent* root = Create(className, owner, at, true);
    R.FRoot = root;
    try {
      Begin(root, name, at);
      ReadBody(root, 1);
      if (R.RequireEnd && R.Remaining() != 0)
        R.ErrorAt(std::to_string(R.Remaining()) + " bytes after the end of the form", R.FPos);
      ResolveFixups();
      for (TComponent* c : Loaded) c->SetReadingState(false);
      for (TComponent* c : Loaded) c->Loaded();
    } catch (...) {
      R.FRoot = nullptr;
      delete root;  // frees every component the read created: all owned by the root
      throw;
    }
    return root;
  }

 private:
  std::pair<uint8_t, int64_t> ReadPrefix() {
    uint8_t flags = 0;
    int64_t childPos = -1;
    if ((R.PeekByte() & 0xF0) == 0xF0) {
      flags = R.FData[R.FPos++] & 0x0F;
      if (flags & ffChildPos) childPos = R.ReadInt64();
    }
    return {flags, childPos};
  }

  TComponent* Create(std::string_view className, TComponent* owner, size_t at, bool isRoot) {
    const TClassInfo* cls = GetClass(className);
    TComponent* c = nullptr;
    try {
      if (cls && cls->Factory)
        c = cls->Factory(owner);
      else if (isRoot && R.OnCreateRoot)
        c = R.OnCreateRoot(std::string(className), owner);
    } catch (const EReadFailure&) {
      throw;
    } catch (const Exception& e) {
      R.ErrorAt("Cannot create " + std::string(className) + ": " + e.Message(), at);
    }
    if (!c) R.ErrorAt("Class " + std::string(className) + " not found", at);
    // A form read into the designer is designed before its components are made, so they
    // are designed from their constructors on.
    if (isRoot && R.Designing) c->SetDesigning(true);
    return c;
  }

  void Begin(TComponent* c, const std::string& name, size_t at) {
    c->SetReadingState(true);
    Loaded.push_back(c);
    if (name.empty()) return;
    try {
      c->SetName(name);
    } catch (const Exception& e) {
      R.ErrorAt(e.Message(), at);
    }
  }

  // Properties, then children, of a component whose header has been read.
  void ReadBody(TComponent* c, int depth) {
    auto* outerSeq = Seq;
    size_t outerIndex = SeqIndex;
    const TClassInfo* cls = &c->ClassInfo();
    if (cls != SeqClass) {
      SeqClass = cls;
      SeqOfClass = &Sequences[cls];
    }
    Seq = SeqOfClass;
    SeqIndex = 0;
    while (!R.EndOfList()) {
      ReadProperty(c);
      ++SeqIndex;
    }
    ++R.FPos;
    Seq = outerSeq;
    SeqIndex = outerIndex;
    while (R.PeekByte() != vaNull) ReadChild(c, depth + 1);
    ++R.FPos;
  }

  void ReadChild(TComponent* parent, int depth) {
    size_t at = R.FPos;
    if (depth > kMaxComponentNesting) R.ErrorAt("Components nested too deeply", at);
    auto [flags, childPos] = ReadPrefix();
    std::string_view className = R.ReadStrView();
    std::string name = R.ReadStr();
    size_t outer = R.FContext.size();
    if (!R.FContext.empty()) R.FContext += '.';
    R.FContext += name.empty() ? className : name;
    TComponent* c = nullptr;
    if (flags & ffInherited) {
      c = R.FRoot->FindComponent(name);
      if (!c) R.ErrorAt("Ancestor for '" + name + "' not found", at);
    } else {
      c = Create(className, R.FRoot, at, false);
      Begin(c, name, at);
      try {
        c->SetParentComponent(parent);
      } catch (const Exception& e) {
        R.ErrorAt(e.Message(), at);
      }
    }
    if (childPos >= 0) parent->SetChildOrder(c, static_cast<int>(childPos));
    ReadBody(c, depth);
    R.FContext.resize(outer);
  }

  void ReadProperty(TComponent* component) {
    size_t at = R.FPos;
    std::string_view path = R.ReadStrView();
    if (path.empty()) R.ErrorAt("Property name expected", at);
    // The context grows and shrinks in place: no allocation per property.
    size_t outer = R.FContext.size();
    R.FContext += '.';
    R.FContext += path;
    try {
      ReadPropertyValue(component, path, at);
    } catch (const EReadFailure&) {
      throw;
    } catch (const Exception& e) {
      R.ErrorAt(e.Message(), ValueAt);
    }
    R.FContext.resize(outer);
  }

  void ReadPropertyValue(TComponent* component, std::string_view path, size_t at) {
    ValueAt = R.FPos;
    // Dotted names walk nested persistent objects.
    TObject* target = component;
    std::string_view fullPath = path;
    size_t dot;
    while ((dot = path.find('.')) != std::string_view::npos) {
      std::string_view seg = path.substr(0, dot);
      const TPropInfo* p = target == component ? CachedProp(target->ClassInfo(), fullPath, seg)
                                               : target->ClassInfo().FindProp(seg);
      if (!p || !p->Published || (p->Kind != TPropKind::Object && p->Kind != TPropKind::Strings))
        R.ErrorAt("Property " + std::string(seg) + " does not exist", at);
      target = p->GetObj(target);
      if (!target) R.ErrorAt("Property " + std::string(seg) + " is nil", at);
      path.remove_prefix(dot + 1);
    }
    if (SameText(path, "Strings") && target->InheritsFrom(TStrings::StaticClassInfo())) {
      auto* list = static_cast<TStrings*>(target);
      // Filled in place: a failed read frees the whole form, list and all.
      if (R.ReadValue() != vaList) R.ErrorAt("List of strings expected", ValueAt);
      list->BeginUpdate();
      list->Clear();
      while (!R.EndOfList()) list->Add(R.ReadString());
      R.ReadListEnd();
      list->EndUpdate();
      return;
    }
    const TPropInfo* prop = target == component ? CachedProp(target->ClassInfo(), path, path)
                                                : target->ClassInfo().FindProp(path);
    if (prop && prop->Published) {
      if (prop->Kind == TPropKind::Component) {
        TValue v = R.ReadTValue();
        if (v.Is<TNil>()) {
          SetPropValue(target, *prop, v);
        } else if (v.Is<TIdent>()) {
          Fixups.push_back({target, prop, v.As<TIdent>().Name, R.FContext, ValueAt});
        } else {
          R.ErrorAt("Component name expected", ValueAt);
        }
        return;
      }
      TValue value = R.ReadTValue();
      if (prop->Kind == TPropKind::Method && prop->SetEvent && value.Is<TIdent>() &&
          !Names.FindMethod(component, value.As<TIdent>().Name)) {
        BindHandler(target, *prop, value.As<TIdent>().Name);
        return;
      }
      SetPropValue(target, *prop, value, &Names);
      return;
    }
    // A designer's place for a component that has none of its own.
    if (target == component && (SameText(path, "Left") || SameText(path, "Top"))) {
      TComponent* c = component;
      int64_t v = R.ReadInt64();
      if (v < INT16_MIN || v > INT16_MAX) R.ErrorAt("Design position out of range", ValueAt);
      if (SameText(path, "Left"))
        c->SetDesignPos(static_cast<int32_t>(v), c->DesignTop());
      else
        c->SetDesignPos(c->DesignLeft(), static_cast<int32_t>(v));
      return;
    }
    // Not published: the object's own stored values may know it.
    auto* persistent = target->InheritsFrom(TPersistent::StaticClassInfo())
                           ? static_cast<TPersistent*>(target)
                           : nullptr;
    R.FPropName = path;
    R.FPropHandled = false;
    if (persistent) persistent->DefineProperties(R);
    if (!R.FPropHandled) R.ErrorAt("Property " + std::string(path) + " does not exist", at);
  }

  // An event name that is no published method of the root: the program's handlers, then the
  // generic ones (a script's). A name neither knows fails, listing the handlers given.
  void BindHandler(TObject* target, const TPropInfo& prop, const std::string& name) {
    if (const TFormHandler* handler = R.Handlers.Find(name))
      return handler->BindTo(target, prop, name);
    if (R.OnFindHandler) {
      if (TGenericHandler handler = R.OnFindHandler(name))
        return prop.SetEvent(target, prop.MakeHandler(handler), name);
    }
    // A form read for design keeps the names of handlers that only the program has.
    if (R.Designing) return SetEventName(target, prop, name);
    std::string message =
        "Method '" + name + "' not found for property " + detail::PropName(target, prop);
    if (!R.Handlers.Empty()) message += " (handlers given: " + R.Handlers.NameList() + ")";
    throw EPropertyError(message);
  }

  void ResolveFixups() {
    for (const TFixup& f : Fixups) {
      TComponent* target = Names.FindComponent(R.FRoot, f.Name);
      R.FContext = f.Context;
      if (!target) R.ErrorAt("Component '" + f.Name + "' not found", f.Offset);
      try {
        SetPropValue(f.Instance, *f.Prop, TIdent{f.Name}, &Names);
      } catch (const Exception& e) {
        R.ErrorAt(e.Message(), f.Offset);
      }
    }
  }

  // Components of one class usually list the same properties in the same order, so the k-th
  // property of the last component of a class is the first guess for the k-th of the next.
  // For a dotted path the entry holds the first step, the property of the component itself.
  const TPropInfo* CachedProp(const TClassInfo& cls, std::string_view path, std::string_view name) {
    auto& seq = *Seq;
    if (SeqIndex < seq.size() && seq[SeqIndex].first == path) return seq[SeqIndex].second;
    const TPropInfo* prop = cls.FindProp(name);
    if (seq.size() <= SeqIndex) seq.resize(SeqIndex + 1);
    seq[SeqIndex] = {std::string(path), prop};
    return prop;
  }

  TReader& R;
  TReaderNames Names;
  using TSequence = std::vector<std::pair<std::string, const TPropInfo*>>;
  std::unordered_map<const TClassInfo*, TSequence> Sequences;  // nodes stay put: Seq is safe
  TSequence* Seq = nullptr;
  const TClassInfo* SeqClass = nullptr;  // the last class looked up, and its sequence
  TSequence* SeqOfClass = nullptr;
  size_t SeqIndex = 0;
  std::vector<TComponent*> Loaded;
  std::vector<TFixup> Fixups;
  size_t ValueAt = 0;
};

namespace {
// How many form reads are under way on this thread, one inside another.
thread_local int tFormNesting = 0;
}  // namespace

TComponent* TReader::ReadRootComponent(TComponent* owner) {
  if (tFormNesting >= kMaxFormNesting)
    throw EReadError("Forms loaded while a form loads nest more than " +
                     std::to_string(kMaxFormNesting) + " deep: does a form load itself?");
  ++tFormNesting;
  struct TLeave {
    ~TLeave() { --tFormNesting; }
  } leave;
  TReaderImpl impl(*this);
  return impl.ReadRoot(owner);
}

void TReader::DefineProperty(std::string_view name, const TReaderProc& readData, const TWriterProc&,
                             bool) {
  if (FPropHandled || !SameText(name, FPropName) || !readData) return;
  FPropHandled = true;
  readData(*this);
}

void TReader::DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  if (FPropHandled || !SameText(name, FPropName) || !readData) return;
  FPropHandled = true;
  size_t at = FPos;
  if (ReadValue() != vaBinary) ErrorAt("Binary value expected", at);
  TViewStream block(ReadBinaryBytes());
  readData(block);
}

// =============================================================================================
// TWriter

TWriter::TWriter(TStream& stream) : FStream(stream) {}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (const Exception&) {
    // Destructors must not throw; callers that care flush explicitly.
  }
}

void TWriter::FlushBuffer() {
  if (FOut.empty()) return;
  // An empty memory stream takes the buffer as it is: no copy of a large form.
  if (auto* mem = dynamic_cast<TMemoryStream*>(&FStream); mem && mem->Size() == 0) {
    mem->Data() = FOut.Take();
    mem->Seek(0, soEnd);
    return;
  }
  FStream.WriteBuffer(FOut.View());
  FOut.clear();
}

void TWriter::WritePropName(std::string_view name, std::string_view suffix) {
  size_t n = FPropPath.size() + name.size() + suffix.size();
  if (n > 255)
    throw EWriteError("Name too long to write (" + std::to_string(n) + " bytes): " + FPropPath +
                      std::string(name));
  WriteByte(static_cast<uint8_t>(n));
  FOut.append(FPropPath);
  FOut.append(name);
  FOut.append(suffix);
}

namespace {
// The name a reference is written as: plain for the root's own components.
std::string ReferenceName(TComponent* root, TComponent* c) {
  if (c == root || c->Owner() == root || !c->Owner()) return c->Name();
  return c->Owner()->Name() + "." + c->Name();
}
}  // namespace

void TWriter::WriteProperties(TPersistent* instance) {
  for (const TPropInfo* p : instance->ClassInfo().PublishedProps()) {
    if (!p->IsStored(instance)) continue;
    switch (p->Kind) {
      case TPropKind::Integer:
      case TPropKind::Boolean:
      case TPropKind::Enumeration:
      case TPropKind::Set: {
        if (!p->SetOrd) break;
        int64_t v = p->GetOrd(instance);
        if (p->Default && *p->Default == v) break;
        WritePropName(p->Name);
        if (p->Kind == TPropKind::Integer) {
          const std::string* name = p->IntIdents ? p->IntIdents->NameOf(v) : nullptr;
          if (name)
            WriteIdent(*name);
          else
            WriteInteger(v);
        } else if (p->Kind == TPropKind::Boolean)
          WriteBoolean(v != 0);
        else if (p->Kind == TPropKind::Enumeration)
          WriteIdent(p->EnumType->NameOf(v));
        else
          WriteTValue(GetPropValue(instance, *p));
        break;
      }
      case TPropKind::String: {
        if (!p->SetStr) break;
        if (p->GetStrView) {
          std::string_view v = p->GetStrView(instance);
          if (v.empty()) break;
          WritePropName(p->Name);
          WriteString(v);
        } else {
          std::string v = p->GetStr(instance);
          if (v.empty()) break;
          WritePropName(p->Name);
          WriteString(v);
        }
        break;
      }
      case TPropKind::Object: {
        TObject* obj = p->GetObj(instance);
        if (!obj || !obj->InheritsFrom(TPersistent::StaticClassInfo())) break;
        auto* nested = static_cast<TPersistent*>(obj);
        std::string outer = FPropPath;
        FPropPath += p->Name;
        FPropPath += '.';
        WriteProperties(nested);
        FPropPath = std::move(outer);
        break;
      }
      case TPropKind::Component: {
        if (!p->SetObj) break;
        auto* c = static_cast<TComponent*>(p->GetObj(instance));
        if (!c) break;
        WritePropName(p->Name);
        WriteIdent(ReferenceName(FRoot, c));
        break;
      }
      case TPropKind::Strings: {
        auto* list = static_cast<TStrings*>(p->GetObj(instance));
        if (!list || list->Count() == 0) break;
        WritePropName(p->Name, ".Strings");
        WriteListBegin();
        for (int i = 0; i < list->Count(); ++i) WriteString(list->Get(i));
        WriteListEnd();
        break;
      }
      case TPropKind::Method: {
        if (!p->SetEvent) break;
        TEventState e = p->GetEvent(instance);
        if (e.MethodName.empty()) break;  // a designed form's name without code is written
        WritePropName(p->Name);
        WriteIdent(e.MethodName);
        break;
      }
    }
  }
  // A component without a place of its own keeps where the designer shows it.
  if (auto* c = dynamic_cast<TComponent*>(instance);
      c && c->DesignInfo() != 0 && !c->ClassInfo().FindProp("Left")) {
    WritePropName("Left");
    WriteInteger(c->DesignLeft());
    WritePropName("Top");
    WriteInteger(c->DesignTop());
  }
  instance->DefineProperties(*this);
}

void TWriter::WriteComponent(TComponent* component) {
  WriteStr(component->ClassName());
  WriteStr(component->Name());
  WriteProperties(component);
  WriteListEnd();
  component->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent* root) {
  FRoot = root;
  root->Writing(true);
  {
    TOnFailure back([root]() noexcept {
      try {
        root->Writing(false);
      } catch (...) {  // the write's own error is the one to report
      }
    });
    WriteSignature();
    WriteComponent(root);
    FlushBuffer();
  }
  root->Writing(false);
}

void TWriter::WriteOwnedComponent(TComponent* root, TComponent* component) {
  FRoot = root;
  WriteSignature();
  WriteComponent(component);
  FlushBuffer();
}

void TWriter::DefineProperty(std::string_view name, const TReaderProc&,
                             const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

namespace {
// Appends to the writer's buffer: a block is written in place, its length filled in after.
class TAppendStream : public TStream {
 public:
  explicit TAppendStream(TByteBuffer& out) : FOut(out), FStart(out.size()) {}
  size_t Read(void*, size_t) override { return 0; }
  size_t Write(const void* buffer, size_t count) override {
    FOut.append(static_cast<const char*>(buffer), count);
    return count;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    if (offset != 0 || origin == soBeginning) throw EFilerError("A block is written front to back");
    return static_cast<int64_t>(FOut.size() - FStart);
  }

 private:
  TByteBuffer& FOut;
  size_t FStart;
};
}  // namespace

void TWriter::DefineBinaryProperty(std::string_view name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  size_t lengthAt = BeginBinary();
  TAppendStream block(FOut);
  writeData(block);
  EndBinary(lengthAt);
}

}  // namespace zelvar
