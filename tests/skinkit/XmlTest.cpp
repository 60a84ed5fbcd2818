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
  ASSERT_TRUE(r.root) << r.Describe();
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

struct Malformed {
  const wchar_t* text;
  XmlError error;
  size_t offset;
};

// The error and the offset support needs to find the fault in a skin file.
TEST(SkinXml, RefusesMalformedDocumentsSayingWhatAndWhere) {
  const Malformed cases[] = {
      {L"", XmlError::kNoRootElement, 0},
      {L"  text", XmlError::kNoRootElement, 2},
      {L"<!-- only a comment -->", XmlError::kNoRootElement, 23},
      {L"<!-- unterminated", XmlError::kUnterminatedComment, 0},
      {L"<?xml version", XmlError::kUnterminatedInstruction, 0},
      {L"<!DOCTYPE x", XmlError::kUnterminatedDeclaration, 0},
      {L"< a/>", XmlError::kNameExpected, 1},
      {L"<Window", XmlError::kUnterminatedStartTag, 0},
      {L"<Window>", XmlError::kMissingEndTag, 0},
      {L"<a><b></a>", XmlError::kMismatchedEndTag, 6},
      {L"<Window></window>", XmlError::kMismatchedEndTag, 8},
      {L"<a></>", XmlError::kNameExpected, 5},
      {L"<a></a x>", XmlError::kEndTagNotClosed, 7},
      {L"<a></a", XmlError::kEndTagNotClosed, 6},
      {L"<Window a=\"1></Window>", XmlError::kLessThanInValue, 13},
      {L"\xFEFF<a b='1", XmlError::kUnterminatedValue, 6},
      {L"<Window a=1/>", XmlError::kQuoteExpected, 10},
      {L"<a b/>", XmlError::kEqualsExpected, 4},
      {L"<Window a=\"1\" a=\"2\"/>", XmlError::kDuplicateAttribute, 14},
      {L"<Window a=\"1\"b=\"2\"/>", XmlError::kBlankExpected, 13},
      {L"<Window/><Window/>", XmlError::kContentAfterRoot, 9},
      {L"<Window a=\"&bogus;\"/>", XmlError::kUnknownEntity, 11},
      {L"<a b=\"&amp\"/>", XmlError::kBadReference, 6},
      {L"<Window a=\"&#0;\"/>", XmlError::kBadCharacterReference, 11},
      {L"<a b=\"&#x110000;\"/>", XmlError::kBadCharacterReference, 6},
      {L"<Window><!-- unterminated </Window>", XmlError::kUnterminatedComment, 8},
      {L"<a><![CDATA[x</a>", XmlError::kUnterminatedCData, 3},
  };
  for (const Malformed& c : cases) {
    const XmlResult r = ParseXml(c.text);
    EXPECT_FALSE(r.root) << c.text;
    EXPECT_EQ(r.error, c.error) << c.text << ": " << r.Describe();
    EXPECT_EQ(r.offset, c.offset) << c.text << ": " << r.Describe();
  }
  EXPECT_EQ(ParseXml(L"<a><b></a>").Describe(), L"end tag does not close the open element at offset 6");
  EXPECT_EQ(ParseXml(L"<a/>").Describe(), L"");
}

TEST(SkinXml, RefusesNestingDeepEnoughToExhaustTheStack) {
  std::wstring deep;
  for (int i = 0; i < 100000; ++i) deep += L"<a>";
  const XmlResult refused = ParseXml(deep);
  EXPECT_FALSE(refused.root);
  EXPECT_EQ(refused.error, XmlError::kTooDeep);
  EXPECT_EQ(refused.offset, 201u * 3);  // the first element below the limit of 200

  std::wstring fine;
  for (int i = 0; i < 50; ++i) fine += L"<a>";
  for (int i = 0; i < 50; ++i) fine += L"</a>";
  EXPECT_TRUE(ParseXml(fine).root);
}

}  // namespace
}  // namespace SkinKit
