#include "utils/win32/ShellLaunch.h"

#include <windows.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "utils/Log.h"
#include "utils/win32/ComScope.h"

namespace Utils {
namespace {

struct Bstr {
  explicit Bstr(const std::wstring& text) : value(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR value;
};

// A step that hands out no interface fails, whatever it answered: a shell
// that only pretends (as Wine's does) must not be called through null.
template <typename Interface>
HRESULT Failed(HRESULT result, const ComPtr<Interface>& pointer) {
  if (FAILED(result)) return result;
  return pointer ? S_OK : E_NOINTERFACE;
}

// The shell object of the desktop window's folder view: what Explorer itself
// uses to start programs, running in Explorer's process with its token.
HRESULT DesktopShell(ComPtr<IShellDispatch2>& shell) {
  ComPtr<IShellWindows> windows;
  HRESULT result = Failed(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                           windows.void_out()),
                          windows);
  if (FAILED(result)) return result;
  VARIANT desktop;
  VariantInit(&desktop);
  desktop.vt = VT_I4;
  desktop.lVal = CSIDL_DESKTOP;
  VARIANT none;
  VariantInit(&none);
  long window = 0;
  ComPtr<IDispatch> found;
  result = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.out());
  if (result != S_OK) return FAILED(result) ? result : E_NOINTERFACE;
  ComPtr<IServiceProvider> services;
  if (FAILED(result = Failed(found->QueryInterface(IID_IServiceProvider, services.void_out()), services))) {
    return result;
  }
  ComPtr<IShellBrowser> browser;
  result = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.void_out());
  if (FAILED(result = Failed(result, browser))) return result;
  ComPtr<IShellView> view;
  if (FAILED(result = Failed(browser->QueryActiveShellView(view.out()), view))) return result;
  ComPtr<IDispatch> background;
  result = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.void_out());
  if (FAILED(result = Failed(result, background))) return result;
  ComPtr<IShellFolderViewDual> folderView;
  result = background->QueryInterface(IID_IShellFolderViewDual, folderView.void_out());
  if (FAILED(result = Failed(result, folderView))) return result;
  ComPtr<IDispatch> application;
  if (FAILED(result = Failed(folderView->get_Application(application.out()), application))) return result;
  return Failed(application->QueryInterface(IID_IShellDispatch2, shell.void_out()), shell);
}

}  // namespace

bool LaunchAsDesktopUser(const std::wstring& file, const std::wstring& folder, int show) {
  const ComScope com;
  ComPtr<IShellDispatch2> shell;
  HRESULT result = DesktopShell(shell);
  if (SUCCEEDED(result)) {
    const Bstr target(file);
    VARIANT arguments, directory, operation, showing;
    VariantInit(&arguments);
    VariantInit(&directory);
    VariantInit(&operation);
    VariantInit(&showing);
    const Bstr folderText(folder);
    if (!folder.empty()) {
      directory.vt = VT_BSTR;
      directory.bstrVal = folderText.value;
    }
    showing.vt = VT_I4;
    showing.lVal = show;
    result = shell->ShellExecute(target.value, arguments, directory, operation, showing);
    if (SUCCEEDED(result)) return true;
  }
  UTILS_LOG(L"the desktop's shell cannot start %ls as the desktop user (0x%08lx): the installer starts it",
            file.c_str(), static_cast<unsigned long>(result));
  const auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(), show));
  return started > 32;
}

}  // namespace Utils
