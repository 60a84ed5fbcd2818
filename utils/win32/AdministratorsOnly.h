#pragma once
// The security descriptor run folders are made with: a DACL of full control
// for SYSTEM and Administrators, handed down to everything made inside, that
// inherits nothing from the parent (whose rules let users in).

#include <memory>

namespace Utils {

struct LocalFreeDeleter {
  void operator()(void* memory) const;
};
using LocalMemory = std::unique_ptr<void, LocalFreeDeleter>;

// Null when it cannot be built.
LocalMemory AdministratorsOnlyDescriptor();

}  // namespace Utils
