#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "analytics/Sdk.h"
#include "tests/analytics/CollectorProcess.h"
#include "tests/tracker/TrackerEnv.h"
#include "tracker/ZkException.h"
#include "tracker/ZkTrackerImpl.h"
#include "tracker/ZkTrackerWrapper.h"
#include "utils/Encoding.h"

namespace {

using namespace zorvik::tracking;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

TEST(TrackerStart, ConfigurationChecksThrowBeforeAnythingIsDone) {
  const std::vector<std::pair<std::function<void(ZkTrackerConfig&)>, std::string>> cases = {
      {[](ZkTrackerConfig& c) { c.appName.clear(); }, "appName is empty"},
      {[](ZkTrackerConfig& c) { c.appVersion.clear(); }, "appVersion is empty"},
      {[](ZkTrackerConfig& c) { c.appStore.clear(); }, "appStore is empty"}};
  for (const auto& [change, message] : cases) {
    TestSupport::TrackerEnv env;
    ZkTrackerConfig config = env.Config();
    change(config);
    ZkTrackerImpl tracker(config);
    try {
      tracker.init();
      ADD_FAILURE() << "no throw";
    } catch (const ZkException& error) {
      EXPECT_EQ(std::string(error.what()), message);
      EXPECT_EQ(error.function(), "init");
    }
    EXPECT_FALSE(zk_analytics::Sdk::Exists());
    EXPECT_EQ(tracker.getTrackLogger(), nullptr);
  }
}

TEST(TrackerStart, AFailedStartInstallsATrackerThatSendsAndPrintsNothing) {
  TestSupport::TrackerEnv env;
  ZkTrackerConfig config = env.Config();
  config.appName.clear();
  createZkTracker(config);
  ASSERT_TRUE(zkTracker());
  EXPECT_FALSE(zk_analytics::Sdk::Exists());
  testing::internal::CaptureStdout();
  zkTracker()->trackClick({}, ZkContextProperties());
  ZkEventClick click;
  click.name = "ok";
  zkTracker()->trackClick(click, ZkContextProperties());
  zkTracker()->trackCrash("r");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(zk_analytics::Sdk::QueuedRecords().empty());
  releaseZkTracker();
  EXPECT_FALSE(zkTracker());
}

TEST(TrackerStart, AnUnknownEditionStopsAfterTheSdkStarted) {
  TestSupport::TrackerEnv env;
  ZkTrackerConfig config = env.Config();
  config.edition = static_cast<ZkEdition>(2);
  ZkTrackerImpl tracker(config);
  try {
    tracker.init();
    ADD_FAILURE() << "no throw";
  } catch (const ZkException& error) {
    EXPECT_EQ(std::string(error.what()), "Unknown edition [2]!");
  }
  ASSERT_TRUE(zk_analytics::Sdk::Exists());
  ZkEventClick click;
  click.name = "x";
  tracker.trackClick(click, ZkContextProperties());
  const auto records = zk_analytics::Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].find("zk_app_id"), std::string::npos);
  EXPECT_EQ(ReadAll(tracker.context().identityIniPath).find("UninstallInfo"), std::string::npos);
}

TEST(TrackerStart, SuperPropertiesGoIntoEveryEventAndTheLocaleCanChange) {
  TestSupport::TrackerEnv env;
  ZkTrackerImpl tracker(env.Config());
  tracker.init();
  tracker.setL10nLocale("de_AT");
  ZkEventView view;
  view.name = "v";
  tracker.trackView(view, ZkContextProperties());
  const auto records = zk_analytics::Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 1u);
  for (const std::string& fragment :
       {"\"$app_id\":\"" + env.AppName() + "\"", std::string("\"$app_version\":\"1.7.9\""),
        std::string("\"$os\":\"Windows\""), std::string("\"$screen_height\":"),
        std::string("\"zk_app_platform\":\"Windows\""), std::string("\"zk_dlapp_id\":\"Quorvane\""),
        std::string("\"zk_edition\":\"china\""), std::string("\"zk_l10n_country\":\"AT\""),
        std::string("\"zk_l10n_language\":\"de\""), std::string("\"zk_l10n_locale\":\"de_AT\""),
        std::string("\"zk_sdk\":\"WindowsCPP\""), std::string("\"zk_sdk_version\":\"3.3.8\""),
        std::string("\"zk_track_type\":\"Client\"")}) {
    EXPECT_NE(records[0].find(fragment), std::string::npos) << fragment << "\n" << records[0];
  }
  EXPECT_EQ(records[0].find("zk_dlapp_version"), std::string::npos);
  EXPECT_EQ(records[0].find("zk_user_id"), std::string::npos);
}

TEST(TrackerWrapper, AFailedCallPrintsItsLineAndReturns) {
  TestSupport::TrackerEnv env;
  createZkTracker(env.Config());
  ASSERT_TRUE(zkTracker());
  testing::internal::CaptureStdout();
  zkTracker()->trackClick({}, ZkContextProperties());
  zkTracker()->trackTask({}, ZkContextProperties());
  zkTracker()->trackAppOpenNotification(nullptr, ZkContextProperties());
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Failed to trackClick\nFailed to trackTask\nFailed to trackAppOpenNotification\n");
  EXPECT_EQ(zkTracker()->getTrackLogger(), nullptr);
  EXPECT_FALSE(zkTracker()->getPrimaryDistinctId().empty());
  ZkTrackerWrapper empty(nullptr);
  EXPECT_EQ(empty.getPrimaryDistinctId(), "");
  EXPECT_EQ(empty.getTrackLogger(), nullptr);
  empty.trackCrash("nothing to forward to");
}

TEST(TrackerLog, StartUpCreatesAnEmptyFileThatStaysEmpty) {
  TestSupport::TrackerEnv env;
  std::string path;
  {
    ZkTrackerImpl tracker(env.Config());
    tracker.init();
    path = tracker.context().logFilePath;
    EXPECT_EQ(path, env.DataDirectory() + env.AppName() + "_ZKSLog.txt");
    ASSERT_NE(tracker.getTrackLogger(), nullptr);
    ZkEventClick click;
    click.name = "x";
    for (int i = 0; i < 3; ++i) tracker.trackClick(click, ZkContextProperties());
  }
  ASSERT_TRUE(Exists(path));
  EXPECT_EQ(ReadAll(path), "");
  std::ofstream(path, std::ios::binary) << "kept\n";
  {
    ZkTrackerImpl tracker(env.Config());
    tracker.init();
  }
  EXPECT_EQ(ReadAll(path), "kept\n");
}

// Against the local collector.
class TrackerUpload : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(collector_.Running()); }
  TestSupport::CollectorProcess collector_;
  TestSupport::TrackerEnv env_;
};

TEST_F(TrackerUpload, ACrashFlushesTheClicksBeforeItAndResetsTheCount) {
  ZkTrackerImpl tracker(env_.Config(collector_.UploadUrl()));
  tracker.init();
  ZkEventClick click;
  click.name = "next";
  for (int i = 0; i < 5; ++i) tracker.trackClick(click, ZkContextProperties());
  EXPECT_EQ(tracker.context().pendingCount.load(), 10);
  tracker.trackCrash("0xC0000005");
  EXPECT_EQ(tracker.context().pendingCount.load(), 0);
  EXPECT_TRUE(zk_analytics::Sdk::QueuedRecords().empty());
  EXPECT_EQ(collector_.Stats(), "batches=1 records=6 rejected=0 attempts=1");
}

TEST_F(TrackerUpload, ACrashReportedFirstIsSentAtOnce) {
  ZkTrackerImpl tracker(env_.Config(collector_.UploadUrl()));
  tracker.init();
  tracker.trackCrash("first");
  EXPECT_EQ(collector_.Stats(), "batches=1 records=1 rejected=0 attempts=1");
}

TEST_F(TrackerUpload, RecordsLeftAtShutdownAreSentFirstAfterTheNextStart) {
  ASSERT_TRUE(collector_.SetMode("500"));
  testing::internal::CaptureStderr();
  {
    ZkTrackerImpl tracker(env_.Config(collector_.UploadUrl()));
    tracker.init();
    ZkEventClick click;
    click.name = "before-restart";
    tracker.trackClick(click, ZkContextProperties());
    tracker.trackClick(click, ZkContextProperties());
  }  // shutdown: three failed flushes, then the queue goes to the staging file
  testing::internal::GetCapturedStderr();
  ASSERT_TRUE(collector_.SetMode("ok"));
  {
    ZkTrackerImpl tracker(env_.Config(collector_.UploadUrl()));
    tracker.init();
    tracker.trackCrash("after-restart");
  }
  const std::string batches = collector_.Batches();
  EXPECT_EQ(collector_.Stats(), "batches=1 records=3 rejected=0 attempts=4");
  const size_t first = batches.find("before-restart"), crash = batches.find("after-restart");
  ASSERT_NE(first, std::string::npos) << batches;
  EXPECT_LT(first, crash);
}

}  // namespace
