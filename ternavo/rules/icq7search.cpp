#include "ternavo/rules/icq7search.h"

namespace icq7 {

#define ICQ7_IE L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\"
#define ICQ7_CLSID L"{73C6DCFB-B606-47F3-BDFA-9A4FBF931E37}"

const Candidate kCandidates[kCandidateCount] = {
    {Source::ProgramDir, L"", L""},
    {Source::Fixed, L"C:\\Program Files\\ICQ7\\", L""},
    {Source::Fixed, L"C:\\Program Files\\ICQ7.1\\", L""},
    {Source::Fixed, L"C:\\Program Files\\ICQ7.2\\", L""},
    {Source::Fixed, L"C:\\Program Files\\ICQ7.3\\", L""},
    {Source::Fixed, L"C:\\Program Files\\ICQ7.4\\", L""},
    {Source::Fixed, L"C:\\Program Files (x86)\\ICQ7\\", L""},
    {Source::Fixed, L"C:\\Program Files (x86)\\ICQ7.1\\", L""},
    {Source::Fixed, L"C:\\Program Files (x86)\\ICQ7.2\\", L""},
    {Source::Fixed, L"C:\\Program Files (x86)\\ICQ7.3\\", L""},
    {Source::Fixed, L"C:\\Program Files (x86)\\ICQ7.4\\", L""},
    {Source::Fixed, L"C:\\Programme\\ICQ7\\", L""},
    {Source::Fixed, L"C:\\Programme\\ICQ7.1\\", L""},
    {Source::Fixed, L"C:\\Programme\\ICQ7.2\\", L""},
    {Source::Fixed, L"C:\\Programme\\ICQ7.3\\", L""},
    {Source::Fixed, L"C:\\Programme\\ICQ7.4\\", L""},
    {Source::HKLM, ICQ7_IE L"Extensions\\" ICQ7_CLSID, L"Exec"},
    {Source::HKLM, ICQ7_IE L"Low Rights\\ElevationPolicy\\" ICQ7_CLSID, L"AppName"},
    {Source::HKCR, L"icq\\shell\\open\\command", L""},
    {Source::HKCR, L"icquser\\shell\\open\\command", L""},
    {Source::HKCU, L"Software\\America Online\\AOL Diagnostics\\AOLMaximusICQWin321211", L"ICQ.exe"},
    {Source::HKLM, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{88EB38EF-4D2C-436D-ABD3-56B232674062}",
     L"InstallLocation"},
    {Source::HKLM, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe", L"Path"},
    {Source::HKLM, L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe", L"Path"},
};

#undef ICQ7_IE
#undef ICQ7_CLSID

namespace {

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The last six characters are "ICQ7." and one digit (case-sensitive).
bool EndsWithIcq7Dot(const std::wstring& s) {
    if (s.size() < 6) return false;
    wchar_t digit = s.back();
    return s.compare(s.size() - 6, 5, L"ICQ7.") == 0 && digit >= L'0' && digit <= L'9';
}

}  // namespace

std::wstring CleanCandidate(const std::wstring& raw, int index,
                            const std::function<std::wstring(const std::wstring&)>& longPath) {
    // 1. Command lines quote the program path: the quotes go.
    std::wstring text;
    text.reserve(raw.size());
    for (wchar_t c : raw)
        if (c != L'"') text += c;
    // 2. Short 8.3 names become long ones, so the folder-name tests below see the real names.
    if (longPath) text = longPath(text);
    // 3. The two "Path" values name a folder that may lack its backslash.
    if (index > 21 && !EndsWith(text, L"\\")) text += L'\\';
    // 4. A folder named like an ICQ 7 installation is a folder, not a file to cut off.
    if (EndsWithIcq7Dot(text) || EndsWith(text, L"ICQ7")) text += L'\\';
    // 5. Drop a trailing file name and whatever follows it (arguments).
    size_t slash = text.rfind(L'\\');
    text = slash == std::wstring::npos ? std::wstring() : text.substr(0, slash + 1);
    // 6. Only the empty text can still lack its backslash.
    if (!EndsWith(text, L"\\")) text += L'\\';
    return text;
}

bool IsICQ7VersionText(const std::wstring& version) { return version.compare(0, 2, L"7.") == 0; }

}  // namespace icq7
