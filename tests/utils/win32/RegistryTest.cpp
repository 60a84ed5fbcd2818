#include <windows.h>

#include <gtest/gtest.h>

#include "utils/win32/Registry.h"
#include "utils/win32/RegistryKey.h"

namespace {

class ProductRegistry : public testing::Test {
 protected:
  void TearDown() override {
    Utils::UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Utils::kProductRegistryKey, 0, KEY_SET_VALUE, key.out()) ==
        ERROR_SUCCESS) {
      RegDeleteValueW(key.get(), kValue);
    }
  }
  static constexpr wchar_t kValue[] = L"UtilsRegistryTest";
};

TEST_F(ProductRegistry, WriteThenReadGivesTheSameText) {
  const std::wstring text = L"C:\\Program Files\\Vellisto 安装";
  ASSERT_TRUE(Utils::WriteProductRegString(kValue, text));
  unsigned long type = 0;
  std::wstring read;
  ASSERT_TRUE(Utils::ReadProductRegString(kValue, type, read));
  EXPECT_EQ(type, static_cast<unsigned long>(REG_SZ));
  EXPECT_EQ(read, text);
}

TEST_F(ProductRegistry, EmptyTextAndMissingValue) {
  ASSERT_TRUE(Utils::WriteProductRegString(kValue, L""));
  unsigned long type = 0;
  std::wstring read = L"stale";
  ASSERT_TRUE(Utils::ReadProductRegString(kValue, type, read));
  EXPECT_EQ(read, L"");
  EXPECT_FALSE(Utils::ReadProductRegString(L"UtilsRegistryTestMissing", type, read));
}

}  // namespace
