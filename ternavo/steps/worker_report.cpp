#include "ternavo/steps/worker_report.h"
#include <string>

namespace {

constexpr DWORD kBytes = sizeof(unsigned) * apply::kReportWords;

std::wstring BlockName(unsigned long number) { return L"Local\\Ternavo.WorkerReport." + std::to_wstring(number); }

// The block's security: Administrators and this process's user may read and
// write it, nobody else. The system's default would be the user, SYSTEM and
// the logon session only, which shuts out a worker run as another account.
class ReportSecurity {
public:
    ReportSecurity() {
        DWORD size = sizeof(administrators_);
        PSID administrators = administrators_;
        win::Handle token;
        DWORD length = 0;
        PSID user = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()) &&
            GetTokenInformation(token.get(), TokenUser, user_, sizeof(user_), &length))
            user = reinterpret_cast<TOKEN_USER*>(user_)->User.Sid;
        const DWORD rights = FILE_MAP_READ | FILE_MAP_WRITE | READ_CONTROL;
        ok_ = CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
              InitializeAcl(reinterpret_cast<PACL>(acl_), sizeof(acl_), ACL_REVISION) &&
              AddAccessAllowedAce(reinterpret_cast<PACL>(acl_), ACL_REVISION, rights, administrators) &&
              (!user || AddAccessAllowedAce(reinterpret_cast<PACL>(acl_), ACL_REVISION, rights, user)) &&
              InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&descriptor_, TRUE, reinterpret_cast<PACL>(acl_), FALSE);
        attributes_.nLength = sizeof(attributes_);
        attributes_.lpSecurityDescriptor = &descriptor_;
        attributes_.bInheritHandle = FALSE;
    }
    // nullptr when the descriptor could not be made: then no block is made.
    SECURITY_ATTRIBUTES* Attributes() { return ok_ ? &attributes_ : nullptr; }

private:
    alignas(DWORD) BYTE administrators_[SECURITY_MAX_SID_SIZE] = {};
    alignas(void*) BYTE user_[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    alignas(DWORD) BYTE acl_[sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE)] = {};
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ok_ = false;
};

}  // namespace

WorkerReport::WorkerReport() : number_(GetCurrentProcessId()) {
    ReportSecurity security;
    if (!security.Attributes()) return;
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, security.Attributes(), PAGE_READWRITE, 0, kBytes,
                                      BlockName(number_).c_str()));
    if (mapping_ && GetLastError() != ERROR_ALREADY_EXISTS)
        view_ = static_cast<unsigned*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, kBytes));
}

WorkerReport::~WorkerReport() {
    if (view_) UnmapViewOfFile(view_);
}

std::vector<apply::Failure> WorkerReport::Failures() const {
    if (!view_) return {};
    unsigned words[apply::kReportWords];
    CopyMemory(words, view_, kBytes);
    return apply::DecodeFailures(words);
}

void LeaveReport(unsigned long number, const std::vector<apply::Failure>& failures) {
    win::Handle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, BlockName(number).c_str()));
    void* view = mapping ? MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr;
    if (!view) return;
    // Whoever made the block decides its size: nothing is written past it.
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(view, &region, sizeof(region)) >= sizeof(region) && region.RegionSize >= kBytes) {
        unsigned words[apply::kReportWords] = {};
        apply::EncodeFailures(failures, words);
        CopyMemory(view, words, kBytes);
    }
    UnmapViewOfFile(view);
}
