// Text form files: any input either fails with the toolkit's error or converts, and after one
// trip through binary the text is stable. (One trip may change a string's type: a byte above
// 127 inside quotes is written back as #n, which reads as a wide string.)

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
  std::string_view text(reinterpret_cast<const char*>(data), size);

  try {
    std::string first = ObjectBinaryToText(ObjectTextToBinary(text));
    std::string binary = ObjectTextToBinary(first);
    if (ObjectBinaryToText(binary) != first) std::abort();
    if (ObjectTextToBinary(ObjectBinaryToText(binary)) != binary) std::abort();
  } catch (const Exception&) {
  }

  if (DetectFormFormat(text) == TFormFormat::Text) {
    try {
      std::unique_ptr<TComponent> root(ReadComponent(text));
      std::unique_ptr<TComponent> copy(
          ReadComponent(WriteComponent(root.get(), TFormFormat::Text)));
    } catch (const Exception&) {
    }
  }
  return 0;
}
