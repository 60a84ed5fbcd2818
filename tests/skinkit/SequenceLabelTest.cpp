#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinTestSupport.h"
#include "skinkit/FramePath.h"
#include "skinkit/SequenceLabel.h"
#include "skinkit/Values.h"

namespace SkinKit {
namespace {

class SequenceCallback : public IBuilderCallback {
 public:
  std::unique_ptr<CControlUI> CreateControl(const std::wstring& name) override {
    if (EqualsNoCase(name, L"SequenceLabel")) return std::make_unique<CSequenceLabelUI>();
    return nullptr;
  }
};

class SequenceLabelTest : public ::testing::Test {
 protected:
  CSequenceLabelUI* Make(const std::wstring& attributes) {
    SequenceCallback callback;
    const std::wstring text = L"<Window><SequenceLabel name=\"anim\" "
                              L"sequencebkimage=\"res\\mainWnd\\installBtnAnimate\\%.3d.png\" " +
                              attributes + L"/></Window>";
    if (!BuildAttached(manager, text, Size{100, 100}, &callback)) return nullptr;
    return static_cast<CSequenceLabelUI*>(manager.GetRoot()->GetInterface(L"SequenceLabel"));
  }
  bool Running() const { return !host.timers.empty(); }
  // Ticks `count` times, as long as the timer runs, and lists the frame shown
  // after each tick.
  std::vector<int> Tick(CSequenceLabelUI* label, int count) {
    std::vector<int> shown;
    for (int i = 0; i < count; ++i) {
      ControlEvent tick{EventType::Timer, Point{}, CSequenceLabelUI::kTimerId};
      if (Running()) label->DoEvent(tick);
      const std::wstring& image = label->GetBkImage();
      shown.push_back(image.empty() ? -1 : std::stoi(image.substr(image.size() - 7, 3)));
    }
    return shown;
  }

  RecordingHost host;
  PaintManager manager{&host};
};

TEST_F(SequenceLabelTest, TheSkinsLabelLoopsThroughAllFramesEvery30ms) {
  CSequenceLabelUI* label =
      Make(L"sequencecount=\"64\" sequencespan=\"30\" sequenceround=\"false\" autostart=\"true\"");
  ASSERT_NE(label, nullptr);
  ASSERT_EQ(host.timers.size(), 1u);
  EXPECT_EQ(host.timers.begin()->second, 30u);
  const std::vector<int> shown = Tick(label, 66);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(shown[i], i);
  EXPECT_EQ(shown[64], 0);
  EXPECT_EQ(shown[65], 1);
  EXPECT_EQ(label->GetBkImage(), L"res\\mainWnd\\installBtnAnimate\\001.png");
  EXPECT_TRUE(Running());
}

TEST_F(SequenceLabelTest, SequenceOrdersForLoopOnceRoundAndBoth) {
  const struct {
    const wchar_t* attributes;
    int ticks;
    std::vector<int> shown;
    bool runningAfter;
  } cases[] = {
      {L"sequencecount=\"4\" autostart=\"true\"", 6, {0, 1, 2, 3, 0, 1}, true},
      {L"sequencecount=\"4\" sequenceloop=\"false\" autostart=\"true\"", 6, {0, 1, 2, 3, 3, 3}, false},
      {L"sequencecount=\"4\" sequenceround=\"true\" autostart=\"true\"", 10,
       {0, 1, 2, 3, 2, 1, 0, 1, 2, 3}, true},
      {L"sequencecount=\"4\" sequenceround=\"x\" sequenceloop=\"false\" autostart=\"true\"", 8,
       {0, 1, 2, 3, 2, 1, 1, 1}, false},
      {L"sequencecount=\"2\" sequenceround=\"true\" autostart=\"true\"", 6, {0, 1, 0, 1, 0, 1}, true},
      // Only the exact "false" switches a flag off.
      {L"sequencecount=\"3\" sequenceloop=\"FALSE\" autostart=\"True\"", 4, {0, 1, 2, 0}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attributes);
    host.timers.clear();
    CSequenceLabelUI* label = Make(c.attributes);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(Running());
    EXPECT_EQ(Tick(label, c.ticks), c.shown);
    EXPECT_EQ(Running(), c.runningAfter);
  }
}

TEST_F(SequenceLabelTest, StartRestartsFromTheFirstFrameKeepingTheDirection) {
  CSequenceLabelUI* label = Make(L"sequencecount=\"4\" sequenceround=\"true\" sequenceloop=\"false\"");
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(Running());  // no autostart
  label->Start();
  EXPECT_TRUE(Running());
  EXPECT_EQ(Tick(label, 5), (std::vector<int>{0, 1, 2, 3, 2}));
  EXPECT_FALSE(label->IsForward());
  label->Start();
  EXPECT_FALSE(label->IsForward());
  EXPECT_EQ(label->GetCurrentIndex(), 0u);
  // Backward at frame 0: round turns it forward, and without loop it stops.
  Tick(label, 1);
  EXPECT_TRUE(label->IsForward());
  EXPECT_FALSE(Running());
  EXPECT_EQ(label->GetBkImage(), L"res\\mainWnd\\installBtnAnimate\\002.png");
}

TEST_F(SequenceLabelTest, DegenerateCountsStayInsideTheFrames) {
  CSequenceLabelUI* none = Make(L"sequencecount=\"0\" autostart=\"true\"");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(Tick(none, 3), (std::vector<int>{-1, -1, -1}));

  host.timers.clear();
  CSequenceLabelUI* one = Make(L"sequencecount=\"1\" sequenceround=\"true\" autostart=\"true\"");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(Tick(one, 3), (std::vector<int>{0, 0, 0}));
}

TEST_F(SequenceLabelTest, TheTimerGoesWithTheLabel) {
  ASSERT_NE(Make(L"sequencecount=\"4\" autostart=\"true\""), nullptr);
  EXPECT_TRUE(Running());
  manager.AttachRoot(nullptr);
  EXPECT_FALSE(Running());
}

TEST(FramePathTest, FormatsOnlyPatternsWithOneIntegerConversion) {
  EXPECT_EQ(FormatFramePath(L"res\\a\\%.3d.png", 7).value_or(L"-"), L"res\\a\\007.png");
  EXPECT_EQ(FormatFramePath(L"100%%_%d.png", 12).value_or(L"-"), L"100%_12.png");
  EXPECT_EQ(FormatFramePath(L"%03u", 5).value_or(L"-"), L"005");
  for (const wchar_t* bad : {L"frame.png", L"%s.png", L"%d%d", L"%n", L"%.999d", L"%ld", L"%", L"%*d"}) {
    EXPECT_FALSE(FormatFramePath(bad, 1)) << bad;
  }
  EXPECT_FALSE(FormatFramePath(std::wstring(300, L'a') + L"%d", 1));
}

}  // namespace
}  // namespace SkinKit
