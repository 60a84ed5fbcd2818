#include "app/win32/FunnelReports.h"

#include <memory>

#include "app/InstallerConfig.h"
#include "tracker/ZkTracker.h"
#include "utils/Encoding.h"

namespace {

using namespace zorvik::tracking;

std::string Utf8(const std::wstring& text) { return Utils::ToNarrow(text, Utils::kCodePageUtf8); }

std::shared_ptr<ZkTracker> ActiveTracker() {
  if (!TheInstallerConfig().IsEnableAppAnalytics) return nullptr;
  return zkTracker();
}

// The A/B group goes with the event as its "zkc_ab" context property.
void AddAbGroup(ZkContextProperties& context, const AbMap& ab, ZkEventType type) {
  const auto group = ab.find(L"AB");
  if (group != ab.end()) {
    const std::string value = Utf8(group->second);
    if (ZkContextProperties::isValidABValue(value)) context.setProperty({type}, value);
  }
}

}  // namespace

AbMap AbGroupMap(const std::wstring& group) { return AbMap{{L"AB", group}}; }

// The tracker's own errors are swallowed by its wrapper; these guards keep a
// failure building the event (out of memory) from reaching the installer too.
void ReportTask(const std::wstring& stage, float duration, const AbMap& ab, const std::wstring& reason) {
  try {
    const std::shared_ptr<ZkTracker> tracker = ActiveTracker();
    if (!tracker) return;
    ZkEventTask event;
    event.name = Utf8(stage);
    event.reason = Utf8(reason);
    event.elapsed = std::make_shared<float>(duration);
    event.result = std::make_shared<ZkResult>(ZkResult::Success);
    ZkContextProperties context;
    AddAbGroup(context, ab, ZkEventType::Task);
    tracker->trackTask(event, context);
  } catch (...) {
  }
}

void ReportClick(const AbMap& ab, const std::wstring& name) {
  try {
    const std::shared_ptr<ZkTracker> tracker = ActiveTracker();
    if (!tracker) return;
    ZkEventClick event;
    event.name = Utf8(name);
    event.clickType = ClickType::Button;
    ZkContextProperties context;
    AddAbGroup(context, ab, ZkEventType::Click);
    tracker->trackClick(event, context);
  } catch (...) {
  }
}

void ReportView(const AbMap& ab, const std::wstring& name) {
  try {
    const std::shared_ptr<ZkTracker> tracker = ActiveTracker();
    if (!tracker) return;
    ZkEventView event;
    event.name = Utf8(name);
    ZkContextProperties context;
    AddAbGroup(context, ab, ZkEventType::View);
    tracker->trackView(event, context);
  } catch (...) {
  }
}

void ReportCrash() {
  try {
    const std::shared_ptr<ZkTracker> tracker = ActiveTracker();
    if (tracker) tracker->trackCrash(Utf8(L"崩溃"));
  } catch (...) {
  }
}
