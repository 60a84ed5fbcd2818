// The whole chain, uninstall, download and package run, against the test
// download servers and real child processes.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "package/DownloadInstaller.h"
#include "tests/download/DownloadServers.h"
#include "tests/package/StatusLog.h"
#include "tests/support/TestFiles.h"
#include "utils/Folders.h"

namespace {

using Codes = std::vector<Status>;


bool EndsTheChain(int code) {
  return code == IST_CODE_SUCCESS || code == IST_CODE_FAIL || code == DL_CODE_FAIL ||
         code == UNIST_CODE_FAIL || code == UNIST_CODE_ERROR;
}

class Orchestration : public testing::Test {
 protected:
  // Runs the task until the chain ends; the orchestrator is destroyed before
  // the codes are returned, so nothing can arrive afterwards.
  Codes Install(const InstallTask& task) {
    Codes codes;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    {
      CDownloadInstaller installer([&](int code, double value, const wchar_t* text) {
        std::lock_guard<std::mutex> lock(mutex);
        // The folder is made right after 1001 went out, before any byte is written.
        if (!codes.empty() && codes.back().code == DL_CODE_START && code != DL_CODE_START) {
          folderAfterStart_ = Utils::PathExists(task.installFolder);
        }
        codes.push_back({code, value, text});
        if (EndsTheChain(code)) {
          done = true;
          ended.notify_all();
        }
      });
      installer.SetTask(task);
      packagePath_ = installer.GetPackagePath();
      installer.Start();
      std::unique_lock<std::mutex> lock(mutex);
      EXPECT_TRUE(ended.wait_for(lock, std::chrono::seconds(120), [&] { return done; }));
    }
    return codes;
  }

  static Codes Only(const Codes& codes, std::initializer_list<int> kinds) {
    Codes kept;
    for (const Status& s : codes) {
      for (int kind : kinds) {
        if (s.code == kind) kept.push_back(s);
      }
    }
    return kept;
  }

  InstallTask Task(const std::wstring& url) const {
    InstallTask task;
    task.url = url;
    task.installFolder = folder_ / L"Vellisto 录屏";
    task.desktopShortcut = task.quickLaunch = false;
    return task;
  }

  const TestSupport::DownloadServers& servers_ = TestSupport::DownloadServers::Get();
  TestSupport::ScratchFolder folder_{L"orchestration"};
  std::wstring packagePath_;
  bool folderAfterStart_ = false;
};

TEST_F(Orchestration, WithoutAnOldVersionTheDownloadComesFirstAndThePackageGoesAtTheEnd) {
  const Codes codes = Install(Task(servers_.Nginx(L"/software/216")));
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), (Status{DL_CODE_START, 1, L""}));
  EXPECT_TRUE(folderAfterStart_);
  EXPECT_EQ(Only(codes, {DL_CODE_SUCCESS, IST_CODE_START}),
            (Codes{{DL_CODE_SUCCESS, 0, L"LibCurl"}, {IST_CODE_START, 0, L""}}));
#ifdef _WIN32
  EXPECT_EQ(codes.back(), (Status{IST_CODE_SUCCESS, 0, L""}));
  EXPECT_TRUE(Utils::PathExists(folder_ / L"Vellisto 录屏\\Quorvane.exe"));
#else
  EXPECT_EQ(codes.back(), (Status{IST_CODE_FAIL, 2, L""}));  // the payload here is no program
#endif
  EXPECT_FALSE(Utils::PathExists(packagePath_));
}

TEST_F(Orchestration, AFailedDownloadDeletesThePackageAndRunsNothing) {
  InstallTask task = Task(servers_.Generated(300000, L"x.bin", L"drop1000"));
  task.downloadType = 3;
  const Codes codes = Install(task);
  EXPECT_EQ(codes.back().code, DL_CODE_FAIL);
  EXPECT_TRUE(Only(codes, {IST_CODE_START}).empty());
  EXPECT_FALSE(Utils::PathExists(packagePath_));
}

TEST_F(Orchestration, ADigestMismatchRestartsTheSegmentedDownloadOnce) {
  InstallTask task = Task(servers_.Fault(L"/gen/300000/" + std::wstring(32, L'0') + L"/x.bin"));
  task.downloadType = 3;
  EXPECT_EQ(Only(Install(task), {DL_CODE_START, DL_CODE_NOTICE, DL_CODE_RETRY, DL_CODE_FAIL}),
            (Codes{{DL_CODE_START, 1, L""},
                   {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                   {DL_CODE_RETRY, 0, L"LibCurl"},
                   {DL_CODE_START, 1, L""},
                   {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                   {DL_CODE_FAIL, 0, L"LibCurl"}}));
}

TEST_F(Orchestration, AnUninstallerThatCannotBeCopiedStopsEverything) {
  Utils::RemoveFile(Utils::GetTempWorkDir() + Utils::kPathSeparator + CDownloadInstaller::kUninstallerCopyName);
  InstallTask task = Task(servers_.Nginx(L"/software/216"));
  task.oldUninstaller = folder_.Path();  // exists, but a folder cannot be copied as a file
  EXPECT_EQ(Install(task), (Codes{{UNIST_CODE_FAIL, 1, L"可执行卸载文件不存在"}}));
  EXPECT_FALSE(Utils::PathExists(task.installFolder));
}

TEST_F(Orchestration, ASuccessfulUninstallLeadsToTheDownload) {
  const std::wstring uninstaller = folder_ / L"old uninstaller.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(TestSupport::SiblingProgram(L"scripted-child"), uninstaller));
  TestSupport::WriteFile(Utils::GetTempWorkDir() + Utils::kPathSeparator +
                             CDownloadInstaller::kUninstallerCopyName + L".script",
                         "write Progress=50\\nState=Success\\n\n");
  InstallTask task = Task(servers_.Generated(1100000, L"after-uninstall.bin"));
  task.oldUninstaller = uninstaller;
  const Codes codes = Install(task);
  ASSERT_GE(codes.size(), 4u);
  EXPECT_EQ(Codes(codes.begin(), codes.begin() + 4),
            (Codes{{UNIST_CODE_PROGRESS, 0, L""},
                   {UNIST_CODE_PROGRESS, 50, L""},
                   {UNIST_CODE_SUCCESS, 0, L""},
                   {DL_CODE_START, 1, L""}}));
  EXPECT_EQ(Only(codes, {DL_CODE_SUCCESS}), (Codes{{DL_CODE_SUCCESS, 0, L"LibCurl"}}));
}

}  // namespace
