// Kestrun's window from the keyboard alone and through a screen reader's ears
// (all four tabs in both languages), its links beside their texts, and the way back to a hidden window:
// Shift held while Kestrun starts.
#include <gtest/gtest.h>
#include "tests/windows/kestrun_window/window_support.h"
#include "tests/windows/support/reader.h"

using kw::Folder;
using kw::Window;

TEST(KeyboardAndReader, EveryTabInBothLanguagesIsNamedKeyedAndTabbedInTheOrderOfTheTable) {
    Folder f;
    for (const wchar_t* language : {L"-german", L"-english"}) {
        std::string lang = language[1] == L'e' ? "English" : "German";
        Window w(f, std::wstring(L"-showme ") + language);
        ASSERT_NE(w.form(), nullptr) << lang;
        for (int page = 0; page < 4; ++page) {
            std::string where = lang + " tab " + std::to_string(page + 1);
            w.ClickTab(page);
            ASSERT_EQ(w.ShownPage(), page) << where;
            wt::ExpectNamesAndAccessKeys(w.form(), kWindowControls, kWindowControlCount, where);
            wt::ExpectTabOrderOfTable(w.form(), kWindowControls, kWindowControlCount, where);
            wt::ExpectLinksBesideTheirTexts(w.form(), kWindowControls, kWindowControlCount, kWindowSentences,
                                            std::size(kWindowSentences), ScreenDpi(), where);
        }
    }
}

namespace {

// A key held down as the system reports it to every program, until released.
class HeldKey {
public:
    explicit HeldKey(WORD vk) : vk_(vk) { Send(0); }
    ~HeldKey() { Release(); }
    void Release() {
        if (held_) Send(KEYEVENTF_KEYUP);
        held_ = false;
    }

private:
    void Send(DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk_;
        in.ki.dwFlags = flags;
        SendInput(1, &in, sizeof in);
        Sleep(50);
    }
    WORD vk_;
    bool held_ = true;
};

}  // namespace

TEST(ShiftAtStart, ShowsTheHiddenWindowWhateverTheSettingsSayAndTheNotesTabTellsSo) {
    Folder f;
    f.Set(L"ShowMe", L"0");  // "Do not show this window again" was ticked
    {
        HeldKey shift(VK_SHIFT);
        ASSERT_LT(GetAsyncKeyState(VK_SHIFT), 0) << "the system does not report Shift as held";
        Window w(f, L"");
        shift.Release();
        ASSERT_NE(w.form(), nullptr) << "started with Shift held, Kestrun shows no window";
        EXPECT_TRUE(IsWindowVisible(w.form()));
        EXPECT_TRUE(w.On("DontShowAgain")) << "the setting itself stays as it was";
        EXPECT_TRUE(f.IcqLog().empty()) << "nothing is launched while the window shows";
        EXPECT_EQ(w.ShownPage(), 0);
        EXPECT_TRUE(w.Visible("ShiftHint"));
        EXPECT_EQ(w.Text("ShiftHint"), kWindowControls[ControlIndex(kWindowControls, kWindowControlCount, "ShiftHint")].en);
    }
    EXPECT_EQ(f.Get(L"ShowMe"), L"0");
    kw::CloseStandIns();
}
