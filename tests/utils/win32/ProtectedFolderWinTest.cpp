// Wine does not enforce ACLs, so what is checked is the DACL read back:
// exactly SYSTEM and Administrators with full control, handed down to what is
// made inside, and nothing from the parent.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "utils/win32/AdministratorsOnly.h"

namespace {

struct Entry {
  BYTE type;
  BYTE flags;
  ACCESS_MASK mask;
  WELL_KNOWN_SID_TYPE who;
  bool operator==(const Entry& other) const {
    return type == other.type && flags == other.flags && mask == other.mask && who == other.who;
  }
};

void PrintTo(const Entry& e, std::ostream* out) {
  *out << "{type " << int(e.type) << ", flags " << int(e.flags) << ", mask " << std::hex << e.mask << std::dec
       << ", sid " << e.who << "}";
}

WELL_KNOWN_SID_TYPE WhoIs(PSID sid) {
  for (WELL_KNOWN_SID_TYPE type : {WinLocalSystemSid, WinBuiltinAdministratorsSid}) {
    BYTE known[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof known;
    if (CreateWellKnownSid(type, nullptr, known, &size) && EqualSid(sid, known)) return type;
  }
  return WinNullSid;  // anyone else
}

struct Dacl {
  bool isProtected = false;
  std::vector<Entry> entries;
};

Dacl ReadDacl(PSECURITY_DESCRIPTOR descriptor) {
  Dacl result;
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL acl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) || !present || acl == nullptr) {
    return result;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  result.isProtected = (control & SE_DACL_PROTECTED) != 0;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(acl, i, &ace)) continue;
    const auto* header = static_cast<ACE_HEADER*>(ace);
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    result.entries.push_back({header->AceType, header->AceFlags, allowed->Mask,
                              WhoIs(const_cast<DWORD*>(&allowed->SidStart))});
  }
  return result;
}

// Upstream Wine keeps no DACL on files (it maps one onto the Unix mode), so
// what is read back is the descriptor the folder is made with.
TEST(ProtectedFolderWin, TheDaclIsExactlySystemAndAdministrators) {
  const Utils::LocalMemory descriptor = Utils::AdministratorsOnlyDescriptor();
  ASSERT_TRUE(descriptor);
  const BYTE inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
  const Dacl dacl = ReadDacl(descriptor.get());
  EXPECT_TRUE(dacl.isProtected);
  EXPECT_EQ(dacl.entries, (std::vector<Entry>{{ACCESS_ALLOWED_ACE_TYPE, inherit, FILE_ALL_ACCESS, WinLocalSystemSid},
                                              {ACCESS_ALLOWED_ACE_TYPE, inherit, FILE_ALL_ACCESS,
                                               WinBuiltinAdministratorsSid}}));
  // No owner or group of its own: the folder gets the elevated creator's
  // default owner, the Administrators group.
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  ASSERT_TRUE(GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted));
  EXPECT_EQ(owner, nullptr);
}

}  // namespace
