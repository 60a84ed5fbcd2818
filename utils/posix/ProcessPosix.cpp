#include <fcntl.h>
#include <spawn.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cwchar>
#include <vector>

#include "utils/CommandLine.h"
#include "utils/Encoding.h"
#include "utils/Process.h"

extern char** environ;

namespace Utils {

// Every descriptor can be polled: nothing to do for a waitable read end.
Pipe::Pipe(bool) {
  // Close-on-exec on both ends: a child started by another thread meanwhile
  // inherits neither; the spawn duplicates only the child's ends onto 0, 1, 2.
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) throw Exception::OsCall(L"cannot create a pipe", L"pipe2", static_cast<unsigned long>(errno));
  read.reset(ends[0]);
  write.reset(ends[1]);
}

namespace {

// The program the line names; an absolute path, so that nothing is searched for.
std::string ProgramOf(const std::vector<std::string>& args) {
  if (args.empty() || args[0].empty() || args[0][0] != '/') {
    throw Exception(L"the program path is not absolute");
  }
  return args[0];
}

UniqueOsHandle OpenNullDevice() {
  const int device = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (device < 0) throw Exception::OsCall(L"cannot open the null device", L"open", static_cast<unsigned long>(errno));
  return UniqueOsHandle(device);
}

// Owns the spawn's list of steps.
class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

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

PipedProcess::PipedProcess() : stdOut_(true), native_(std::make_unique<Native>()) {}

PipedProcess::~PipedProcess() { Close(); }

void PipedProcess::Start(const std::wstring& commandLine) {
  if (commandLine.size() >= kCommandLineCapacity) throw Exception(L"the command line is too long");
  std::wcsncpy(commandLine_, commandLine.c_str(), kCommandLineCapacity);

  std::vector<std::string> args;
  for (const std::wstring& arg : SplitCommandLineLikeWindows(commandLine_)) {
    args.push_back(ToNarrow(arg, kCodePageUtf8));
  }
  const std::string program = ProgramOf(args);
  const std::string folder = program.substr(0, program.rfind('/') + 1);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const UniqueOsHandle nullDevice = OpenNullDevice();
  // Closed before, or started once already: the child's ends are gone.
  if (!stdIn_.read || !stdOut_.write) {
    stdIn_ = Pipe();
    stdOut_ = Pipe(true);
  }

  // The standard streams and nothing more: every other descriptor is closed,
  // whether or not its owner asked for close-on-exec.
  SpawnActions actions;
  // These return their error number rather than setting errno; the first
  // that fails is the one reported.
  int failed = 0;
  const wchar_t* failedCall = L"";
  auto step = [&failed, &failedCall](const wchar_t* call, int result) {
    if (failed == 0 && result != 0) {
      failed = result;
      failedCall = call;
    }
  };
  step(L"posix_spawn_file_actions_adddup2", posix_spawn_file_actions_adddup2(actions.get(), stdIn_.read.get(), 0));
  step(L"posix_spawn_file_actions_adddup2", posix_spawn_file_actions_adddup2(actions.get(), stdOut_.write.get(), 1));
  step(L"posix_spawn_file_actions_adddup2", posix_spawn_file_actions_adddup2(actions.get(), nullDevice.get(), 2));
  step(L"posix_spawn_file_actions_addclosefrom_np", posix_spawn_file_actions_addclosefrom_np(actions.get(), 3));
  step(L"posix_spawn_file_actions_addchdir_np", posix_spawn_file_actions_addchdir_np(actions.get(), folder.c_str()));
  if (failed != 0) throw Exception::OsCall(L"cannot prepare the start", failedCall, static_cast<unsigned long>(failed));
  pid_t pid = -1;
  step(L"posix_spawn", posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ));
  if (failed != 0) {
    throw Exception::OsCall(L"cannot start " + commandLine, failedCall, static_cast<unsigned long>(failed));
  }

  native_->pid = pid;
  stdOut_.write.reset();
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

long PipedProcess::ReadOutputWithin(char* buffer, size_t size, unsigned milliseconds) {
  pollfd output{stdOut_.read.get(), POLLIN, 0};
  const int timeout = milliseconds > INT_MAX ? INT_MAX : static_cast<int>(milliseconds);
  int ready;
  do {
    ready = poll(&output, 1, timeout);
  } while (ready < 0 && errno == EINTR);
  if (ready == 0) return kNothingYet;
  if (ready < 0) return -1;
  return ReadOutput(buffer, size);  // readable or at its end: does not block
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
  for (Pipe* pipe : {&stdOut_, &stdIn_}) {
    pipe->read.reset();
    pipe->write.reset();
  }
}

}  // namespace Utils
