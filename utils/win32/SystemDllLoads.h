#pragma once
// Where the delay-loaded DLLs come from: System32, by full path, whatever the
// system's search order would say (an old Windows 7 without the search-path
// update looks beside the executable first).

namespace Utils {

// Called once, first thing at start-up, before any delay-loaded call.
void LoadDelayedDllsFromSystem32();

}  // namespace Utils
