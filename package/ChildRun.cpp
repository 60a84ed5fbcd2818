#include "package/ChildRun.h"

#include <chrono>
#include <thread>

#include "utils/Encoding.h"

namespace {

constexpr size_t kReadSize = 1024;

void Pause(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

bool RunChild(std::unique_ptr<Utils::PipedProcess>& child, const std::wstring& commandLine,
              OutputInterpreter& interpreter, const ChildRunStyle& style, Utils::File image) {
  child.reset();
  child = std::make_unique<Utils::PipedProcess>();
  child->Start(commandLine);
  image = Utils::File();  // the process exists: its file may go when the run is over

  bool outcomeSeen = false;
  // One read is one chunk: bytes up to the first NUL, decoded with the code
  // page in force when they arrived. Lines split across reads stay split.
  auto interpret = [&](const char* bytes, long count) {
    const std::string chunk(std::string(bytes, static_cast<size_t>(count)).c_str());
    if (interpreter.Interpret(Utils::ToWide(chunk, interpreter.CodePage())) !=
        OutputInterpreter::kNoOutcome) {
      outcomeSeen = true;
    }
  };
  auto done = [&] { return outcomeSeen && style.stopReadingAtOutcome; };

  bool outputOpen = true;
  while (outputOpen && !done() && child->StillActive()) {
    char buffer[kReadSize] = {};
    const long got = child->ReadOutput(buffer, sizeof buffer);
    if (got > 0) {
      interpret(buffer, got);
    } else if (got == 0) {
      outputOpen = false;  // the child closed its output: nothing more can arrive
    } else {
      Pause(50);  // a failing read must not spin while the child lives
    }
    if (!done()) Pause(style.pauseAfterReadMs);
  }
  // What the child wrote just before it ended is still in the pipe.
  while (outputOpen && !done() && child->OutputAvailable() > 0) {
    char buffer[kReadSize] = {};
    const long got = child->ReadOutput(buffer, sizeof buffer);
    if (got <= 0) break;
    interpret(buffer, got);
  }
  child->Wait();
  child.reset();
  return outcomeSeen;
}
