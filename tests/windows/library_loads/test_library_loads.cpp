// Where the programs load system DLLs from, read from Wine's relay trace of
// the LoadLibrary family and SetDefaultDllDirectories; and that a copy Kestrun
// refreshes reaches the disk before it takes its name. Only the calls made
// from the program's own image count (the system DLLs load others themselves).
// A DLL planted beside the program proves nothing under Wine: Wine's own
// user32 imports version.dll, so a planted one would be loaded whatever our
// code does.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <cwctype>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>
#include "kestrun/window_table.h"
#include "ternavo/window/main_window_table.h"
#include "tests/windows/support/wt.h"

namespace {

struct Call {
    std::string function;  // "LoadLibraryExW", "SetDefaultDllDirectories", ...
    std::string argument;  // the DLL named (unquoted, "\\" as one backslash) or the flags
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string SystemFolder() {
    char buf[MAX_PATH] = "";
    GetSystemDirectoryA(buf, MAX_PATH);
    return Lower(buf) + "\\";
}

// A program started with the relay trace switched on for it alone. Wine
// writes the trace to the standard error of the Wine process, which the test
// runner sends to the file TEST_TRACE_FILE names; lines carry the process id.
class Traced {
public:
    Traced(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) : exe_(exe) {
        // This process's environment with the trace channels of Wine's debug output.
        std::wstring env;
        wchar_t* block = GetEnvironmentStringsW();
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1)
            if (_wcsnicmp(p, L"WINEDEBUG=", 10) != 0) env.append(p).push_back(L'\0');
        FreeEnvironmentStringsW(block);
        env.append(L"WINEDEBUG=+pid,+relay,+loaddll").push_back(L'\0');
        env.push_back(L'\0');

        STARTUPINFOW si{sizeof(si)};
        PROCESS_INFORMATION pi{};
        std::wstring cmd = L"\"" + exe + L"\" " + args;
        if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, env.data(),
                           dir.c_str(), &si, &pi)) {
            CloseHandle(pi.hThread);
            process_ = pi.hProcess;
            pid_ = pi.dwProcessId;
        }
    }
    ~Traced() { End(); if (process_) CloseHandle(process_); }
    DWORD pid() const { return pid_; }
    void End() {
        if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 0);
            WaitForSingleObject(process_, 10000);
        }
    }

    // The file calls made from the program's image, in their order: the
    // function, and its arguments as the trace prints them.
    std::vector<Call> FileCallsFromImage() const {
        static const std::regex call(
            R"re(:Call (?:KERNEL32|KERNELBASE)\.(FlushFileBuffers|MoveFileExW)\((.*)\) ret=([0-9a-f]+))re");
        return CallsFromImage(call);
    }
    // The loads made from the program's image, in their order.
    std::vector<Call> CallsFromImage() const {
        static const std::regex call(
            R"re(:Call KERNEL32\.(LoadLibrary\w*|SetDefaultDllDirectories)\((?:[0-9a-f]+ )?L?"?([^",)]*)"?.*\) ret=([0-9a-f]+))re");
        return CallsFromImage(call);
    }

private:
    std::vector<Call> CallsFromImage(const std::regex& call) const {
        std::istringstream in(wt::ReadBytes(wt::Env(L"TEST_TRACE_FILE")));
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%04lx:", static_cast<unsigned long>(pid_));
        std::string name = Lower(std::string(exe_.begin() + exe_.rfind(L'\\') + 1, exe_.end()));
        static const std::regex loaded(R"re(trace:loaddll:.*Loaded L"(.*)" at ([0-9A-Fa-f]+): native)re");
        unsigned long long base = 0, end = 0;
        std::vector<Call> calls;
        for (std::string line; std::getline(in, line);) {
            if (line.compare(0, 5, prefix) != 0) continue;
            std::smatch m;
            if (!base && std::regex_search(line, m, loaded) && Lower(m[1]).size() >= name.size() &&
                Lower(m[1]).compare(m[1].length() - name.size(), name.size(), name) == 0) {
                base = std::stoull(m[2], nullptr, 16);
                end = base + ImageSize();
            } else if (base && std::regex_search(line, m, call)) {
                unsigned long long ret = std::stoull(m[3], nullptr, 16);
                if (ret < base || ret >= end) continue;
                std::string argument = m[2];
                for (size_t i = argument.find("\\\\"); i != std::string::npos; i = argument.find("\\\\", i + 1))
                    argument.erase(i, 1);
                calls.push_back({m[1], argument});
            }
        }
        return calls;
    }

    unsigned long long ImageSize() const {
        std::string image = wt::ReadBytes(exe_);
        if (image.size() < 0x40) return 0;
        DWORD pe = *reinterpret_cast<const DWORD*>(image.data() + 0x3C);
        return pe + 0x54 <= image.size() ? *reinterpret_cast<const DWORD*>(image.data() + pe + 0x50) : 0;
    }

    std::wstring exe_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Checks what a program loaded itself: the search is limited before anything
// is loaded, and every DLL comes by its full path in the system folder, but a
// DLL the manifest binds side by side (the common controls 6.0), which comes
// from Windows' assembly store by name. Returns the DLLs loaded, by file name.
std::vector<std::string> ExpectSystemFolderOnly(const std::vector<Call>& calls, const char* program) {
    std::vector<std::string> dlls;
    const std::string system = SystemFolder();
    EXPECT_FALSE(calls.empty()) << program << ": no traced call from its image";
    if (calls.empty()) return dlls;
    EXPECT_EQ(calls[0].function + "(" + calls[0].argument + ")", "SetDefaultDllDirectories(00000800)")
        << program << ": the search is limited to the system folder first";
    for (const Call& c : calls) {
        std::cout << "  " << program << ": " << c.function << "(" << c.argument << ")\n";
        if (c.function == "SetDefaultDllDirectories") continue;
        std::string path = Lower(c.argument);
        if (path == "comctl32.dll") {
            dlls.push_back(path);
            continue;
        }
        EXPECT_EQ(path.compare(0, system.size(), system), 0)
            << program << " loads " << c.argument << " by " << c.function << ", not from " << system;
        dlls.push_back(path.substr(path.rfind('\\') + 1));
    }
    return dlls;
}

bool Has(const std::vector<std::string>& dlls, const char* name) {
    for (const std::string& d : dlls)
        if (d == name) return true;
    return false;
}

class LibraryLoads : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        const wchar_t include[] =
            L"kernel32.LoadLibraryA;kernel32.LoadLibraryW;kernel32.LoadLibraryExA;kernel32.LoadLibraryExW;"
            L"kernel32.SetDefaultDllDirectories;kernel32.FlushFileBuffers;kernel32.MoveFileExW;"
            L"kernelbase.FlushFileBuffers;kernelbase.MoveFileExW";
        RegSetValueExW(key, L"RelayInclude", 0, REG_SZ, reinterpret_cast<const BYTE*>(include), sizeof include);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug"); }
};

// Kestrun: its window (the common controls, delay-loaded) and a link (the
// shell, looked up for ShellExecuteW). Ternavo: Start installs Kestrun into
// an ICQ 7 folder (the version library for the folder's test, the shell for
// the desktop, COM for the shortcut).
TEST_F(LibraryLoads, BothProgramsLoadSystemDllsFromTheSystemFolderOnly) {
    ASSERT_TRUE(wt::Exists(wt::Env(L"TEST_TRACE_FILE"))) << "run through CTest, which names the trace file";
    std::wstring kestrunDir = wt::NewDir(L"loads-kestrun");
    wt::InstallStandIn(kestrunDir);
    wt::InstallKestrun(kestrunDir);
    {
        Traced kestrun(kestrunDir + L"Kestrun.exe", L"-showme -english", kestrunDir);
        HWND form = wt::WaitWindow(kestrun.pid(), L"KestrunWindow", 20000);
        ASSERT_TRUE(form);
        HWND link = wt::Child(form, ControlId(kWindowControls, kWindowControlCount, "HelpLink"));
        ASSERT_TRUE(link);
        PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
        Sleep(500);
        kestrun.End();
        std::vector<std::string> dlls = ExpectSystemFolderOnly(kestrun.CallsFromImage(), "Kestrun");
        EXPECT_TRUE(Has(dlls, "comctl32.dll") && Has(dlls, "shell32.dll")) << "Kestrun's loads were not all seen";
    }

    std::wstring icq = wt::NewDir(L"loads-icq7");
    wt::InstallStandIn(icq);
    std::wstring ternavoDir = wt::NewDir(L"loads-ternavo");
    CopyFileW(wt::TernavoExe().c_str(), (ternavoDir + L"Ternavo.exe").c_str(), FALSE);
    wt::IniSet(ternavoDir + L"ternavo.ini", L"Ternavo", L"ICQ7Path", icq);
    {
        Traced ternavo(ternavoDir + L"Ternavo.exe", L"-icq7 -allow -start -english", ternavoDir);
        HWND main = wt::WaitWindow(ternavo.pid(), kMainWindowClass, 30000);
        ASSERT_TRUE(main);
        HWND status = wt::Child(main, ControlId(kMainWindowControls, kMainWindowCount, "StatusLine"));
        EXPECT_TRUE(wt::WaitFor([&] { return wt::Text(status) == L"Changes successful!"; }, 30000));
        ternavo.End();
        std::vector<std::string> dlls = ExpectSystemFolderOnly(ternavo.CallsFromImage(), "Ternavo");
        EXPECT_TRUE(Has(dlls, "version.dll") && Has(dlls, "shell32.dll") && Has(dlls, "ole32.dll"))
            << "Ternavo's loads were not all seen";
    }
}

// A stale copy that Kestrun refreshes is written to a file of another name,
// flushed to the disk, and only then moved into the copy's place, the move
// written through: after a power cut no copy of the right size and time lacks
// its bytes.
TEST_F(LibraryLoads, KestrunFlushesARefreshedCopyBeforeItTakesItsName) {
    ASSERT_TRUE(wt::Exists(wt::Env(L"TEST_TRACE_FILE"))) << "run through CTest, which names the trace file";
    std::wstring dir = wt::NewDir(L"flush-kestrun");
    wt::InstallStandIn(dir);
    wt::InstallKestrun(dir);
    for (int nr = 1; nr <= 5; ++nr) wt::WriteBytes(dir + L"ICQ.exe" + std::to_wstring(nr), "stale");
    wt::IniSet(dir + L"kestrun.ini", L"Kestrun", L"ShowMe", L"0");  // straight to the launch
    Traced kestrun(dir + L"Kestrun.exe", L"", dir);
    ASSERT_TRUE(wt::WaitFor([&] {
        for (int nr = 1; nr <= 5; ++nr)
            if (wt::ReadBytes(dir + L"ICQ.exe" + std::to_wstring(nr)) == wt::ReadBytes(dir + L"ICQ.exe")) return true;
        return false;
    }, 20000)) << "no copy was refreshed";
    Sleep(500);
    kestrun.End();
    for (HWND stub : wt::TopWindows(0, L"IcqStubWindow")) PostMessageW(stub, WM_CLOSE, 0, 0);

    bool flushed = false, moved = false;
    for (const Call& c : kestrun.FileCallsFromImage()) {
        std::cout << "  Kestrun: " << c.function << "(" << c.argument << ")\n";
        if (c.function == "FlushFileBuffers") flushed = true;
        if (c.function != "MoveFileExW" || c.argument.find("ICQ.exe") == std::string::npos) continue;
        moved = true;
        EXPECT_TRUE(flushed) << "moved into place unflushed: " << c.argument;
        EXPECT_NE(c.argument.find(",00000009"), std::string::npos) << "replace, written through: " << c.argument;
        flushed = false;
    }
    EXPECT_TRUE(moved) << "the refreshed copy was not moved into its place";
}

}  // namespace
