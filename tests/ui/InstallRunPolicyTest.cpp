#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/InstallRunPolicy.h"
#include "utils/StatusCodes.h"

namespace {

using namespace InstallRun;
using Lines = std::vector<std::wstring>;

constexpr wchar_t kFolder[] = L"C:\\Program Files (x86)\\Quorvane";
constexpr wchar_t kRunning[] = L"notice product-running 安装程序检测到Vellisto\r\n正在运行，请退出程序后再安装";

struct FakeFacts : RunFacts {
  bool uninstallerCopyRuns = false;
  bool productRuns = false;
  bool created = true;
  double freeGiB = 20;
  int32_t network = 1;
  bool keepsOldCopy = false;
  std::vector<std::wstring> createdFolders;

  bool ProcessRunning(const wchar_t* exeName) override {
    const std::wstring name = exeName;
    return name == L"Quorvane_un_asa.exe" ? uninstallerCopyRuns : name == L"Quorvane.exe" && productRuns;
  }
  bool CreateFolder(const std::wstring& folder) override {
    createdFolders.push_back(folder);
    return created;
  }
  double FreeGiB(const std::wstring&) override { return freeGiB; }
  int32_t NetworkState() override { return network; }
  bool DownloadFolderWritable() override { return true; }
  double DownloadFolderFreeGiB() override { return 12.5; }
  bool KeepsOldCopy(const std::wstring&, const std::wstring&) override { return keepsOldCopy; }
};

RunSettings Settings(bool installed = false, bool checkNetwork = false) {
  RunSettings settings;
  settings.url = L"https://example.test/package.exe";
  settings.downloadScale = 0.7;
  settings.checkNetwork = checkNetwork;
  settings.abGroup = L"AB1";
  if (installed) {
    settings.installedFolder = L"D:\\Old\\Quorvane";
    settings.installedUninstaller = L"D:\\Old\\Quorvane\\uninst.ep";
  }
  return settings;
}

struct PolicyRun {
  explicit PolicyRun(RunSettings settings = Settings()) : policy(std::move(settings), facts, [this] { return now; }) {}

  Lines Request(const std::wstring& folder = kFolder, Page shown = Page::kQuick) {
    InstallRequest request;
    request.folder = folder;
    return Describe(policy.RequestInstall(request, shown));
  }
  Lines Message(int code, double value = 0, const std::wstring& text = L"") {
    return Describe(policy.WorkerMessage(code, value, text));
  }

  double now = 100;
  FakeFacts facts;
  Policy policy;
};

const Lines kBegun = {L"button off", L"page progress", L"view 安装中",
                      L"start C:\\Program Files (x86)\\Quorvane uninstaller=", L"button on"};

TEST(InstallRunPolicy, ChecksBeforeARun) {
  struct Case {
    const char* name;
    bool installed, uninstallerCopyRuns, productRuns, created;
    double freeGiB;
    std::wstring folder;
    Lines effects;
  };
  const std::wstring quorvane = L"abc\\Quorvane";
  const Case cases[] = {
      {"nothing blocks", false, false, false, true, 20, kFolder, kBegun},
      {"the uninstaller copy runs", false, true, false, true, 20, kFolder, {kRunning, L"ended product-running"}},
      {"the uninstaller copy runs, installed", true, true, false, true, 20, kFolder,
       {kRunning, L"close", L"ended product-running"}},
      {"the product runs", false, false, true, true, 20, kFolder, {kRunning, L"close", L"ended product-running"}},
      {"relative folder", false, false, false, true, 20, quorvane,
       {L"button off", L"notice folder-rejected 请填写完整的安装路径，例如 C:\\Program Files", L"button on",
        L"ended folder-invalid"}},
      {"folder cannot be made", false, false, false, false, 20, kFolder,
       {L"button off", L"notice folder-not-created 无效路径", L"button on", L"ended folder-invalid"}},
      {"half a GiB free", false, false, false, true, 0.5, kFolder,
       {L"button off", L"notice low-disk 当前磁盘剩余空间低于1GB，请修改安装路径", L"button on", L"ended low-disk"}},
      {"exactly one GiB free", false, false, false, true, 1.0, kFolder, kBegun},
  };
  for (const Case& c : cases) {
    PolicyRun run(Settings(c.installed));
    run.facts.uninstallerCopyRuns = c.uninstallerCopyRuns;
    run.facts.productRuns = c.productRuns;
    run.facts.created = c.created;
    run.facts.freeGiB = c.freeGiB;
    EXPECT_EQ(run.Request(c.folder), c.effects) << c.name;
    EXPECT_EQ(run.policy.Busy(), c.effects == kBegun) << c.name;
  }
}

TEST(InstallRunPolicy, ATypedFolderIsCheckedBeforeAnythingIsCreated) {
  const struct {
    std::wstring typed;
    std::wstring notice;
  } cases[] = {
      {L"", L"notice folder-rejected 请选择安装路径"},
      {L"abc", L"notice folder-rejected 请填写完整的安装路径，例如 C:\\Program Files"},
      {L"\\\\server\\share", L"notice folder-rejected 不能安装到网络路径，请选择本机磁盘上的文件夹"},
      {L"C:\\a|b", L"notice folder-rejected 安装路径含有不能使用的字符：< > : \" | ? *\r\n或以点、空格结尾的名称"},
  };
  for (const auto& c : cases) {
    PolicyRun run;
    InstallRequest request;
    request.enteredText = c.typed;
    request.folder = c.typed + L"\\Quorvane";
    EXPECT_EQ(Describe(run.policy.RequestInstall(request, Page::kCustom)),
              (Lines{L"button off", c.notice, L"button on", L"ended folder-invalid"}))
        << std::string(c.typed.begin(), c.typed.end());
    EXPECT_TRUE(run.facts.createdFolders.empty());
  }
}

TEST(InstallRunPolicy, AnOldCopyIsUninstalledUnlessItAskedToBeKept) {
  for (const bool keep : {false, true}) {
    PolicyRun run(Settings(true));
    run.facts.keepsOldCopy = keep;
    const Lines effects = run.Request(L"D:\\Old\\Quorvane");
    ASSERT_EQ(effects.size(), 5u);
    EXPECT_EQ(effects[3], keep ? L"start D:\\Old\\Quorvane uninstaller="
                               : L"start D:\\Old\\Quorvane uninstaller=D:\\Old\\Quorvane\\uninst.ep");
  }
}

TEST(InstallRunPolicy, OneRunAtATime) {
  PolicyRun checked(Settings(false, true));
  EXPECT_EQ(checked.Request(), (Lines{L"button off", L"check network"}));
  EXPECT_TRUE(checked.Request().empty()) << "a second click during the network check";
  EXPECT_EQ(Describe(checked.policy.NetworkChecked(1, Page::kQuick)), Lines(kBegun.begin() + 1, kBegun.end()));
  EXPECT_TRUE(checked.Request().empty()) << "a click during the run";
  EXPECT_TRUE(Describe(checked.policy.NetworkChecked(1, Page::kQuick)).empty()) << "a stray answer";

  PolicyRun offline(Settings(false, true));
  offline.Request();
  EXPECT_EQ(Describe(offline.policy.NetworkChecked(0x20003, Page::kQuick)),
            (Lines{L"notice offline 当前网络环境较差，请在网络通畅时进行安装", L"button on", L"ended offline"}));
  EXPECT_FALSE(offline.policy.Busy());
  EXPECT_EQ(offline.Request(), (Lines{L"button off", L"check network"})) << "a later click checks again";
}

TEST(InstallRunPolicy, EveryStatusCodeOfARun) {
  struct Case {
    int code;
    double value;
    std::wstring text;
    Lines effects;
  };
  const Case cases[] = {
      {DL_CODE_START, 0, L"", {L"task 下载器启动 0", L"task 开始下载大包 0"}},
      {DL_CODE_PROGRESS, 0.5, L"", {L"progress 35 正在安装中:35%，请稍候..."}},
      {DL_CODE_SUCCESS, 0, L"", {L"task 大包下载完毕 0"}},
      {DL_CODE_FAIL, 28, L"LibCurl",
       {L"task 下载失败原因 0 1.code=28；2.msg=LibCurl；3.缓存磁盘容量=12.50G；4.缓存读写权限=可读；5.服务器连接状态code=1",
        L"ask network-tip"}},
      {DL_CODE_RETRY, 0, L"", {}},
      {DL_CODE_NOTICE, 7, L"md5", {L"task 下载失败原因 0 :1.code=7；2.msg=md5"}},
      {IST_CODE_START, 0, L"", {L"settings C:\\Program Files (x86)\\Quorvane"}},
      {IST_CODE_PROGRESS, 0.1, L"", {L"progress 74 正在安装中:74%，请稍候..."}},
      {IST_CODE_SUCCESS, 0, L"",
       {L"task 安装成功 0", L"bar finished", L"page finished", L"records C:\\Program Files (x86)\\Quorvane ",
        L"settings C:\\Program Files (x86)\\Quorvane", L"timer 10 3000", L"timer 11 4.29497e+09",
        L"ended installed"}},
      {IST_CODE_FAIL, 3, L"", {L"task 安装失败原因 0 :1.code=3；2.msg=", L"notice install-failed 安装失败",
                               L"page quick", L"ended package-failed"}},
      {IST_CODE_FAIL, 5, L"磁盘已满", {L"task 安装失败原因 0 :1.code=5；2.msg=磁盘已满",
                                        L"notice install-failed 磁盘已满", L"page quick", L"ended package-failed"}},
      {IST_INFO_INST_PATH, 0, L"E:\\Q", {}},
      {IST_INFO_EXE_PATH, 0, L"E:\\Q\\Quorvane.exe", {}},
      {IST_INFO_UNINST_EXE, 0, L"E:\\Q\\uninst.exe", {}},
      {IST_INFO_UNINST_EP, 0, L"E:\\Q\\uninst.ep", {}},
      {IST_INFO_START_URL, 0, L"https://example.test/", {}},
      {IST_INFO_STARTUP_STYLE, 1, L"", {}},
      {IST_INFO_TOP_SHOW_DETENTION, 0, L"", {}},
      {IST_INFO_FINISH_CLOSE_DETENTION, 5000, L"", {}},
      {IST_INFO_MESSAGE, 0, L"请重启电脑", {L"notice package-message 请重启电脑"}},
      {UNIST_CODE_PROGRESS, 0.5, L"", {}},
      {UNIST_CODE_SUCCESS, 0, L"", {}},
      {UNIST_CODE_FAIL, 0, L"", {kRunning, L"page quick", L"ended uninstall-failed"}},
      {UNIST_CODE_ERROR, 0, L"", {kRunning, L"page quick", L"ended uninstall-failed"}},
      {4242, 0, L"", {}},
  };
  for (const Case& c : cases) {
    PolicyRun run;
    run.Request();
    EXPECT_EQ(run.Message(c.code, c.value, c.text), c.effects) << c.code;
  }
}

TEST(InstallRunPolicy, ThePackagesInformationShapesTheFinish) {
  PolicyRun run;
  run.Request();
  run.Message(IST_INFO_INST_PATH, 0, L"E:\\Q");
  run.Message(IST_INFO_EXE_PATH, 0, L"E:\\Q\\Quorvane.exe");
  run.Message(IST_INFO_UNINST_EP, 0, L"E:\\Q\\uninst.ep");
  run.Message(IST_INFO_START_URL, 0, L"https://example.test/");
  run.Message(IST_INFO_STARTUP_STYLE, 1.9);
  run.Message(IST_INFO_TOP_SHOW_DETENTION, 0);
  run.Message(IST_INFO_FINISH_CLOSE_DETENTION, 5000.7);
  EXPECT_EQ(run.Message(IST_CODE_SUCCESS),
            (Lines{L"task 安装成功 0", L"bar finished", L"page finished", L"records E:\\Q E:\\Q\\uninst.ep",
                   L"settings E:\\Q", L"launch E:\\Q\\Quorvane.exe https://example.test/", L"timer 11 5000",
                   L"ended installed"}));
  EXPECT_TRUE(run.Request().empty()) << "a finished window starts no second run";
}

TEST(InstallRunPolicy, DownloadTimeAndTheDownloaderStart) {
  PolicyRun run;
  EXPECT_EQ(Describe(run.policy.DownloaderStartAnnounced()), Lines{L"task 下载器启动 0"});
  EXPECT_TRUE(Describe(run.policy.DownloaderStartAnnounced()).empty());
  run.Request();
  EXPECT_EQ(run.Message(DL_CODE_START), Lines{L"task 开始下载大包 0"});
  EXPECT_EQ(run.policy.AbGroup(), L"IN") << "the group is taken only when the start is reported here";
  run.now += 95;
  EXPECT_EQ(run.Message(DL_CODE_PROGRESS, 0.25), Lines{L"progress 17 正在安装中:17%，请耐心等待..."});
  EXPECT_EQ(run.Message(DL_CODE_SUCCESS), Lines{L"task 大包下载完毕 95"});

  PolicyRun reported;
  reported.Request();
  reported.Message(DL_CODE_START);
  EXPECT_EQ(reported.policy.AbGroup(), L"AB1");
}

TEST(InstallRunPolicy, TheNetworkTipsAnswers) {
  struct Case {
    const char* name;
    bool installed;
    Page start;
    TipAnswer answer;
    double code;
    Lines effects;
  };
  const Case cases[] = {
      {"retry from the quick page", false, Page::kQuick, TipAnswer::kRetry, 28, {L"page quick", L"retry quick"}},
      {"retry from the custom page", true, Page::kCustom, TipAnswer::kRetry, 28, {L"page custom", L"retry custom"}},
      {"cancel", false, Page::kQuick, TipAnswer::kCancel, 28, {L"page quick", L"ended download-failed"}},
      {"cancel, installed", true, Page::kQuick, TipAnswer::kCancel, 28,
       {L"page quick", L"close", L"ended download-failed"}},
      {"closed, installed", true, Page::kCustom, TipAnswer::kClosed, 28, {L"page custom", L"ended download-failed"}},
      {"refused package", false, Page::kQuick, TipAnswer::kCancel, DL_FAIL_SIGNATURE_REFUSED,
       {L"page quick", L"ended package-refused"}},
  };
  for (const Case& c : cases) {
    PolicyRun run(Settings(c.installed));
    run.Request(kFolder, c.start);
    run.Message(DL_CODE_FAIL, c.code, L"LibCurl");
    EXPECT_TRUE(run.Request().empty()) << c.name << ": no run while the tip is open";
    EXPECT_EQ(Describe(run.policy.AnswerNetworkTip(c.answer)), c.effects) << c.name;
    EXPECT_FALSE(run.policy.Busy()) << c.name;
  }
}

TEST(InstallRunPolicy, AFailedInstallationResetsAFullBar) {
  for (const double fraction : {0.99, 1.0}) {
    PolicyRun run;
    run.Request();
    run.Message(DL_CODE_PROGRESS, fraction);
    const Lines effects = run.Message(IST_CODE_FAIL, 1, L"");
    const bool reset = fraction * 70 >= 70;
    EXPECT_EQ(effects.size(), reset ? 5u : 4u) << fraction;
    if (reset) {
      EXPECT_EQ(effects[2], L"progress 0 正在安装中:0%，请稍候...");
    }
  }
}

TEST(InstallRunPolicy, ReportsOutsideARunChangeNothingVisible) {
  PolicyRun run;
  EXPECT_TRUE(run.Message(DL_CODE_FAIL, 28, L"LibCurl").empty());
  EXPECT_TRUE(run.Message(IST_CODE_SUCCESS).empty());
  EXPECT_EQ(run.Message(DL_CODE_NOTICE, 1, L"late"), Lines{L"task 下载失败原因 0 :1.code=1；2.msg=late"});
  EXPECT_TRUE(Describe(run.policy.AnswerNetworkTip(TipAnswer::kRetry)).empty());
}

TEST(InstallFolderCheck, Table) {
  const struct {
    std::wstring folder;
    FolderProblem problem;
  } cases[] = {
      {L"C:\\Program Files (x86)\\Quorvane", FolderProblem::kNone},
      {L"D:/Apps/Quorvane", FolderProblem::kNone},
      {L"C:\\some folder\\带空格", FolderProblem::kNone},
      {L"C:\\", FolderProblem::kNone},
      {L"", FolderProblem::kEmpty},
      {L"   ", FolderProblem::kEmpty},
      {L"abc", FolderProblem::kRelative},
      {L"abc\\Quorvane", FolderProblem::kRelative},
      {L"C:abc", FolderProblem::kRelative},
      {L"\\Apps", FolderProblem::kRelative},
      {L"\\\\server\\share", FolderProblem::kNetwork},
      {L"//server/share", FolderProblem::kNetwork},
      {L"\\\\?\\C:\\Apps", FolderProblem::kNetwork},
      {L"C:\\a<b", FolderProblem::kBadCharacters},
      {L"C:\\a:b", FolderProblem::kBadCharacters},
      {L"C:\\a?\\b", FolderProblem::kBadCharacters},
      {L"C:\\a\tb", FolderProblem::kBadCharacters},
      {L"C:\\name.\\Quorvane", FolderProblem::kBadCharacters},
      {L"C:\\name \\Quorvane", FolderProblem::kBadCharacters},
      {L"C:\\CON\\Quorvane", FolderProblem::kReservedName},
      {L"C:\\apps\\nul.txt", FolderProblem::kReservedName},
      {L"C:\\COM1", FolderProblem::kReservedName},
      {L"C:\\COM10", FolderProblem::kNone},
      {L"C:\\console", FolderProblem::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckInstallFolder(c.folder), c.problem) << std::string(c.folder.begin(), c.folder.end());
  }
}

}  // namespace
