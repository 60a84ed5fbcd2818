#include <gtest/gtest.h>

#include <string>

#include "analytics/JsonCheck.h"

namespace {

using zk_analytics::utils::IsOneJsonObject;

TEST(JsonCheck, ExactlyOneObject) {
  const std::pair<std::string, bool> cases[] = {
      {"{}", true},
      {" { \"a\" : [1, -2.5e+3, 0, true, false, null, {\"b\":\"\\u00e9\\n\\\"\"}] } ", true},
      {"{\"t\":\"\xE5\xAE\x89\"}", true},
      {"", false},
      {"[1]", false},
      {"{}{}", false},
      {"{\"a\":1", false},
      {"{\"a\":}", false},
      {"{\"a\":1,}", false},
      {"{a:1}", false},
      {"{\"a\":01}", false},
      {"{\"a\":1.}", false},
      {"{\"a\":\"raw\x01\"}", false},
      {"{\"a\":\"tab\there\"}", false},
      {"{\"a\":\"\\x\"}", false},
      {"{\"a\":\"\\u12\"}", false},
      {"{\"a\":\"open}", false},
      {"{\"a\":tru}", false},
      {"{\"a\":\"\xC3\"}", false},  // not UTF-8
      {std::string("{\"a\":\"\0\"}", 8), false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsOneJsonObject(text), valid) << text;
}

TEST(JsonCheck, DeepNestingIsRefusedNotFollowed) {
  std::string deep = "{\"a\":";
  for (int i = 0; i < 100000; ++i) deep += '[';
  EXPECT_FALSE(IsOneJsonObject(deep));
  std::string fine = "{\"a\":";
  for (int i = 0; i < 30; ++i) fine += '[';
  for (int i = 0; i < 30; ++i) fine += ']';
  EXPECT_TRUE(IsOneJsonObject(fine + "}"));
}

}  // namespace
