#include "ternavo/steps/folder_security.h"
#include <cstring>
#include <vector>

namespace {

using folder_rights::Who;

// A SID of the NT authority built in place: S-1-5-<parts>.
class NtSid {
public:
    NtSid(std::initializer_list<DWORD> parts) {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        InitializeSid(sid(), &nt, static_cast<BYTE>(parts.size()));
        DWORD i = 0;
        for (DWORD part : parts) *GetSidSubAuthority(sid(), i++) = part;
    }
    PSID sid() { return bytes_; }

private:
    alignas(DWORD) BYTE bytes_[SECURITY_MAX_SID_SIZE] = {};
};

Who WhoIs(PSID sid) {
    static NtSid administrators{SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS};
    static NtSid system{SECURITY_LOCAL_SYSTEM_RID};
    static NtSid powerUsers{SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_POWER_USERS};
    static NtSid trustedInstaller{SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649, 1831038044, 1853292631,
                                  2271478464};
    if (!sid || !IsValidSid(sid)) return Who::Other;
    if (EqualSid(sid, administrators.sid())) return Who::Administrators;
    if (EqualSid(sid, system.sid())) return Who::System;
    if (EqualSid(sid, powerUsers.sid())) return Who::PowerUsers;
    if (EqualSid(sid, trustedInstaller.sid())) return Who::TrustedInstaller;
    static const SID_IDENTIFIER_AUTHORITY creator = SECURITY_CREATOR_SID_AUTHORITY;
    if (memcmp(GetSidIdentifierAuthority(sid), &creator, sizeof(creator)) == 0 && *GetSidSubAuthorityCount(sid) == 1 &&
        *GetSidSubAuthority(sid, 0) == SECURITY_CREATOR_OWNER_RID)
        return Who::CreatorOwner;
    return Who::Other;
}

// Wine keeps no access lists of its own: it makes the owner and the list up
// from the Unix file's mode, with its one user (an administrator) as the owner
// of every file, and enforces Unix's permissions instead. By its answers every
// folder would belong to a user.
bool RunsUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

folder_rights::FolderSecurity SecurityOf(PSECURITY_DESCRIPTOR descriptor) {
    folder_rights::FolderSecurity result{Who::Other, false, {}};
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) result.owner = WhoIs(owner);
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl) return result;
    result.hasDacl = true;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(dacl, i, &entry)) {
            // An entry the system cannot hand out might grant anything.
            result.dacl.push_back({folder_rights::AceType::Allow, false, folder_rights::kGenericAll, Who::Other});
            continue;
        }
        auto* header = static_cast<ACE_HEADER*>(entry);
        // Every kind of entry has its mask right after its header; only the
        // plain ones have the SID right after the mask.
        auto* plain = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        folder_rights::Ace ace{folder_rights::AceType::Allow, (header->AceFlags & INHERIT_ONLY_ACE) != 0, plain->Mask,
                               Who::Other, (header->AceFlags & OBJECT_INHERIT_ACE) != 0};
        switch (header->AceType) {
            case ACCESS_DENIED_ACE_TYPE:
            case ACCESS_DENIED_CALLBACK_ACE_TYPE:
            case ACCESS_DENIED_OBJECT_ACE_TYPE:
            case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
                ace.type = folder_rights::AceType::Deny;
                break;
            case ACCESS_ALLOWED_ACE_TYPE:
            case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
                ace.trustee = WhoIs(&plain->SidStart);
                break;
            default:  // any other entry grants as if to anyone
                break;
        }
        result.dacl.push_back(ace);
    }
    return result;
}

bool OnlyAdministratorsMayChange(HANDLE folder) {
    // Read from the held handle by the kernel itself: the access-list library
    // would load a helper DLL by name, searched for in the program's folder
    // on systems without the loader update.
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    GetKernelObjectSecurity(folder, wanted, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> descriptor(needed);
    if (!GetKernelObjectSecurity(folder, wanted, descriptor.data(), needed, &needed)) return false;
    folder_rights::FolderSecurity security = SecurityOf(descriptor.data());
    // Under Wine what a folder's list says protects nothing and tells nothing:
    // the read above is all that applies there.
    if (RunsUnderWine()) return true;
    return folder_rights::OnlyAdministratorsMayChange(security);
}
