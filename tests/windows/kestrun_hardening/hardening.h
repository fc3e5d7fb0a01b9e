#pragma once
// Tools of the hardening tests of both programs: what the system reads from a
// settings file (to prove that nothing but the written keys changed), the
// files of a folder, awkward file contents, and a file held open by another
// program so that nobody can write or delete it.
#include <windows.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "tests/windows/support/wt.h"

namespace hard {

// Every section and key as the system reads them: section -> key -> value.
// A section or key that occurs twice is read where the system reads it.
using IniView = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

inline std::vector<std::wstring> ZeroSeparated(const std::vector<wchar_t>& buf, DWORD n) {
    std::vector<std::wstring> items;
    for (size_t at = 0; at < n && buf[at];) {
        std::wstring item(&buf[at]);
        at += item.size() + 1;
        items.push_back(item);
    }
    return items;
}

inline IniView ReadIni(const std::wstring& path) {
    IniView view;
    std::vector<wchar_t> names(1 << 16);
    DWORD n = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    // Room for a line of several megabytes.
    std::vector<wchar_t> lines(4 << 20);
    for (const std::wstring& section : ZeroSeparated(names, n)) {
        DWORD m = GetPrivateProfileSectionW(section.c_str(), lines.data(), static_cast<DWORD>(lines.size()),
                                            path.c_str());
        auto& keys = view[section];
        for (const std::wstring& line : ZeroSeparated(lines, m)) {
            size_t eq = line.find(L'=');
            std::wstring key = line.substr(0, eq);
            if (!keys.count(key)) keys[key] = eq == std::wstring::npos ? L"" : line.substr(eq + 1);
        }
    }
    return view;
}

inline std::string Short(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text.substr(0, 400)) out += c < 128 ? static_cast<char>(c) : '?';
    if (text.size() > 60) out += "...(" + std::to_string(text.size()) + " characters)";
    return out;
}

// Every key of `before` reads the same from `after`, and `after` has no new
// key, apart from the keys of `section` the program was asked to write.
inline void ExpectOnlyWritten(const IniView& before, const IniView& after, const std::wstring& section,
                              const std::set<std::wstring>& written, const std::string& label) {
    auto skip = [&](const std::wstring& s, const std::wstring& k) { return s == section && written.count(k); };
    for (const auto& [s, keys] : before) {
        for (const auto& [k, v] : keys) {
            if (skip(s, k)) continue;
            auto sec = after.find(s);
            bool kept = sec != after.end() && sec->second.count(k) && sec->second.at(k) == v;
            EXPECT_TRUE(kept) << label << ": [" << Short(s) << "] " << Short(k) << " was " << Short(v);
        }
    }
    for (const auto& [s, keys] : after) {
        for (const auto& [k, v] : keys) {
            if (skip(s, k)) continue;
            auto sec = before.find(s);
            EXPECT_TRUE(sec != before.end() && sec->second.count(k))
                << label << ": new key [" << Short(s) << "] " << Short(k) << " = " << Short(v);
        }
    }
}

// Names and contents of the files in a folder.
inline std::map<std::wstring, std::string> FolderFiles(const std::wstring& dir) {
    std::map<std::wstring, std::string> files;
    for (const std::wstring& name : wt::ListFiles(dir)) files[name] = wt::ReadBytes(dir + name);
    return files;
}

// Deterministic bytes of every value, line breaks and zeros included.
inline std::string RandomBytes(size_t n, unsigned seed) {
    std::string out(n, '\0');
    for (char& c : out) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return out;
}

// A text as UTF-16 (little endian) with its byte-order mark.
inline std::string Utf16(const std::wstring& text) {
    std::wstring all = L"\xFEFF" + text;
    return std::string(reinterpret_cast<const char*>(all.data()), all.size() * sizeof(wchar_t));
}

inline std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Another program holding a file open: others may read it, nobody may write,
// rename or delete it while this object lives.
class Held {
public:
    explicit Held(const std::wstring& path)
        : h_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~Held() {
        if (ok()) CloseHandle(h_);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// How a settings file is laid out on disk for one case.
enum class Layout { File, ReadOnly, HeldOpen, Folder };

// Puts `bytes` at `path` in the given layout.
inline void Lay(const std::wstring& path, const std::string& bytes, Layout layout) {
    if (layout == Layout::Folder) {
        CreateDirectoryW(path.c_str(), nullptr);
        return;
    }
    wt::WriteBytes(path, bytes);
    if (layout == Layout::ReadOnly) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

}  // namespace hard
