// QuorvaneSetupPackage.exe: the demo product's self-contained package. It
// carries the product, its uninstaller and its media in its resources, installs
// them into the folder it is given, makes the shortcuts it is asked for, and
// reports through the output protocol. Tests and demos steer it through the
// installer's "InstCmd": "-demo-message=TEXT" announces a message,
// "-demo-fail=TEXT" fails with that error, "-demo-startup=STYLE" picks the
// startup style it reports.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "tools/demo-package/DemoCommon.h"
#include "tools/demo-package/DemoResources.h"
#include "utils/CommandLine.h"
#include "utils/Folders.h"
#include "utils/UniqueHandle.h"
#include "utils/win32/ComScope.h"

namespace {

struct Payload {
  int resource;
  const wchar_t* name;
};

constexpr Payload kPayload[] = {{kResourceProduct, Demo::kProductExe},
                                {kResourceUninstaller, Demo::kUninstaller},
                                {kResourceMedia, L"welcome-clip.vmedia"}};

bool ExtractResource(int id, const std::wstring& path) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RCDATA
  if (found == nullptr) return false;
  const void* data = LockResource(LoadResource(nullptr, found));
  const DWORD size = SizeofResource(nullptr, found);
  const Utils::UniqueOsHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return data != nullptr && WriteFile(file.get(), data, size, &written, nullptr) && written == size;
}

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path))) return {};
  return path;
}

bool CreateShortcut(const std::wstring& link, const std::wstring& target) {
  ComPtr<IShellLinkW> shell;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.void_out()))) {
    return false;
  }
  shell->SetPath(target.c_str());
  shell->SetWorkingDirectory(Demo::FolderOf(target).c_str());
  shell->SetDescription(L"Vellisto");
  ComPtr<IPersistFile> file;
  return SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.void_out())) &&
         SUCCEEDED(file->Save(link.c_str(), TRUE));
}

std::wstring InstallFolder(const std::wstring& commandLine, const Utils::CommandLineArgs& args) {
  std::wstring folder = Demo::RestOfLineAfter(commandLine, L" /D=");
  if (folder.empty()) folder = args.GetString(L"-instdir");
  if (folder.empty()) folder = KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Vellisto";
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return folder;
}

int Fail(const std::wstring& reason) {
  Demo::Say(L"Error=" + reason);
  return 1;
}

int Install() {
  const std::wstring commandLine = GetCommandLineW();
  const Utils::CommandLineArgs args(commandLine);
  Demo::Say(L"Encode=UTF8");
  Sleep(50);  // the encoding applies from the next read on

  const std::wstring folder = InstallFolder(commandLine, args);
  if (!Utils::CreateDirectories(folder + L"\\")) return Fail(L"cannot create the folder " + folder);
  Demo::Say(L"Progress=0.1");

  // Options a test or demo passes through the installer's "InstCmd".
  const std::wstring message = args.GetString(L"-demo-message");
  if (!message.empty()) Demo::Say(L"Message=" + message);
  if (args.Has(L"-demo-fail")) return Fail(args.GetString(L"-demo-fail"));

  std::vector<std::wstring> created;
  int step = 0;
  for (const Payload& item : kPayload) {
    const std::wstring path = folder + L"\\" + item.name;
    if (!ExtractResource(item.resource, path)) return Fail(L"cannot write " + path);
    created.push_back(path);
    Demo::Say(L"Progress=" + std::to_wstring(0.2 + 0.2 * ++step).substr(0, 4));
  }
  const std::wstring log = folder + L"\\" + Demo::kLogName;
  if (!Demo::WriteUtf8File(log, commandLine + L"\n")) return Fail(L"cannot write " + log);
  created.push_back(log);

  const std::wstring product = folder + L"\\" + Demo::kProductExe;
  if (args.GetString(L"-dsc") == L"true") {
    const std::wstring link = KnownFolder(CSIDL_DESKTOPDIRECTORY) + L"\\" + Demo::kShortcutName;
    if (!CreateShortcut(link, product)) return Fail(L"cannot create the desktop shortcut");
    created.push_back(link);
  }
  if (args.GetString(L"-ssc") == L"true") {
    const std::wstring quickLaunch =
        KnownFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\";
    Utils::CreateDirectories(quickLaunch);
    if (!CreateShortcut(quickLaunch + Demo::kShortcutName, product)) {
      return Fail(L"cannot create the quick-launch entry");
    }
    created.push_back(quickLaunch + Demo::kShortcutName);
  }
  if (!Demo::WriteManifest(folder, created)) return Fail(L"cannot record the installation");
  Demo::Say(L"Progress=1");

  Demo::Say(L"InstPath=" + folder);
  Demo::Say(L"InstallVersion=1.7.9");
  Demo::Say(L"ExePath=" + product);
  Demo::Say(L"UninstEp=" + folder + L"\\" + Demo::kUninstaller);
  const std::wstring startup = args.GetString(L"-demo-startup");
  Demo::Say(L"StartupStyle=" + (startup.empty() ? std::wstring(L"UserStartup") : startup));
  Demo::Say(L"State=Success");
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const bool com = SUCCEEDED(CoInitialize(nullptr));
  const int result = Install();
  if (com) CoUninitialize();
  return result;
}
