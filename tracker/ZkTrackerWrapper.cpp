#include "tracker/ZkTrackerWrapper.h"

#include <iostream>

namespace zorvik::tracking {

template <typename Call>
void ZkTrackerWrapper::Forward(const char* failure, Call call) noexcept {
  if (!tracker_) return;
  try {
    call(*tracker_);
  } catch (...) {
    try {
      if (tracker_->getTrackLogger() != nullptr) std::cout << failure << std::endl;
    } catch (...) {
      // Standard output is gone: nothing left to tell.
    }
  }
}

void ZkTrackerWrapper::trackActivity(const ZkContextProperties& context) {
  Forward("Failed to trackActivity", [&](ZkTracker& t) { t.trackActivity(context); });
}

void ZkTrackerWrapper::trackLaunch(const ZkContextProperties& context) {
  Forward("Failed to trackLaunch", [&](ZkTracker& t) { t.trackLaunch(context); });
}

void ZkTrackerWrapper::trackLogin(const ZkUserInfo& info, bool success, std::string reason,
                                  const ZkContextProperties& context) {
  Forward("Failed to trackLogin",
          [&](ZkTracker& t) { t.trackLogin(info, success, std::move(reason), context); });
}

void ZkTrackerWrapper::trackClick(const ZkEventClick& event, const ZkContextProperties& context) {
  Forward("Failed to trackClick", [&](ZkTracker& t) { t.trackClick(event, context); });
}

void ZkTrackerWrapper::trackView(const ZkEventView& event, const ZkContextProperties& context) {
  Forward("Failed to trackView", [&](ZkTracker& t) { t.trackView(event, context); });
}

void ZkTrackerWrapper::trackCashier(const ZkEventCashier& event, const ZkContextProperties& context) {
  Forward("Failed to trackCashier", [&](ZkTracker& t) { t.trackCashier(event, context); });
}

void ZkTrackerWrapper::trackShare(const ZkEventShare& event, const ZkContextProperties& context) {
  Forward("Failed to trackShare", [&](ZkTracker& t) { t.trackShare(event, context); });
}

void ZkTrackerWrapper::trackTask(const ZkEventTask& event, const ZkContextProperties& context) {
  Forward("Failed to trackTask", [&](ZkTracker& t) { t.trackTask(event, context); });
}

void ZkTrackerWrapper::trackFile(const ZkEventFile& event, const ZkContextProperties& context) {
  Forward("Failed to trackFile", [&](ZkTracker& t) { t.trackFile(event, context); });
}

void ZkTrackerWrapper::trackOrder(const ZkEventOrder& event, const ZkContextProperties& context) {
  Forward("Failed to trackOrder", [&](ZkTracker& t) { t.trackOrder(event, context); });
}

void ZkTrackerWrapper::trackPayment(const ZkEventPayment& event, const ZkContextProperties& context) {
  Forward("Failed to trackPayment", [&](ZkTracker& t) { t.trackPayment(event, context); });
}

void ZkTrackerWrapper::trackUninstall(std::string reason, const ZkContextProperties& context) {
  Forward("Failed to trackUninstall",
          [&](ZkTracker& t) { t.trackUninstall(std::move(reason), context); });
}

void ZkTrackerWrapper::trackCrash(std::string reason) {
  Forward("Failed to trackCrash", [&](ZkTracker& t) { t.trackCrash(std::move(reason)); });
}

void ZkTrackerWrapper::trackUpdate(const ZkEventUpdate& event, const ZkContextProperties& context) {
  Forward("Failed to trackUpdate", [&](ZkTracker& t) { t.trackUpdate(event, context); });
}

void ZkTrackerWrapper::trackAppOpenNotification(const ZkAppOpenNotification* notification,
                                                const ZkContextProperties& context) {
  Forward("Failed to trackAppOpenNotification",
          [&](ZkTracker& t) { t.trackAppOpenNotification(notification, context); });
}

void ZkTrackerWrapper::setL10nLocale(std::string locale) {
  // Silent on failure: only the track calls have a failure line.
  if (!tracker_) return;
  try {
    tracker_->setL10nLocale(std::move(locale));
  } catch (...) {
  }
}

std::string ZkTrackerWrapper::getPrimaryDistinctId() {
  if (!tracker_) return {};
  try {
    return tracker_->getPrimaryDistinctId();
  } catch (...) {
    return {};
  }
}

}  // namespace zorvik::tracking
