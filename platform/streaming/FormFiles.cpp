#include "platform/streaming/FormFiles.h"

#include <memory>

#include "platform/core/Paths.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/FormText.h"

namespace zelvar {

TFormFormat DetectFormFormat(std::string_view bytes) {
  return bytes.substr(0, kFormSignature.size()) == kFormSignature ? TFormFormat::Binary
                                                                  : TFormFormat::Text;
}

namespace {

std::function<void(const TFormHandlers&)>& HandlersObserver() {
  static std::function<void(const TFormHandlers&)> observer;
  return observer;
}

}  // namespace

void SetHandlersObserver(std::function<void(const TFormHandlers&)> observer) {
  HandlersObserver() = std::move(observer);
}

TComponent* ReadComponent(std::string_view bytes, const TFormReadOptions& options) {
  std::string converted;
  TTextMap map;
  bool text = DetectFormFormat(bytes) == TFormFormat::Text;
  if (text) {
    converted = ObjectTextToBinary(bytes, &map);
    bytes = converted;
  }
  TReader reader(bytes);
  reader.OnCreateRoot = options.CreateRoot;
  reader.OnFindMethod = options.FindMethod;
  reader.Handlers = options.Handlers;
  reader.OnFindHandler = options.FindHandler;
  reader.Designing = options.Designing;
  // The input is one form file: anything after the form is damage.
  reader.RequireEnd = true;
  // Errors in a text file name its lines, not offsets of the converted bytes.
  if (text) reader.OnDescribeOffset = [&map](size_t offset) { return map.Describe(offset); };
  std::unique_ptr<TComponent> root(reader.ReadRootComponent(options.Owner));
  if (!options.Handlers.Empty() && HandlersObserver()) HandlersObserver()(options.Handlers);
  return root.release();
}

TComponent* ReadComponent(TStream& stream, const TFormReadOptions& options) {
  return ReadComponent(stream.ReadAll(), options);
}

TComponent* ReadComponentFile(const std::string& fileName, const TFormReadOptions& options) {
  return ReadComponent(ReadRegularFile(fileName, kMaxReadFileSize), options);
}

std::string WriteComponent(TComponent* root, TFormFormat format) {
  TMemoryStream binary;
  {
    TWriter writer(binary);
    writer.WriteRootComponent(root);
  }
  if (format == TFormFormat::Binary) return std::move(binary.Data());
  return ObjectBinaryToText(binary.Data());
}

std::string WriteComponentsText(TComponent* root, const std::vector<TComponent*>& components) {
  std::string text;
  for (TComponent* c : components) {
    if (c->Owner() != root) throw EWriteError(c->Name() + " is not a component of " + root->Name());
    TMemoryStream binary;
    {
      TWriter writer(binary);
      writer.WriteOwnedComponent(root, c);
    }
    text += ObjectBinaryToText(binary.Data());
  }
  return text;
}

void WriteComponent(TStream& stream, TComponent* root, TFormFormat format) {
  stream.WriteBuffer(WriteComponent(root, format));
}

void WriteComponentFile(const std::string& fileName, TComponent* root, TFormFormat format) {
  // Written to memory first, then beside the file and renamed over it: a failure, even a full
  // disk, leaves the file that was there as it was.
  WriteFileAtomically(fileName, WriteComponent(root, format));
}

}  // namespace zelvar
