#include "tests/support/Regex.h"  // first: see there

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analytics/Json.h"
#include "analytics/Sdk.h"
#include "tracker/DeviceInfo.h"
#include "tracker/NativeUserTracker.h"
#include "tracker/Timestamp.h"
#include "tracker/ZkException.h"

namespace {

using namespace zorvik::tracking;

struct VersionCase {
  bool ok;
  uint32_t major, minor, build;
  bool is64, serverR2;
  const char* name;
};

TEST(VersionName, FollowsTheTrackersOwnTable) {
  const std::vector<VersionCase> cases = {
      {true, 10, 0, 22000, true, false, "11"},   {true, 10, 0, 22631, false, false, "11"},
      {true, 10, 0, 19045, true, false, "10"},   {true, 10, 1, 0, true, false, "11+"},
      {true, 6, 1, 7601, false, false, "7-32"},  {true, 6, 1, 7601, true, false, "7"},
      {true, 6, 0, 6002, true, false, "Vista64"}, {true, 6, 0, 6002, false, false, "Vista"},
      {true, 6, 2, 9200, false, false, "8-32"},  {true, 6, 3, 9600, false, false, "8.1"},
      {true, 6, 4, 0, false, false, "8.1+"},     {true, 5, 2, 0, true, true, "XP64"},
      {true, 5, 2, 0, false, true, "Server 2003 R2"}, {true, 5, 2, 0, false, false, "Server 2003"},
      {true, 5, 1, 0, false, false, "XP"},       {true, 5, 0, 0, false, false, "2K"},
      {true, 5, 3, 0, false, false, "XP+"},      {true, 12, 0, 100, true, false, "12.0.100"},
      {true, 4, 9, 0, false, false, "XP-"},      {true, 0, 0, 0, false, false, "XP-"},
      {false, 10, 0, 0, true, false, "XP-"}};
  for (const VersionCase& c : cases) {
    EXPECT_EQ(VersionNameFor({c.ok, c.major, c.minor, c.build}, c.is64, c.serverR2), c.name)
        << c.major << "." << c.minor << "." << c.build << " 64=" << c.is64;
  }
}

TEST(UserAgentText, NamesVersionAndBitness) {
  EXPECT_EQ(UserAgentFor({"Windows", "7-32"}, false), "Mozilla/5.0(Windows 7-32; Win32;)");
  EXPECT_EQ(UserAgentFor({"Windows", "7"}, true), "Mozilla/5.0(Windows 7; Win64;)");
  EXPECT_EQ(UserAgentFor({"Windows", "10"}, true), "Mozilla/5.0(Windows 10; Win64;)");
}

const std::regex kGuid("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");

TEST(GuidText, IsThirtySixUpperCaseHexDigitsAndHyphens) {
  platform::GuidValue g;
  g.data1 = 0x0000ABCD;
  g.data2 = 0x12;
  g.data3 = 0xFFFF;
  const uint8_t tail[8] = {0, 1, 0xAB, 0xCD, 0xEF, 0x10, 0x20, 0x30};
  for (int i = 0; i < 8; ++i) g.data4[i] = tail[i];
  EXPECT_EQ(FormatGuidText(g), "0000ABCD-0012-FFFF-0001-ABCDEF102030");
  const std::string fresh = NewGuidText();
  EXPECT_TRUE(std::regex_match(fresh, kGuid)) << fresh;
  EXPECT_NE(NewGuidText(), fresh);
}

TEST(GuidText, RetriesTenTimesThenFallsBackToTheFixedSeedText) {
  int calls = 0;
  const std::string fallback = NewGuidText([&calls](platform::GuidValue&) {
    ++calls;
    return false;
  });
  EXPECT_EQ(calls, 11);  // one discarded, ten tries
  EXPECT_TRUE(std::regex_match(fallback, std::regex("[0-9a-f]+-[0-9a-f]+-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]+")))
      << fallback;
  calls = 0;
  const std::string late = NewGuidText([&calls](platform::GuidValue& g) {
    g.data1 = 1;
    return ++calls == 4;
  });
  EXPECT_EQ(late, "00000001-0000-0000-0000-000000000000");
}

TEST(Timestamps, SecondsAndMillisecondsGiveTheSameDate) {
  const SplitTime seconds = SplitTimestamp(1700000000);
  const SplitTime millis = SplitTimestamp(1700000000000);
  EXPECT_EQ(seconds.seconds, 1700000000);
  EXPECT_EQ(millis.seconds, 1700000000);
  EXPECT_EQ(millis.milliseconds, 0);
  EXPECT_EQ(SplitTimestamp(1700000000250).milliseconds, 250);
  EXPECT_EQ(SplitTimestamp(kMillisecondsFrom - 1).seconds, kMillisecondsFrom - 1);
  EXPECT_EQ(LocalTimeText(1700000000), LocalTimeText(1700000000000));
  EXPECT_EQ(LocalTimeText(1700000000250), zk_analytics::utils::LocalDateTimeText(1700000000, 250));
}

TEST(ProfileProperties, NamesAndValueKindsOutsideTheirClassesThrow) {
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { NativeUserTracker::ProfileUserPropertyString("zk_paid_count", "1"); },
       "user property [zk_paid_count] is string type value, it cannot be accumulated!"},
      {[] { NativeUserTracker::ProfileUserPropertyString("zk_favourite", "x"); },
       "Not supported user property [zk_favourite]!"},
      {[] { NativeUserTracker::ProfileUserPropertyNumber("unknown", int32_t{1}); },
       "Not supported user property [unknown]!"},
      {[] { NativeUserTracker::ProfileUserPropertyDateTime("zk_visit_count", 1700000000); },
       "user property [zk_visit_count] is boolean value, it cannot be accumulative!"},
      {[] { NativeUserTracker::ProfileUserPropertyDateTime("nope", 1); },
       "Not supported user property [nope]!"}};
  for (const auto& [call, message] : cases) {
    try {
      call();
      ADD_FAILURE() << "no throw for " << message;
    } catch (const ZkException& error) {
      EXPECT_EQ(std::string(error.what()), message);
      EXPECT_EQ(error.file(), "NativeUserTracker");
    }
  }
}

}  // namespace
