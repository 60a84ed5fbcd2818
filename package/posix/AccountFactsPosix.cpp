#include <unistd.h>

#include "package/AccountFacts.h"

AccountFacts CurrentAccountFacts() {
  const bool root = geteuid() == 0;
  return {root, root};
}
