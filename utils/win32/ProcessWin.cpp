#include <windows.h>

#include <cwchar>

#include "utils/Encoding.h"
#include "utils/Process.h"

namespace Utils {

void OsHandleTraits::Close(Value value) { CloseHandle(value); }

Exception::Exception(const std::wstring& message) : text_(ToNarrow(message, kCodePageAnsi)) {}

Pipe::Pipe() {
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &attributes, 0)) throw Exception(L"");
  read.reset(readEnd);
  write.reset(writeEnd);
}

struct PipedProcess::Native {
  UniqueOsHandle process;
  UniqueOsHandle thread;
  DWORD processId = 0;
  DWORD threadId = 0;
};

PipedProcess::PipedProcess() : native_(std::make_unique<Native>()) {}

PipedProcess::~PipedProcess() { Close(); }

void PipedProcess::Start(const std::wstring& commandLine) {
  if (commandLine.size() >= kCommandLineCapacity) throw Exception(L"");
  wcsncpy(commandLine_, commandLine.c_str(), kCommandLineCapacity);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  SetHandleInformation(stdOut_.read.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(stdErr_.read.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(stdIn_.write.get(), HANDLE_FLAG_INHERIT, 0);
  startup.hStdInput = stdIn_.read.get();
  startup.hStdOutput = stdOut_.write.get();
  startup.hStdError = stdErr_.write.get();

  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine_, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info)) {
    throw Exception(L"");
  }
  native_->process.reset(info.hProcess);
  native_->thread.reset(info.hThread);
  native_->processId = info.dwProcessId;
  native_->threadId = info.dwThreadId;
  stdOut_.write.reset();
  stdErr_.write.reset();
  stdIn_.read.reset();
}

bool PipedProcess::StillActive() {
  DWORD code = 0;
  return native_->process &&
         GetExitCodeProcess(native_->process.get(), &code) && code == STILL_ACTIVE;
}

long PipedProcess::ReadOutput(char* buffer, size_t size) {
  DWORD got = 0;
  if (!ReadFile(stdOut_.read.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) {
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  }
  return static_cast<long>(got);
}

size_t PipedProcess::OutputAvailable() {
  DWORD available = 0;
  if (!PeekNamedPipe(stdOut_.read.get(), nullptr, 0, nullptr, &available, nullptr)) return 0;
  return available;
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
  native_->thread.reset();
  native_->process.reset();
  for (Pipe* pipe : {&stdErr_, &stdOut_, &stdIn_}) {
    pipe->read.reset();
    pipe->write.reset();
  }
}

}  // namespace Utils
