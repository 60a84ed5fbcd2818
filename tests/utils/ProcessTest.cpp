#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#endif

#include "tests/support/OsFailures.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"
#include "utils/Process.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::string ReadAll(Utils::PipedProcess& child) {
  std::string out;
  char buffer[1024];
  long got;
  while ((got = child.ReadOutput(buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(got));
  return out;
}

std::wstring ChildPath() { return TestSupport::SiblingProgram(L"test-child"); }

TEST(PipedProcess, ReadsTheChildsOutputToItsEndAndItsExitCode) {
  Utils::PipedProcess child;
  child.Start(Quoted(ChildPath()) + L" args one \"two words\" -instdir=C:\\x\\");
  const std::string out = ReadAll(child);
  child.Wait();
  EXPECT_FALSE(child.StillActive());
  uint32_t code = 99;
  ASSERT_TRUE(child.ExitCode(code));
  EXPECT_EQ(code, 0u);
  std::string expected = "one\ntwo words\n-instdir=C:\\x\\\n";
#ifdef _WIN32
  // The child's C runtime writes text mode.
  expected = "one\r\ntwo words\r\n-instdir=C:\\x\\\r\n";
#endif
  EXPECT_EQ(out, expected);
}

TEST(PipedProcess, ReportsANonZeroExitCode) {
  Utils::PipedProcess child;
  child.Start(Quoted(ChildPath()) + L" exit 7");
  EXPECT_EQ(ReadAll(child), "");
  child.Wait();
  uint32_t code = 0;
  ASSERT_TRUE(child.ExitCode(code));
  EXPECT_EQ(code, 7u);
}

TEST(PipedProcess, RunsAProgramWhosePathHasBlanks) {
  TestSupport::ScratchFolder folder(L"proc dir");
  const std::wstring copy = folder / L"child copy.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(ChildPath(), copy));
  Utils::PipedProcess child;
  child.Start(Quoted(copy) + L" print done");
  EXPECT_EQ(ReadAll(child), "done");
  child.Wait();
}

TEST(PipedProcess, FailuresThrowUtilsException) {
  // A failed start names the call and its error number, so support sees why.
  const std::wstring program = TestSupport::ProgramFolder() + L"no-such-program.exe";
  Utils::PipedProcess missing;
  try {
    missing.Start(L"\"" + program + L"\"");
    ADD_FAILURE() << "a missing program started";
  } catch (const Utils::Exception& error) {
    EXPECT_NE(error.Message().find(program), std::wstring::npos);
    EXPECT_NE(error.Message().find(std::wstring(TestSupport::kStartCall) +
                                   TestSupport::FailedWith(TestSupport::kErrorNoSuchFile)),
              std::wstring::npos)
        << Utils::ToNarrow(error.Message(), Utils::kCodePageUtf8);
  }
  Utils::PipedProcess tooLong;
  EXPECT_THROW(tooLong.Start(Quoted(ChildPath()) + L" args " + std::wstring(1100, L'x')),
               Utils::Exception);
  // A bare name would be looked for in the working folder, which an elevated
  // installer must not trust.
  Utils::PipedProcess bare;
  EXPECT_THROW(bare.Start(L"test-child exit 0"), Utils::Exception);
}

TEST(PipedProcess, StartsInTheFolderOfItsProgram) {
  TestSupport::ScratchFolder folder(L"own folder");
  ASSERT_TRUE(TestSupport::CopyFileTo(ChildPath(), folder / L"child.exe"));
  TestSupport::WriteFile(folder / L"beside-the-child.txt", "");
  ASSERT_FALSE(std::filesystem::exists("beside-the-child.txt"));  // not in the test's own folder
  Utils::PipedProcess child;
  child.Start(Quoted(folder / L"child.exe") + L" exists beside-the-child.txt");
  EXPECT_EQ(ReadAll(child), "yes");
  child.Wait();
}

// A handle the installer opened for itself, inheritable as a careless call
// would leave it.
class InheritableHandle {
 public:
#ifdef _WIN32
  InheritableHandle() {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    handle_.reset(CreateEventW(&attributes, TRUE, FALSE, nullptr));
  }
  std::wstring Number() const {
    return std::to_wstring(reinterpret_cast<uintptr_t>(handle_.get()));
  }
#else
  InheritableHandle() {
    const Utils::UniqueOsHandle device(open("/dev/null", O_RDONLY));
    handle_.reset(fcntl(device.get(), F_DUPFD, 100));  // far from what a child opens itself
  }
  std::wstring Number() const { return std::to_wstring(handle_.get()); }
#endif
  bool valid() const { return handle_.valid(); }

 private:
  Utils::UniqueOsHandle handle_;
};

TEST(PipedProcess, InheritsItsPipeEndsAndNothingElse) {
  const InheritableHandle mine;
  ASSERT_TRUE(mine.valid());
  Utils::PipedProcess child;
  child.Start(Quoted(ChildPath()) + L" handle " + mine.Number());
  EXPECT_EQ(ReadAll(child), "closed");
  child.Wait();
}

TEST(PipedProcess, CloseIsSafeTwiceAndBeforeStart) {
  Utils::PipedProcess child;
  child.Close();
  child.Start(Quoted(ChildPath()) + L" exit 0");
  child.Wait();
  child.Close();
  child.Close();
  EXPECT_FALSE(child.StillActive());
}

}  // namespace
