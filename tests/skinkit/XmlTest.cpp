#include <gtest/gtest.h>

#include <string>

#include "skinkit/Xml.h"

namespace SkinKit {
namespace {

TEST(SkinXml, ReadsElementsAttributesInOrderAndSkipsTheRest) {
  const XmlResult r = ParseXml(
      L"\xFEFF<?xml version=\"1.0\"?>\r\n<!-- a comment -->\r\n"
      L"<Window size=\"600,400\" caption='0,0,0,35'>\r\n"
      L"  <!-- <Button name=\"commented\"/> -->\r\n"
      L"  <Label text=\"安装路径：&lt;&amp;&gt;&quot;&apos;&#65;&#x42;\" b=\"2\" a=\"1\"/>\r\n"
      L"  <HorizontalLayout>text is ignored<Control/></HorizontalLayout>\r\n"
      L"</Window>\r\n");
  ASSERT_TRUE(r.root) << r.error;
  EXPECT_EQ(r.root->name, L"Window");
  EXPECT_EQ(*r.root->Attribute(L"caption"), L"0,0,0,35");
  ASSERT_EQ(r.root->children.size(), 2u);
  const XmlElement& label = *r.root->children[0];
  EXPECT_EQ(*label.Attribute(L"text"), L"安装路径：<&>\"'AB");
  ASSERT_EQ(label.attributes.size(), 3u);
  EXPECT_EQ(label.attributes[1].first, L"b");
  EXPECT_EQ(label.attributes[2].first, L"a");
  EXPECT_EQ(label.Attribute(L"missing"), nullptr);
  EXPECT_EQ(r.root->children[1]->children.size(), 1u);
}

TEST(SkinXml, RefusesMalformedDocuments) {
  const wchar_t* cases[] = {
      L"",
      L"<!-- only a comment -->",
      L"<Window>",
      L"<Window></window>",
      L"<Window a=\"1></Window>",
      L"<Window a=1/>",
      L"<Window a=\"1\" a=\"2\"/>",
      L"<Window a=\"1\"b=\"2\"/>",
      L"<Window/><Window/>",
      L"<Window a=\"&bogus;\"/>",
      L"<Window a=\"&#0;\"/>",
      L"<Window><!-- unterminated </Window>",
  };
  for (const wchar_t* text : cases) {
    const XmlResult r = ParseXml(text);
    EXPECT_FALSE(r.root) << text;
    EXPECT_FALSE(r.error.empty()) << text;
  }
}

TEST(SkinXml, RefusesNestingDeepEnoughToExhaustTheStack) {
  std::wstring deep;
  for (int i = 0; i < 100000; ++i) deep += L"<a>";
  EXPECT_FALSE(ParseXml(deep).root);

  std::wstring fine;
  for (int i = 0; i < 50; ++i) fine += L"<a>";
  for (int i = 0; i < 50; ++i) fine += L"</a>";
  EXPECT_TRUE(ParseXml(fine).root);
}

}  // namespace
}  // namespace SkinKit
