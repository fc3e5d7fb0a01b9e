// Fifty Kestrun starts in quick succession against one ICQ 7 folder: one runs
// at a time, the others are refused with the "already running" message, and
// afterwards the counters agree with the copies started and no numbered copy
// is lost or damaged.
#include <gtest/gtest.h>
#include <map>
#include "tests/windows/kestrun_hardening/hardening.h"
#include "tests/windows/kestrun_launch/launch_support.h"

TEST(Load, FiftyStartsRunOneAtATimeAndLoseNothing) {
    constexpr int kStarts = 50;
    launch::CloseStubs();
    launch::Folder f;
    f.Set(L"ShowMe", L"0");
    f.Set(L"MaxNr", L"99");
    f.Set(L"Starts", L"10");
    // Without a marker every launch holds on for its six ticks, so that the
    // starts meet a Kestrun that is still busy.
    f.Stub(L"MarkerDelayMs", L"-1");
    const std::string icq = wt::ReadBytes(f.dir + L"ICQ.exe");

    std::vector<wt::Process> runs;
    for (int i = 0; i < kStarts; ++i) runs.push_back(launch::Start(f));
    std::map<DWORD, size_t> index;
    for (size_t i = 0; i < runs.size(); ++i) {
        ASSERT_TRUE(runs[i].started()) << i;
        index[runs[i].pid()] = i;
    }

    // Each refused Kestrun waits on its message box: read it and press OK.
    std::map<DWORD, launch::Refusal> refused;
    wt::WaitFor([&] {
        for (HWND box : wt::TopWindows(0, L"#32770")) {
            DWORD pid = 0;
            GetWindowThreadProcessId(box, &pid);
            if (!index.count(pid) || refused.count(pid)) continue;
            wt::MessageBoxSeen seen = wt::WaitMessageBox(pid, 2000);
            refused[pid] = launch::Refusal{seen.title, seen.text, seen.hasIcon, false};
            wt::CloseMessageBox(box);
        }
        for (auto& r : runs)
            if (r.Running()) return false;
        return true;
    }, 400000);
    for (size_t i = 0; i < runs.size(); ++i) {
        ASSERT_FALSE(runs[i].Running()) << "start " << i << " did not end";
        EXPECT_EQ(runs[i].ExitCode(), 0u) << "start " << i;
    }
    for (const auto& [pid, r] : refused) {
        EXPECT_EQ(r.title, L"Error");
        EXPECT_EQ(r.text, L"Ternavo Starter is already running.");
        EXPECT_TRUE(r.hasIcon);
    }

    // Every start either launched or was refused; the launches took the
    // numbers one after the other, which they could not have done side by side.
    auto log = f.Log();
    const int launched = static_cast<int>(log.size());
    EXPECT_EQ(launched + static_cast<int>(refused.size()), kStarts);
    EXPECT_GE(launched, 1);
    EXPECT_GE(static_cast<int>(refused.size()), kStarts / 2);
    for (int i = 0; i < launched; ++i)
        EXPECT_EQ(log[i], f.Started(L"ICQ.exe" + std::to_wstring(i + 1), L"")) << i;
    EXPECT_EQ(f.Get(L"LastNr"), std::to_wstring(launched));
    EXPECT_EQ(f.Get(L"Starts"), std::to_wstring(10 + launched));
    EXPECT_EQ(wt::ReadBytes(f.dir + L"ICQ.exe"), icq);
    for (int i = 1; i <= launched; ++i) EXPECT_EQ(wt::ReadBytes(f.dir + L"ICQ.exe" + std::to_wstring(i)), icq) << i;
    EXPECT_FALSE(f.Has(L"ICQ.exe" + std::to_wstring(launched + 1)));
    std::printf("[   LOAD   ] %d starts: %d launched one after the other, %zu refused\n", kStarts, launched,
                refused.size());
    launch::CloseStubs();
}
