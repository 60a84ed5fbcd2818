// The event catalogue: each operation's checks, event name and properties.
#include <type_traits>
#include <utility>

#include "analytics/Clock.h"
#include "analytics/Sdk.h"
#include "tracker/DeviceInfo.h"
#include "tracker/Identity.h"
#include "tracker/NativeUserTracker.h"
#include "tracker/ZkEnumText.h"
#include "tracker/ZkException.h"
#include "tracker/ZkTrackerImpl.h"

namespace zorvik::tracking {

namespace {

using zk_analytics::PropertiesNode;

constexpr char kInstallSource[] = "android_id=123##imei=1234##mac=123";

void SetIfSet(PropertiesNode& p, const std::string& name, const std::string& value) {
  if (!value.empty()) p.SetString(name, value);
}

template <typename T>
void SetIfSet(PropertiesNode& p, const std::string& name, const std::shared_ptr<T>& value) {
  if (!value) return;
  if constexpr (std::is_same_v<T, float>) {
    p.SetNumber(name, static_cast<double>(*value));
  } else {
    p.SetNumber(name, *value);
  }
}

void SetIfPositive(PropertiesNode& p, const std::string& name, float value) {
  if (value > 0) p.SetNumber(name, static_cast<double>(value));
}

// Task and file results: only Success, Cancelled and Fail are sent.
void SetKnownResult(PropertiesNode& p, const std::string& name, const std::shared_ptr<ZkResult>& result) {
  if (!result) return;
  const auto value = static_cast<int32_t>(*result);
  if (value >= 0 && value <= 2) p.SetString(name, toString(*result));
}

[[noreturn]] void Fail(const char* function, const std::string& message) {
  ZK_THROW("ZkTrackerImpl", function, message);
}

}  // namespace

void ZkTrackerImpl::trackActivity(const ZkContextProperties& context) {
  PropertiesNode p;
  context.attachTo(ZkEventType::Activity, p);
  SetIfSet(p, "zk_app_store", appStore_);
  SetIfSet(p, "zk_app_id", appName_);
  SetIfSet(p, "$app_id", appName_);
  SetIfSet(p, "$app_version", appVersion_);
  p.SetString("$ios_install_source", kInstallSource);
  SetIfSet(p, "$user_agent", UserAgent());
  p.SetBool("$is_first_time", true);
  const OsFacts os = QueryOsFacts();
  p.SetString("$os", os.name);
  p.SetString("$os_version", os.versionName);
  zk_analytics::Sdk::TrackInstallation("ZkEventActivity", p);
  WriteFirstVisitProfile();
  FlushNow();
}

void ZkTrackerImpl::trackLaunch(const ZkContextProperties& context) {
  PropertiesNode p;
  context.attachTo(ZkEventType::PaLaunchPal, p);
  zk_analytics::Sdk::Track("ZkEventLaunch", p);
  WriteVisitProfile();
  FlushNow();
}

void ZkTrackerImpl::trackLogin(const ZkUserInfo& info, bool success, std::string reason,
                               const ZkContextProperties& context) {
  PropertiesNode p;
  const bool hasUser = !info.userId.empty();
  SetIfSet(p, "zk_user_id", info.userId);
  SetIfSet(p, "zk_login_id", info.userId);
  p.SetString("zk_type", userType(info.userType));
  p.SetString("zk_result", success ? "Success" : "Fail");
  SetIfSet(p, "zk_reason", reason);
  if (hasUser) p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Login, p);
  zk_analytics::Sdk::Track("ZkEventLogin", p);
  if (hasUser) {
    ZkTrackerContext& identity = *context_;
    const bool wasLoggedIn = identity.loggedIn;
    identity.vipLevel = info.vipLevel;
    if (!wasLoggedIn || identity.userId.empty()) {
      // Switches the SDK to the login id and marks its records as logged in.
      zk_analytics::Sdk::TrackSignUp(info.userId);
      identity.loggedIn = true;
      identity.userId = info.userId;
      identity.distinctId = info.userId;
      PropertiesNode user;
      user.SetString("zk_user_id", info.userId);
      zk_analytics::Sdk::RegisterSuperProperties(user);
    }
    SaveIdentity(identity);
  }
  FlushNow();
}

void ZkTrackerImpl::trackClick(const ZkEventClick& event, const ZkContextProperties& context) {
  if (event.name.empty()) Fail("trackClick", "zkEventClick.name is empty");
  const std::string clickType = toString(event.clickType);
  PropertiesNode p;
  SetIfSet(p, "zk_aname", event.aname);
  p.SetString("zk_name", event.name);
  p.SetString("zk_click_type", clickType);
  SetIfSet(p, "zk_title", event.title);
  SetIfSet(p, "zk_module", event.module);
  SetIfSet(p, "zk_position", event.position);
  SetIfSet(p, "zk_tab_index", event.tabIndex);
  SetIfSet(p, "zk_tab_name", event.tabName);
  SetIfSet(p, "zk_banner_index", event.bannerIndex);
  SetIfSet(p, "zk_banner_name", event.bannerName);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Click, p);
  zk_analytics::Sdk::Track("ZkEventClick", p);
  CountTwice();
}

void ZkTrackerImpl::trackView(const ZkEventView& event, const ZkContextProperties& context) {
  if (event.name.empty()) Fail("trackView", "zkEventView.name is empty");
  PropertiesNode p;
  SetIfSet(p, "zk_aname", event.aname);
  p.SetString("zk_name", event.name);
  SetIfSet(p, "zk_title", event.title);
  SetIfSet(p, "zk_position", event.position);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::View, p);
  zk_analytics::Sdk::Track("ZkEventView", p);
  CountTwice();
}

void ZkTrackerImpl::trackCashier(const ZkEventCashier& event, const ZkContextProperties& context) {
  if (event.cashierName.empty()) Fail("trackCashier", "zkEventCashier.zk_cashier_name is empty");
  PropertiesNode p;
  p.SetString("zk_cashier_name", event.cashierName);
  SetIfSet(p, "zk_cashier_title", event.cashierTitle);
  SetIfSet(p, "zk_subitem", event.subitem);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Cashier, p);
  zk_analytics::Sdk::Track("ZkEventCashier", p);
  CountTwice();
}

void ZkTrackerImpl::trackShare(const ZkEventShare& event, const ZkContextProperties& context) {
  PropertiesNode p;
  SetIfSet(p, "zk_aname", event.aname);
  SetIfSet(p, "zk_channel", event.channel);
  SetIfSet(p, "zk_position", event.position);
  SetIfSet(p, "zk_shared_name", event.sharedName);
  if (event.result) p.SetString("zk_result", toString(*event.result));
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Share, p);
  zk_analytics::Sdk::Track("ZkEventShare", p);
  CountTwice();
}

void ZkTrackerImpl::trackTask(const ZkEventTask& event, const ZkContextProperties& context) {
  if (event.name.empty()) Fail("trackTask", "zkEventTask.name is empty");
  PropertiesNode p;
  SetIfSet(p, "zk_aname", event.aname);
  p.SetString("zk_task_name", event.name);
  SetIfSet(p, "zk_reason", event.reason);
  SetIfSet(p, "zk_task_elapsed", event.elapsed);
  SetKnownResult(p, "zk_task_result", event.result);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Task, p);
  zk_analytics::Sdk::Track("ZkEventTask", p);
  CountOnce();
}

void ZkTrackerImpl::trackFile(const ZkEventFile& event, const ZkContextProperties& context) {
  if (event.aname.empty()) Fail("trackFile", "zkEventFile.aname is empty");
  PropertiesNode p;
  p.SetString("zk_aname", event.aname);
  SetIfSet(p, "zk_name", event.name);
  if (event.io) p.SetString("zk_io", toString(*event.io));
  SetIfSet(p, "zk_ext", event.ext);
  if (event.size && *event.size > 0) p.SetNumber("zk_size", static_cast<double>(*event.size));
  SetIfSet(p, "zk_duration", event.duration);
  SetIfSet(p, "zk_fps", event.fps);
  SetIfSet(p, "zk_bps", event.bps);
  SetIfSet(p, "zk_width", event.width);
  SetIfSet(p, "zk_height", event.height);
  SetIfSet(p, "zk_depth", event.depth);
  SetKnownResult(p, "zk_result", event.result);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::File, p);
  zk_analytics::Sdk::Track("ZkEventFile", p);
  CountTwice();
}

void ZkTrackerImpl::trackOrder(const ZkEventOrder& event, const ZkContextProperties& context) {
  if (event.suitId.empty()) Fail("trackOrder", "zkEventOrder.zkSuitId is empty");
  if (!event.currency) Fail("trackOrder", "zkEventOrder.zkCurrency is nullptr");
  if (event.originalAmount <= 0) Fail("trackOrder", "zkEventOrder.originalAmount is less than zero");
  if (event.paidAmount <= 0) Fail("trackOrder", "zkEventOrder.originalAmount is less than zero");
  PropertiesNode p;
  SetIfSet(p, "zk_order_id", event.orderId);
  SetIfSet(p, "zk_subitem", event.subitem);
  SetIfSet(p, "zk_sku", event.sku);
  p.SetString("zk_suit_id", event.suitId);
  p.SetString("zk_currency", toString(*event.currency));
  p.SetNumber("zk_original_amount", static_cast<double>(event.originalAmount));
  SetIfSet(p, "zk_voucher_id", event.voucherId);
  p.SetNumber("zk_paid_amount", static_cast<double>(event.paidAmount));
  SetIfSet(p, "zk_cashier_name", event.cashierName);
  SetIfSet(p, "zk_cashier_title", event.cashierTitle);
  SetIfSet(p, "zk_campaign_code", event.campaignCode);
  SetIfPositive(p, "zk_cur_original_amount", event.curOriginalAmount);
  SetIfPositive(p, "zk_cur_paid_amount", event.curPaidAmount);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Order, p);
  zk_analytics::Sdk::Track("ZkEventOrder", p);
  CountTwice();
}

void ZkTrackerImpl::trackPayment(const ZkEventPayment& event, const ZkContextProperties& context) {
  if (event.orderId.empty()) Fail("trackPayment", "zkEventPayment.zkOrderId is empty");
  if (event.paidAmount < 0) {
    Fail("trackPayment", "paidAmount = " + std::to_string(event.paidAmount) + " is invalid");
  }
  if (event.originalAmount < 0) {
    Fail("trackPayment", "originalAmount = " + std::to_string(event.originalAmount) + " is invalid");
  }
  if (!event.result || (*event.result != ZkResult::Success && *event.result != ZkResult::Fail)) {
    Fail("trackPayment", "zkEventPayment.result is invalid");
  }
  if (!event.currency) Fail("trackPayment", "zkEventPayment.zkCurrency is nullptr");
  if (!event.paidPlatform) Fail("trackPayment", "zkEventPayment.paidPlatform is nullptr");
  const std::string platformText = toString(*event.paidPlatform);
  const std::string currencyText = toString(*event.currency);
  PropertiesNode p;
  p.SetString("zk_order_id", event.orderId);
  SetIfSet(p, "zk_subitem", event.subitem);
  SetIfSet(p, "zk_sku", event.sku);
  p.SetString("zk_currency", currencyText);
  p.SetNumber("zk_original_amount", static_cast<double>(event.originalAmount));
  SetIfSet(p, "zk_campaign_code", event.campaignCode);
  SetIfSet(p, "zk_voucher_id", event.voucherId);
  SetIfSet(p, "zk_used_voucher_id", event.usedVoucherId);
  p.SetNumber("zk_paid_amount", static_cast<double>(event.paidAmount));
  SetIfSet(p, "zk_suit_id", event.suitId);
  SetIfSet(p, "zk_cashier_name", event.cashierName);
  SetIfSet(p, "zk_cashier_title", event.cashierTitle);
  p.SetString("zk_paid_platform", platformText);
  p.SetString("zk_result", toString(*event.result));
  if (event.iapType) p.SetString("zk_iap_type", toString(*event.iapType));
  SetIfPositive(p, "zk_cur_original_amount", event.curOriginalAmount);
  SetIfPositive(p, "zk_cur_paid_amount", event.curPaidAmount);
  p.SetBool("$is_first_time", true);
  context.attachTo(ZkEventType::Payment, p);
  zk_analytics::Sdk::Track("ZkEventPayment", p);
  WritePaymentProfile(static_cast<double>(event.paidAmount));
  if (*event.result == ZkResult::Success) {
    context_->vipLevel = 1;
    SaveIdentity(*context_);
  }
  FlushNow();
}

void ZkTrackerImpl::trackUninstall(std::string reason, const ZkContextProperties& context) {
  PropertiesNode p;
  SetIfSet(p, "zk_uninstall_reason", reason);
  context.attachTo(ZkEventType::Uninstall, p);
  zk_analytics::Sdk::Track("ZkEventUninstall", p);
  FlushNow();
}

void ZkTrackerImpl::trackCrash(std::string reason) {
  PropertiesNode p;
  SetIfSet(p, "app_crashed_reason", reason);
  zk_analytics::Sdk::Track("AppCrashed", p);
  FlushNow();
}

void ZkTrackerImpl::trackUpdate(const ZkEventUpdate& event, const ZkContextProperties& context) {
  const std::string op = toString(event.op);
  const std::string result = event.result ? toString(*event.result) : std::string();
  PropertiesNode p;
  p.SetString("zk_update_op", op);
  switch (event.op) {
    case ZkUpdateOp::UpdateCheck:
      p.SetString("zk_update_result", result);
      break;
    case ZkUpdateOp::DownloadEnd:
    case ZkUpdateOp::UpgrateEnd:
      if (result.empty()) Fail("trackUpdate", "Unknown updateResultInfo info");
      p.SetString("zk_update_result", result);
      if (event.op == ZkUpdateOp::UpgrateEnd) p.SetBool("$is_first_time", true);
      if (!event.elapsed) Fail("trackUpdate", "invalid elapsed info");
      p.SetNumber("zk_elapsed", static_cast<double>(*event.elapsed));
      break;
    case ZkUpdateOp::DownloadStart:
    case ZkUpdateOp::UpgrateStart:
      break;
  }
  context.attachTo(ZkEventType::Update, p);
  zk_analytics::Sdk::Track("ZkEventUpdate", p);
  FlushNow();
}

void ZkTrackerImpl::trackAppOpenNotification(const ZkAppOpenNotification* notification,
                                             const ZkContextProperties& context) {
  const char* function = "trackAppOpenNotification";
  if (notification == nullptr) Fail(function, "&appOpenNotification is nullptr");
  const ZkAppOpenNotification& n = *notification;
  if (n.planId.empty()) Fail(function, "planID is emptry");
  if (n.planType.empty()) Fail(function, "planType is emptry");
  if (n.msgTitle.empty()) Fail(function, "msgTitle is emptry");
  PropertiesNode p;
  p.SetString("$sf_msg_title", n.msgTitle);
  p.SetString("$sf_plan_id", n.planId);
  p.SetString("$sf_plan_type", n.planType);
  p.SetBool("$is_first_time", true);
  SetIfSet(p, "$sf_msg_content", n.msgContent);
  SetIfSet(p, "$sf_link_url", n.linkUrl);
  SetIfSet(p, "$sf_audience_id", n.audienceId);
  SetIfSet(p, "$sf_plan_strategy_id", n.planStrategyId);
  SetIfSet(p, "$sf_strategy_unit_id", n.strategyUnitId);
  context.attachTo(ZkEventType::AppOpenNotification, p);
  zk_analytics::Sdk::Track("AppOpenNotification", p);
  CountOnce();
}

void ZkTrackerImpl::WriteFirstVisitProfile() {
  const int64_t now = zk_analytics::NowMs();
  const OsFacts os = QueryOsFacts();
  auto& pending = context_->pendingCount;
  NativeUserTracker::ProfileUserPropertyDateTime("$first_visit_time", now);
  pending += 1;
  NativeUserTracker::ProfileUserPropertyDateTime("zk_first_visit_date", now);
  pending += 1;
  NativeUserTracker::ProfileUserPropertyDateTime("zk_last_visit_date", now);
  pending += 1;
  const std::pair<const char*, std::string> texts[] = {
      {"zk_os", os.name},
      {"zk_os_version", os.versionName},
      {"zk_app_store", appStore_},
      {"zk_app_platform", "Windows"},
      {"zk_last_app_id", appName_},
      {"zk_last_app_version", appVersion_},
      {"$ios_install_source", kInstallSource}};
  for (const auto& [name, value] : texts) {
    NativeUserTracker::ProfileUserPropertyString(name, value);
    pending += 1;
  }
}

void ZkTrackerImpl::WriteVisitProfile() {
  if (context_->userId.empty()) return;
  const int64_t now = zk_analytics::NowMs();
  for (const char* name : {"$first_visit_time", "zk_first_visit_date", "zk_last_visit_date"}) {
    NativeUserTracker::ProfileUserPropertyDateTime(name, now);
    context_->pendingCount += 1;
  }
}

void ZkTrackerImpl::WritePaymentProfile(double paidAmount) {
  const int64_t now = zk_analytics::NowMs();
  auto& pending = context_->pendingCount;
  NativeUserTracker::ProfileUserPropertyNumber("zk_paid_count", int32_t{1});
  pending += 1;
  NativeUserTracker::ProfileUserPropertyNumber("zk_consumption", paidAmount);
  pending += 1;
  NativeUserTracker::ProfileUserPropertyDateTime("zk_first_paid_date", now);
  pending += 1;
  NativeUserTracker::ProfileUserPropertyDateTime("zk_last_paid_date", now);
  pending += 1;
}

}  // namespace zorvik::tracking
