#pragma once
// The console lines of an unattended install: one per stage and one each time
// the progress passes another tenth.

#include <optional>
#include <string>

class SilentProgress {
 public:
  // The line for a bar now at `percent`, when it passed a tenth not yet shown.
  std::optional<std::wstring> Advance(int percent);
  // The line for a status code that starts or ends a stage.
  static std::optional<std::wstring> StageLine(int code);

 private:
  int shownTenths_ = 0;
};
