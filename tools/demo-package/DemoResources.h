#pragma once

// RCDATA identifiers of what the demo package carries.
inline constexpr int kResourceProduct = 101;
inline constexpr int kResourceUninstaller = 102;
inline constexpr int kResourceMedia = 103;
