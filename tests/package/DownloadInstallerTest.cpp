// The whole chain, uninstall, download and package run, against the test
// download servers and real child processes. The publisher gate is the real
// one on Windows (the children are signed by the test publisher) and one of
// the tests' elsewhere, where no signature can be verified.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "package/DownloadInstaller.h"
#include "tests/download/DownloadServers.h"
#include "tests/package/StatusLog.h"
#include "tests/support/CountingSleeper.h"
#include "tests/support/OsFailures.h"
#include "tests/support/TestFiles.h"
#include "utils/File.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace {

using Codes = std::vector<Status>;

bool EndsTheChain(int code) {
  return code == IST_CODE_SUCCESS || code == IST_CODE_FAIL || code == DL_CODE_FAIL ||
         code == UNIST_CODE_FAIL || code == UNIST_CODE_ERROR;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What a test gate was asked: each path with the file's size at that moment.
struct GateLog {
  std::mutex mutex;
  std::vector<std::pair<std::wstring, int64_t>> asked;
};

// Admits what the test says, holding it as the real gate does. Natively a
// download is no executable until it is made one.
class TestGate : public PublisherGate {
 public:
  TestGate(std::shared_ptr<GateLog> log, std::function<bool(const std::wstring&)> admits)
      : log_(std::move(log)), admits_(std::move(admits)) {}

  Admission Admit(const std::wstring& path) const override {
    {
      std::lock_guard<std::mutex> lock(log_->mutex);
      log_->asked.emplace_back(path, Utils::FileSize(path));
    }
    if (!admits_(path)) return Refused(L"not ours, says the test");
#ifndef _WIN32
    std::filesystem::permissions(TestSupport::FsPath(path), std::filesystem::perms::owner_all);
#endif
    Admission admission;
    admission.image = Utils::File::Open(path, Utils::File::Mode::kReadHeld);
    return admission;
  }

 private:
  std::shared_ptr<GateLog> log_;
  std::function<bool(const std::wstring&)> admits_;
};

void SetScriptHome(const std::wstring& folder) {
#ifdef _WIN32
  _wputenv_s(L"SCRIPTED_CHILD_HOME", folder.c_str());
#else
  setenv("SCRIPTED_CHILD_HOME", Utils::ToNarrow(folder, Utils::kCodePageUtf8).c_str(), 1);
#endif
}

class Orchestration : public testing::Test {
 protected:
  Orchestration() { SetScriptHome(scripts_.Path()); }
  ~Orchestration() override {
#ifdef _WIN32
    _wputenv_s(L"SCRIPTED_CHILD_HOME", L"");
#else
    unsetenv("SCRIPTED_CHILD_HOME");
#endif
  }

  // The gate of the product where it can verify signatures, the tests' own elsewhere.
  std::unique_ptr<PublisherGate> OurGate() {
#ifdef _WIN32
    return CreatePublisherGate();
#else
    return std::make_unique<TestGate>(gateLog_, [](const std::wstring&) { return true; });
#endif
  }

  // Runs each task until its chain ends, all with one orchestrator, which is
  // destroyed before the codes are returned, so nothing can arrive afterwards.
  std::vector<Codes> Installs(const std::vector<InstallTask>& tasks, std::unique_ptr<PublisherGate> gate) {
    std::vector<Codes> runs;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    {
      CDownloadInstaller installer(
          [&](int code, double value, const wchar_t* text) {
            std::lock_guard<std::mutex> lock(mutex);
            Codes& codes = runs.back();
            // The folder is made right after 1001 went out, before any byte is written.
            if (!codes.empty() && codes.back().code == DL_CODE_START && code != DL_CODE_START) {
              folderAfterStart_ = Utils::PathExists(tasks[runs.size() - 1].installFolder);
            }
            codes.push_back({code, value, text});
            if (EndsTheChain(code)) {
              done = true;
              ended.notify_all();
            }
          },
          std::move(gate), runFolders_.Path());
      for (const InstallTask& task : tasks) {
        if (!runs.empty() && betweenRuns_) betweenRuns_();
        {
          std::lock_guard<std::mutex> lock(mutex);
          runs.emplace_back();
          done = false;
        }
        installer.SetTask(task);
        installer.Start();
        packagePaths_.push_back(installer.GetPackagePath());
        std::unique_lock<std::mutex> lock(mutex);
        EXPECT_TRUE(ended.wait_for(lock, std::chrono::seconds(120), [&] { return done; }));
      }
    }
    return runs;
  }

  Codes Install(const InstallTask& task) { return Installs({task}, OurGate()).front(); }

  static Codes Only(const Codes& codes, std::initializer_list<int> kinds) {
    Codes kept;
    for (const Status& s : codes) {
      for (int kind : kinds) {
        if (s.code == kind) kept.push_back(s);
      }
    }
    return kept;
  }

  InstallTask Task(const std::wstring& url, const std::wstring& folder = L"Vellisto 录屏") const {
    InstallTask task;
    task.url = url;
    task.downloadType = 3;  // the one downloader that takes files below 1 MiB, as the children are
    task.installFolder = folder_ / folder;
    task.desktopShortcut = task.quickLaunch = false;
    return task;
  }

  // The scripted child served as the package, playing `script`.
  std::wstring ScriptedPackage(const std::string& script) {
    SetScript(CDownloadInstaller::kPackageName, script);
    return servers_.Publish(TestSupport::SiblingProgram(L"scripted-child"), L"package.exe");
  }
  void SetScript(const std::wstring& program, const std::string& script) {
    TestSupport::WriteFile(scripts_ / program + L".script", script);
    Utils::RemoveFile(scripts_ / program + L".cmdline");
  }
  // The command line the scripted child named `program` last recorded.
  std::wstring Recorded(const std::wstring& program) const {
    std::ifstream in(TestSupport::FsPath(scripts_ / program + L".cmdline"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return Utils::ToWide(text.str(), Utils::kCodePageUtf8);
  }
  bool LeftInRunFolders() const {
    return !std::filesystem::is_empty(TestSupport::FsPath(runFolders_.Path()));
  }

  const TestSupport::DownloadServers& servers_ = TestSupport::DownloadServers::Get();
  TestSupport::ScratchFolder folder_{L"orchestration"};
  TestSupport::ScratchFolder runFolders_{L"run folders"};
  TestSupport::ScratchFolder scripts_{L"scripts"};
  std::shared_ptr<GateLog> gateLog_ = std::make_shared<GateLog>();
  std::vector<std::wstring> packagePaths_;
  std::function<void()> betweenRuns_;
  bool folderAfterStart_ = false;
};

TEST_F(Orchestration, WithoutAnOldVersionTheDownloadComesFirstAndThePackageGoesAtTheEnd) {
  InstallTask task = Task(servers_.Nginx(L"/software/216"));
  task.downloadType = 1;
  const Codes codes = Install(task);
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
  EXPECT_FALSE(Utils::PathExists(packagePaths_[0]));
  EXPECT_FALSE(LeftInRunFolders());
}

TEST_F(Orchestration, AFailedDownloadDeletesThePackageAndRunsNothing) {
  const TestSupport::CountingSleeper sleeper;
  InstallTask task = Task(servers_.Generated(300000, L"x.bin", L"drop1000"));
  const Codes codes = Install(task);
  EXPECT_EQ(codes.back().code, DL_CODE_FAIL);
  EXPECT_TRUE(Only(codes, {IST_CODE_START}).empty());
  EXPECT_FALSE(LeftInRunFolders());  // the segments went with the package's folder
  EXPECT_EQ(sleeper.Pauses().size(), 2u * 12u);  // two runs of one segment, every break costing one
}

// The outcome line comes while the package still runs. Windows keeps a
// running program's file, so the deletion pauses until the package has ended;
// elsewhere the name goes at once.
TEST_F(Orchestration, APackageStillRunningAfterItsOutcomeGoesOnceItHasEnded) {
  const TestSupport::CountingSleeper sleeper([](size_t, unsigned milliseconds, const std::atomic<bool>* stop) {
    Utils::Clock().Pause(milliseconds, stop);
  });
  const Codes codes = Install(Task(ScriptedPackage("write State=Success\\n\nsleep 1500\n")));
  EXPECT_EQ(codes.back(), (Status{IST_CODE_SUCCESS, 0, L""}));
  EXPECT_FALSE(Utils::PathExists(packagePaths_[0]));
  EXPECT_FALSE(LeftInRunFolders());
  const std::vector<unsigned> pauses = sleeper.Pauses();
#ifdef _WIN32
  EXPECT_FALSE(pauses.empty());
#else
  EXPECT_TRUE(pauses.empty());
#endif
  for (unsigned milliseconds : pauses) EXPECT_EQ(milliseconds, 100u);  // the deletion's, no transfer's
}

TEST_F(Orchestration, ADigestMismatchRestartsTheSegmentedDownloadOnce) {
  InstallTask task = Task(servers_.Fault(L"/gen/300000/" + std::wstring(32, L'0') + L"/x.bin"));
  EXPECT_EQ(Only(Install(task), {DL_CODE_START, DL_CODE_NOTICE, DL_CODE_RETRY, DL_CODE_FAIL}),
            (Codes{{DL_CODE_START, 1, L""},
                   {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                   {DL_CODE_RETRY, 0, L"LibCurl"},
                   {DL_CODE_START, 1, L""},
                   {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                   {DL_CODE_FAIL, 0, L"LibCurl"}}));
}

// The package starts from a folder made for its run, which goes with the
// run; a second run with another folder keeps nothing of the first: its
// package lies in a new folder and installs into the new install folder.
TEST_F(Orchestration, EachRunHasItsOwnFolderAndItsOwnPaths) {
  const std::wstring url = ScriptedPackage("record\nwrite State=Fail\\n\n");
  std::wstring first;
  betweenRuns_ = [&] {
    first = Recorded(CDownloadInstaller::kPackageName);
    SetScript(CDownloadInstaller::kPackageName, "record\nwrite State=Success\\n\n");
  };
  const std::vector<Codes> runs = Installs({Task(url, L"first"), Task(url, L"second")}, OurGate());
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].back(), (Status{IST_CODE_FAIL, 0, L"安装包安装失败"}));
  EXPECT_EQ(runs[1].back(), (Status{IST_CODE_SUCCESS, 0, L""}));
  const std::wstring second = Recorded(CDownloadInstaller::kPackageName);

  ASSERT_EQ(packagePaths_.size(), 2u);
  EXPECT_NE(packagePaths_[0], packagePaths_[1]);
  for (const std::wstring& package : packagePaths_) {
    EXPECT_EQ(package.rfind(runFolders_.Path(), 0), 0u) << "not in a run folder: " << package;
    EXPECT_TRUE(EndsWith(package, CDownloadInstaller::kPackageName));
  }
  EXPECT_NE(first.find(packagePaths_[0]), std::wstring::npos);
  EXPECT_NE(first.find(L"/D=" + folder_ / L"first"), std::wstring::npos) << first;
  EXPECT_NE(second.find(packagePaths_[1]), std::wstring::npos);
  EXPECT_NE(second.find(L"/D=" + folder_ / L"second"), std::wstring::npos) << second;
  EXPECT_EQ(second.find(folder_ / L"first"), std::wstring::npos) << second;
  for (const wchar_t* folder : {L"first", L"second"}) {
    EXPECT_TRUE(std::filesystem::is_empty(TestSupport::FsPath(folder_ / folder))) << folder;
  }
  EXPECT_FALSE(LeftInRunFolders());
}

// Whole and as downloaded, the package meets the gate, which refuses it: it
// is deleted unstarted and the run fails as a download does.
TEST_F(Orchestration, ARefusedPackageNeverStarts) {
  const std::wstring url = ScriptedPackage("record\nwrite State=Success\\n\n");
  const Codes codes = Installs({Task(url)}, std::make_unique<TestGate>(gateLog_, [](const std::wstring&) {
                                  return false;
                                })).front();
  EXPECT_EQ(codes.front(), (Status{DL_CODE_START, 1, L""}));
  EXPECT_EQ(codes.back(), (Status{DL_CODE_FAIL, DL_FAIL_SIGNATURE_REFUSED, kSignatureRefusedSource}));
  EXPECT_TRUE(Only(codes, {DL_CODE_SUCCESS, IST_CODE_START}).empty());
  ASSERT_EQ(gateLog_->asked.size(), 1u);
  EXPECT_EQ(gateLog_->asked[0].first, packagePaths_[0]);
  EXPECT_EQ(gateLog_->asked[0].second, Utils::FileSize(TestSupport::SiblingProgram(L"scripted-child")));
  EXPECT_EQ(Recorded(CDownloadInstaller::kPackageName), L"");
  EXPECT_FALSE(LeftInRunFolders());
}

TEST_F(Orchestration, AnUninstallerThatCannotBeCopiedStopsEverything) {
  InstallTask task = Task(servers_.Nginx(L"/software/216"));
  task.oldUninstaller = folder_.Path();  // exists, but a folder cannot be copied as a file
  Utils::DebugLogCapture capture;
  EXPECT_EQ(Install(task), (Codes{{UNIST_CODE_FAIL, 1, L"可执行卸载文件不存在"}}));
  // The copy's failure names the call and its error number.
  const auto copy = capture.LinesContaining(std::wstring(TestSupport::kCopyFileCall) + L" [" + folder_.Path() + L"]");
  ASSERT_EQ(copy.size(), 1u);
  EXPECT_NE(copy[0].find(L" failed (error "), std::wstring::npos);
  EXPECT_FALSE(Utils::PathExists(task.installFolder));
  EXPECT_FALSE(LeftInRunFolders());
}

TEST_F(Orchestration, ASuccessfulUninstallLeadsToTheDownload) {
  const std::wstring uninstaller = folder_ / L"old uninstaller.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(TestSupport::SiblingProgram(L"scripted-child"), uninstaller));
  SetScript(kUninstallerCopyName, "record\nwrite Progress=50\\nState=Success\\n\n");
  InstallTask task = Task(ScriptedPackage("write State=Success\\n\n"));
  task.oldUninstaller = uninstaller;
  const Codes codes = Install(task);
  ASSERT_GE(codes.size(), 4u);
  EXPECT_EQ(Codes(codes.begin(), codes.begin() + 4),
            (Codes{{UNIST_CODE_PROGRESS, 0, L""},
                   {UNIST_CODE_PROGRESS, 50, L""},
                   {UNIST_CODE_SUCCESS, 0, L""},
                   {DL_CODE_START, 1, L""}}));
  EXPECT_EQ(Only(codes, {DL_CODE_SUCCESS}), (Codes{{DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  // What ran was the copy in a run folder, not the file the records name.
  const std::wstring ran = Recorded(kUninstallerCopyName);
  EXPECT_NE(ran.find(runFolders_.Path()), std::wstring::npos) << ran;
  EXPECT_EQ(ran.find(uninstaller), std::wstring::npos) << ran;
  EXPECT_FALSE(LeftInRunFolders());
}

// An old uninstaller that is not our publisher's is never run: the run goes
// on as without one, and a diagnostic line says why.
TEST_F(Orchestration, ARefusedUninstallerIsPassedOverAndTheDownloadBegins) {
  const std::wstring uninstaller = folder_ / L"planted.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(TestSupport::SiblingProgram(L"scripted-child"), uninstaller));
  SetScript(kUninstallerCopyName, "record\nwrite State=Success\\n\n");
  InstallTask task = Task(servers_.Generated(300000, L"x.bin"));
  task.oldUninstaller = uninstaller;
  Utils::DebugLogCapture capture;
  const Codes codes = Installs({task}, std::make_unique<TestGate>(gateLog_, [](const std::wstring& path) {
                                  return !EndsWith(path, kUninstallerCopyName);
                                })).front();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), (Status{DL_CODE_START, 1, L""}));
  EXPECT_TRUE(Only(codes, {UNIST_CODE_PROGRESS, UNIST_CODE_SUCCESS}).empty());
  EXPECT_EQ(Recorded(kUninstallerCopyName), L"");
  EXPECT_EQ(capture.LinesContaining(L"is not run, as if there were none: not ours, says the test").size(), 1u);
}

}  // namespace
