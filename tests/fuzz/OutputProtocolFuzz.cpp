// Fuzz target for the child-output reader: any bytes, in any announced code
// page and cut into pieces anywhere, must give only known codes, bounded texts
// with no CR at their end, at most one outcome, and the same codes however the
// bytes were cut.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "package/ChildOutput.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

bool KnownCode(int code) {
  return (code >= 2002 && code <= 2004) || (code >= 3000 && code <= 3009 && code != 3006) ||
         code == 5002 || code == 5003 || code == 5005;
}

bool Outcome(int code) { return code == 2003 || code == 2004 || code == 5003 || code == 5005; }

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Code {
  int code;
  double value;
  std::wstring text;
  bool operator==(const Code& other) const {
    // A NaN progress value is the same as another NaN.
    const bool sameValue = value == other.value || (value != value && other.value != other.value);
    return code == other.code && sameValue && text == other.text;
  }
};

// The codes of `bytes` fed in pieces of `pieceSize` (0: all at once).
std::vector<Code> Read(ChildKind kind, const std::string& bytes, size_t pieceSize) {
  std::vector<Code> codes;
  ChildOutput output(kind, [&codes](int code, double value, const wchar_t* text) {
    Check(KnownCode(code));
    Check(text != nullptr);
    const std::wstring sent(text);
    Check(sent.size() <= OutputInterpreter::kMaxTextLength);
    Check(sent.empty() || sent.back() != L'\r');
    codes.push_back({code, value, sent});
  });
  const size_t step = pieceSize == 0 ? bytes.size() : pieceSize;
  for (size_t at = 0; at < bytes.size(); at += step) {
    output.Feed(bytes.data() + at, std::min(step, bytes.size() - at));
  }
  output.Finish();
  size_t outcomes = 0;
  for (const Code& code : codes) outcomes += Outcome(code.code) ? 1 : 0;
  Check(outcomes <= 1);
  Check(output.OutcomeSeen() == (outcomes == 1));
  return codes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (ChildKind kind : {ChildKind::Uninstaller, ChildKind::Package}) {
    const std::vector<Code> whole = Read(kind, bytes, 0);
    Check(Read(kind, bytes, 1) == whole);
    Check(Read(kind, bytes, 1 + size % 7) == whole);
  }
  return 0;
}
