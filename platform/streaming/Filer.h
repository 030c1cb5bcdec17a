#pragma once
// TFiler, TReader and TWriter: the binary form-file format at the value level and at the
// component level. Text form files are converted to and from this format (FormText.h).

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Value.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

class TReader;
class TWriter;

// Type codes of the binary format.
enum TValueType : uint8_t {
  vaNull = 0x00,
  vaList = 0x01,
  vaInt8 = 0x02,
  vaInt16 = 0x03,
  vaInt32 = 0x04,
  vaExtended = 0x05,
  vaString = 0x06,
  vaIdent = 0x07,
  vaFalse = 0x08,
  vaTrue = 0x09,
  vaBinary = 0x0A,
  vaSet = 0x0B,
  vaLString = 0x0C,
  vaNil = 0x0D,
  vaCollection = 0x0E,
  vaSingle = 0x0F,
  vaCurrency = 0x10,
  vaDate = 0x11,
  vaWString = 0x12,
  vaInt64 = 0x13,
  vaUTF8String = 0x14,
};
inline constexpr uint8_t kMaxValueType = vaUTF8String;

// Flags of a component header.
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

inline constexpr std::string_view kFormSignature = "TPF0";

// Components nested deeper than this, or lists deeper than kMaxValueNesting, fail the read.
inline constexpr int kMaxComponentNesting = 200;
// Forms read while another form is being read (a form host asking for its form as it is
// loaded) nest at most this deep; deeper, a form is taken to be loading itself.
inline constexpr int kMaxFormNesting = 16;

class TFiler {
 public:
  using TReaderProc = std::function<void(TReader&)>;
  using TWriterProc = std::function<void(TWriter&)>;
  using TStreamProc = std::function<void(TStream&)>;

  virtual ~TFiler() = default;
  TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  // A stored value of the object whose DefineProperties runs, after its published properties.
  // hasData tells a writer whether to write it at all.
  virtual void DefineProperty(std::string_view name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  // The same for a block of raw bytes, framed as a binary value.
  virtual void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;

  TComponent* Root() const { return FRoot; }

 protected:
  TComponent* FRoot = nullptr;
};

// ---------------------------------------------------------------------------------------------

// Reads the binary format from memory. Every length and count is checked against what remains
// before anything is allocated; errors raise EReadError naming the component, the property and
// the offset (or, for a converted text file, the line and column).
class TReader : public TFiler {
 public:
  // Reads from the stream's current position to its end; the stream is left after the bytes
  // the reader consumed when the reader is destroyed.
  explicit TReader(TStream& stream);
  explicit TReader(std::string_view bytes);
  ~TReader() override;

  // --- values
  size_t Position() const { return FPos; }
  size_t Remaining() const { return FSize - FPos; }
  // Moves to an offset already read past (or the end); raises beyond the end.
  void SetPosition(size_t pos);
  // The next raw byte without consuming it; raises at the end.
  uint8_t PeekByte();
  TValueType NextValue();  // the next type code without consuming it
  TValueType ReadValue();
  bool EndOfList();  // true at a 00 byte, which it does not consume
  void ReadListBegin();
  void ReadListEnd();
  void ReadSignature();
  int32_t ReadInteger();  // 02, 03 or 04
  int64_t ReadInt64();    // any integer type
  bool ReadBoolean();
  std::string ReadString();  // any string type; a wide one as UTF-8
  std::string ReadIdent();   // an identifier, or False/True/nil/null spelled out
  long double ReadFloat();
  std::string ReadStr();           // a short string: one length byte and the bytes
  std::string_view ReadStrView();  // the same, in place
  // Any value, as the text syntax sees it.
  TValue ReadTValue();
  void SkipValue();
  // The bytes of a 0A block (the 0A already consumed).
  std::string_view ReadBinaryBytes();

  // --- components
  // Reads a whole form: signature, then the root. The root is created from the registered
  // class of its name (or by OnCreateRoot); on any failure everything the read created is
  // freed and the exception propagates, so a load is all or nothing.
  TComponent* ReadRootComponent(TComponent* owner = nullptr);

  // Creates a root whose class is not registered; returns nullptr to refuse.
  std::function<TComponent*(const std::string& className, TComponent* owner)> OnCreateRoot;
  // Finds an event handler by name; the default is a published method of the root.
  std::function<TMethod(TComponent* root, const std::string& name)> OnFindMethod;
  // Then a handler that takes any event's arguments (a script's methods); empty for none.
  std::function<TGenericHandler(const std::string& name)> OnFindHandler;
  // The root is designed as soon as it is made (a form read into the designer).
  bool Designing = false;
  // The form must end the input: bytes after it fail the read. Off for a caller that reads
  // several objects from one stream.
  bool RequireEnd = false;
  // Describes an offset for messages; a text source maps it back to its line and column.
  std::function<std::string(size_t offset)> OnDescribeOffset;

  void DefineProperty(std::string_view name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  [[noreturn]] void Error(const std::string& message) const;
  [[noreturn]] void ErrorAt(const std::string& message, size_t offset) const;

 private:
  friend class TReaderImpl;
  const uint8_t* Need(size_t count);  // the next count bytes, or an error
  uint8_t ReadByte() { return *Need(1); }
  uint32_t ReadUInt32();
  int64_t ReadIntegerOf(TValueType type);

  TStream* FStream = nullptr;
  int64_t FStreamStart = 0;
  std::string FOwnedBytes;
  const uint8_t* FData = nullptr;
  size_t FSize = 0;
  size_t FPos = 0;
  int FListDepth = 0;
  // The property DefineProperties is asked about, and whether a definition took it.
  std::string_view FPropName;
  bool FPropHandled = false;
  std::string FContext;  // "Form1.Zelvar1" while its properties are read
};

// ---------------------------------------------------------------------------------------------

// A growable byte buffer whose appends stay inline: writing a form is mostly appending a few
// bytes at a time, where std::string's general-purpose appends cost more than the bytes.
class TByteBuffer {
 public:
  void push_back(char c) {
    if (FSize == FStore.size()) Grow(1);
    FStore[FSize++] = c;
  }
  void append(const char* p, size_t n) {
    if (FStore.size() - FSize < n) Grow(n);
    char* out = FStore.data() + FSize;
    if (n <= 16) {
      for (size_t i = 0; i < n; ++i) out[i] = p[i];  // names and small values: no call
    } else {
      std::memcpy(out, p, n);
    }
    FSize += n;
  }
  void append(std::string_view s) { append(s.data(), s.size()); }
  size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }
  void clear() { FSize = 0; }
  char& operator[](size_t i) { return FStore[i]; }
  std::string_view View() const { return std::string_view(FStore.data(), FSize); }
  // The bytes as a string; the buffer is empty afterwards.
  std::string Take() {
    FStore.resize(FSize);
    FSize = 0;
    return std::move(FStore);
  }

 private:
  [[gnu::noinline]] void Grow(size_t n) {
    FStore.resize(std::max(FStore.size() * 2, FSize + n + 256));
  }
  std::string FStore;  // sized to the capacity; bytes past FSize are not content
  size_t FSize = 0;
};

// Writes the binary format into a buffer and hands it to the stream in one piece.
class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream);
  ~TWriter() override;  // flushes what is left

  void WriteValue(TValueType type) { WriteByte(type); }
  void WriteSignature();
  void WriteListBegin() { WriteByte(vaList); }
  void WriteListEnd() { WriteByte(vaNull); }
  void WriteInteger(int64_t value);  // the smallest type that holds it
  void WriteBoolean(bool value) { WriteByte(value ? vaTrue : vaFalse); }
  // ASCII as 06, or 0C from 256 bytes on; anything else is UTF-8 text and written as 14, so
  // other readers see its characters.
  void WriteString(std::string_view value);
  void WriteWideString(std::u16string_view value);
  void WriteIdent(std::string_view ident);  // False/True/nil/null get their own codes
  void WriteFloat(long double value);
  void WriteStr(std::string_view shortString);  // raises EWriteError above 255 bytes
  void WriteSet(const std::vector<std::string>& members);
  void WriteBinary(std::string_view bytes);
  void WriteTValue(const TValue& value);

  // Writes the signature and the root with its properties and children.
  void WriteRootComponent(TComponent* root);
  void WriteComponent(TComponent* component);

  void DefineProperty(std::string_view name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  void FlushBuffer();
  TByteBuffer& Buffer() { return FBuffer; }

 private:
  friend class TWriterImpl;
  void WriteByte(uint8_t b) { FBuffer.push_back(static_cast<char>(b)); }
  void WriteBytes(const void* p, size_t n) { FBuffer.append(static_cast<const char*>(p), n); }
  void WritePropName(std::string_view name, std::string_view suffix = {});
  void WriteProperties(TPersistent* instance);

  TStream& FStream;
  TByteBuffer FBuffer;
  std::string FPropPath;  // "BLDialog." while a nested object's properties are written
};

}  // namespace zelvar
