#pragma once

#include <cstdint>

// The id of the first running process whose executable name is exactly
// `exeName` (case-sensitive); 0 when none runs.
uint32_t IsProcessRunning(const wchar_t* exeName);
