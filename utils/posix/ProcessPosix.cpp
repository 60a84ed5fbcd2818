#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cwchar>
#include <vector>

#include "utils/CommandLine.h"
#include "utils/Encoding.h"
#include "utils/Process.h"

extern char** environ;

namespace Utils {

void OsHandleTraits::Close(Value value) { close(value); }

Exception::Exception(const std::wstring& message) : text_(ToNarrow(message, kCodePageAnsi)) {}

Pipe::Pipe() {
  // Close-on-exec on both ends: a child started by another thread meanwhile
  // inherits neither; the spawn duplicates only the child's ends onto 0, 1, 2.
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) throw Exception(L"");
  read.reset(ends[0]);
  write.reset(ends[1]);
}

struct PipedProcess::Native {
  pid_t pid = -1;
  bool reaped = false;
  int status = 0;

  void Reap(bool block) {
    if (pid < 0 || reaped) return;
    int value = 0;
    pid_t done;
    do {
      done = waitpid(pid, &value, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == pid) {
      reaped = true;
      status = value;
    }
  }
};

PipedProcess::PipedProcess() : native_(std::make_unique<Native>()) {}

PipedProcess::~PipedProcess() { Close(); }

void PipedProcess::Start(const std::wstring& commandLine) {
  if (commandLine.size() >= kCommandLineCapacity) throw Exception(L"");
  std::wcsncpy(commandLine_, commandLine.c_str(), kCommandLineCapacity);

  std::vector<std::string> args;
  for (const std::wstring& arg : SplitCommandLineLikeWindows(commandLine_)) {
    args.push_back(ToNarrow(arg, kCodePageUtf8));
  }
  if (args.empty() || args[0].empty()) throw Exception(L"");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, stdIn_.read.get(), 0);
  posix_spawn_file_actions_adddup2(&actions, stdOut_.write.get(), 1);
  posix_spawn_file_actions_adddup2(&actions, stdErr_.write.get(), 2);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw Exception(L"");

  native_->pid = pid;
  stdOut_.write.reset();
  stdErr_.write.reset();
  stdIn_.read.reset();
}

bool PipedProcess::StillActive() {
  native_->Reap(false);
  return native_->pid >= 0 && !native_->reaped;
}

long PipedProcess::ReadOutput(char* buffer, size_t size) {
  ssize_t got;
  do {
    got = ::read(stdOut_.read.get(), buffer, size);
  } while (got < 0 && errno == EINTR);
  return static_cast<long>(got);
}

size_t PipedProcess::OutputAvailable() {
  int available = 0;
  if (ioctl(stdOut_.read.get(), FIONREAD, &available) != 0 || available < 0) return 0;
  return static_cast<size_t>(available);
}

void PipedProcess::Wait() { native_->Reap(true); }

bool PipedProcess::ExitCode(uint32_t& code) {
  native_->Reap(false);
  if (!native_->reaped) return false;
  const int status = native_->status;
  code = WIFEXITED(status) ? static_cast<uint32_t>(WEXITSTATUS(status))
                           : 128u + static_cast<uint32_t>(WTERMSIG(status));
  return true;
}

uint32_t PipedProcess::ProcessId() const {
  return native_->pid < 0 ? 0 : static_cast<uint32_t>(native_->pid);
}

void PipedProcess::Close() {
  // A child that is still running is left to run; it is reaped here if done.
  native_->Reap(false);
  for (Pipe* pipe : {&stdErr_, &stdOut_, &stdIn_}) {
    pipe->read.reset();
    pipe->write.reset();
  }
}

}  // namespace Utils
