// Binary form files: any input either fails with the toolkit's error or reads completely, and
// whatever converts to text converts back to the same text.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/FormClasses.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/FormText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvar;
  static bool registered = (fuzz::RegisterFuzzClasses(), true);
  (void)registered;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  try {
    std::string text = ObjectBinaryToText(bytes);
    std::string again = ObjectBinaryToText(ObjectTextToBinary(text));
    if (again != text) std::abort();
  } catch (const Exception&) {
  }

  if (DetectFormFormat(bytes) == TFormFormat::Binary) {
    try {
      std::unique_ptr<TComponent> root(ReadComponent(bytes));
      // What was read writes out and reads back.
      std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(root.get())));
    } catch (const Exception&) {
    }
  }
  return 0;
}
