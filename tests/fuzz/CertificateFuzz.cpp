// Fuzz target for the certificate walk: any bytes, and a real certificate's
// shape changed where the input says, must give either nothing or a span that
// lies inside the input and holds a whole element.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "package/Certificate.h"
#include "package/PublisherPins.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/package/DerBuilder.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Walk(const std::string& der) {
  // A copy of exactly the input's size, so the sanitizers see any read past it.
  const std::unique_ptr<uint8_t[]> bytes = std::make_unique<uint8_t[]>(der.size());
  std::copy(der.begin(), der.end(), bytes.get());
  const std::optional<DerSpan> span = SubjectPublicKeyInfoOf(bytes.get(), der.size());
  if (span) {
    Check(span->size >= 2 && span->offset < der.size() && span->size <= der.size() - span->offset);
    Check(bytes[span->offset] == 0x30);
  }
  PinOfCertificate(bytes.get(), der.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Walk(std::string(reinterpret_cast<const char*>(data), size));
  // Every three input bytes change one byte of a well-formed certificate:
  // two for where, one for the new value, so lengths and tags go wrong
  // everywhere the walk looks.
  static const std::string seed = DerBuilder::Certificate();
  std::string mutated = seed;
  for (size_t i = 0; i + 2 < size; i += 3) {
    mutated[(size_t{data[i]} << 8 | data[i + 1]) % mutated.size()] = static_cast<char>(data[i + 2]);
  }
  Walk(mutated);
  if (size > 0) Walk(seed.substr(0, data[0] % seed.size()));  // cut short
  return 0;
}
