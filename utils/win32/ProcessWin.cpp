#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "utils/CommandLine.h"
#include "utils/Process.h"

namespace Utils {

namespace {

[[noreturn]] void ThrowLastError(const std::wstring& doing, const wchar_t* call) {
  throw Exception::OsCall(doing, call, GetLastError());
}

constexpr DWORD kPipeBufferSize = 64 * 1024;

// An anonymous pipe cannot be read with a time limit, so a waitable read end
// is the overlapped server end of a named pipe with one instance, which its
// own write end takes at once. The name is not meant to be found: the
// creation fails if it exists, and the default rights let no process that is
// not elevated write to it.
void CreateWaitablePipe(UniqueOsHandle& read, UniqueOsHandle& write) {
  static std::atomic<unsigned> serial{0};
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  wchar_t name[96];
  swprintf(name, sizeof name / sizeof name[0], L"\\\\.\\pipe\\Quorvane.%lu.%u.%llx",
           GetCurrentProcessId(), serial++, static_cast<unsigned long long>(now.QuadPart));
  read.reset(CreateNamedPipeW(
      name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
      kPipeBufferSize, kPipeBufferSize, 0, nullptr));
  if (!read) ThrowLastError(L"cannot create a pipe", L"CreateNamedPipeW");
  write.reset(CreateFileW(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!write) ThrowLastError(L"cannot open a pipe", L"CreateFileW");
}

bool IsAbsolute(const std::wstring& path) {
  const bool drive = path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' &&
                     (path[2] == L'\\' || path[2] == L'/');
  return drive || path.rfind(L"\\\\", 0) == 0;
}

// The program the line names, by the rules the system applies to the first
// argument; an absolute path, so that nothing is searched for in the
// installer's working folder.
std::wstring ProgramOf(const std::wstring& commandLine) {
  if (commandLine.empty()) throw Exception(L"no program to start");
  const std::vector<std::wstring> args = SplitCommandLine(commandLine);
  if (args.empty() || !IsAbsolute(args[0])) throw Exception(L"the program path is not absolute");
  return args[0];
}

std::wstring FolderOf(const std::wstring& program) {
  return program.substr(0, program.find_last_of(L"\\/") + 1);
}

// The child's ends are inheritable only while this one child is created.
class Lent {
 public:
  explicit Lent(HANDLE handle) : handle_(handle) {
    if (!SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
      ThrowLastError(L"cannot lend a handle to the child", L"SetHandleInformation");
    }
  }
  ~Lent() { SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, 0); }
  Lent(const Lent&) = delete;
  Lent& operator=(const Lent&) = delete;

 private:
  HANDLE handle_;
};

// The attribute list that limits what the child inherits to `handles`.
class InheritList {
 public:
  explicit InheritList(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) {
      ThrowLastError(L"cannot build the inheritance list", L"InitializeProcThreadAttributeList");
    }
    list_ = list;
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                   handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
      const DWORD error = GetLastError();
      DeleteProcThreadAttributeList(list_);  // a constructor that throws runs no destructor
      throw Exception::OsCall(L"cannot build the inheritance list", L"UpdateProcThreadAttribute", error);
    }
  }
  ~InheritList() {
    if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
  }
  InheritList(const InheritList&) = delete;
  InheritList& operator=(const InheritList&) = delete;

  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  std::vector<HANDLE> handles_;  // must outlive the list
  std::vector<unsigned char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

UniqueOsHandle OpenNullDevice() {
  HANDLE device = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) ThrowLastError(L"cannot open the null device", L"CreateFileW");
  return UniqueOsHandle(device);
}

// Hidden, in the program's own folder, inheriting the three standard handles
// and nothing else. The handles are lent for the call only, so they are
// still open when their loan ends.
PROCESS_INFORMATION CreateChild(const std::wstring& program, wchar_t* commandLine, HANDLE input,
                                HANDLE output, HANDLE error) {
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = error;

  const Lent lentInput(input);
  const Lent lentOutput(output);
  const Lent lentError(error);
  const InheritList inherit({input, output, error});
  startup.lpAttributeList = inherit.get();

  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine, nullptr, nullptr, TRUE,
                      EXTENDED_STARTUPINFO_PRESENT, nullptr, FolderOf(program).c_str(),
                      &startup.StartupInfo, &info)) {
    ThrowLastError(L"cannot start " + program, L"CreateProcessW");
  }
  return info;
}

}  // namespace

Pipe::Pipe(bool waitableRead) {
  if (waitableRead) {
    CreateWaitablePipe(read, write);
    return;
  }
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) ThrowLastError(L"cannot create a pipe", L"CreatePipe");
  read.reset(readEnd);
  write.reset(writeEnd);
}

struct PipedProcess::Native {
  UniqueOsHandle process;
  UniqueOsHandle thread;
  DWORD processId = 0;
  DWORD threadId = 0;

  // The output's overlapped read, which may outlive the call that waited for
  // it, so its buffer lives here; what it brought beyond a caller's buffer
  // waits in `ready`.
  UniqueOsHandle readDone{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  OVERLAPPED overlapped{};
  char buffer[4096] = {};
  bool pending = false;
  std::string ready;

  // Bytes into `ready`: their count, 0 at end of output, kNothingYet, or -1.
  long Fill(HANDLE pipe, unsigned milliseconds) {
    if (!pending) {
      if (!readDone) return -1;
      ResetEvent(readDone.get());
      overlapped = OVERLAPPED{};
      overlapped.hEvent = readDone.get();
      DWORD got = 0;
      if (ReadFile(pipe, buffer, sizeof buffer, &got, &overlapped)) return Take(got);
      const DWORD error = GetLastError();
      if (error != ERROR_IO_PENDING) return error == ERROR_BROKEN_PIPE ? 0 : -1;
      pending = true;
    }
    const DWORD waited = WaitForSingleObject(readDone.get(), milliseconds);
    if (waited == WAIT_TIMEOUT) return kNothingYet;
    if (waited != WAIT_OBJECT_0) return -1;
    pending = false;
    DWORD got = 0;
    if (!GetOverlappedResult(pipe, &overlapped, &got, FALSE)) {
      return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return Take(got);
  }

  // A write of no bytes completes a read with none: that is no end of output.
  long Take(DWORD got) {
    ready.assign(buffer, got);
    return got == 0 ? kNothingYet : static_cast<long>(got);
  }

  // A read still under way must end before its pipe or buffer go.
  void CancelRead(HANDLE pipe) {
    if (!pending) return;
    CancelIoEx(pipe, &overlapped);
    DWORD got = 0;
    GetOverlappedResult(pipe, &overlapped, &got, TRUE);
    pending = false;
  }
};

PipedProcess::PipedProcess() : stdOut_(true), native_(std::make_unique<Native>()) {}

PipedProcess::~PipedProcess() { Close(); }

void PipedProcess::Start(const std::wstring& commandLine) {
  if (commandLine.size() >= kCommandLineCapacity) throw Exception(L"the command line is too long");
  const std::wstring program = ProgramOf(commandLine);
  wcsncpy(commandLine_, commandLine.c_str(), kCommandLineCapacity);
  const UniqueOsHandle nullDevice = OpenNullDevice();
  // Closed before, or started once already: the child's ends are gone.
  if (!stdIn_.read || !stdOut_.write) {
    native_->CancelRead(stdOut_.read.get());
    native_->ready.clear();
    stdIn_ = Pipe();
    stdOut_ = Pipe(true);
  }
  const PROCESS_INFORMATION info =
      CreateChild(program, commandLine_, stdIn_.read.get(), stdOut_.write.get(), nullDevice.get());
  native_->process.reset(info.hProcess);
  native_->thread.reset(info.hThread);
  native_->processId = info.dwProcessId;
  native_->threadId = info.dwThreadId;
  stdOut_.write.reset();
  stdIn_.read.reset();
}

bool PipedProcess::StillActive() {
  DWORD code = 0;
  return native_->process &&
         GetExitCodeProcess(native_->process.get(), &code) && code == STILL_ACTIVE;
}

long PipedProcess::ReadOutputWithin(char* buffer, size_t size, unsigned milliseconds) {
  if (native_->ready.empty()) {
    const long filled = native_->Fill(stdOut_.read.get(), milliseconds);
    if (filled <= 0) return filled;
  }
  const size_t count = std::min(size, native_->ready.size());
  std::memcpy(buffer, native_->ready.data(), count);
  native_->ready.erase(0, count);
  return static_cast<long>(count);
}

long PipedProcess::ReadOutput(char* buffer, size_t size) {
  long got;
  do {
    got = ReadOutputWithin(buffer, size, INFINITE);
  } while (got == kNothingYet);
  return got;
}

void PipedProcess::Wait() {
  if (native_->process) WaitForSingleObject(native_->process.get(), INFINITE);
}

bool PipedProcess::ExitCode(uint32_t& code) {
  DWORD value = 0;
  if (!native_->process || !GetExitCodeProcess(native_->process.get(), &value) ||
      value == STILL_ACTIVE) {
    return false;
  }
  code = value;
  return true;
}

uint32_t PipedProcess::ProcessId() const { return native_->processId; }

void PipedProcess::Close() {
  native_->CancelRead(stdOut_.read.get());
  native_->thread.reset();
  native_->process.reset();
  for (Pipe* pipe : {&stdOut_, &stdIn_}) {
    pipe->read.reset();
    pipe->write.reset();
  }
}

}  // namespace Utils
