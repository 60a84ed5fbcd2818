#pragma once
// The skin package stored in the program's own resources.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "skinkit/SkinPackage.h"

namespace SkinKit {

inline constexpr int kSkinResourceKind = 4;  // a package in the program's resources
inline constexpr int kSkinResourceId = 147;
inline constexpr wchar_t kSkinResourceType[] = L"SKINPKG";

// A copy of the resource's bytes; empty when it cannot be found or loaded, or is empty.
std::vector<uint8_t> LoadSkinResource(HMODULE module, int id);

// Opens the resource as the process-wide package unless it is open already.
PackageState EnsureSkinResource(HMODULE module, int id);

}  // namespace SkinKit
