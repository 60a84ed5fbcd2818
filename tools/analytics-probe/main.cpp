// analytics-probe SERVER_URL DATA_DIR
// Sends one event through each of the tracker's fifteen track operations,
// flushes and shuts down, printing one line per step: an end-to-end check of
// an analytics pipeline (for example against tools/analytics-collector).
#include <curl/curl.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analytics/Sdk.h"
#include "tracker/ZkTrackerImpl.h"

namespace {

using namespace zorvik::tracking;

struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_ALL); }
  ~CurlGlobal() { curl_global_cleanup(); }
  CurlGlobal(const CurlGlobal&) = delete;
  CurlGlobal& operator=(const CurlGlobal&) = delete;
};

template <typename T>
std::shared_ptr<T> Some(T value) {
  return std::make_shared<T>(value);
}

using Step = std::pair<const char*, std::function<void(ZkTracker&, const ZkContextProperties&)>>;

std::vector<Step> Steps() {
  return {
      {"trackActivity", [](ZkTracker& t, const ZkContextProperties& c) { t.trackActivity(c); }},
      {"trackLaunch", [](ZkTracker& t, const ZkContextProperties& c) { t.trackLaunch(c); }},
      {"trackLogin",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkUserInfo user;
         user.userId = "probe-user";
         user.userType = ZkUserType::Email;
         t.trackLogin(user, true, "", c);
       }},
      {"trackClick",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventClick click;
         click.name = "probe_button";
         click.title = "Install \xE5\xAE\x89\xE8\xA3\x85";
         t.trackClick(click, c);
       }},
      {"trackView",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventView view;
         view.name = "probe_page";
         t.trackView(view, c);
       }},
      {"trackCashier",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventCashier cashier;
         cashier.cashierName = "probe_cashier";
         t.trackCashier(cashier, c);
       }},
      {"trackShare",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventShare share;
         share.channel = "mail";
         share.result = Some(ZkResult::Success);
         t.trackShare(share, c);
       }},
      {"trackTask",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventTask task;
         task.name = "probe_task";
         task.elapsed = Some(1.5f);
         task.result = Some(ZkResult::Success);
         t.trackTask(task, c);
       }},
      {"trackFile",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventFile file;
         file.aname = "probe_export";
         file.io = Some(ZkIoType::Output);
         file.size = Some(1024.0f);
         t.trackFile(file, c);
       }},
      {"trackOrder",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventOrder order;
         order.suitId = "probe_suit";
         order.currency = Some(ZkCurrency::USD);
         order.originalAmount = 19.9f;
         order.paidAmount = 9.9f;
         t.trackOrder(order, c);
       }},
      {"trackPayment",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventPayment payment;
         payment.orderId = "probe_order";
         payment.currency = Some(ZkCurrency::USD);
         payment.paidPlatform = Some(ZkPaidPlatform::PayPal);
         payment.originalAmount = 19.9f;
         payment.paidAmount = 9.9f;
         payment.result = Some(ZkResult::Success);
         t.trackPayment(payment, c);
       }},
      {"trackUninstall", [](ZkTracker& t, const ZkContextProperties& c) { t.trackUninstall("probe", c); }},
      {"trackCrash", [](ZkTracker& t, const ZkContextProperties&) { t.trackCrash("probe crash"); }},
      {"trackUpdate",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkEventUpdate update;
         update.op = ZkUpdateOp::DownloadEnd;
         update.result = Some(ZkUpdateResult::Success);
         update.elapsed = Some(3.0f);
         t.trackUpdate(update, c);
       }},
      {"trackAppOpenNotification",
       [](ZkTracker& t, const ZkContextProperties& c) {
         ZkAppOpenNotification notification;
         notification.msgTitle = "probe";
         notification.planId = "plan";
         notification.planType = "type";
         t.trackAppOpenNotification(&notification, c);
       }},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: analytics-probe SERVER_URL DATA_DIR\n");
    return 2;
  }
  const CurlGlobal curl;
  ZkTrackerConfig config;
  config.appName = "AnalyticsProbe";
  config.appVersion = "1.0";
  config.appStore = "analytics-probe";
  config.serverUrl = argv[1];
  config.dataDirectory = argv[2];
  int failures = 0;
  {
    ZkTrackerImpl tracker(config);
    try {
      tracker.init();
      std::printf("init ok\n");
    } catch (const std::exception& error) {
      std::printf("init failed: %s\n", error.what());
      return 1;
    }
    ZkContextProperties context;
    context.setProperty({ZkEventType::Click, ZkEventType::View, ZkEventType::Task}, "B7");
    for (const auto& [name, call] : Steps()) {
      try {
        call(tracker, context);
        std::printf("%s ok\n", name);
      } catch (const std::exception& error) {
        ++failures;
        std::printf("%s failed: %s\n", name, error.what());
      }
      std::fflush(stdout);
    }
    const bool flushed = zk_analytics::Sdk::Flush();
    std::printf("flush %s\n", flushed ? "ok" : "failed");
    if (!flushed) ++failures;
  }
  std::printf("shutdown ok\n");
  return failures == 0 ? 0 : 1;
}
