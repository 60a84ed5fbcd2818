#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skinkit/Button.h"
#include "skinkit/Container.h"
#include "skinkit/SequenceLabel.h"

namespace SkinKit {
namespace {

class SequenceCallback : public IBuilderCallback {
 public:
  std::unique_ptr<CControlUI> CreateControl(const std::wstring& name) override {
    asked.push_back(name);
    if (name == L"SequenceLabel") return std::make_unique<CSequenceLabelUI>();
    return nullptr;
  }
  std::vector<std::wstring> asked;
};

BuildResult Build(PaintManager& manager, const std::wstring& text, IBuilderCallback* callback = nullptr) {
  return SkinBuilder().BuildFromBytes(Utf8Bytes(text), manager, callback);
}

TEST(SkinBuilderTest, AppliesFontsAndWindowAttributes) {
  PaintManager manager;
  const BuildResult built = Build(manager,
      L"<?xml version=\"1.0\"?>\r\n"
      L"<Window size=\"360,180\" caption=\"0,0,0,30\" roundcorner=\"2,2\" showshadow=\"true\" "
      L"shadowcolor=\"#26003B76\" mininfo=\"1,1\">\r\n"
      L"  <Font id=\"0\" name=\"微软雅黑\" size=\"14\" default=\"true\"/>\r\n"
      L"  <Font id=\"1\" name=\"微软雅黑\" size=\"24\" bold=\"TRUE\" underline=\"true\" italic=\"no\"/>\r\n"
      L"  <Font id=\"1\" name=\"微软雅黑\" size=\"30\"/>\r\n"
      L"  <Font name=\"no id\"/><Font id=\"5\"/>\r\n"
      L"  <font id=\"2\" name=\"lower-case element\"/>\r\n"
      L"  <VerticalLayout name=\"root\"/>\r\n"
      L"</Window>\r\n");
  ASSERT_TRUE(built.root) << built.error;
  EXPECT_EQ(manager.GetInitSize().cx, 360);
  EXPECT_EQ(manager.GetInitSize().cy, 180);
  EXPECT_EQ(manager.GetCaptionRect(), (Rect{0, 0, 0, 30}));
  EXPECT_EQ(manager.GetRoundCorner().cx, 2);
  ASSERT_NE(manager.GetCustomAttribute(L"showshadow"), nullptr);
  EXPECT_EQ(*manager.GetCustomAttribute(L"shadowcolor"), L"#26003B76");
  EXPECT_EQ(*manager.GetCustomAttribute(L"mininfo"), L"1,1");
  EXPECT_EQ(manager.GetCustomAttribute(L"size"), nullptr);

  ASSERT_NE(manager.GetFont(0), nullptr);
  EXPECT_EQ(manager.GetFont(0)->size, 14);
  EXPECT_EQ(manager.GetFont(1)->size, 30);  // the later font with the same id wins
  EXPECT_FALSE(manager.GetFont(1)->bold);
  EXPECT_EQ(manager.GetFont(2)->name, L"lower-case element");
  EXPECT_EQ(manager.GetFont(5)->size, 14);   // no name: nothing made, the default answers
  EXPECT_EQ(manager.GetFont(-1)->size, 14);

  PaintManager styled;
  ASSERT_TRUE(Build(styled, L"<Window><Font id=\"3\" name=\"f\" bold=\"TRUE\" underline=\"true\" "
                            L"italic=\"no\"/><Control/></Window>").root);
  EXPECT_TRUE(styled.GetFont(3)->bold);
  EXPECT_TRUE(styled.GetFont(3)->underline);
  EXPECT_FALSE(styled.GetFont(3)->italic);
  EXPECT_EQ(styled.GetFont(3)->size, 12);
  EXPECT_EQ(styled.GetFont(-1), nullptr);  // no default font: the system's applies
}

TEST(SkinBuilderTest, AsksTheCallbackForUnknownElementsAndSkipsWhatItRefuses) {
  PaintManager manager;
  SequenceCallback callback;
  const BuildResult built = Build(manager,
      L"<Window><verticallayout name=\"root\">"
      L"<SequenceLabel name=\"anim\" sequencecount=\"64\"/>"
      L"<Gadget name=\"unknown\"><Button name=\"insideUnknown\"/></Gadget>"
      L"<BUTTON name=\"btn\" text=\"立即安装\"/>"
      L"<!-- <Button name=\"commented\"/> -->"
      L"</verticallayout></Window>",
      &callback);
  ASSERT_TRUE(built.root) << built.error;
  EXPECT_EQ(callback.asked, (std::vector<std::wstring>{L"SequenceLabel", L"Gadget"}));
  auto* root = static_cast<CContainerUI*>(built.root->GetInterface(L"Container"));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetCount(), 2);
  EXPECT_EQ(root->FindControl(L"anim")->GetClass(), L"SequenceLabel");
  EXPECT_EQ(root->FindControl(L"btn")->GetClass(), L"Button");
  EXPECT_EQ(root->FindControl(L"btn")->GetText(), L"立即安装");
  EXPECT_EQ(root->FindControl(L"insideUnknown"), nullptr);
  EXPECT_EQ(root->FindControl(L"commented"), nullptr);
}

TEST(SkinBuilderTest, ReportsTheLoadersErrors) {
  PaintManager manager;
  EXPECT_EQ(SkinBuilder().BuildFromBytes({}, manager, nullptr).error, L"File is empty");

  std::vector<uint8_t> large(SkinBuilder::kMaxDescriptionSize + 1, ' ');
  EXPECT_EQ(SkinBuilder().BuildFromBytes(large, manager, nullptr).error, L"File too large");

  std::vector<uint8_t> bom = {0xEF, 0xBB, 0xBF};
  const std::vector<uint8_t> text = Utf8Bytes(L"<Window><Control name=\"c\"/></Window>");
  bom.insert(bom.end(), text.begin(), text.end());
  EXPECT_TRUE(SkinBuilder().BuildFromBytes(bom, manager, nullptr).root);

  for (const wchar_t* bad : {L"<Window><Control></Window>", L"<Dialog><Control/></Dialog>",
                             L"<Window><Font id=\"1\" name=\"f\"/></Window>"}) {
    const BuildResult r = Build(manager, bad);
    EXPECT_FALSE(r.root) << bad;
    EXPECT_FALSE(r.error.empty()) << bad;
  }

  const SkinBuilder missing([](const std::wstring&) -> const ArchiveEntry* { return nullptr; });
  EXPECT_EQ(missing.Build(L"mainWnd.xml", manager, nullptr).error, L"Could not find ziped file");
}

}  // namespace
}  // namespace SkinKit
