#include "ui/win32/ProcessList.h"

#include <windows.h>

#include <tlhelp32.h>

#include "utils/UniqueHandle.h"

uint32_t IsProcessRunning(const wchar_t* exeName) {
  Utils::UniqueOsHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpW(entry.szExeFile, exeName) == 0) return entry.th32ProcessID;
  }
  return 0;
}
