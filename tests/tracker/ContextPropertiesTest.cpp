#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tracker/ZkContextProperties.h"
#include "tracker/ZkException.h"

namespace {

using zorvik::tracking::ZkContextProperties;
using zorvik::tracking::ZkEventType;
using zorvik::tracking::ZkException;

struct AbCase {
  std::string value;
  bool valid;
  std::string thrown;
};

TEST(AbValue, AcceptsOneToThreeUpperCaseLettersAndDigitsLetterFirst) {
  const std::vector<AbCase> cases = {
      {"IN", true, ""},
      {"A", true, ""},
      {"B7", true, ""},
      {"ZZ9", true, ""},
      {"", false, ""},
      {"in", false, "First char is not in A to Z"},
      {"7B", false, "First char is not in A to Z"},
      {"Ab", false, "second char is not in A to Z and 0 to 9"},
      {"AB-", false, "third char is not in A to Z and 0 to 9"},
      {"ABCD", false, "value's length is great than 3."},
      {"abcd", false, "value's length is great than 3."}};
  for (const AbCase& c : cases) {
    std::string thrown;
    bool valid = false;
    try {
      valid = ZkContextProperties::isValidABValue(c.value);
    } catch (const ZkException& error) {
      thrown = error.what();
      EXPECT_EQ(error.file(), "ZkContextProperties");
      EXPECT_EQ(error.function(), "isValidABValue");
    }
    EXPECT_EQ(valid, c.valid) << c.value;
    EXPECT_EQ(thrown, c.thrown) << c.value;
  }
}

TEST(ContextProperty, AttachesToItsEventTypesOnly) {
  ZkContextProperties context;
  context.setProperty({ZkEventType::Task}, "B7");
  zk_analytics::PropertiesNode task, click;
  task.SetString("zkc_ab", "old");
  EXPECT_TRUE(context.attachTo(ZkEventType::Task, task));
  EXPECT_FALSE(context.attachTo(ZkEventType::Click, click));
  EXPECT_EQ(task.ToJson(), "{\"zkc_ab\":\"B7\"}");
  EXPECT_EQ(click.ToJson(), "{}");
}

TEST(ContextProperty, AFlagTravelsBesideTheGroup) {
  ZkContextProperties context;
  context.setProperty({ZkEventType::Task}, "IN");
  context.setFlag({ZkEventType::Task, ZkEventType::View}, "zkc_silent", true);
  zk_analytics::PropertiesNode task, view;
  EXPECT_TRUE(context.attachTo(ZkEventType::Task, task));
  EXPECT_TRUE(context.attachTo(ZkEventType::View, view));
  EXPECT_EQ(task.ToJson(), "{\"zkc_ab\":\"IN\",\"zkc_silent\":true}");
  EXPECT_EQ(view.ToJson(), "{\"zkc_silent\":true}");
  EXPECT_THROW(context.setFlag({}, "zkc_silent", false), ZkException);
}

TEST(ContextProperty, ASecondValueIsRefusedAndTheFirstStays) {
  ZkContextProperties context;
  context.setProperty({ZkEventType::Click}, "A");
  try {
    context.setProperty({ZkEventType::Click}, "B");
    ADD_FAILURE() << "no throw";
  } catch (const ZkException& error) {
    EXPECT_EQ(std::string(error.what()), "Property[zkc_ab] already exist!");
  }
  ASSERT_EQ(context.getEventProperties(ZkEventType::Click).size(), 1u);
  EXPECT_EQ(context.getEventProperties(ZkEventType::Click)[0].value->text, "A");
}

TEST(ContextProperty, AnEventTypeBeyondTheTableThrowsAfterTheEarlierTypesWereAttached) {
  ZkContextProperties context;
  try {
    context.setProperty({ZkEventType::View, static_cast<ZkEventType>(15)}, "A");
    ADD_FAILURE() << "no throw";
  } catch (const ZkException& error) {
    EXPECT_EQ(std::string(error.what()), "ZkEvent[15] overflow!");
  }
  EXPECT_EQ(context.getEventProperties(ZkEventType::View).size(), 1u);
  EXPECT_THROW(context.getEventProperties(static_cast<ZkEventType>(15)), ZkException);
  EXPECT_THROW(context.setProperty({}, "B"), ZkException);  // the map holds the name already
}

}  // namespace
