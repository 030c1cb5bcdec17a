#pragma once
// The clipboard that edits cut, copy and paste through. Its text lives in the process until a
// backend that reaches the system's clipboard (the window backend) installs a store for it.

#include <string>

namespace zelvar {

// Where the clipboard's text is kept.
class TClipboardStore {
 public:
  virtual ~TClipboardStore() = default;
  virtual std::string Text() = 0;
  virtual void SetText(const std::string& text) = 0;
};

class TClipboard {
 public:
  std::string AsText() const;
  void SetAsText(const std::string& text);
  bool HasText() const { return !AsText().empty(); }
  void Clear() { SetAsText({}); }
};

TClipboard& Clipboard();

// Installs the store the clipboard uses from now on; nullptr goes back to the in-process one.
// The caller keeps the store alive until it installs another.
void SetClipboardStore(TClipboardStore* store);

}  // namespace zelvar
