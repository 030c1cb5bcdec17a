#pragma once
// TFiler, TReader and TWriter: the binary form-file format at the value level and at the
// component level. TWriter writes its values through the encoder of BinaryEncoder.h. Text form
// files are converted to and from this format (FormText.h).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/TypInfo.h"
#include "platform/core/Value.h"
#include "platform/streaming/BinaryEncoder.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

class TReader;
class TWriter;

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
  void ReadListEnd();
  void ReadSignature();
  int32_t ReadInteger();           // 02, 03 or 04
  int64_t ReadInt64();             // any integer type
  std::string ReadString();        // any string type; a wide one as UTF-8
  std::string ReadStr();           // a short string: one length byte and the bytes
  std::string_view ReadStrView();  // the same, in place
  // Any value, as the text syntax sees it.
  TValue ReadTValue();
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
  // Then the program's handlers by name, each checked against the event it is bound to.
  TFormHandlers Handlers;
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

// Writes components in the binary format: the encoder's values, with the properties of each
// component as its class publishes them. The bytes collect in the encoder's buffer and reach
// the stream in one piece.
class TWriter : public TFiler, public TBinaryEncoder {
 public:
  explicit TWriter(TStream& stream);
  ~TWriter() override;  // flushes what is left

  // Writes the signature and the root with its properties and children.
  void WriteRootComponent(TComponent* root);
  // Writes the signature and one component that root owns, with its children, as a form file
  // of its own (what a designer copies to the clipboard).
  void WriteOwnedComponent(TComponent* root, TComponent* component);
  void WriteComponent(TComponent* component);

  void DefineProperty(std::string_view name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  void FlushBuffer();

 private:
  void WritePropName(std::string_view name, std::string_view suffix = {});
  void WriteProperties(TPersistent* instance);

  TStream& FStream;
  std::string FPropPath;  // "BLDialog." while a nested object's properties are written
};

}  // namespace zelvar
