// kestrun.ini through the window's controls: what LoadSettings shows for the
// stored values, and what the Save button writes back.
#include <windows.h>
#include <gtest/gtest.h>
#include "kestrun/window_table.h"
#include "tests/windows/kestrun_launch/launch_support.h"

using launch::Folder;

namespace {

// Kestrun started with its window, for one look at the controls.
class ShownKestrun {
public:
    explicit ShownKestrun(const Folder& f) : process_(launch::Start(f, L"-showme")) {
        form_ = wt::WaitWindow(process_.pid(), L"KestrunWindow", 20000);
    }
    ~ShownKestrun() {
        if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
        process_.WaitExit(10000);
    }
    HWND form() const { return form_; }
    HWND Get(const char* name) const { return wt::Child(form_, ControlId(kWindowControls, kWindowControlCount, name)); }
    bool On(const char* name) const { return wt::IsChecked(Get(name)); }
    int StatusItem() const { return static_cast<int>(SendMessageW(Get("StatusList"), CB_GETCURSEL, 0, 0)) + 1; }
    int LoginOption() const {
        int selected = -1, count = 0;
        for (const char* n : {"LoginOption(0)", "LoginOption(1)", "LoginOption(2)", "LoginOption(3)"}) {
            if (On(n)) selected = count;
            count += On(n) ? 100 : 1;  // more than one selected shows up as a big count
        }
        return count == 103 ? selected : -count;
    }
    // Toggles a check box twice (which marks the window changed) and saves.
    void Save() const {
        wt::Click(Get("StartMinimized"));
        wt::Click(Get("StartMinimized"));
        HWND save = Get("SaveButton");
        wt::WaitFor([&] { return IsWindowEnabled(save) != FALSE; }, 5000);
        wt::Click(save);
        wt::WaitFor([&] { return IsWindowEnabled(save) == FALSE; }, 5000);
    }

private:
    wt::Process process_;
    HWND form_ = nullptr;
};

}  // namespace

TEST(Settings, NoFileShowsTheDefaultsAndSavesThemAll) {
    Folder f;
    ShownKestrun k(f);
    ASSERT_NE(k.form(), nullptr);
    EXPECT_EQ(wt::Text(k.Get("MaxInstances")), L"5");
    for (const char* c : {"DontShowAgain", "StartMinimized", "NoTaskbarButton", "OnlyWithSetModes"}) EXPECT_FALSE(k.On(c)) << c;
    EXPECT_EQ(k.LoginOption(), 3);
    EXPECT_EQ(k.StatusItem(), 1);
    EXPECT_FALSE(IsWindowEnabled(k.Get("SaveButton")));
    k.Save();
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"MaxNr", L"5"},     {L"ShowMe", L"1"},      {L"Minimized", L"0"}, {L"NoTaskbar", L"0"},
        {L"LoginMode", L"4"}, {L"LoginStatus", L"1"}, {L"SetMode", L"0"},
    };
    for (const auto& e : expected) EXPECT_EQ(f.Get(e.first), e.second) << e.first;
    EXPECT_EQ(f.Get(L"LastNr"), L"");
    EXPECT_EQ(f.Get(L"Starts"), L"");
}

TEST(Settings, InvalidValuesAreShownCorrectedAndOnlySavingWritesThem) {
    Folder f;
    const std::pair<const wchar_t*, const wchar_t*> stored[] = {
        {L"MaxNr", L"150"},   {L"ShowMe", L"00"},    {L"Minimized", L"yes"}, {L"NoTaskbar", L"1"},
        {L"LoginMode", L"7"}, {L"LoginStatus", L"8"}, {L"SetMode", L"1"},    {L"LastNr", L"3"},
        {L"Starts", L"9"},    {L"NoInfo", L"2"},      {L"Language", L"German"},
    };
    for (const auto& s : stored) f.Set(s.first, s.second);
    std::string before = wt::ReadBytes(f.Ini());
    ShownKestrun k(f);
    ASSERT_NE(k.form(), nullptr);
    EXPECT_EQ(wt::Text(k.Get("MaxInstances")), L"99");
    EXPECT_FALSE(k.On("DontShowAgain"));  // "00" is not "0"
    EXPECT_FALSE(k.On("StartMinimized"));
    EXPECT_TRUE(k.On("NoTaskbarButton"));
    EXPECT_TRUE(k.On("OnlyWithSetModes"));
    EXPECT_EQ(k.LoginOption(), 3);
    EXPECT_EQ(k.StatusItem(), 1);
    EXPECT_EQ(wt::ReadBytes(f.Ini()), before);  // loading writes nothing back

    k.Save();
    const std::pair<const wchar_t*, const wchar_t*> saved[] = {
        {L"MaxNr", L"99"},    {L"ShowMe", L"1"},     {L"Minimized", L"0"}, {L"NoTaskbar", L"1"},
        {L"LoginMode", L"4"}, {L"LoginStatus", L"1"}, {L"SetMode", L"1"},  {L"LastNr", L"3"},
        {L"Starts", L"9"},    {L"NoInfo", L"2"},      {L"Language", L"German"},
    };
    for (const auto& s : saved) EXPECT_EQ(f.Get(s.first), s.second) << s.first;
}

TEST(Settings, StoredChoicesAreShownAndKeptBySaving) {
    Folder f;
    f.Set(L"MaxNr", L"0");
    f.Set(L"ShowMe", L"0");
    f.Set(L"Minimized", L"1");
    f.Set(L"LoginMode", L"2");
    f.Set(L"LoginStatus", L"6");
    ShownKestrun k(f);  // "-showme" shows the window despite ShowMe = 0
    ASSERT_NE(k.form(), nullptr);
    EXPECT_EQ(wt::Text(k.Get("MaxInstances")), L"0");
    EXPECT_TRUE(k.On("DontShowAgain"));
    EXPECT_TRUE(k.On("StartMinimized"));
    EXPECT_FALSE(k.On("NoTaskbarButton"));
    EXPECT_FALSE(k.On("OnlyWithSetModes"));
    EXPECT_EQ(k.LoginOption(), 1);
    EXPECT_EQ(k.StatusItem(), 6);
    k.Save();
    EXPECT_EQ(f.Get(L"MaxNr"), L"5");  // shown as "0", saved as 5
    EXPECT_EQ(f.Get(L"ShowMe"), L"0");
    EXPECT_EQ(f.Get(L"Minimized"), L"1");
    EXPECT_EQ(f.Get(L"LoginMode"), L"2");
    EXPECT_EQ(f.Get(L"LoginStatus"), L"6");
    EXPECT_TRUE(f.Log().empty());
}
