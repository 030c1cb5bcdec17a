#pragma once
// Reading and writing whole forms in either format. The format of an input is detected: a
// binary form file starts with TPF0, anything else is read as text.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/Streams.h"

namespace zelvar {

enum class TFormFormat { Binary, Text };

TFormFormat DetectFormFormat(std::string_view bytes);

struct TFormReadOptions {
  TFormReadOptions() = default;
  // ReadComponentFile("setup.txt", handlers): the program's handlers are all most reads need.
  TFormReadOptions(TFormHandlers handlers)  // NOLINT(google-explicit-constructor)
      : Handlers(std::move(handlers)) {}

  TComponent* Owner = nullptr;
  // Creates a root whose class is not registered (an application's own form class).
  std::function<TComponent*(const std::string& className, TComponent* owner)> CreateRoot;
  // Finds event handlers by name; the default is a published method of the root.
  std::function<TMethod(TComponent* root, const std::string& name)> FindMethod;
  // Then the program's handlers: an event named after none of them, and after no method,
  // fails the read; one whose handler cannot take its arguments too.
  TFormHandlers Handlers;
  // Then handlers that take any event's arguments (a script's methods).
  std::function<TGenericHandler(const std::string& name)> FindHandler;
  // Read into the form designer: the root is designed before anything else is made.
  bool Designing = false;
};

// Reads a form; on any failure nothing of it survives and EReadError (or EParserError for
// text that does not parse) names the component, the property and the offset or line:column.
// The input holds one form: bytes or tokens after it fail the read.
TComponent* ReadComponent(std::string_view bytes, const TFormReadOptions& options = {});
TComponent* ReadComponent(TStream& stream, const TFormReadOptions& options = {});
// A regular file of at most kMaxReadFileSize bytes; anything else raises EFilerError.
TComponent* ReadComponentFile(const std::string& fileName, const TFormReadOptions& options = {});

// Called after each successful read that was given handlers, with them: a program run under
// a script (ZELVAR_SCRIPT) lets the script bind them too. One observer; empty removes it.
void SetHandlersObserver(std::function<void(const TFormHandlers&)> observer);

std::string WriteComponent(TComponent* root, TFormFormat format = TFormFormat::Binary);
void WriteComponent(TStream& stream, TComponent* root, TFormFormat format = TFormFormat::Binary);
void WriteComponentFile(const std::string& fileName, TComponent* root,
                        TFormFormat format = TFormFormat::Binary);

// The text form of components that root owns, one `object` block each, with their children:
// what a designer puts on the clipboard.
std::string WriteComponentsText(TComponent* root, const std::vector<TComponent*>& components);

}  // namespace zelvar
