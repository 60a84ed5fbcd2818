#pragma once
// The tracker's enumerations and event records. Optional fields are shared
// pointers, empty when absent; strings are UTF-8.

#include <cstdint>
#include <memory>
#include <string>

namespace zorvik::tracking {

enum class ZkResult : int32_t { Success = 0, Cancelled = 1, Fail = 2, Unknown = 3 };
enum class ZkEdition : int32_t { China = 0, Overseas = 1 };

enum class ZkEventType : int32_t {
  Activity = 0,
  PaLaunchPal = 1,
  Login = 2,
  Click = 3,
  View = 4,
  Cashier = 5,
  Share = 6,
  Task = 7,
  File = 8,
  Order = 9,
  Payment = 10,
  Uninstall = 11,
  Update = 12,
  Crashed = 13,
  AppOpenNotification = 14,
};
inline constexpr int32_t kZkEventTypeCount = 15;

enum class ClickType : int32_t { Button = 0, Banner = 1, Tutorial = 2, File = 3, Others = 4 };
enum class ZkIoType : int32_t { Input = 0, Output = 1 };
enum class ZkCurrency : int32_t { CNY, USD, EUR, HKD, TWD, MOP, SGD, JPY, KRW, INR, GBP };
enum class ZkPaidPlatform : int32_t {
  Alipay, WeChatPay, PayPal, Tenpay, CIECC, GooglePay, HuaweiPay, AppleIAP, Paddle, ChinaUnionPay
};
enum class ZkIapType : int32_t { Consumable, NonConsumable, AutoRenewable, NonRenewable };
enum class ZkUpdateOp : int32_t { UpdateCheck, DownloadStart, DownloadEnd, UpgrateStart, UpgrateEnd };
enum class ZkUpdateResult : int32_t { Success, Cancelled, Timeout, Fail, Latest, Updateable };
enum class ZkUserType : int32_t {
  Unknown, MobilePhone, Email, Weixin, QQ, DeviceId, Baidu, Huawei, Apple, ZorvikUserId, Google,
  Facebook
};

struct ZkEventClick {
  std::string aname;
  std::string name;  // required
  ClickType clickType = ClickType::Button;
  std::string title;
  std::string module;
  std::string position;
  std::shared_ptr<int32_t> tabIndex;
  std::string tabName;
  std::shared_ptr<int32_t> bannerIndex;
  std::string bannerName;
};

struct ZkEventView {
  std::string aname;
  std::string name;  // required
  std::string title;
  std::string position;
};

struct ZkEventCashier {
  std::string cashierName;  // required
  std::string cashierTitle;
  std::string subitem;
};

struct ZkEventShare {
  std::string aname;
  std::string channel;
  std::string position;
  std::string sharedName;
  std::shared_ptr<ZkResult> result;
};

struct ZkEventTask {
  std::string aname;
  std::string name;  // required
  std::string reason;
  std::shared_ptr<float> elapsed;
  std::shared_ptr<ZkResult> result;
};

struct ZkEventFile {
  std::string aname;  // required
  std::string name;
  std::shared_ptr<ZkIoType> io;
  std::string ext;
  std::shared_ptr<float> size;
  std::shared_ptr<int32_t> duration;
  std::shared_ptr<float> fps;
  std::shared_ptr<float> bps;
  std::shared_ptr<int32_t> width;
  std::shared_ptr<int32_t> height;
  std::shared_ptr<int32_t> depth;
  std::shared_ptr<ZkResult> result;
};

struct ZkEventOrder {
  std::string orderId;
  std::string subitem;
  std::string sku;
  std::string suitId;  // required
  std::shared_ptr<ZkCurrency> currency;  // required
  float originalAmount = 0;  // above 0
  std::string voucherId;
  float paidAmount = 0;  // above 0
  std::string cashierName;
  std::string cashierTitle;
  std::shared_ptr<int32_t> campaignCode;
  float curOriginalAmount = 0;
  float curPaidAmount = 0;
};

struct ZkEventPayment {
  std::string orderId;  // required
  std::string subitem;
  std::string sku;
  std::shared_ptr<ZkCurrency> currency;  // required
  float originalAmount = 0;  // not below 0
  std::shared_ptr<int32_t> campaignCode;
  std::string voucherId;
  std::string usedVoucherId;
  float paidAmount = 0;  // not below 0
  std::string suitId;
  std::string cashierName;
  std::string cashierTitle;
  std::shared_ptr<ZkPaidPlatform> paidPlatform;  // required
  std::shared_ptr<ZkResult> result;  // Success or Fail
  std::shared_ptr<ZkIapType> iapType;
  float curOriginalAmount = 0;
  float curPaidAmount = 0;
};

struct ZkEventUpdate {
  ZkUpdateOp op = ZkUpdateOp::UpdateCheck;
  std::shared_ptr<ZkUpdateResult> result;
  std::shared_ptr<float> elapsed;
};

struct ZkAppOpenNotification {
  std::string msgTitle;  // required
  std::string msgContent;
  std::string linkUrl;
  std::string planId;  // required
  std::string audienceId;
  std::string planStrategyId;
  std::string planType;  // required
  std::string strategyUnitId;
};

struct ZkUserInfo {
  std::string userId;
  std::string userName;
  ZkUserType userType = ZkUserType::Unknown;
  std::string nickname;
  std::string portrait;
  std::string mobilePhone;
  std::string email;
  std::string weixin;
  std::string qq;
  std::string did;
  int64_t created = 0;    // seconds since 1970
  int64_t lastLogin = 0;  // seconds
  std::string lastIp;
  int32_t vipLevel = 0;
  int64_t vipEndDate = 0;  // seconds
};

}  // namespace zorvik::tracking
