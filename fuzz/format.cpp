// Format strings come from language files: whatever they hold, Format must either return or
// raise a zelvar::Exception. Any other exception escapes and is reported as a crash.
//
// Input: one byte for the argument count (0..4), then per argument a kind byte and its
// payload, then the format string.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Format.h"

namespace {

class TInput {
 public:
  TInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
  int16_t Word() { return static_cast<int16_t>(Byte() | (Byte() << 8)); }
  std::string Bytes(size_t n) {
    n = std::min(n, FSize - FPos);
    std::string s(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += n;
    return s;
  }
  std::string Rest() { return Bytes(FSize - FPos); }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

zelvar::TVarRec Argument(TInput& in) {
  const uint8_t kind = in.Byte();
  switch (kind % 6) {
    case 0:
      return in.Word();
    case 1: {
      const int64_t extremes[] = {std::numeric_limits<int64_t>::min(),
                                  std::numeric_limits<int64_t>::max(),
                                  std::numeric_limits<int32_t>::min(),
                                  -1,
                                  0,
                                  100000};
      return extremes[in.Byte() % 6];
    }
    case 2:
      return std::numeric_limits<uint64_t>::max() - in.Byte();
    case 3: {
      const long double floats[] = {0.0L,
                                    -0.0L,
                                    2.5L,
                                    -1234.5678L,
                                    1e300L,
                                    1e-300L,
                                    std::numeric_limits<long double>::max(),
                                    std::numeric_limits<long double>::denorm_min(),
                                    std::numeric_limits<long double>::infinity(),
                                    -std::numeric_limits<long double>::infinity(),
                                    std::numeric_limits<long double>::quiet_NaN(),
                                    0.125L};
      return floats[in.Byte() % 12];
    }
    case 4:
      return static_cast<double>(in.Word()) / 7.0;
    default:
      return in.Bytes(in.Byte() % 8);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TInput in(data, size);
  std::vector<zelvar::TVarRec> args;
  for (int n = in.Byte() % 5; n > 0; --n) args.push_back(Argument(in));
  const std::string fmt = in.Rest();
  try {
    zelvar::Format(fmt, args);
  } catch (const zelvar::Exception&) {
  }
  return 0;
}
