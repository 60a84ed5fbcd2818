#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analytics/Sdk.h"
#include "tests/tracker/TrackerEnv.h"
#include "tracker/ZkEnumText.h"
#include "tracker/ZkException.h"
#include "tracker/ZkTrackerImpl.h"

namespace {

using namespace zorvik::tracking;

template <typename T>
std::shared_ptr<T> Some(T value) {
  return std::make_shared<T>(value);
}

// The first queued record of `event` ("" when none).
std::string RecordOf(const std::string& event) {
  for (const std::string& record : zk_analytics::Sdk::QueuedRecords()) {
    if (record.find("\"event\":\"" + event + "\"") != std::string::npos) return record;
  }
  return {};
}

struct EventCase {
  const char* name;
  std::function<void(ZkTracker&, const ZkContextProperties&)> call;
  std::string event;                // the record expected, or
  std::string thrown;               // the message expected instead
  std::vector<std::string> present;  // fragments of the record
  std::vector<std::string> absent;
};

void PrintTo(const EventCase& c, std::ostream* out) { *out << c.name; }

class EventCatalogue : public testing::TestWithParam<EventCase> {
 protected:
  void SetUp() override {
    tracker_ = std::make_unique<ZkTrackerImpl>(env_.Config());
    tracker_->init();
    ASSERT_TRUE(zk_analytics::Sdk::Exists());
    context_.setProperty({ZkEventType::Click, ZkEventType::View, ZkEventType::Task}, "B7");
  }
  TestSupport::TrackerEnv env_;
  std::unique_ptr<ZkTrackerImpl> tracker_;
  ZkContextProperties context_;
};

TEST_P(EventCatalogue, SendsTheNamedEventWithItsPropertiesOrThrows) {
  const EventCase& c = GetParam();
  testing::internal::CaptureStderr();  // the flush-type events fail to upload here
  std::string thrown;
  try {
    c.call(*tracker_, context_);
  } catch (const ZkException& error) {
    thrown = error.what();
  }
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(thrown, c.thrown);
  if (!c.thrown.empty()) {
    EXPECT_TRUE(zk_analytics::Sdk::QueuedRecords().empty()) << "nothing is sent after a failed check";
    return;
  }
  const std::string record = RecordOf(c.event);
  ASSERT_FALSE(record.empty()) << "no " << c.event << " record";
  for (const std::string& fragment : c.present) EXPECT_NE(record.find(fragment), std::string::npos) << fragment << "\n" << record;
  for (const std::string& fragment : c.absent) EXPECT_EQ(record.find(fragment), std::string::npos) << fragment << "\n" << record;
}

ZkEventClick Click(const std::string& name) {
  ZkEventClick click;
  click.name = name;
  return click;
}

ZkEventPayment Payment(float paid, float original, ZkResult result) {
  ZkEventPayment payment;
  payment.orderId = "order-1";
  payment.currency = Some(ZkCurrency::USD);
  payment.paidPlatform = Some(ZkPaidPlatform::PayPal);
  payment.paidAmount = paid;
  payment.originalAmount = original;
  payment.result = Some(result);
  return payment;
}

ZkEventOrder Order(float paid) {
  ZkEventOrder order;
  order.suitId = "suit";
  order.currency = Some(ZkCurrency::CNY);
  order.originalAmount = 9.9f;
  order.paidAmount = paid;
  return order;
}

const std::string kAb = "\"zkc_ab\":\"B7\"";

INSTANTIATE_TEST_SUITE_P(
    Operations, EventCatalogue,
    testing::Values(
        EventCase{"ClickWithAllFields",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventClick click = Click("install");
                    click.clickType = ClickType::Banner;
                    click.aname = "a";
                    click.tabIndex = Some(int32_t{2});
                    click.bannerName = "b";
                    tr.trackClick(click, cx);
                  },
                  "ZkEventClick", "",
                  {"\"zk_name\":\"install\"", "\"zk_click_type\":\"Banner\"", "\"zk_aname\":\"a\"",
                   "\"zk_tab_index\":2", "\"zk_banner_name\":\"b\"", "\"$is_first_time\":true", kAb},
                  {"zk_title", "zk_banner_index"}},
        EventCase{"ClickWithoutName", [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackClick(Click(""), cx); },
                  "", "zkEventClick.name is empty", {}, {}},
        EventCase{"ClickWithUnknownType",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventClick click = Click("x");
                    click.clickType = static_cast<ClickType>(7);
                    tr.trackClick(click, cx);
                  },
                  "", "Unknown ClickType [7]!", {}, {}},
        EventCase{"ViewCarriesTheAbGroup",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventView view;
                    view.name = "page";
                    view.title = "t";
                    tr.trackView(view, cx);
                  },
                  "ZkEventView", "", {"\"zk_name\":\"page\"", "\"zk_title\":\"t\"", kAb}, {}},
        EventCase{"ViewWithoutName", [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackView({}, cx); },
                  "", "zkEventView.name is empty", {}, {}},
        EventCase{"CashierWithoutName", [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackCashier({}, cx); },
                  "", "zkEventCashier.zk_cashier_name is empty", {}, {}},
        EventCase{"ShareWithUnknownResult",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventShare share;
                    share.result = Some(ZkResult::Unknown);
                    tr.trackShare(share, cx);
                  },
                  "ZkEventShare", "", {"\"zk_result\":\"Unknown\""}, {kAb}},
        EventCase{"TaskWithUnknownResultLeavesItOut",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventTask task;
                    task.name = "download";
                    task.elapsed = Some(2.5f);
                    task.result = Some(ZkResult::Unknown);
                    tr.trackTask(task, cx);
                  },
                  "ZkEventTask", "", {"\"zk_task_name\":\"download\"", "\"zk_task_elapsed\":2.5", kAb},
                  {"zk_task_result"}},
        EventCase{"TaskCancelled",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventTask task;
                    task.name = "download";
                    task.result = Some(ZkResult::Cancelled);
                    tr.trackTask(task, cx);
                  },
                  "ZkEventTask", "", {"\"zk_task_result\":\"Cancelled\""}, {}},
        EventCase{"TaskWithoutName", [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackTask({}, cx); },
                  "", "zkEventTask.name is empty", {}, {}},
        EventCase{"FileOutputWithoutSize",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventFile file;
                    file.aname = "export";
                    file.io = Some(ZkIoType::Output);
                    file.size = Some(0.0f);
                    file.width = Some(int32_t{1920});
                    tr.trackFile(file, cx);
                  },
                  "ZkEventFile", "", {"\"zk_io\":\"Output\"", "\"zk_aname\":\"export\"", "\"zk_width\":1920"},
                  {"zk_size"}},
        EventCase{"FileWithUnknownIo",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventFile file;
                    file.aname = "export";
                    file.io = Some(static_cast<ZkIoType>(2));
                    tr.trackFile(file, cx);
                  },
                  "", "the io type is invalid", {}, {}},
        EventCase{"OrderWithZeroPaidAmount",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackOrder(Order(0), cx); }, "",
                  "zkEventOrder.originalAmount is less than zero", {}, {}},
        EventCase{"Order", [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackOrder(Order(1.5f), cx); },
                  "ZkEventOrder", "", {"\"zk_currency\":\"CNY\"", "\"zk_paid_amount\":1.5", "\"zk_suit_id\":\"suit\""},
                  {"zk_cur_paid_amount"}},
        EventCase{"PaymentWithNegativePaidAmount",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    tr.trackPayment(Payment(-1, 0, ZkResult::Success), cx);
                  },
                  "", "paidAmount = -1.000000 is invalid", {}, {}},
        EventCase{"PaymentCancelledIsInvalid",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    tr.trackPayment(Payment(1, 1, ZkResult::Cancelled), cx);
                  },
                  "", "zkEventPayment.result is invalid", {}, {}},
        EventCase{"PaymentOfNothingThatFailed",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackPayment(Payment(0, 0, ZkResult::Fail), cx); },
                  "ZkEventPayment", "",
                  {"\"zk_result\":\"Fail\"", "\"zk_paid_amount\":0", "\"zk_paid_platform\":\"PayPal\"",
                   "\"zk_currency\":\"USD\""},
                  {}},
        EventCase{"UpdateCheckWithoutResult",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackUpdate({}, cx); }, "ZkEventUpdate",
                  "", {"\"zk_update_op\":\"UpdateCheck\"", "\"zk_update_result\":\"\""}, {}},
        EventCase{"DownloadEndWithoutElapsed",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventUpdate update;
                    update.op = ZkUpdateOp::DownloadEnd;
                    update.result = Some(ZkUpdateResult::Success);
                    tr.trackUpdate(update, cx);
                  },
                  "", "invalid elapsed info", {}, {}},
        EventCase{"UpgradeEnd",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkEventUpdate update;
                    update.op = ZkUpdateOp::UpgrateEnd;
                    update.result = Some(ZkUpdateResult::Latest);
                    update.elapsed = Some(0.5f);
                    tr.trackUpdate(update, cx);
                  },
                  "ZkEventUpdate", "",
                  {"\"zk_update_result\":\"Latest\"", "\"zk_elapsed\":0.5", "\"$is_first_time\":true"}, {}},
        EventCase{"NotificationWithoutRecord",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackAppOpenNotification(nullptr, cx); },
                  "", "&appOpenNotification is nullptr", {}, {}},
        EventCase{"NotificationWithoutPlanType",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkAppOpenNotification n;
                    n.planId = "p";
                    n.msgTitle = "m";
                    tr.trackAppOpenNotification(&n, cx);
                  },
                  "", "planType is emptry", {}, {}},
        EventCase{"Notification",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkAppOpenNotification n;
                    n.planId = "p";
                    n.planType = "t";
                    n.msgTitle = "m";
                    n.linkUrl = "https://x";
                    tr.trackAppOpenNotification(&n, cx);
                  },
                  "AppOpenNotification", "",
                  {"\"$sf_plan_id\":\"p\"", "\"$sf_link_url\":\"https://x\"", "\"$sf_msg_title\":\"m\""},
                  {"$sf_audience_id"}},
        EventCase{"LoginWithoutUser",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackLogin({}, false, "denied", cx); },
                  "ZkEventLogin", "",
                  {"\"zk_type\":\"unknown\"", "\"zk_result\":\"Fail\"", "\"zk_reason\":\"denied\""},
                  {"zk_user_id", "zk_login_id", "$is_first_time"}},
        EventCase{"LoginWithUnknownUserType",
                  [](ZkTracker& tr, const ZkContextProperties& cx) {
                    ZkUserInfo user;
                    user.userType = static_cast<ZkUserType>(12);
                    tr.trackLogin(user, true, "", cx);
                  },
                  "", "Unknown user type [12]!", {}, {}},
        EventCase{"UninstallWithReason",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackUninstall("too big", cx); },
                  "ZkEventUninstall", "", {"\"zk_uninstall_reason\":\"too big\""}, {kAb}},
        EventCase{"CrashTakesNoContext", [](ZkTracker& tr, const ZkContextProperties&) { tr.trackCrash("0xC0000005"); },
                  "AppCrashed", "", {"\"app_crashed_reason\":\"0xC0000005\""}, {kAb, "$is_first_time"}},
        EventCase{"LaunchWithoutContextIsSentEmpty",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackLaunch(cx); }, "ZkEventLaunch", "",
                  {"\"zk_app_id\":"}, {kAb}},
        EventCase{"ActivityOwnValuesAndUserAgent",
                  [](ZkTracker& tr, const ZkContextProperties& cx) { tr.trackActivity(cx); }, "ZkEventActivity", "",
                  {"\"$ios_install_source\":\"android_id=123##imei=1234##mac=123\"", "\"$user_agent\":\"Mozilla/5.0(Windows ",
                   "\"$os\":\"Windows\"", "\"zk_app_store\":\"QuorvaneInstaller.exe\""},
                  {kAb}}),
    [](const testing::TestParamInfo<EventCase>& param) { return std::string(param.param.name); });

TEST(EnumTexts, ValuesOutsideTheirTablesThrowTheirMessages) {
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { toString(static_cast<ZkResult>(4)); }, "Unknown task result [4]!"},
      {[] { toString(static_cast<ZkEdition>(2)); }, "Unknown edition [2]!"},
      {[] { toString(static_cast<ClickType>(-1)); }, "Unknown ClickType [-1]!"},
      {[] { toString(static_cast<ZkCurrency>(11)); }, "Unknown currency [11]!"},
      {[] { toString(static_cast<ZkPaidPlatform>(10)); }, "Unknown paid platform [10]!"},
      {[] { toString(static_cast<ZkIapType>(4)); }, "Unknown zkIapType [4]!"},
      {[] { toString(static_cast<ZkUpdateOp>(5)); }, "Unknown ZkUpdateOp [5]!"},
      {[] { toString(static_cast<ZkUpdateResult>(6)); }, "Unknown ZkUpdateResult [6]!"},
      {[] { userType(static_cast<ZkUserType>(12)); }, "Unknown user type [12]!"}};
  for (const auto& [call, message] : cases) {
    try {
      call();
      ADD_FAILURE() << "no throw for " << message;
    } catch (const ZkException& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  }
  EXPECT_EQ(toString(ZkPaidPlatform::ChinaUnionPay), "ChinaUnionPay");
  EXPECT_EQ(userType(ZkUserType::ZorvikUserId), "zorvikuserid");
  EXPECT_EQ(toString(ZkUpdateOp::UpgrateEnd), "UpgrateEnd");
}

TEST(EventCatalogueProfiles, ActivityWritesTheFirstVisitProfileAndPaymentCountsEvenAFailure) {
  TestSupport::TrackerEnv env;
  ZkTrackerImpl tracker(env.Config());
  tracker.init();
  testing::internal::CaptureStderr();
  tracker.trackActivity(ZkContextProperties());
  tracker.trackPayment(Payment(0, 0, ZkResult::Fail), ZkContextProperties());
  testing::internal::GetCapturedStderr();
  std::string all;
  for (const std::string& record : zk_analytics::Sdk::QueuedRecords()) all += record + "\n";
  for (const char* fragment :
       {"{\"$first_visit_time\":\"", "{\"zk_last_visit_date\":\"", "{\"zk_os\":\"Windows\"}",
        "{\"zk_app_platform\":\"Windows\"}", "{\"$ios_install_source\":\"android_id=123##imei=1234##mac=123\"},\"time\":",
        "{\"zk_paid_count\":1},\"time\":", "{\"zk_consumption\":0},\"time\":", "{\"zk_first_paid_date\":\""}) {
    EXPECT_NE(all.find(fragment), std::string::npos) << fragment;
  }
  EXPECT_NE(all.find("\"properties\":{\"zk_paid_count\":1},\"time\":"), std::string::npos);
  EXPECT_NE(all.find("\"type\":\"profile_increment\""), std::string::npos);
  EXPECT_NE(all.find("\"type\":\"profile_set_once\""), std::string::npos);
}

}  // namespace
