// dlprobe, run as support engineers run it, prints the sequences the
// downloader tests assert.
#include <gtest/gtest.h>

#include "tests/download/DownloadServers.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"
#include "utils/Process.h"

namespace {


struct ProbeRun {
  std::string out;
  uint32_t exitCode = 99;
};

ProbeRun Probe(const std::wstring& arguments) {
  ProbeRun run;
  Utils::PipedProcess probe;
  probe.Start(L"\"" + TestSupport::SiblingProgram(L"dlprobe") + L"\" " + arguments);
  char buffer[1024];
  long got;
  while ((got = probe.ReadOutput(buffer, sizeof buffer)) > 0) run.out.append(buffer, static_cast<size_t>(got));
  probe.Wait();
  probe.ExitCode(run.exitCode);
  return run;
}

class Dlprobe : public testing::Test {
 protected:
  const TestSupport::DownloadServers& servers_ = TestSupport::DownloadServers::Get();
  TestSupport::ScratchFolder folder_{L"dlprobe"};
};

TEST_F(Dlprobe, PrintsARetriedDigestMismatchAndExitsOne) {
  const auto run = Probe(L"download --type 3 " + servers_.Fault(L"/gen/300000/" + std::wstring(32, L'0') + L"/x.bin") +
                         L" \"" + folder_ / L"x.bin" + L"\"");
  EXPECT_EQ(run.out,
            "1001 1 \n1006 0 mtcurl\xE6\x96\x87\xE4\xBB\xB6md5\xE6\xA0\xA1\xE9\xAA\x8C\xE5\xA4\xB1\xE8\xB4\xA5\n"
            "1005 0 LibCurl\n1001 1 \n"
            "1006 0 mtcurl\xE6\x96\x87\xE4\xBB\xB6md5\xE6\xA0\xA1\xE9\xAA\x8C\xE5\xA4\xB1\xE8\xB4\xA5\n"
            "1004 0 LibCurl\n");
  EXPECT_EQ(run.exitCode, 1u);
}

TEST_F(Dlprobe, PrintsASuccessWithoutADigestAndExitsZero) {
  const auto run = Probe(L"download --type 1 " + servers_.Fault(L"/gen/1100000/plain/p.bin") + L" \"" +
                         folder_ / L"p.bin" + L"\"");
  const std::string notice = "1006 0 curl\xE8\x8E\xB7\xE5\x8F\x96url-md5\xE5\xA4\xB1\xE8\xB4\xA5\n";
  EXPECT_EQ(run.out.substr(0, 7), "1001 1 ");
  EXPECT_NE(run.out.find(notice + "1003 0 LibCurl\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(Dlprobe, InstallStopsAtAFailedDownload) {
  const auto run = Probe(L"install --type 1 " + servers_.Generated(1048575, L"small.bin") + L" \"" +
                         folder_ / L"app" + L"\"");
  EXPECT_NE(run.out.find("1004 -998 LibCurl\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("2001"), std::string::npos);
  EXPECT_EQ(run.exitCode, 1u);
}

// A folder whose name the ANSI code page (936 here) cannot hold: every
// downloader reaches its files by their UTF-16 paths.
TEST_F(Dlprobe, EveryDownloaderWritesIntoAFolderOutsideTheAnsiCodePage) {
#ifdef _WIN32
  const int types[] = {1, 2, 3};
#else
  const int types[] = {1, 3};  // no system URL service here
#endif
  const std::wstring folder = folder_ / L"한글 🎬";
  ASSERT_TRUE(Utils::CreateDirectories(folder));
  for (const int type : types) {
    SCOPED_TRACE(type);
    const std::wstring target = folder + Utils::kPathSeparator + L"p" + std::to_wstring(type) + L".exe";
    const auto run = Probe(L"download --type " + std::to_wstring(type) + L" " +
                           servers_.Nginx(servers_.Value("PAYLOAD_PATH")) + L" \"" + target + L"\"");
    EXPECT_NE(run.out.find("1003 0 "), std::string::npos) << run.out;
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(Utils::ToWide(Utils::FileMD5(target), Utils::kCodePageUtf8), servers_.Value("PAYLOAD_MD5"));
  }
}

#ifdef _WIN32
// Whichever downloader fetched it, the package starts only when our
// publisher signed it and nobody changed it since; otherwise none of its run
// happens (no 2001 to 2004) and the run ends in 1004.
TEST_F(Dlprobe, OnlyAnIntactPackageOfOurPublisherIsStarted) {
  auto demo = [](const char* name) {
    return Utils::ToWide(TestSupport::HostPath(std::string(QUORVANE_DEMO_DIR) + "/" + name), Utils::kCodePageUtf8);
  };
  const struct {
    const char* name;
    std::wstring file;
  } packages[] = {{"signed", demo("QuorvaneSetupPackage.exe")},
                  {"unsigned", demo("QuorvaneSetupPackage-unsigned.exe")},
                  {"impostor", demo("QuorvaneSetupPackage-impostor.exe")},
                  {"tampered", TestSupport::TamperedCopy(demo("QuorvaneSetupPackage.exe"), folder_ / L"tampered.exe")}};
  for (int type : {1, 2, 3}) {
    for (const auto& package : packages) {
      const std::wstring name = Utils::ToWide(package.name, Utils::kCodePageUtf8);
      const std::wstring target = folder_ / (name + std::to_wstring(type));
      const auto run = Probe(L"install --type " + std::to_wstring(type) + L" " +
                             servers_.Publish(package.file, name + L".exe") + L" \"" + target + L"\"");
      const std::string what = std::string(package.name) + " type " + std::to_string(type) + ":\n" + run.out;
      const bool ours = name == L"signed";
      EXPECT_EQ(run.exitCode, ours ? 0u : 1u) << what;
      EXPECT_EQ(Utils::PathExists(target + L"\\Quorvane.exe"), ours) << what;
      if (ours) {
        EXPECT_NE(run.out.find("\n2003 "), std::string::npos) << what;
      } else {
        EXPECT_NE(run.out.find("\n1004 -1100 PublisherSignature\n"), std::string::npos) << what;
        EXPECT_EQ(run.out.find("\n200"), std::string::npos) << what;
      }
    }
  }
}
#endif

TEST_F(Dlprobe, RefusesBadArguments) {
  EXPECT_EQ(Probe(L"download --type 1 only-one-argument").exitCode, 2u);
}

}  // namespace
