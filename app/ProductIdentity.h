#pragma once
// Who the installer installs: the names every part of it uses for the product.

inline constexpr wchar_t kDisplayName[] = L"Vellisto";
inline constexpr wchar_t kProductFolderName[] = L"Quorvane";
inline constexpr wchar_t kProductExeName[] = L"Quorvane.exe";
