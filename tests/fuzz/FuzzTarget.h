#pragma once
// The entry every fuzz target defines, as fuzzing engines call it.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
