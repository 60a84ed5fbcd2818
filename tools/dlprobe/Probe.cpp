// dlprobe: runs one downloader, or the whole install chain, the way the
// installer would, and prints every status code it receives, for support
// engineers and tests:
//   dlprobe download --type N [--cabundle FILE] URL FILE
//   dlprobe install --type N [--cabundle FILE] URL FOLDER [--uninstaller PATH]
#include "tools/dlprobe/Probe.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include <curl/curl.h>

#include "download/DownloadSettings.h"
#include "download/Downloader.h"
#include "package/DownloadInstaller.h"
#include "utils/CommandLine.h"
#include "utils/Encoding.h"

namespace {

constexpr char kUsage[] =
    "usage: dlprobe download --type N [--cabundle FILE] URL FILE\n"
    "       dlprobe install --type N [--cabundle FILE] URL FOLDER [--uninstaller PATH]\n";

struct Options {
  std::wstring verb;
  int type = 1;
  std::wstring caBundle;
  std::wstring uninstaller;
  std::vector<std::wstring> positional;
};

bool Parse(const std::vector<std::wstring>& args, Options& options) {
  if (args.empty()) return false;
  options.verb = args[0];
  for (size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == L"--type" && hasValue) {
      options.type = Utils::CommandLineArgs(std::vector<std::wstring>{L"-t=" + args[++i]}).GetInt(L"-t");
    } else if (arg == L"--cabundle" && hasValue) {
      options.caBundle = args[++i];
    } else if (arg == L"--uninstaller" && hasValue) {
      options.uninstaller = args[++i];
    } else {
      options.positional.push_back(arg);
    }
  }
  return (options.verb == L"download" || options.verb == L"install") && options.positional.size() == 2;
}

// Prints each code as it arrives and remembers how the run ended.
class Printer {
 public:
  Printer(std::FILE* out, std::initializer_list<int> successes, std::initializer_list<int> failures)
      : out_(out), successes_(successes), failures_(failures) {}

  void Print(int code, double value, const wchar_t* text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::fprintf(out_, "%d %g %s\n", code, value, Utils::ToNarrow(text, Utils::kCodePageUtf8).c_str());
    std::fflush(out_);
    for (int success : successes_) {
      if (code == success) Finish(0);
    }
    for (int failure : failures_) {
      if (code == failure) Finish(1);
    }
  }

  int Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return result_ >= 0; });
    return result_;
  }

 private:
  void Finish(int result) {
    result_ = result;
    ended_.notify_all();
  }

  std::FILE* out_;
  std::vector<int> successes_;
  std::vector<int> failures_;
  std::mutex mutex_;
  std::condition_variable ended_;
  int result_ = -1;
};

int Download(const Options& options, std::FILE* out) {
  Printer printer(out, {DL_CODE_SUCCESS}, {DL_CODE_FAIL});
  std::unique_ptr<CDownloader> downloader;
  downloader = CreateDownloader(
      options.type,
      [&](int code, double value, const wchar_t* text) {
        printer.Print(code, value, text);
        if (code == DL_CODE_RETRY) downloader->Start();  // as the installer answers a retry request
      },
      options.positional[0].c_str(), options.positional[1].c_str());
  if (!downloader) {
    std::fprintf(out, "download type %d has no downloader on this system\n", options.type);
    return 1;
  }
  downloader->Start();
  const int result = printer.Wait();
  downloader.reset();
  return result;
}

int Install(const Options& options, std::FILE* out) {
  Printer printer(out, {IST_CODE_SUCCESS},
                  {DL_CODE_FAIL, IST_CODE_FAIL, UNIST_CODE_FAIL, UNIST_CODE_ERROR});
  int result;
  {
    CDownloadInstaller installer(
        [&](int code, double value, const wchar_t* text) { printer.Print(code, value, text); });
    InstallTask task;
    task.url = options.positional[0];
    task.installFolder = options.positional[1];
    task.oldUninstaller = options.uninstaller;
    task.downloadType = options.type;
    installer.SetTask(task);
    installer.Start();
    result = printer.Wait();
  }
  return result;
}

}  // namespace

int RunProbe(const std::vector<std::wstring>& args, std::FILE* out) {
  Options options;
  if (!Parse(args, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) TheDownloadSettings().curlUsable = false;
  TheDownloadSettings().caBundle = Utils::ToNarrow(options.caBundle, Utils::kCodePageAnsi);
  TheDownloadSettings().reportFailureReason = [out](const wchar_t* name, const wchar_t* reason) {
    std::fprintf(out, "# %s: %s\n", Utils::ToNarrow(name, Utils::kCodePageUtf8).c_str(),
                 Utils::ToNarrow(reason, Utils::kCodePageUtf8).c_str());
  };
  const int result = options.verb == L"download" ? Download(options, out) : Install(options, out);
  curl_global_cleanup();
  return result;
}
