#include "ternavo/steps/worker_report.h"
#include <string>

namespace {

constexpr DWORD kBytes = sizeof(unsigned) * apply::kReportWords;

std::wstring BlockName(unsigned long number) { return L"Local\\Ternavo.WorkerReport." + std::to_wstring(number); }

}  // namespace

WorkerReport::WorkerReport() : number_(GetCurrentProcessId()) {
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBytes,
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
