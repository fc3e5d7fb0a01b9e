#include "ternavo/rules/drive_paths.h"

namespace drive_paths {

namespace {

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

}  // namespace

std::wstring DriveOf(const std::wstring& path) {
    if (path.size() < 3 || !IsLetter(path[0]) || path[1] != L':' || path[2] != L'\\') return {};
    return path.substr(0, 2);
}

Resolved ThroughSubstitute(const std::wstring& path, const std::wstring& device) {
    const std::wstring prefix = L"\\??\\";
    if (DriveOf(path).empty() || !StartsWith(device, prefix)) return {false, path};
    std::wstring folder = device.substr(prefix.size());
    // A network folder's name begins "UNC\": the same "\\server\share" every session may open.
    if (StartsWith(folder, L"UNC\\") && folder.size() > 4)
        folder = L"\\\\" + folder.substr(4);
    else if (DriveOf(folder + L"\\").empty())
        return {true, {}};  // a volume's or device's own name: nothing a path could start with
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return {true, folder + path.substr(2)};
}

}  // namespace drive_paths
