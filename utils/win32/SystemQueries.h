#pragma once
// What the installer asks Windows before and during a run.

#include <cstdint>
#include <string>

namespace Utils {

// Network List Manager connectivity in the low 16 bits, the reason the machine
// counts as offline shifted left by 16 (1: disconnected, 2: no internet). The
// caller has initialised COM; below 0x10000 means online.
int32_t CheckNetwork();

class HardDiskManager {
 public:
  virtual ~HardDiskManager() = default;
  // `directory` is the drive of the install folder, such as "C:".
  bool CheckFreeSpace(const std::wstring& directory);

  uint64_t FreeBytesAvailable() const { return freeBytesAvailable_; }
  uint64_t TotalBytes() const { return totalBytes_; }
  uint64_t TotalFreeBytes() const { return totalFreeBytes_; }

 private:
  uint64_t freeBytesAvailable_ = 0;
  uint64_t totalBytes_ = 0;
  uint64_t totalFreeBytes_ = 0;
};

bool IsCurrentUserAdmin();
bool GetConsoleUserName(std::wstring& name);
bool IsAdminAccount(const std::wstring& name);

}  // namespace Utils
