#include "package/ChildRun.h"

#include <algorithm>

#include "package/ChildOutput.h"

namespace {

constexpr size_t kReadSize = 4096;
constexpr unsigned kIdleWaitMs = 10;

// Reads at most `limit` bytes that are already in the pipe, so the read never
// blocks; the count read.
size_t ReadWaiting(Utils::PipedProcess& child, ChildOutput& output, size_t limit) {
  const size_t waiting = std::min({child.OutputAvailable(), limit, kReadSize});
  if (waiting == 0) return 0;
  char buffer[kReadSize];
  const long got = child.ReadOutput(buffer, waiting);
  if (got <= 0) return 0;
  output.Feed(buffer, static_cast<size_t>(got));
  return static_cast<size_t>(got);
}

}  // namespace

bool RunChild(std::unique_ptr<Utils::PipedProcess>& child, const std::wstring& commandLine,
              ChildKind kind, const StatusCallback& callback) {
  child.reset();
  child = std::make_unique<Utils::PipedProcess>();
  child->Start(commandLine);
  ChildOutput output(kind, callback);

  // Only bytes already waiting are read: a blocking read would outlive the
  // child whenever something it started still holds the pipe. The output is
  // read to the child's end whatever it says, so a child never waits on a
  // full pipe.
  while (child->StillActive()) {
    if (ReadWaiting(*child, output, kReadSize) == 0) child->WaitFor(kIdleWaitMs);
  }
  // Everything the child wrote before it ended is in the pipe now; what
  // arrives later comes from programs it started and is not its output.
  for (size_t left = child->OutputAvailable(); left > 0;) {
    const size_t got = ReadWaiting(*child, output, left);
    if (got == 0) break;
    left -= got;
  }
  output.Finish();
  child->Wait();
  child.reset();
  return output.OutcomeSeen();
}
