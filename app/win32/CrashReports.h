#pragma once
// A crash is reported before the process goes: the funnel task "崩溃退出" and
// the crash record, whose upload flushes what is queued.

// Once, at start-up: structured exceptions nobody handles and C++ exceptions
// that reach std::terminate are both reported.
void InstallCrashReports();
