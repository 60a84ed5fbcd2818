#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skinkit/Button.h"
#include "skinkit/Edit.h"
#include "skinkit/Progress.h"

namespace SkinKit {
namespace {

constexpr wchar_t kWindow[] =
    L"<Window size=\"600,400\" caption=\"0,0,0,35\">"
    L"<VerticalLayout name=\"root\">"
    L"  <HorizontalLayout name=\"title\" height=\"35\">"
    L"    <Label name=\"titleLbl\" width=\"200\"/><Control/>"
    L"    <Button name=\"closebtn\" width=\"35\"/>"
    L"  </HorizontalLayout>"
    L"  <Button name=\"install\" height=\"50\"/>"
    L"  <CheckBox name=\"cb\" height=\"20\" selected=\"true\"/>"
    L"  <Edit name=\"dir\" height=\"30\"/>"
    L"  <Progress name=\"bar\" height=\"10\" width=\"200\"/>"
    L"  <Control/>"
    L"</VerticalLayout></Window>";

class PaintManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager.AddNotifier(&receiver);
    ASSERT_TRUE(BuildAttached(manager, kWindow));
    receiver.seen.clear();
  }
  Point Centre(const wchar_t* name) {
    const Rect r = manager.FindControl(name)->GetPos();
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  RecordingHost host;
  PaintManager manager{&host};
  RecordingReceiver receiver;
};

TEST_F(PaintManagerTest, TheCaptionBandDragsExceptOverButtons) {
  EXPECT_TRUE(manager.IsCaptionDrag(Point{100, 10}));    // a label
  EXPECT_TRUE(manager.IsCaptionDrag(Point{400, 10}));    // a spring
  EXPECT_FALSE(manager.IsCaptionDrag(Centre(L"closebtn")));
  EXPECT_FALSE(manager.IsCaptionDrag(Point{100, 35}));   // below the band
  EXPECT_FALSE(manager.IsCaptionDrag(Centre(L"install")));
}

TEST_F(PaintManagerTest, WindowInitIsSentOnceAfterTheFirstPaint) {
  PaintManager fresh(&host);
  RecordingReceiver r;
  fresh.AddNotifier(&r);
  ASSERT_TRUE(BuildAttached(fresh, kWindow));
  NullPainter painter;
  fresh.Paint(painter, Rect{0, 0, 600, 400});
  EXPECT_EQ(r.seen, (std::vector<std::wstring>{L"windowinit:root"}));
}

TEST_F(PaintManagerTest, ButtonsTrackTheMouseAndClickOnReleaseOverThem) {
  auto* install = static_cast<CButtonUI*>(manager.FindControl(L"install"));
  manager.OnMouseMove(Centre(L"install"));
  EXPECT_TRUE(install->IsHot());
  manager.OnButtonDown(Centre(L"install"));
  EXPECT_TRUE(install->IsPushed());
  EXPECT_TRUE(host.captured);
  // Dragged off while pressed: no longer pushed, and releasing there is no click.
  manager.OnMouseMove(Point{300, 390});
  EXPECT_FALSE(install->IsPushed());
  manager.OnButtonUp(Point{300, 390});
  EXPECT_FALSE(host.captured);
  manager.OnMouseMove(Centre(L"install"));
  manager.OnButtonDown(Centre(L"install"));
  manager.OnButtonUp(Centre(L"install"));
  manager.OnMouseLeave();
  // While the button holds the mouse it stays the hot control.
  EXPECT_EQ(receiver.seen, (std::vector<std::wstring>{L"mouseenter:install", L"setfocus:install",
                                                      L"click:install", L"mouseleave:install"}));
  receiver.seen.clear();
  EXPECT_TRUE(manager.OnKeyDown(kKeySpace));
  EXPECT_EQ(receiver.seen, (std::vector<std::wstring>{L"click:install"}));
}

TEST_F(PaintManagerTest, CheckBoxesToggleAndReportBoth) {
  auto* cb = static_cast<CCheckBoxUI*>(manager.FindControl(L"cb"));
  EXPECT_TRUE(cb->IsSelected());
  manager.OnButtonDown(Centre(L"cb"));
  manager.OnButtonUp(Centre(L"cb"));
  EXPECT_FALSE(cb->IsSelected());
  EXPECT_EQ(receiver.seen,
            (std::vector<std::wstring>{L"setfocus:cb", L"selectchanged:cb", L"click:cb"}));
}

TEST_F(PaintManagerTest, FocusMovesWithNotificationsAndEditsOpenTheNativeControl) {
  manager.OnButtonDown(Centre(L"install"));
  manager.OnButtonUp(Centre(L"install"));
  receiver.seen.clear();
  manager.OnButtonDown(Centre(L"dir"));
  EXPECT_EQ(host.edits, 1);
  auto* edit = static_cast<CEditUI*>(manager.FindControl(L"dir"));
  EXPECT_TRUE(edit->IsEditing());
  edit->OnNativeTextChanged(L"D:\\Apps");
  edit->OnNativeTextChanged(L"D:\\Apps");
  edit->OnNativeReturn();
  EXPECT_EQ(edit->GetText(), L"D:\\Apps");
  EXPECT_EQ(receiver.seen, (std::vector<std::wstring>{L"killfocus:install", L"setfocus:dir",
                                                      L"textchanged:dir", L"return:dir"}));
}

TEST_F(PaintManagerTest, TimersTickTheirControlAndNotifyTheWindow) {
  CControlUI* bar = manager.FindControl(L"bar");
  ASSERT_TRUE(manager.SetTimer(bar, 10, 3000));
  ASSERT_TRUE(manager.SetTimer(bar, 11, 500));
  ASSERT_EQ(host.timers.size(), 2u);
  unsigned platform10 = 0;
  for (const auto& t : host.timers)
    if (t.second == 3000) platform10 = t.first;
  manager.OnTimer(platform10);
  EXPECT_EQ(receiver.seen, (std::vector<std::wstring>{L"timer:bar"}));
  EXPECT_EQ(receiver.last.wParam, 10u);
  // Setting a running timer again restarts it under the same platform timer.
  ASSERT_TRUE(manager.SetTimer(bar, 10, 100));
  EXPECT_EQ(host.timers.size(), 2u);
  EXPECT_EQ(host.timers[platform10], 100u);
  EXPECT_TRUE(manager.KillTimer(bar, 10));
  EXPECT_FALSE(manager.KillTimer(bar, 10));
  EXPECT_FALSE(manager.HasTimer(bar, 10));
  EXPECT_EQ(host.timers.size(), 1u);
  manager.OnTimer(platform10);
  EXPECT_EQ(receiver.seen.size(), 1u);
}

TEST_F(PaintManagerTest, TheProgressFillFollowsTheValue) {
  auto* bar = static_cast<CProgressUI*>(manager.FindControl(L"bar"));
  const Rect pos = bar->GetPos();
  EXPECT_EQ(bar->FillRect().Width(), 0);
  bar->SetValue(50);
  EXPECT_EQ(bar->FillRect(), (Rect{pos.left, pos.top, pos.left + 100, pos.bottom}));
  bar->SetValue(250);
  EXPECT_EQ(bar->GetValue(), 100);
  EXPECT_EQ(bar->FillRect().Width(), 200);
  bar->SetRange(10, 10);
  EXPECT_EQ(bar->FillRect().Width(), 0);
}

}  // namespace
}  // namespace SkinKit
