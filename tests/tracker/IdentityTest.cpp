#include "tests/support/Regex.h"  // first: see there

#include <gtest/gtest.h>

#include <string>

#include "analytics/Sdk.h"
#include "tests/tracker/TrackerEnv.h"
#include "tracker/Identity.h"
#include "tracker/Platform.h"
#include "tracker/ProfileFile.h"
#include "tracker/ZkTrackerImpl.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"

namespace {

using namespace zorvik::tracking;

std::string Base(const std::string& ini, const char* key) { return profile::ReadString(ini, "Base", key); }

class Identity : public testing::Test {
 protected:
  // One run of the tracker: start-up and shutdown.
  std::string Run(const std::string& url, const std::function<void(ZkTrackerImpl&)>& during = {}) {
    testing::internal::CaptureStderr();
    std::string ini;
    {
      ZkTrackerImpl tracker(env_.Config(url));
      tracker.init();
      ini = tracker.context().identityIniPath;
      if (during) during(tracker);
    }
    testing::internal::GetCapturedStderr();
    return ini;
  }
  TestSupport::TrackerEnv env_;
};

TEST_F(Identity, FirstRunWritesOneGuidAsBothIdsNotLoggedIn) {
  const std::string ini = Run(TestSupport::kClosedPortUrl);
  EXPECT_EQ(ini, env_.DataDirectory() + env_.AppName() + "_ZKSConfigure.ini");
  const std::string id = Base(ini, "DistinctId");
  EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"))) << id;
  EXPECT_EQ(Base(ini, "PrimaryDistinctId"), id);
  EXPECT_EQ(Base(ini, "UserId"), "");
  EXPECT_EQ(Base(ini, "UserVipLevel"), "0");
  EXPECT_EQ(Base(ini, "URL"), TestSupport::kClosedPortUrl);
  EXPECT_EQ(Base(ini, "isLogined"), "NG");
  EXPECT_EQ(profile::ReadString(ini, "UninstallInfo", "AppStore"), "QuorvaneInstaller.exe");
  EXPECT_EQ(profile::ReadString(ini, "UninstallInfo", "AppName"), env_.AppName());
  EXPECT_EQ(profile::ReadString(ini, "UninstallInfo", "AppVersion"), "1.7.9");
}

TEST_F(Identity, ASecondRunKeepsTheIdsAndAnotherServerStartsOverFromThePrimaryId) {
  const std::string url = TestSupport::kClosedPortUrl;
  const std::string ini = Run(url);
  const std::string id = Base(ini, "DistinctId");
  std::string sdkId;
  Run(url, [&](ZkTrackerImpl&) { sdkId = zk_analytics::Sdk::DistinctId(); });
  EXPECT_EQ(sdkId, id);
  EXPECT_EQ(Base(ini, "DistinctId"), id);

  profile::WriteString(ini, "Base", "UserId", "user-7");
  profile::WriteString(ini, "Base", "DistinctId", "user-7");
  profile::WriteString(ini, "Base", "isLogined", "OK");
  bool loginId = false;
  Run(url, [&](ZkTrackerImpl&) {
    sdkId = zk_analytics::Sdk::DistinctId();
    loginId = zk_analytics::Sdk::IsLoginId();
  });
  EXPECT_EQ(sdkId, "user-7");
  EXPECT_TRUE(loginId);

  Run("http://127.0.0.1:9/other?project=pc");
  EXPECT_EQ(Base(ini, "UserId"), "");
  EXPECT_EQ(Base(ini, "isLogined"), "NG");
  EXPECT_EQ(Base(ini, "DistinctId"), id);
  EXPECT_EQ(Base(ini, "URL"), "http://127.0.0.1:9/other?project=pc");
}

TEST_F(Identity, LowerCaseOkIsNotLoggedIn) {
  const std::string ini = Run(TestSupport::kClosedPortUrl);
  profile::WriteString(ini, "Base", "UserId", "user-7");
  profile::WriteString(ini, "Base", "isLogined", "ok");
  bool loggedIn = true;
  Run(TestSupport::kClosedPortUrl, [&](ZkTrackerImpl& t) { loggedIn = t.context().loggedIn; });
  EXPECT_FALSE(loggedIn);
  EXPECT_EQ(Base(ini, "isLogined"), "NG");
}

TEST_F(Identity, LoginSwitchesToTheUserAndASuccessfulPaymentMakesAVip) {
  std::string ini;
  std::vector<std::string> records;
  ini = Run(TestSupport::kClosedPortUrl, [&](ZkTrackerImpl& t) {
    ZkUserInfo user;
    user.userId = "user-9";
    user.userType = ZkUserType::Email;
    user.vipLevel = 3;
    t.trackLogin(user, true, "", ZkContextProperties());
    EXPECT_EQ(Base(t.context().identityIniPath, "UserVipLevel"), "3");
    ZkEventPayment failed;
    failed.orderId = "o";
    failed.currency = std::make_shared<ZkCurrency>(ZkCurrency::EUR);
    failed.paidPlatform = std::make_shared<ZkPaidPlatform>(ZkPaidPlatform::Alipay);
    failed.result = std::make_shared<ZkResult>(ZkResult::Fail);
    t.trackPayment(failed, ZkContextProperties());
    EXPECT_EQ(Base(t.context().identityIniPath, "UserVipLevel"), "3");
    ZkEventPayment paid = failed;
    paid.result = std::make_shared<ZkResult>(ZkResult::Success);
    t.trackPayment(paid, ZkContextProperties());
    records = zk_analytics::Sdk::QueuedRecords();
  });
  EXPECT_EQ(Base(ini, "UserId"), "user-9");
  EXPECT_EQ(Base(ini, "DistinctId"), "user-9");
  EXPECT_NE(Base(ini, "PrimaryDistinctId"), "user-9");
  EXPECT_EQ(Base(ini, "isLogined"), "OK");
  EXPECT_EQ(Base(ini, "UserVipLevel"), "1");
  std::string all;
  for (const std::string& r : records) all += r + "\n";
  EXPECT_NE(all.find("\"distinct_id\":\"user-9\",\"event\":\"$SignUp\""), std::string::npos) << all;
  EXPECT_NE(all.find("\"zk_type\":\"email\""), std::string::npos);
  const size_t payment = all.find("\"event\":\"ZkEventPayment\"");
  ASSERT_NE(payment, std::string::npos);
  const std::string paymentRecord = all.substr(payment, all.find('\n', payment) - payment);
  EXPECT_NE(paymentRecord.find("\"$is_login_id\":true"), std::string::npos);
  EXPECT_NE(paymentRecord.find("\"zk_user_id\":\"user-9\""), std::string::npos);
}

// "/" for every separator: what a hand-written Set.ini may hold on Windows.
std::string Slashed(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

struct SetIniCase {
  std::string configured;
  char separator;
  std::string iniPath;
  std::string dataDirectory;
};

TEST(IdentityPathsFromSetIni, FollowTheConfiguredPathWithTheFinalSeparator) {
  TestSupport::ScratchFolder exe(L"exe");
  const std::string folder = Utils::ToNarrow(exe.Path(), Utils::kCodePageAnsi);
  const char sep = platform::PathSeparator();
  const std::string target = folder + "data" + sep + "app" + sep + "id.ini";
  const std::vector<SetIniCase> cases = {
      {target, sep, target, folder + "data" + sep + "app" + sep},
      {Slashed(target), sep, target, folder + "data" + sep + "app" + sep},
      {"no-separator.ini", sep, "", ""}};
  for (const SetIniCase& c : cases) {
    TestSupport::WriteFile(exe / L"Set.ini", "[Install]\r\nZKAnalyticsIni=" + c.configured + "\r\n");
    const IdentityPaths paths = ResolveIdentityPaths(folder, "App", folder + "base", c.separator);
    if (c.iniPath.empty()) {
      // Without a separator the default place is used.
      EXPECT_EQ(paths.iniPath, folder + "base" + c.separator + "ZKLocal" + c.separator + "App" +
                                   c.separator + "App_ZKSConfigure.ini");
    } else {
      EXPECT_EQ(paths.iniPath, c.iniPath);
      EXPECT_EQ(paths.dataDirectory, c.dataDirectory);
    }
  }
  EXPECT_TRUE(Utils::PathExists(Utils::ToWide(folder + "data" + sep + "app", Utils::kCodePageAnsi)));
}

}  // namespace
