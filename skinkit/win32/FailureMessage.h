#pragma once

namespace SkinKit {

// A window description could not be built: tells the user and ends the
// process with exit code 1.
[[noreturn]] void FailToLoadSkin();

}  // namespace SkinKit
