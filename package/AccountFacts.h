#pragma once

// What the children are told about the accounts: whether the user of the
// active console is an administrator account, and whether this installer runs
// with administrator rights.
struct AccountFacts {
  bool consoleUserIsAdmin;
  bool installerIsAdmin;
};

AccountFacts CurrentAccountFacts();
