#include "package/AccountFacts.h"

#include <string>

#include "utils/win32/SystemQueries.h"

AccountFacts CurrentAccountFacts() {
  std::wstring console;
  const bool consoleAdmin = Utils::GetConsoleUserName(console) && Utils::IsAdminAccount(console);
  return {consoleAdmin, Utils::IsCurrentUserAdmin()};
}
