#include "tracker/ZkEnumText.h"

#include <iterator>

#include "tracker/ZkException.h"

namespace zorvik::tracking {

namespace {

template <typename Enum, size_t N>
std::string TextOf(Enum value, const char* const (&texts)[N], const char* function,
                   const std::string& unknownPrefix) {
  const auto index = static_cast<int32_t>(value);
  if (index >= 0 && static_cast<size_t>(index) < N) return texts[index];
  ZK_THROW("ZkTrackerImpl", function, unknownPrefix + std::to_string(index) + "]!");
}

}  // namespace

std::string toString(ZkResult value) {
  static const char* const kTexts[] = {"Success", "Cancelled", "Fail", "Unknown"};
  return TextOf(value, kTexts, "toString", "Unknown task result [");
}

std::string toString(ZkEdition value) {
  static const char* const kTexts[] = {"china", "overseas"};
  return TextOf(value, kTexts, "toString", "Unknown edition [");
}

std::string toString(ClickType value) {
  static const char* const kTexts[] = {"Button", "Banner", "Tutorial", "File", "Others"};
  return TextOf(value, kTexts, "toString", "Unknown ClickType [");
}

std::string toString(ZkIoType value) {
  static const char* const kTexts[] = {"Input", "Output"};
  const auto index = static_cast<int32_t>(value);
  if (index == 0 || index == 1) return kTexts[index];
  ZK_THROW("ZkTrackerImpl", "toString", "the io type is invalid");
}

std::string toString(ZkCurrency value) {
  static const char* const kTexts[] = {"CNY", "USD", "EUR", "HKD", "TWD", "MOP",
                                       "SGD", "JPY", "KRW", "INR", "GBP"};
  return TextOf(value, kTexts, "toString", "Unknown currency [");
}

std::string toString(ZkPaidPlatform value) {
  static const char* const kTexts[] = {"Alipay",    "WeChatPay", "PayPal",   "Tenpay",
                                       "CIECC",     "GooglePay", "HuaweiPay", "AppleIAP",
                                       "Paddle",    "ChinaUnionPay"};
  return TextOf(value, kTexts, "toString", "Unknown paid platform [");
}

std::string toString(ZkIapType value) {
  static const char* const kTexts[] = {"Consumable", "NonConsumable", "AutoRenewable",
                                       "NonRenewable"};
  return TextOf(value, kTexts, "toString", "Unknown zkIapType [");
}

std::string toString(ZkUpdateOp value) {
  static const char* const kTexts[] = {"UpdateCheck", "DownloadStart", "DownloadEnd",
                                       "UpgrateStart", "UpgrateEnd"};
  return TextOf(value, kTexts, "toString", "Unknown ZkUpdateOp [");
}

std::string toString(ZkUpdateResult value) {
  static const char* const kTexts[] = {"Success", "Cancelled", "Timeout",
                                       "Fail",    "Latest",    "Updateable"};
  return TextOf(value, kTexts, "toString", "Unknown ZkUpdateResult [");
}

std::string userType(ZkUserType value) {
  static const char* const kTexts[] = {"unknown", "mobilephone", "email",        "weixin",
                                       "qq",      "deviceid",    "baidu",        "huawei",
                                       "apple",   "zorvikuserid", "google",      "facebook"};
  return TextOf(value, kTexts, "userType", "Unknown user type [");
}

}  // namespace zorvik::tracking
