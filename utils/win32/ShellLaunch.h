#pragma once
// Starting what the user asked for (the installed product, its welcome page)
// as the user, not as the elevated installer: a screen recorder started
// elevated saves into the wrong profile and cannot take drops from Explorer.

#include <string>

namespace Utils {

// Hands `file` to the desktop's own shell, which starts it with its own
// (unelevated) token. Where the desktop offers no shell to ask (Wine), it
// writes a diagnostic line and starts `file` itself. False when neither did.
bool LaunchAsDesktopUser(const std::wstring& file, const std::wstring& folder, int show);

}  // namespace Utils
