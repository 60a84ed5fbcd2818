#include "package/ChildRun.h"

#include <chrono>
#include <thread>

#include "package/ChildOutput.h"

namespace {

constexpr size_t kReadSize = 4096;
// How often a silent child is looked at, and how long after its end a read
// may take to bring what it wrote last (on a busy machine that is not at
// once); the wait is spent in full only when something the child started
// holds the pipe.
constexpr unsigned kLivingWaitMs = 50;
constexpr unsigned kAfterEndWaitMs = 1000;
// More than a pipe holds: once the child has ended, output beyond this comes
// from programs it started, which may write for ever.
constexpr size_t kAfterEndBytes = 1 << 20;

}  // namespace

bool RunChild(std::unique_ptr<Utils::PipedProcess>& child, const std::wstring& commandLine,
              ChildKind kind, const StatusCallback& callback, Utils::File image) {
  child.reset();
  child = std::make_unique<Utils::PipedProcess>();
  child->Start(commandLine);
  image = Utils::File();  // the process exists: its file may go when the run is over
  ChildOutput output(kind, callback);

  // The output is read until the child has ended, whatever it says, so it
  // never waits on a full pipe. Reads wait with a limit: what the child
  // started may hold the pipe open long after the child itself has ended.
  size_t afterEnd = 0;
  char buffer[kReadSize];
  for (;;) {
    const bool ended = !child->StillActive();
    const long got =
        child->ReadOutputWithin(buffer, sizeof buffer, ended ? kAfterEndWaitMs : kLivingWaitMs);
    if (got > 0) {
      output.Feed(buffer, static_cast<size_t>(got));
      afterEnd += ended ? static_cast<size_t>(got) : 0;
      if (afterEnd < kAfterEndBytes) continue;
    }
    if (got == 0 || ended) break;
    // A failed read ends nothing while the child lives, but must not spin.
    if (got != Utils::PipedProcess::kNothingYet) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kLivingWaitMs));
    }
  }
  output.Finish();
  child->Wait();
  child.reset();
  return output.OutcomeSeen();
}
