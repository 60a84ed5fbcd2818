// Wine keeps ACLs but does not enforce them (nor hand them down to new files),
// so what is checked is the folder's DACL read back: exactly SYSTEM and
// Administrators with full control, for what is made inside too, and nothing
// from the parent.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestFiles.h"
#include "utils/ProtectedFolder.h"

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
  bool read = false;
  bool isProtected = false;
  std::vector<Entry> entries;
};

Dacl ReadDacl(const std::wstring& path) {
  Dacl result;
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return result;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  result.read = acl != nullptr;
  result.isProtected = (control & SE_DACL_PROTECTED) != 0;
  for (DWORD i = 0; acl != nullptr && i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(acl, i, &ace)) continue;
    const auto* header = static_cast<ACE_HEADER*>(ace);
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    result.entries.push_back({header->AceType, header->AceFlags, allowed->Mask,
                              WhoIs(const_cast<DWORD*>(&allowed->SidStart))});
  }
  LocalFree(descriptor);
  return result;
}

TEST(ProtectedFolderWin, TheDaclIsExactlySystemAndAdministrators) {
  TestSupport::ScratchFolder root(L"protected");
  const auto folder = Utils::ProtectedFolder::Create(root.Path());
  ASSERT_TRUE(folder);
  const BYTE inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
  const Dacl dacl = ReadDacl(folder->Path());
  ASSERT_TRUE(dacl.read);
  EXPECT_TRUE(dacl.isProtected);
  EXPECT_EQ(dacl.entries, (std::vector<Entry>{{ACCESS_ALLOWED_ACE_TYPE, inherit, FILE_ALL_ACCESS, WinLocalSystemSid},
                                              {ACCESS_ALLOWED_ACE_TYPE, inherit, FILE_ALL_ACCESS,
                                               WinBuiltinAdministratorsSid}}));
}

}  // namespace
