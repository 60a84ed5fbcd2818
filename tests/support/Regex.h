#pragma once
// GCC 12 reports a false maybe-uninitialized inside <regex> in optimised builds,
// at locations in headers other tests include first; include this header
// before anything else in a test that uses std::regex.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
