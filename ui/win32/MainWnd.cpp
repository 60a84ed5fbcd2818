#include "ui/win32/MainWnd.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/InstallerConfig.h"
#include "app/win32/DefaultFolder.h"
#include "app/win32/FunnelReports.h"
#include "app/win32/InstallRecords.h"
#include "skinkit/Button.h"
#include "skinkit/Container.h"
#include "skinkit/Progress.h"
#include "skinkit/SequenceLabel.h"
#include "skinkit/Values.h"
#include "ui/win32/MessageBoxWnd.h"
#include "ui/win32/RunCommon.h"
#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/ProductIdentity.h"
#include "utils/Strings.h"
#include "utils/win32/ComScope.h"
#include "utils/win32/PumpMessages.h"
#include "utils/win32/ShellLaunch.h"

using namespace SkinKit;

namespace {

constexpr int kWindowIconId = 145;

template <typename T>
T* FindAs(PaintManager& manager, const wchar_t* name, const wchar_t* cls) {
  CControlUI* control = manager.FindControl(name);
  return control ? static_cast<T*>(control->GetInterface(cls)) : nullptr;
}

}  // namespace

CMainWnd::CMainWnd(InstallRun::RunFacts& facts)
    : CSkinFrame(CSkinFrameParams::ForSkinFile(L"MainWnd.xml")), facts_(facts) {}

CMainWnd::~CMainWnd() { StopWorkers(); }

std::unique_ptr<CControlUI> CMainWnd::CreateControl(const std::wstring& elementName) {
  if (EqualsNoCase(elementName, L"SequenceLabel")) return std::make_unique<CSequenceLabelUI>();
  return nullptr;
}

void CMainWnd::InitWindow() {
  CSkinFrame::InitWindow();
  ApplyFrameStyle();
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kWindowIconId));
  if (icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  // Other programs may announce the downloader's start; the installer runs
  // elevated, so their messages must be let through.
  ChangeWindowMessageFilterEx(hwnd_, kDownloaderStartMessage, MSGFLT_ALLOW, nullptr);
  FindControls();
  ShowTitleName();

  installer_ = std::make_unique<CDownloadInstaller>(
      [this](int code, double value, const wchar_t* text) { PostWorkerMessage(code, value, text); });

  const InstalledCopy copy = ReadInstallRecords();
  installedFolder_ = copy.folder;
  installedUninstaller_ = copy.uninstaller;
  const std::wstring suggested = GetDefaultInstallDir();
  UTILS_LOG(L"default install folder [%ls]", suggested.c_str());
  if (installDirEdit_) installDirEdit_->SetText(suggested);

  InstallRun::RunSettings settings = RunSettingsFor(TheInstallerConfig(), copy);
  settings.progressTemplate = progressLb_ ? progressLb_->GetUserData() : std::wstring();
  policy_ = std::make_unique<InstallRun::Policy>(std::move(settings), facts_);
  CenterWindow();
  if (policy_->Installed()) ActOnInstalledCopy();
}

void CMainWnd::FindControls() {
  PaintManager& m = GetPaintManager();
  mainTabLt_ = FindAs<CTabLayoutUI>(m, L"mainTabLt", L"TabLayout");
  titleTabLt_ = FindAs<CTabLayoutUI>(m, L"titleTabLt", L"TabLayout");
  defaultInstallBtn_ = m.FindControl(L"defaultInstallBtn");
  customeInstallBtn_ = m.FindControl(L"customeInstallBtn");
  customeBtn_ = m.FindControl(L"customeBtn");
  backBtn_ = m.FindControl(L"backBtn");
  openProduceBtn_ = m.FindControl(L"openProduceBtn");
  chDirBtn_ = m.FindControl(L"chDirBtn");
  installDirEdit_ = m.FindControl(L"installDirEdit");
  progressLb_ = m.FindControl(L"progressLb");
  titleGrpCtn_ = m.FindControl(L"titleGrpCtn");
  winCtn_ = m.FindControl(L"winCtn");
  createDSCb_ = FindAs<CCheckBoxUI>(m, L"createDSCb", L"CheckBox");
  createQSCb_ = FindAs<CCheckBoxUI>(m, L"createQSCb", L"CheckBox");
  progressAnLb_ = m.FindControl(L"progressAnLb");
  installPrg_ = FindAs<CProgressUI>(m, L"installPrg", L"Progress");
}

void CMainWnd::ShowTitleName() {
  auto* title = FindAs<CLabelUI>(GetPaintManager(), L"bTitleLbl3", L"Label");
  if (!title) return;
  title->SetFixedWidth(MeasureText(*title, kDisplayName).cx);
  title->SetText(kDisplayName);
}

void CMainWnd::RunningProductMessage() {
  ShowMessageWindow(hwnd_, L"MessageBox1Wnd.xml", InstallRun::kProductRunningText,
                    InstallRun::NoticeCaption(InstallRun::Notice::kProductRunning));
}

void CMainWnd::ActOnInstalledCopy() {
  if (facts_.ProcessRunning(kProductExeName)) {
    RunningProductMessage();
    Close();
    return;
  }
  switch (ShowMessageWindow(hwnd_, L"InstalledPathTipWnd.xml")) {
    case kResultCancel:  // "open"
      Utils::LaunchAsDesktopUser(JoinPath(installedFolder_, kProductExeName), installedFolder_, SW_SHOWNORMAL);
      Close();
      break;
    case kResultOk:  // "update"
      RequestInstall(installedFolder_, true, true);
      break;
    default:
      Close();
      break;
  }
}

std::wstring CMainWnd::GetDefaultInstallDir() {
  const DefaultFolder chosen = ChooseDefaultFolder({installedFolder_, installedUninstaller_});
  consoleUserIsAdmin_ = chosen.consoleUserIsAdmin;
  installerIsAdmin_ = chosen.installerIsAdmin;
  return chosen.folder;
}

std::wstring CMainWnd::GetCustomInstallDir() {
  const std::wstring suggested = GetDefaultInstallDir();
  const std::wstring text = installDirEdit_ ? installDirEdit_->GetText() : std::wstring();
  if (SameFolder(suggested, text)) return suggested;
  return JoinPath(text, kProductFolderName);
}

// The product and its page start as the desktop's user, not elevated; the
// page only when it is a web address (the package names it, and an elevated
// "open" of anything else would run it).
void CMainWnd::LaunchProduct(const std::wstring& product, const std::wstring& startUrl) {
  if (Utils::IsWebUrl(startUrl)) {
    Utils::LaunchAsDesktopUser(startUrl, L"", SW_SHOWMAXIMIZED);
  } else if (!startUrl.empty()) {
    UTILS_LOG(L"the start page [%ls] is no web address and is not opened", startUrl.c_str());
  }
  if (Utils::PathExists(product)) {
    Utils::PumpMessages(hwnd_);
    Utils::LaunchAsDesktopUser(product, L"", SW_SHOWNORMAL);
  }
}

int CMainWnd::CurrentPage() const { return mainTabLt_ ? mainTabLt_->GetCurSel() : kQuickPage; }

InstallRun::Page CMainWnd::ShownPage() const { return static_cast<InstallRun::Page>(CurrentPage()); }

void CMainWnd::SelectPage(int page) {
  if (mainTabLt_) mainTabLt_->SelectItem(page);
}

void CMainWnd::CloseBox() {
  if (CurrentPage() == kFinishedPage) {
    Close();
    return;
  }
  if (ShowMessageWindow(hwnd_, L"ExitTipWnd.xml") == kResultOk) Close();
}

void CMainWnd::OnClick(Notification& notification) {
  CControlUI* sender = notification.sender;
  if (!sender) return;
  const AbMap ab = AbGroupMap(policy_->AbGroup());
  if (sender == defaultInstallBtn_) {
    ReportClick(ab, L"立即安装");
    RequestInstall(InstallRun::Page::kQuick);
  } else if (sender == customeBtn_) {
    ReportClick(ab, L"自定义安装");
    SelectPage(kCustomPage);
    if (customeInstallBtn_) GetPaintManager().SetFocus(customeInstallBtn_);
  } else if (sender == backBtn_) {
    SelectPage(kQuickPage);
  } else if (sender == chDirBtn_) {
    ComScope com;
    BROWSEINFOW browse = {};
    browse.hwndOwner = hwnd_;
    browse.lpszTitle = L"选择一个文件夹";
    browse.ulFlags = BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (chosen) {
      wchar_t path[MAX_PATH] = {};
      if (SHGetPathFromIDListW(chosen, path) && installDirEdit_) installDirEdit_->SetText(path);
      CoTaskMemFree(chosen);
    }
  } else if (sender == customeInstallBtn_) {
    ReportClick(ab, L"自定义安装_立即安装");
    RequestInstall(InstallRun::Page::kCustom);
  } else if (sender == openProduceBtn_) {
    ReportClick(ab, L"立即体验");
    if (policy_->Style() == InstallRun::StartupStyle::kFromTheFinishedPage) LaunchProduct(policy_->ProductExePath(), policy_->StartUrl());
    Close();
  } else if (sender->GetName() == L"closebtn") {
    CloseBox();
  } else {
    CSkinFrame::OnClick(notification);
  }
}

void CMainWnd::OnTabSelect(int page) {
  static const wchar_t* const kBackgrounds[] = {L"res\\mainWnd\\bg1.png", L"res\\mainWnd\\bg2.png",
                                                L"res\\mainWnd\\bg3.png", L"res\\mainWnd\\bg4.png"};
  if (page < kQuickPage || page > kFinishedPage) return;
  UTILS_LOG(L"page %d shown", page);
  if (titleTabLt_) {
    if (page == kQuickPage || page == kCustomPage) titleTabLt_->SelectItem(1);
    if (page == kFinishedPage) titleTabLt_->SelectItem(2);
  }
  if (winCtn_) winCtn_->SetBkImage(kBackgrounds[page]);
  if (auto* animation = progressAnLb_ ? static_cast<CSequenceLabelUI*>(
                                            progressAnLb_->GetInterface(L"SequenceLabel"))
                                      : nullptr) {
    if (page == kProgressPage) animation->Start();
    if (page == kFinishedPage) GetPaintManager().KillTimer(animation, CSequenceLabelUI::kTimerId);
  }
  if (titleGrpCtn_) titleGrpCtn_->SetVisible(page != kProgressPage);
  if (backBtn_) backBtn_->SetVisible(page == kCustomPage);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void CMainWnd::OnTimerNotify(uintptr_t id) {
  PaintManager& m = GetPaintManager();
  constexpr auto kForeground = static_cast<unsigned>(InstallRun::Timer::kForeground);
  constexpr auto kAutoClose = static_cast<unsigned>(InstallRun::Timer::kAutoClose);
  if (id == kForeground) {
    SetForegroundWindow(hwnd_);
    m.KillTimer(m.GetRoot(), kForeground);
  } else if (id == kAutoClose) {
    Close();
    m.KillTimer(m.GetRoot(), kAutoClose);
  }
}

void CMainWnd::Notify(Notification& notification) {
  const std::wstring& type = notification.type;
  CControlUI* root = GetPaintManager().GetRoot();
  if (type == L"tabselect" && mainTabLt_ && notification.sender == mainTabLt_) {
    OnTabSelect(static_cast<int>(notification.wParam));
  } else if (type == L"checknet") {
    UTILS_LOG(L"network check 0x%08x", static_cast<unsigned>(notification.wParam));
    Apply(policy_->NetworkChecked(static_cast<int32_t>(notification.wParam), ShownPage()));
  } else if (type == L"timer" && root && notification.sender == root) {
    OnTimerNotify(notification.wParam);
  } else if (type == L"windowinit") {
    UTILS_LOG(L"main window painted");
  }
  CSkinFrame::Notify(notification);
}

LRESULT CMainWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE && CurrentPage() == kProgressPage) return 0;
  if (message == kDownloaderStartMessage && policy_) Apply(policy_->DownloaderStartAnnounced());
  if (message == WM_DESTROY) StopWorkers();
  return CSkinFrame::HandleMessage(message, wParam, lParam);
}

LRESULT CMainWnd::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == kWorkerMessage) {
    handled = true;
    std::unique_ptr<WorkerMessage> record(reinterpret_cast<WorkerMessage*>(lParam));
    if (record) {
      UTILS_LOG(L"worker message %d %g [%ls]", record->code, record->value, record->text.c_str());
      Apply(policy_->WorkerMessage(record->code, record->value, record->text));
    }
    return 0;
  }
  if (message == kQueuedNotifyMessage) {
    handled = true;
    GetPaintManager().SendNotify(GetPaintManager().GetRoot(), L"checknet", wParam);
    return 0;
  }
  return CSkinFrame::HandleCustomMessage(message, wParam, lParam, handled);
}
