#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "SkinTestSupport.h"
#include "skinkit/SevenZipArchive.h"
#include "skinkit/SkinPackage.h"

namespace SkinKit {
namespace {

std::vector<uint8_t> FixtureBytes() {
  std::ifstream file(SKINKIT_FIXTURE_7Z, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST(SkinArchive7z, FindsEntriesWhateverTheCaseAndSeparator) {
  const std::vector<uint8_t> bytes = FixtureBytes();
  ASSERT_FALSE(bytes.empty());
  const auto archive = SevenZipArchive::OpenMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);
  // Folder entries are skipped: two files.
  EXPECT_EQ(archive->Entries().size(), 2u);

  const ArchiveEntry* description = archive->Find(L"MainWnd.xml");
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(description->name, L"mainWnd.xml");
  EXPECT_FALSE(description->data.empty());

  const ArchiveEntry* image = archive->Find(L"res\\MAINWND\\Bg1.PNG");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->name, L"res/mainWnd/bg1.png");
  EXPECT_EQ(archive->EntryAt(image->index), image);
  EXPECT_EQ(image->data.size(), 84u);

  EXPECT_EQ(archive->Find(L"res\\mainWnd\\bg1.pn"), nullptr);
  EXPECT_EQ(archive->Find(L"res"), nullptr);
  EXPECT_EQ(archive->Find(L""), nullptr);
}

TEST(SkinArchive7z, RefusesWhatIsNotAWholeArchive) {
  const std::vector<uint8_t> bytes = FixtureBytes();
  ASSERT_GT(bytes.size(), 64u);
  std::wstring error;
  EXPECT_FALSE(SevenZipArchive::OpenMemory(bytes.data(), bytes.size() - 20, &error));
  EXPECT_FALSE(error.empty());
  std::vector<uint8_t> damaged = bytes;
  damaged[40] ^= 0xFF;  // inside the packed stream
  EXPECT_FALSE(SevenZipArchive::OpenMemory(damaged.data(), damaged.size()));
  const uint8_t text[] = "not an archive at all";
  EXPECT_FALSE(SevenZipArchive::OpenMemory(text, sizeof text));
  EXPECT_FALSE(SevenZipArchive::OpenMemory(nullptr, 0));
  EXPECT_FALSE(SevenZipArchive::OpenFile(L"/nonexistent/skin.7z"));
  EXPECT_TRUE(SevenZipArchive::OpenFile(L"" SKINKIT_FIXTURE_7Z));
}

class SkinPackageTest : public ::testing::Test {
 protected:
  void SetUp() override { SkinPackage::Instance().Close(); }
  void TearDown() override { SkinPackage::Instance().Close(); }
};

TEST_F(SkinPackageTest, TheResourceIsReadAndDecompressedOnceForManyWindows) {
  int loads = 0;
  const auto loadResource = [&loads] {
    ++loads;
    return FixtureBytes();
  };
  for (int window = 0; window < 3; ++window) {
    ASSERT_EQ(SkinPackage::Instance().EnsureMemoryPackage(loadResource), PackageState::Open);
    EXPECT_EQ(SkinPackage::Instance().CurrentName(), L"memory");
    PaintManager manager;
    const BuildResult built = SkinBuilder().Build(L"MainWnd.xml", manager, nullptr);
    ASSERT_TRUE(built.root) << built.error;
    EXPECT_EQ(built.root->GetName(), L"winCtn");
    EXPECT_TRUE(manager.GetImage(L"res\\mainWnd\\bg1.png", std::nullopt));
  }
  EXPECT_EQ(loads, 1);
}

TEST_F(SkinPackageTest, AMissingOrBrokenResourceLeavesNoPackage) {
  std::vector<uint8_t> damaged = FixtureBytes();
  damaged[40] ^= 0xFF;  // inside the packed stream
  const std::vector<std::pair<std::vector<uint8_t>, PackageState>> cases = {
      {{}, PackageState::Missing}, {{1, 2, 3}, PackageState::Unreadable}, {damaged, PackageState::Unreadable}};
  for (const auto& [bytes, state] : cases) {
    SkinPackage::Instance().Close();
    int loads = 0;
    const auto loadResource = [&, bytes = bytes] {
      ++loads;
      return bytes;
    };
    EXPECT_EQ(SkinPackage::Instance().EnsureMemoryPackage(loadResource), state) << bytes.size();
    // An unreadable package is not read and decompressed again for the next window.
    EXPECT_EQ(SkinPackage::Instance().EnsureMemoryPackage(loadResource), state) << bytes.size();
    EXPECT_EQ(loads, state == PackageState::Unreadable ? 1 : 2) << bytes.size();
    EXPECT_TRUE(SkinPackage::Instance().CurrentName().empty());
    EXPECT_EQ(SkinPackage::Instance().Find(L"mainWnd.xml"), nullptr);
    PaintManager manager;
    const BuildResult built = SkinBuilder().Build(L"mainWnd.xml", manager, nullptr);
    EXPECT_FALSE(built.root);
    EXPECT_EQ(built.error, L"Could not find ziped file");
  }
}

}  // namespace
}  // namespace SkinKit
