#include "tracker/ZkTrackerImpl.h"
#include "tracker/ZkTrackerWrapper.h"

namespace zorvik::tracking {

std::shared_ptr<ZkTracker>& zkTracker() {
  static std::shared_ptr<ZkTracker> slot;
  return slot;
}

void createZkTracker(const ZkTrackerConfig& config) {
  try {
    auto tracker = std::make_unique<ZkTrackerImpl>(config);
    try {
      tracker->init();
    } catch (...) {
      // A tracker that failed its start-up still takes calls: they build and
      // check their records and send nothing.
    }
    zkTracker() = std::make_shared<ZkTrackerWrapper>(std::move(tracker));
  } catch (...) {
    // Out of memory before the tracker existed: the installer runs without one.
  }
}

void releaseZkTracker() { zkTracker().reset(); }

}  // namespace zorvik::tracking
