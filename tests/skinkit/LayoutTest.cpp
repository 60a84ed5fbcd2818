#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skinkit/Container.h"

namespace SkinKit {
namespace {

TEST(SkinLayout, SpringsCentreAFixedWidthButton) {
  PaintManager manager;
  ASSERT_TRUE(BuildAttached(manager,
                            L"<Window><HorizontalLayout>"
                            L"<Control/><Button name=\"b\" width=\"200\" height=\"40\"/><Control/>"
                            L"</HorizontalLayout></Window>"));
  EXPECT_EQ(manager.FindControl(L"b")->GetPos(), (Rect{200, 0, 400, 40}));
}

TEST(SkinLayout, FixedSizesAreKeptAndTheRestIsSharedEqually) {
  PaintManager manager;
  ASSERT_TRUE(BuildAttached(manager,
                            L"<Window><VerticalLayout>"
                            L"<Control name=\"top\" height=\"35\"/>"
                            L"<Control name=\"a\" padding=\"10,5,20,5\"/>"
                            L"<Control name=\"hidden\" height=\"50\" visible=\"TRUE\"/>"
                            L"<Control name=\"b\" width=\"100\"/>"
                            L"<HorizontalLayout name=\"row\" height=\"30\">"
                            L"<Control name=\"big\" width=\"700\"/><Control name=\"squeezed\"/>"
                            L"</HorizontalLayout>"
                            L"</VerticalLayout></Window>"));
  EXPECT_EQ(manager.FindControl(L"top")->GetPos(), (Rect{0, 0, 600, 35}));
  // 400 - 35 - 30 - 10 (margins) = 325 for two free children: 162 and 163.
  EXPECT_EQ(manager.FindControl(L"a")->GetPos(), (Rect{10, 40, 580, 202}));
  EXPECT_EQ(manager.FindControl(L"b")->GetPos(), (Rect{0, 207, 100, 370}));
  EXPECT_FALSE(manager.FindControl(L"hidden")->IsVisible());
  EXPECT_EQ(manager.FindControl(L"row")->GetPos(), (Rect{0, 370, 600, 400}));
  // Nothing left over: a free child gets 0, never a negative width.
  EXPECT_EQ(manager.FindControl(L"squeezed")->GetPos().Width(), 0);
}

TEST(SkinLayout, PosAndWidthHeightApplyInDocumentOrder) {
  PaintManager manager;
  ASSERT_TRUE(BuildAttached(manager,
                            L"<Window><VerticalLayout>"
                            L"<Control name=\"a\" pos=\"0,0,0,65\" height=\"65\"/>"
                            L"<Control name=\"b\" width=\"50\" pos=\"0,0,100,30\"/>"
                            L"<Control name=\"c\" pos=\"0,0,100,30\" width=\"50\"/>"
                            L"<Control name=\"d\" height=\"10\" pos=\"5,5,5,5\"/>"
                            L"</VerticalLayout></Window>"));
  const CControlUI* a = manager.FindControl(L"a");
  EXPECT_EQ(a->GetFixedHeight(), 65);
  EXPECT_EQ(a->GetFixedWidth(), 0);
  EXPECT_EQ(a->GetPos().Width(), 600);
  EXPECT_EQ(manager.FindControl(L"b")->GetFixedWidth(), 100);
  EXPECT_EQ(manager.FindControl(L"c")->GetFixedWidth(), 50);
  EXPECT_EQ(manager.FindControl(L"d")->GetFixedHeight(), 0);
}

TEST(SkinLayout, TabLayoutShowsTheSelectedPageAndReportsTheChange) {
  PaintManager manager;
  RecordingReceiver receiver;
  manager.AddNotifier(&receiver);
  ASSERT_TRUE(BuildAttached(manager,
                            L"<Window><TabLayout name=\"tabs\">"
                            L"<VerticalLayout name=\"p0\"/><VerticalLayout name=\"p1\"/>"
                            L"<VerticalLayout name=\"p2\"/></TabLayout></Window>"));
  auto* tabs = static_cast<CTabLayoutUI*>(manager.FindControl(L"tabs")->GetInterface(L"TabLayout"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(manager.FindControl(L"p0")->IsVisible());
  EXPECT_FALSE(manager.FindControl(L"p1")->IsVisible());

  receiver.seen.clear();
  EXPECT_TRUE(tabs->SelectItem(2));
  EXPECT_EQ(receiver.seen, (std::vector<std::wstring>{L"tabselect:tabs"}));
  EXPECT_EQ(receiver.last.wParam, 2u);
  EXPECT_EQ(receiver.last.lParam, 0);
  EXPECT_FALSE(manager.FindControl(L"p0")->IsVisible());
  EXPECT_TRUE(manager.FindControl(L"p2")->IsVisible());

  NullPainter painter;
  manager.Paint(painter, Rect{0, 0, 600, 400});
  EXPECT_EQ(manager.FindControl(L"p2")->GetPos(), (Rect{0, 0, 600, 400}));

  EXPECT_FALSE(tabs->SelectItem(3));
  EXPECT_FALSE(tabs->SelectItem(-1));
  EXPECT_EQ(tabs->GetCurSel(), 2);
}

}  // namespace
}  // namespace SkinKit
