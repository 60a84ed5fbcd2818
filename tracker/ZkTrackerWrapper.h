#pragma once
// Forwards to the real tracker and swallows whatever it throws, so no
// analytics call ever throws into the installer.

#include <memory>

#include "tracker/ZkTracker.h"

namespace zorvik::tracking {

class ZkTrackerWrapper : public ZkTracker {
 public:
  explicit ZkTrackerWrapper(std::unique_ptr<ZkTracker> tracker) : tracker_(std::move(tracker)) {}

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
  TrackLogger* getTrackLogger() override { return nullptr; }

 private:
  template <typename Call>
  void Forward(const char* failure, Call call) noexcept;

  std::unique_ptr<ZkTracker> tracker_;
};

}  // namespace zorvik::tracking
