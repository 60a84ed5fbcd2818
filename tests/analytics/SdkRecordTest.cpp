#include "tests/support/Regex.h"  // first: see there

#include <gtest/gtest.h>

#include <functional>

#include "analytics/Record.h"
#include "analytics/Sdk.h"
#include "tests/analytics/SdkSession.h"

namespace {

using zk_analytics::PropertiesNode;
using zk_analytics::Sdk;
using TestSupport::Masked;
using TestSupport::SdkSession;

const std::string kLib = "\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"}";
const std::string kSuper = "\"$lib\":\"cpp\",\"$lib_version\":\"0.9\"";

TEST(SdkInit, ChecksTheDistinctIdAndKeepsAnExistingInstance) {
  Sdk::Shutdown();
  for (const auto& [id, message] :
       {std::pair<std::string, std::string>{"", "The Distinct ID is empty.\n"},
        {std::string(256, 'd'), "The Distinct ID is too long, max length is 255.\n"}}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Sdk::Init("", "http://127.0.0.1:9/sa", id, false));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), message);
    EXPECT_FALSE(Sdk::Exists());
  }
  ASSERT_TRUE(Sdk::Init("", "http://127.0.0.1:9/sa", std::string(255, 'd'), false));
  EXPECT_TRUE(Sdk::Init("", "http://127.0.0.1:9/sa", "other", true));
  EXPECT_EQ(Sdk::DistinctId(), std::string(255, 'd'));
  EXPECT_FALSE(Sdk::IsLoginId());
  Sdk::Shutdown();
  EXPECT_FALSE(Sdk::Exists());
}

TEST(SdkWithoutInstance, EveryOperationDoesNothing) {
  Sdk::Shutdown();
  Sdk::Track("E");
  Sdk::ProfileSetString("zk_os", "10");
  Sdk::TrackSignUp("L");
  EXPECT_FALSE(Sdk::Flush());
  EXPECT_TRUE(Sdk::QueuedRecords().empty());
}

struct TrackIdCase {
  uint32_t r1, r2;
  int64_t nowMs;
  int64_t id;
};

TEST(TrackId, JoinsTwoThreeAndFourDigits) {
  for (const TrackIdCase& c : {TrackIdCase{0, 0, 1700000000000, 0},
                               TrackIdCase{98, 998, 1700000009999, 989989999},
                               TrackIdCase{99, 999, 1700000000123, 123},
                               TrackIdCase{5, 42, 1700000050007, 50420007},
                               TrackIdCase{4000000000u, 4000000000u, 1, 400040001}}) {
    EXPECT_EQ(zk_analytics::TrackIdFrom(c.r1, c.r2, c.nowMs), c.id) << c.r1 << " " << c.r2;
  }
}

TEST(SdkRecords, TrackRecordCarriesSuperPropertiesAndATrackIdEndingInTheTime) {
  SdkSession session;
  ASSERT_TRUE(session.Started());
  Sdk::Track("ZkEventLaunch");
  const auto records = Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Masked(records[0]), "{\"_track_id\":T,\"distinct_id\":\"D\",\"event\":\"ZkEventLaunch\"," +
                                    kLib + ",\"properties\":{" + kSuper + "},\"time\":M,\"type\":\"track\"}");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(records[0], m, std::regex("\\{\"_track_id\":([0-9]+),.*\"time\":([0-9]+),.*")));
  const long long id = std::stoll(m[1]), time = std::stoll(m[2]);
  EXPECT_LT(id, 1000000000);
  EXPECT_EQ(id % 10000, time % 10000);
}

struct RecordCase {
  const char* name;
  std::function<void()> call;
  std::string expected;  // masked
};

void PrintTo(const RecordCase& c, std::ostream* out) { *out << c.name; }

class SdkRecordForms : public testing::TestWithParam<RecordCase> {};

TEST_P(SdkRecordForms, AreByteExact) {
  SdkSession session;
  ASSERT_TRUE(session.Started());
  PropertiesNode super;
  super.SetString("zk_app_id", "Quorvane");
  super.SetString("shared", "super");
  Sdk::RegisterSuperProperties(super);
  GetParam().call();
  const auto records = Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Masked(records[0]), GetParam().expected);
}

PropertiesNode Given() {
  PropertiesNode p;
  p.SetString("shared", "given");
  p.SetNumber("n", 0.1);
  p.SetNumber("i", int32_t{100});
  p.SetNumber("big", 1234567.0);
  p.SetBool("b", true);
  p.SetDateTime("$time", 1700000000, 250);
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SdkRecordForms,
    testing::Values(
        RecordCase{"TrackMergesGivenOverSuperAndTakesTime", [] { Sdk::Track("E1", Given()); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\",\"event\":\"E1\"," + kLib +
                       ",\"properties\":{\"$lib\":\"cpp\",\"$lib_version\":\"0.9\",\"b\":true,"
                       "\"big\":1.23457e+06,\"i\":100,\"n\":0.1,\"shared\":\"given\","
                       "\"zk_app_id\":\"Quorvane\"},\"time\":M,\"type\":\"track\"}"},
        RecordCase{"ProjectBecomesAMember",
                   [] {
                     PropertiesNode p;
                     p.SetString("$project", "p2");
                     Sdk::Track("E2", p);
                   },
                   "{\"_track_id\":T,\"distinct_id\":\"D\",\"event\":\"E2\"," + kLib +
                       ",\"project\":\"p2\",\"properties\":{" + kSuper +
                       ",\"shared\":\"super\",\"zk_app_id\":\"Quorvane\"},\"time\":M,\"type\":\"track\"}"},
        RecordCase{"EmptyProjectIsLeftOut",
                   [] {
                     PropertiesNode p;
                     p.SetString("$project", "");
                     Sdk::Track("E3", p);
                   },
                   "{\"_track_id\":T,\"distinct_id\":\"D\",\"event\":\"E3\"," + kLib +
                       ",\"properties\":{" + kSuper + ",\"shared\":\"super\",\"zk_app_id\":\"Quorvane\"},\"time\":M,\"type\":\"track\"}"},
        RecordCase{"InstallationAddsAnEmptySource", [] { Sdk::TrackInstallation("ZkEventActivity"); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\",\"event\":\"ZkEventActivity\"," + kLib +
                       ",\"properties\":{\"$ios_install_source\":\"\"," + kSuper +
                       ",\"shared\":\"super\",\"zk_app_id\":\"Quorvane\"},\"time\":M,\"type\":\"track\"}"},
        RecordCase{"SignUpNamesBothIds", [] { Sdk::TrackSignUp("L"); },
                   "{\"_track_id\":T,\"distinct_id\":\"L\",\"event\":\"$SignUp\"," + kLib +
                       ",\"original_id\":\"D\",\"properties\":{" + kSuper +
                       ",\"shared\":\"super\",\"zk_app_id\":\"Quorvane\"},\"time\":M,\"type\":\"track_signup\"}"},
        RecordCase{"ProfileSetHasNoEventAndNoSuperProperties", [] { Sdk::ProfileSet(Given()); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\"," + kLib +
                       ",\"properties\":{\"b\":true,\"big\":1.23457e+06,\"i\":100,\"n\":0.1,"
                       "\"shared\":\"given\"},\"time\":M,\"type\":\"profile_set\"}"},
        RecordCase{"ProfileSetString", [] { Sdk::ProfileSetString("zk_os", "10"); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\"," + kLib +
                       ",\"properties\":{\"zk_os\":\"10\"},\"time\":M,\"type\":\"profile_set\"}"},
        RecordCase{"ProfileSetInvalidStringGivesARecordWithoutIt",
                   [] {
                     testing::internal::CaptureStderr();
                     Sdk::ProfileSetString("zk_os", "\x01");
                     testing::internal::GetCapturedStderr();
                   },
                   "{\"_track_id\":T,\"distinct_id\":\"D\"," + kLib +
                       ",\"properties\":{},\"time\":M,\"type\":\"profile_set\"}"},
        RecordCase{"ProfileSetOnceNumber", [] { Sdk::ProfileSetOnceNumber("zk_n", 2.5); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\"," + kLib +
                       ",\"properties\":{\"zk_n\":2.5},\"time\":M,\"type\":\"profile_set_once\"}"},
        RecordCase{"ProfileIncrementInteger", [] { Sdk::ProfileIncrement("zk_paid_count", 1); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\"," + kLib +
                       ",\"properties\":{\"zk_paid_count\":1},\"time\":M,\"type\":\"profile_increment\"}"},
        RecordCase{"ProfileAppendHoldsAList", [] { Sdk::ProfileAppend("tags", "a\"b"); },
                   "{\"_track_id\":T,\"distinct_id\":\"D\"," + kLib +
                       ",\"properties\":{\"tags\":[\"a\\\"b\"]},\"time\":M,\"type\":\"profile_append\"}"}),
    [](const testing::TestParamInfo<RecordCase>& param) { return param.param.name; });

TEST(SdkRecords, AGivenTimeBecomesTheRecordTime) {
  SdkSession session;
  Sdk::Track("E", Given());
  Sdk::ProfileSetOnce(Given());
  const auto records = Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 2u);
  for (const std::string& record : records) {
    EXPECT_NE(record.find(",\"time\":1700000000250,\"type\":"), std::string::npos) << record;
    EXPECT_EQ(record.find("$time"), std::string::npos) << record;
  }
}

TEST(SdkRecords, AfterSignUpEveryRecordIsForTheLoginIdAndSaysSo) {
  SdkSession session;
  Sdk::TrackSignUp("L");
  Sdk::ProfileSetString("zk_os", "10");
  Sdk::Track("E");
  EXPECT_EQ(Sdk::DistinctId(), "L");
  EXPECT_TRUE(Sdk::IsLoginId());
  const auto records = Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(Masked(records[1]), "{\"_track_id\":T,\"distinct_id\":\"L\"," + kLib +
                                    ",\"properties\":{\"$is_login_id\":true,\"zk_os\":\"10\"},"
                                    "\"time\":M,\"type\":\"profile_set\"}");
  EXPECT_EQ(Masked(records[2]), "{\"_track_id\":T,\"distinct_id\":\"L\",\"event\":\"E\"," + kLib +
                                    ",\"properties\":{\"$is_login_id\":true," + kSuper +
                                    "},\"time\":M,\"type\":\"track\"}");
}

struct RefusedCall {
  const char* name;
  std::function<void()> call;
  std::string message;
};

void PrintTo(const RefusedCall& c, std::ostream* out) { *out << c.name; }

class SdkValidation : public testing::TestWithParam<RefusedCall> {};

TEST_P(SdkValidation, PrintsTheRuleAndQueuesNothing) {
  SdkSession session;
  testing::internal::CaptureStderr();
  GetParam().call();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().message);
  EXPECT_TRUE(Sdk::QueuedRecords().empty());
}

void TrackWithKey(const std::string& key) {
  PropertiesNode p;
  p.SetBool(key, true);
  Sdk::Track("E", p);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SdkValidation,
    testing::Values(
        RefusedCall{"KeyStartingWithADigit", [] { TrackWithKey("1abc"); },
                    "The Property Key need to be a valid variable name."},
        RefusedCall{"KeyWithAHyphen", [] { TrackWithKey("a-b"); },
                    "The Property Key need to be a valid variable name."},
        RefusedCall{"KeyOf101", [] { TrackWithKey(std::string(101, 'k')); },
                    "The Property Key is empty or too long, max length is 100"},
        RefusedCall{"ProfileKeysAreCheckedToo",
                    [] {
                      PropertiesNode p;
                      p.SetBool("bad key", true);
                      Sdk::ProfileSet(p);
                    },
                    "The Property Key need to be a valid variable name."},
        RefusedCall{"EmptyEventName", [] { Sdk::Track(""); },
                    "The Event Name is empty or too long, max length is 100"},
        RefusedCall{"EventNameWithABlank", [] { Sdk::Track("my event"); },
                    "The Event Name need to be a valid variable name."},
        RefusedCall{"TimeThatIsNoDateTime",
                    [] {
                      PropertiesNode p;
                      p.SetString("$time", "now");
                      Sdk::Track("E", p);
                    },
                    "The property '$time' should be DateTime type."},
        RefusedCall{"ProjectThatIsNoString",
                    [] {
                      PropertiesNode p;
                      p.SetNumber("$project", int32_t{1});
                      Sdk::Track("E", p);
                    },
                    "The property '$project' should be String type."}),
    [](const testing::TestParamInfo<RefusedCall>& param) { return param.param.name; });

TEST(SdkValidationPasses, LongestKeysAndDollarNames) {
  SdkSession session;
  TrackWithKey(std::string(100, 'k'));
  TrackWithKey("$_a1");
  Sdk::Track("$SignUp");
  Sdk::Track(std::string(100, 'e'));
  EXPECT_EQ(Sdk::QueuedRecords().size(), 4u);
}

TEST(SdkSignUp, AnEmptyOriginalIdIsRefusedButTheIdentityStillSwitches) {
  SdkSession session("D");
  // An anonymous id can only be empty here through an earlier sign-up with "".
  Sdk::TrackSignUp("");
  testing::internal::CaptureStderr();
  Sdk::TrackSignUp("L");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "The Original ID is empty.\n");
  EXPECT_EQ(Sdk::QueuedRecords().size(), 1u);
  EXPECT_EQ(Sdk::DistinctId(), "L");
}

}  // namespace
