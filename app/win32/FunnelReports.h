#pragma once
// The installer's funnel reports through the tracker in the global slot. Each
// does nothing while analytics is off or no tracker exists, and never throws.

#include <map>
#include <string>

using AbMap = std::map<std::wstring, std::wstring>;

// The A/B map every report carries: "AB" → `group`.
AbMap AbGroupMap(const std::wstring& group);

void ReportTask(const std::wstring& stage, float duration, const AbMap& ab, const std::wstring& reason);
void ReportClick(const AbMap& ab, const std::wstring& name);
void ReportView(const AbMap& ab, const std::wstring& name);
// From now on every report says it came from an unattended install
// ("zkc_silent": true).
void MarkReportsSilent();
// Flushes what is queued, so it goes out before the process ends.
void ReportCrash();
