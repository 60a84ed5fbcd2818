#include "app/win32/FunnelReports.h"

#include <atomic>
#include <memory>

#include "app/InstallerConfig.h"
#include "tracker/ZkTracker.h"
#include "utils/Encoding.h"

namespace {

using namespace zorvik::tracking;

std::string Utf8(const std::wstring& text) { return Utils::ToNarrow(text, Utils::kCodePageUtf8); }

constexpr char kSilentName[] = "zkc_silent";
std::atomic<bool> g_silent{false};

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

// The tracker's own errors are swallowed by its wrapper; the guard keeps a
// failure building the event (out of memory) from reaching the installer too.
template <typename Track>
void Report(ZkEventType type, const AbMap& ab, Track track) {
  try {
    const std::shared_ptr<ZkTracker> tracker = ActiveTracker();
    if (!tracker) return;
    ZkContextProperties context;
    AddAbGroup(context, ab, type);
    if (g_silent.load()) context.setFlag({type}, kSilentName, true);
    track(*tracker, context);
  } catch (...) {
  }
}

}  // namespace

void MarkReportsSilent() { g_silent.store(true); }

AbMap AbGroupMap(const std::wstring& group) { return AbMap{{L"AB", group}}; }

void ReportTask(const std::wstring& stage, float duration, const AbMap& ab, const std::wstring& reason) {
  Report(ZkEventType::Task, ab, [&](ZkTracker& tracker, const ZkContextProperties& context) {
    ZkEventTask event;
    event.name = Utf8(stage);
    event.reason = Utf8(reason);
    event.elapsed = std::make_shared<float>(duration);
    event.result = std::make_shared<ZkResult>(ZkResult::Success);
    tracker.trackTask(event, context);
  });
}

void ReportClick(const AbMap& ab, const std::wstring& name) {
  Report(ZkEventType::Click, ab, [&](ZkTracker& tracker, const ZkContextProperties& context) {
    ZkEventClick event;
    event.name = Utf8(name);
    event.clickType = ClickType::Button;
    tracker.trackClick(event, context);
  });
}

void ReportView(const AbMap& ab, const std::wstring& name) {
  Report(ZkEventType::View, ab, [&](ZkTracker& tracker, const ZkContextProperties& context) {
    ZkEventView event;
    event.name = Utf8(name);
    tracker.trackView(event, context);
  });
}

void ReportCrash() {
  try {
    const std::shared_ptr<ZkTracker> tracker = ActiveTracker();
    if (tracker) tracker->trackCrash(Utf8(L"崩溃"));
  } catch (...) {
  }
}
