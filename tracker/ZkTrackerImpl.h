#pragma once
// The tracker itself: start-up, the event catalogue, identity and flushing.

#include <memory>
#include <string>

#include "analytics/ObjectNode.h"
#include "tracker/TrackLogger.h"
#include "tracker/ZkTracker.h"
#include "tracker/ZkTrackerContext.h"

namespace zorvik::tracking {

inline constexpr char kDefaultServerUrl[] = "https://sa.zorviksoft.com/sa?project=pc";
inline constexpr char kLogFileSuffix[] = "ZKSLog.txt";
// Unsent records between runs, beside the identity in the data directory.
inline constexpr char kStagingFileSuffix[] = "ZKSQueue.txt";

class ZkTrackerImpl : public ZkTracker {
 public:
  explicit ZkTrackerImpl(const ZkTrackerConfig& config);
  // Saves the identity, flushes what is pending, shuts the SDK down.
  ~ZkTrackerImpl() override;
  ZkTrackerImpl(const ZkTrackerImpl&) = delete;
  ZkTrackerImpl& operator=(const ZkTrackerImpl&) = delete;

  // Start-up; throws ZkException at the first step that fails.
  void init();

  void trackActivity(const ZkContextProperties& context) override;
  void trackLaunch(const ZkContextProperties& context) override;
  void trackLogin(const ZkUserInfo& info, bool success, std::string reason,
                  const ZkContextProperties& context) override;
  void trackClick(const ZkEventClick& event, const ZkContextProperties& context) override;
  void trackView(const ZkEventView& event, const ZkContextProperties& context) override;
  void trackCashier(const ZkEventCashier& event, const ZkContextProperties& context) override;
  void trackShare(const ZkEventShare& event, const ZkContextProperties& context) override;
  void trackTask(const ZkEventTask& event, const ZkContextProperties& context) override;
  void trackFile(const ZkEventFile& event, const ZkContextProperties& context) override;
  void trackOrder(const ZkEventOrder& event, const ZkContextProperties& context) override;
  void trackPayment(const ZkEventPayment& event, const ZkContextProperties& context) override;
  void trackUninstall(std::string reason, const ZkContextProperties& context) override;
  void trackCrash(std::string reason) override;
  void trackUpdate(const ZkEventUpdate& event, const ZkContextProperties& context) override;
  void trackAppOpenNotification(const ZkAppOpenNotification* notification,
                                const ZkContextProperties& context) override;
  void setL10nLocale(std::string locale) override;
  std::string getPrimaryDistinctId() override;
  TrackLogger* getTrackLogger() override { return logger_.get(); }

  const ZkTrackerContext& context() const { return *context_; }
  const std::string& serverUrl() const { return serverUrl_; }

 private:
  zk_analytics::PropertiesNode SuperProperties() const;
  zk_analytics::PropertiesNode LocaleProperties() const;
  // Counting after the events that are sent later: +1, wait 1 ms, +1 (or just wait, +1).
  void CountTwice();
  void CountOnce();
  // The events that want to be sent now: count themselves, then up to three flushes.
  void FlushNow();
  void WriteFirstVisitProfile();
  void WriteVisitProfile();
  void WritePaymentProfile(double paidAmount);

  std::string serverUrl_;
  std::string appName_;
  std::string appVersion_;
  std::string appStore_;
  std::string dlAppId_;
  std::string dlAppVersion_;
  std::string caBundlePath_;
  std::string configuredDataDirectory_;
  std::unique_ptr<NativeTrackLogger> logger_;
  ZkEdition edition_;
  std::unique_ptr<ZkTrackerContext> context_;
};

}  // namespace zorvik::tracking
