#include "platform/controls/Clipbrd.h"

namespace zelvar {

namespace {

class TProcessStore : public TClipboardStore {
 public:
  std::string Text() override { return FText; }
  void SetText(const std::string& text) override { FText = text; }

 private:
  std::string FText;
};

// Never destroyed: a window backend freed at exit hands its text back here, and statics go
// in no order one can rely on.
TProcessStore& ProcessStore() {
  static auto* store = new TProcessStore;
  return *store;
}

TClipboardStore*& CurrentStore() {
  static TClipboardStore* store = &ProcessStore();
  return store;
}

}  // namespace

std::string TClipboard::AsText() const {
  return CurrentStore()->Text();
}

void TClipboard::SetAsText(const std::string& text) {
  CurrentStore()->SetText(text);
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

void SetClipboardStore(TClipboardStore* store) {
  CurrentStore() = store ? store : &ProcessStore();
}

}  // namespace zelvar
