#pragma once
// A key of the current user that everyone may read and nobody may write, as
// an administrator's policy may leave one. It is opened to all again when
// the object goes, so that the test's clean-up can delete it.
#include <windows.h>

namespace kelvane::testing {

class ReadOnlyKey {
 public:
  explicit ReadOnlyKey(const wchar_t* path) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, WRITE_DAC | KEY_READ, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    alignas(DWORD) unsigned char aclBytes[256];
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    SECURITY_DESCRIPTOR readOnly{};
    made_ = AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone) &&
            InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) &&
            AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone) &&
            InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION) &&
            SetSecurityDescriptorDacl(&readOnly, TRUE, acl, FALSE) &&
            RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &readOnly) == ERROR_SUCCESS;
    if (everyone != nullptr) FreeSid(everyone);
  }
  ~ReadOnlyKey() {
    if (key_ == nullptr) return;
    SECURITY_DESCRIPTOR open{};
    InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &open);
    RegCloseKey(key_);
  }
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

  // Whether the key exists and its access list was replaced.
  bool made() const { return made_; }

 private:
  HKEY key_ = nullptr;
  bool made_ = false;
};

}  // namespace kelvane::testing
