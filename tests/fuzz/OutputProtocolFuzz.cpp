// Fuzz target for the child-output interpreter: any bytes, in any announced
// code page, must give only known codes, bounded texts and a valid result.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "package/OutputProtocol.h"
#include "tests/fuzz/FuzzTarget.h"
#include "utils/Encoding.h"

namespace {

bool KnownCode(int code) {
  return (code >= 2002 && code <= 2004) || (code >= 3000 && code <= 3009 && code != 3006) ||
         code == 5002 || code == 5003 || code == 5005;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (ChildKind kind : {ChildKind::Uninstaller, ChildKind::Package}) {
    OutputInterpreter interpreter(kind, [](int code, double, const wchar_t* text) {
      Check(KnownCode(code));
      Check(text != nullptr && std::wstring(text).size() <= OutputInterpreter::kMaxTextLength);
    });
    // Two chunks, so an Encode= line in the first decides how the second decodes.
    const size_t half = size / 2;
    for (const std::string& chunk : {bytes.substr(0, half), bytes.substr(half)}) {
      const int result = interpreter.Interpret(Utils::ToWide(chunk, interpreter.CodePage()));
      Check(result == 0 || result == 1 || result == 1000);
    }
  }
  return 0;
}
