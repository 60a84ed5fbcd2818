#pragma once
// The tracker: typed business events in, named analytics events out. The
// installer holds one, through the forwarding wrapper that never throws.

#include <memory>
#include <string>

#include "tracker/TrackLogger.h"
#include "tracker/ZkContextProperties.h"
#include "tracker/ZkTypes.h"

namespace zorvik::tracking {

class ZkTracker {
 public:
  virtual ~ZkTracker() = default;
  virtual void trackActivity(const ZkContextProperties& context) = 0;
  virtual void trackLaunch(const ZkContextProperties& context) = 0;
  virtual void trackLogin(const ZkUserInfo& info, bool success, std::string reason,
                          const ZkContextProperties& context) = 0;
  virtual void trackClick(const ZkEventClick& event, const ZkContextProperties& context) = 0;
  virtual void trackView(const ZkEventView& event, const ZkContextProperties& context) = 0;
  virtual void trackCashier(const ZkEventCashier& event, const ZkContextProperties& context) = 0;
  virtual void trackShare(const ZkEventShare& event, const ZkContextProperties& context) = 0;
  virtual void trackTask(const ZkEventTask& event, const ZkContextProperties& context) = 0;
  virtual void trackFile(const ZkEventFile& event, const ZkContextProperties& context) = 0;
  virtual void trackOrder(const ZkEventOrder& event, const ZkContextProperties& context) = 0;
  virtual void trackPayment(const ZkEventPayment& event, const ZkContextProperties& context) = 0;
  virtual void trackUninstall(std::string reason, const ZkContextProperties& context) = 0;
  virtual void trackCrash(std::string reason) = 0;
  virtual void trackUpdate(const ZkEventUpdate& event, const ZkContextProperties& context) = 0;
  virtual void trackAppOpenNotification(const ZkAppOpenNotification* notification,
                                        const ZkContextProperties& context) = 0;
  virtual void setL10nLocale(std::string locale) = 0;
  virtual std::string getPrimaryDistinctId() = 0;
  virtual TrackLogger* getTrackLogger() = 0;
};

struct ZkTrackerConfig {
  std::string appName;
  std::string appVersion;
  std::string appStore;
  std::string dlAppId;
  std::string dlAppVersion;
  std::string logFilePath;  // empty: <data directory><appName>_ZKSLog.txt
  ZkEdition edition = ZkEdition::China;
  std::string serverUrl;    // empty: the default endpoint
  // Where identity, log and unsent records live; empty: the folder "Set.ini"
  // names, else the per-user "ZKLocal" folder. Tools use it to stay apart.
  std::string dataDirectory;
  // A CA bundle to check the endpoint's certificate against (the setting the
  // downloaders use); empty: the system's trust store.
  std::string caBundlePath;
};

// Creates the tracker, runs its start-up (whose failures are swallowed: the
// tracker is installed all the same) and puts it in the global slot.
void createZkTracker(const ZkTrackerConfig& config);
// Empties the global slot; the last reference shuts the tracker down.
void releaseZkTracker();
// The process-wide slot the installer reports through.
std::shared_ptr<ZkTracker>& zkTracker();

}  // namespace zorvik::tracking
