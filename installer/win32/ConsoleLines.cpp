#include "installer/win32/ConsoleLines.h"

#include "utils/Encoding.h"
#include "utils/Log.h"

ConsoleLines::ConsoleLines() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE) {
    const DWORD type = GetFileType(output);
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
      redirected_ = output;
      return;
    }
  }
  attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
  if (attached_) {
    console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
  }
}

ConsoleLines::~ConsoleLines() {
  console_.reset();
  if (attached_) FreeConsole();
}

void ConsoleLines::Write(const std::wstring& line) {
  UTILS_LOG(L"console: %ls", line.c_str());
  const std::wstring text = line + L"\r\n";
  DWORD written = 0;
  if (redirected_ != nullptr) {
    const std::string bytes = Utils::ToNarrow(text, Utils::kCodePageUtf8);
    WriteFile(redirected_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  } else if (console_) {
    WriteConsoleW(console_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}
