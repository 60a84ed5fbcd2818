#include "tests/support/Regex.h"  // first: see there

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analytics/Json.h"
#include "analytics/ObjectNode.h"
#include "analytics/Utf8.h"

namespace {

using zk_analytics::PropertiesNode;
using zk_analytics::utils::ObjectNode;

struct NumberCase {
  double value;
  const char* json;
};

class NumberForm : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberForm, IsTheStreamFormWithSixDigits) {
  EXPECT_EQ(zk_analytics::utils::NumberText(GetParam().value), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(Doubles, NumberForm,
                         testing::Values(NumberCase{0.1, "0.1"}, NumberCase{100.0, "100"},
                                         NumberCase{1234567.0, "1.23457e+06"},
                                         NumberCase{2.5, "2.5"}, NumberCase{-0.5, "-0.5"},
                                         NumberCase{0.0000001, "1e-07"},
                                         NumberCase{123456.0, "123456"}, NumberCase{0.0, "0"}));

TEST(ObjectNodeJson, OrdersNamesBytewiseAndWritesEachKind) {
  ObjectNode node;
  node.SetString("b", "text");
  node.SetNumber("a", 0.1);
  node.SetNumber("_i", int32_t{-7});
  node.SetInteger("Z", int64_t{1700000000250});
  node.SetBool("$t", true);
  node.SetBool("$f", false);
  node.SetList("l", {"x", "y\"z"});
  node.SetList("e", {});
  ObjectNode inner;
  inner.SetString("k", "v");
  node.SetObject("o", inner);
  EXPECT_EQ(node.ToJson(),
            "{\"$f\":false,\"$t\":true,\"Z\":1700000000250,\"_i\":-7,\"a\":0.1,\"b\":\"text\","
            "\"e\":[],\"l\":[\"x\",\"y\\\"z\"],\"o\":{\"k\":\"v\"}}");
  EXPECT_EQ(ObjectNode().ToJson(), "{}");
}

TEST(ObjectNodeJson, SettingANameAgainReplacesItsValueAndKind) {
  ObjectNode node;
  node.SetString("a", "first");
  node.SetNumber("a", int32_t{2});
  EXPECT_EQ(node.ToJson(), "{\"a\":2}");
}

TEST(ObjectNodeJson, EscapesQuotesBackslashesAndNamedControlsInValuesAndNames) {
  ObjectNode node;
  node.SetString("q\"\\", "a\"b\\c\td\ne\rf/\xE5\xAE\x89");
  node.SetValue("ctl", [] {
    zk_analytics::utils::ValueNode value;
    value.type = zk_analytics::utils::ValueType::String;
    value.text = std::string("\b\f\x01\x1f\0", 5);
    return value;
  }());
  // Unnamed control bytes as \u00XX: raw, they would make the record no JSON.
  EXPECT_EQ(node.ToJson(),
            "{\"ctl\":\"\\b\\f\\u0001\\u001f\\u0000\",\"q\\\"\\\\\":\"a\\\"b\\\\c\\td\\ne\\rf/\xE5\xAE\x89\"}");
}

TEST(ObjectNodeJson, DateTimeIsQuotedLocalTimeWithMilliseconds) {
  ObjectNode node;
  node.SetDateTime("d", 1700000000, 7);
  const std::regex form("\\{\"d\":\"20[0-9]{2}-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.007\"\\}");
  EXPECT_TRUE(std::regex_match(node.ToJson(), form)) << node.ToJson();
}

TEST(PropertiesNodeTree, IgnoresNestedObjects) {
  PropertiesNode properties;
  ObjectNode inner;
  inner.SetString("k", "v");
  properties.SetObject("o", inner);
  static_cast<ObjectNode&>(properties).SetObject("p", inner);
  EXPECT_EQ(properties.ToJson(), "{}");
}

struct RefusedString {
  std::string value;
  const char* why;
};

TEST(ObjectNodeStrings, RefusesTooLongAndInvalidTextNamingTheProperty) {
  const std::string longest(8192, 'x');
  ObjectNode node;
  EXPECT_TRUE(node.SetString("ok", longest));
  for (const RefusedString& c : {RefusedString{std::string(8193, 'x'), "is too long"},
                                 RefusedString{"a\x01" "b", "is not valid UTF-8 string"}}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(node.SetString("bad", c.value));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "String property 'bad' " + std::string(c.why) + ", value: " + c.value + "\n");
  }
  EXPECT_EQ(node.Find("bad"), nullptr);
  EXPECT_NE(node.Find("ok"), nullptr);
}

// A list item passes what a string value passes: a raw control byte once
// blocked every later upload behind it.
TEST(ObjectNodeStrings, ListItemsAreCheckedLikeStrings) {
  ObjectNode node;
  EXPECT_TRUE(node.SetList("ok", {std::string(8192, 'x'), "\xE5\xAE\x89"}));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(node.SetList("ctl", {"fine", "a\x01" "b"}));
  EXPECT_FALSE(node.SetList("long", {std::string(8193, 'x')}));
  EXPECT_FALSE(node.SetList("utf8", {"\xC3"}));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(node.Find("ctl"), nullptr);
  EXPECT_EQ(node.Find("long"), nullptr);
  EXPECT_EQ(node.Find("utf8"), nullptr);
  EXPECT_NE(node.Find("ok"), nullptr);
}

TEST(ObjectNodeNumbers, RefusesValuesJsonCannotCarry) {
  ObjectNode node;
  for (const double value : {std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), std::nan("")}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(node.SetNumber("n", value));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Number property 'n' is not a finite number.\n");
  }
  EXPECT_EQ(node.ToJson(), "{}");
}

struct Utf8Case {
  std::string text;
  bool valid;
};

class Utf8Rule : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Rule, AcceptsExactlyWellFormedText) {
  EXPECT_EQ(zk_analytics::utils::IsValidUtf8(GetParam().text), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Rule,
    testing::Values(Utf8Case{"", true}, Utf8Case{"plain ~ text\t\r\n", true},
                    Utf8Case{"\xC2\x80\xDF\xBF", true}, Utf8Case{"\xE0\xA0\x80", true},
                    Utf8Case{"\xE5\xAE\x89\xE8\xA3\x85", true}, Utf8Case{"\xED\x9F\xBF", true},
                    Utf8Case{"\xEE\x80\x80\xEF\xBF\xBF", true}, Utf8Case{"\xF0\x90\x80\x80", true},
                    Utf8Case{"\xF3\xBF\xBF\xBF", true}, Utf8Case{"\xF4\x8F\xBF\xBF", true},
                    Utf8Case{std::string("\0", 1), false}, Utf8Case{"\x01", false},
                    Utf8Case{"\x1F", false}, Utf8Case{"\x7F", false}, Utf8Case{"\x80", false},
                    Utf8Case{"\xC0\x80", false}, Utf8Case{"\xC1\xBF", false},
                    Utf8Case{"\xE0\x9F\xBF", false}, Utf8Case{"\xED\xA0\x80", false},
                    Utf8Case{"\xF0\x8F\xBF\xBF", false}, Utf8Case{"\xF4\x90\x80\x80", false},
                    Utf8Case{"\xF5\x80\x80\x80", false}, Utf8Case{"\xFF", false},
                    Utf8Case{"ok\xE5\xAE", false}, Utf8Case{"\xC2", false},
                    Utf8Case{"\xE5\x41\x89", false}));

}  // namespace
