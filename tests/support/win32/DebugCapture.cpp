#include "tests/support/win32/DebugCapture.h"

#include <windows.h>

#include "utils/Encoding.h"
#include "utils/UniqueHandle.h"

namespace TestSupport {
namespace {

std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  const size_t units = info.nDebugStringLength;
  if (units == 0) return {};
  if (info.fUnicode) {
    std::wstring text(units, L'\0');
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, info.lpDebugStringData, text.data(), units * sizeof(wchar_t), &got)) {
      return {};
    }
    return std::wstring(text.c_str());
  }
  std::string text(units, '\0');
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, info.lpDebugStringData, text.data(), units, &got)) return {};
  return Utils::ToWide(text, Utils::kCodePageAnsi);
}

}  // namespace

CapturedRun RunCapturingDebugOutput(const std::wstring& commandLine, uint32_t timeoutMs,
                                    const std::function<bool(const std::wstring&)>& enough) {
  CapturedRun run;
  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                      nullptr, nullptr, &startup, &info)) {
    return run;
  }
  run.started = true;
  Utils::UniqueOsHandle process(info.hProcess);
  Utils::UniqueOsHandle thread(info.hThread);
  const DWORD deadline = GetTickCount() + timeoutMs;
  bool ending = false;
  auto endProgram = [&] {
    if (!ending) TerminateProcess(process.get(), 0xDEAD);
    ending = true;
  };

  for (;;) {
    DEBUG_EVENT event{};
    const DWORD now = GetTickCount();
    const DWORD wait = static_cast<int32_t>(deadline - now) > 0 ? deadline - now : 0;
    if (!WaitForDebugEvent(&event, ending ? 5000 : wait)) {
      if (ending) break;  // the program does not end: give up on it
      run.timedOut = true;
      endProgram();
      continue;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        Utils::UniqueOsHandle{event.u.CreateProcessInfo.hFile};  // the image's file is not wanted
        break;
      case LOAD_DLL_DEBUG_EVENT:
        Utils::UniqueOsHandle{event.u.LoadDll.hFile};
        break;
      case OUTPUT_DEBUG_STRING_EVENT: {
        run.lines.push_back(ReadDebugString(process.get(), event.u.DebugString));
        if (enough && enough(run.lines.back())) endProgram();
        break;
      }
      case EXCEPTION_DEBUG_EVENT:
        // The loader's first breakpoint is ours to take; everything else
        // (the thread-naming exception among them) goes back to the program.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        run.exitCode = event.u.ExitProcess.dwExitCode;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        return run;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
  return run;
}

}  // namespace TestSupport
