// The publisher gate as the product has it: Authenticode through the held
// handle, then the signer's key against the pins. Wine lets a signature from
// an unknown root verify (Windows would not, so this runs under Wine only),
// which leaves the pin to refuse the impostor: the same name, another key.
#include <gtest/gtest.h>

#include "package/PublisherGate.h"
#include "tests/support/TestFiles.h"
#include "utils/File.h"
#include "utils/Folders.h"

namespace {

TEST(PublisherGate, AdmitsOnlyAnIntactSignatureOfAPinnedPublisher) {
  TestSupport::ScratchFolder folder(L"gate");
  const std::wstring ours = TestSupport::SiblingProgram(L"scripted-child");
  const struct {
    const char* name;
    std::wstring path;
    const wchar_t* refusal;  // part of the reason; empty: admitted
  } cases[] = {
      {"signed by the publisher", ours, L""},
      {"unsigned", TestSupport::SiblingProgram(L"scripted-child-unsigned"), L"does not verify (0x800B0100)"},
      {"signed by an impostor", TestSupport::SiblingProgram(L"scripted-child-impostor"), L"is not a pinned publisher"},
      {"changed by one byte", TestSupport::TamperedCopy(ours, folder / L"tampered.exe"), L"does not verify (0x80096010)"},
      {"missing", folder / L"missing.exe", L"cannot be held"},
  };
  const std::unique_ptr<PublisherGate> gate = CreatePublisherGate();
  for (const auto& c : cases) {
    const Admission admission = gate->Admit(c.path);
    const std::wstring expected = c.refusal;
    EXPECT_EQ(admission.Admitted(), expected.empty()) << c.name;
    if (expected.empty()) {
      EXPECT_EQ(admission.refusal, L"") << c.name;
      // Held: the bytes verified stay the bytes that will start.
      EXPECT_FALSE(Utils::File::Open(c.path, Utils::File::Mode::kAppend).IsOpen()) << c.name;
    } else {
      EXPECT_NE(admission.refusal.find(expected), std::wstring::npos) << c.name;
      EXPECT_FALSE(admission.image.IsOpen()) << c.name;
    }
  }
}

}  // namespace
