// Kestrun's command line and the number conversion behind its switches.
#include <gtest/gtest.h>
#include "kestrun/rules/cmdline.h"
#include "common/rules/numbers.h"

TEST(Numbers, HalvesRoundToEvenAndNonNumbersLeaveTheValueAlone) {
    struct Case { const wchar_t* text; bool ok; int16_t value; } cases[] = {
        {L"7", true, 7}, {L"-3", true, -3}, {L"+12", true, 12}, {L" 42 ", true, 42}, {L"5.", true, 5},
        {L"32767", true, 32767}, {L"-32768", true, -32768},
        {L"2.5", true, 2}, {L"3.5", true, 4}, {L"0.5", true, 0}, {L"-2.5", true, -2}, {L"-3.5", true, -4},
        {L"2.500001", true, 3}, {L"2.49999", true, 2}, {L".6", true, 1}, {L"32766.5", true, 32766},
        {L"", false, 17}, {L"-", false, 17}, {L".", false, 17}, {L"5a", false, 17}, {L"1 2", false, 17},
        {L"1.2.3", false, 17}, {L"1e3", false, 17}, {L"0x10", false, 17}, {L"1,5", false, 17},
        {L"32768", false, 17}, {L"32767.5", false, 17}, {L"-32768.6", false, 17},
        {L"99999999999999999999999999", false, 17}, {L"\u0661", false, 17},
    };
    for (const auto& c : cases) {
        int16_t v = 17;
        EXPECT_EQ(ToInt16(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    int32_t w = 5;
    EXPECT_TRUE(ToInt32(L"-2147483648", w));
    EXPECT_EQ(w, INT32_MIN);
    EXPECT_FALSE(ToInt32(L"2147483648", w));
    EXPECT_EQ(w, INT32_MIN);
    for (int64_t v : {int64_t{0}, int64_t{-12}, int64_t{2147483647}, INT64_MIN})
        EXPECT_EQ(DecimalText(v), std::to_wstring(v));
}

TEST(ParseCommandLine, SwitchesNumbersClampsAndPassThrough) {
    struct Case {
        const wchar_t* text;
        bool force; int16_t wait, instances; bool minimized, noTaskbar; int16_t login, status;
        const wchar_t* params; bool setModes;
    } cases[] = {
        {L"", false, 0, 0, false, false, 0, 0, L"", false},
        {L"-showme -minimized -notaskbar -setmodes", true, 0, 0, true, true, 0, 0, L"", true},
        // Only the beginning of a token counts; the text arrives lower-cased.
        {L"-informationen -minimizedx -notaskbar=1", true, 0, 0, true, true, 0, 0, L"", false},
        {L"x-showme -SHOWME -german -english", false, 0, 0, false, false, 0, 0, L"", false},
        // Split at every single blank; a tab is part of a token.
        {L"  -wait=5  -status=2 ", false, 5, 0, false, false, 0, 2, L"", false},
        {L"-wait=5\t-status=2", false, 0, 0, false, false, 0, 0, L"", false},
        {L"-wait=75 -instances=100", false, 60, 99, false, false, 0, 0, L"", false},
        {L"-wait=-4 -instances=-2", false, 0, 0, false, false, 0, 0, L"", false},
        {L"-wait=2.5 -instances=3.5", false, 2, 4, false, false, 0, 0, L"", false},
        {L"-wait=40000 -instances=zwei", false, 0, 0, false, false, 0, 0, L"", false},
        // A failed conversion keeps the earlier value, and the clamp runs anyway.
        {L"-wait=90 -wait=x -instances=4 -instances=", false, 60, 4, false, false, 0, 0, L"", false},
        {L"-loginmode=9 -status=0", false, 0, 0, false, false, 4, 1, L"", false},
        {L"-loginmode= -status=", false, 0, 0, false, false, 1, 1, L"", false},
        {L"-loginmode=3 -loginmode=zz -status=8", false, 0, 0, false, false, 3, 7, L"", false},
        // The first matching prefix decides: "-info" before "-wait=", "-toicq:" values verbatim.
        {L"-infowait=5 -toicq:-showme", true, 0, 0, false, false, 0, 0, L"-showme", false},
        {L"-toicq:a -toicq:b -toicq:a -toicq:ab", false, 0, 0, false, false, 0, 0, L"a b ab", false},
        {L"-toicq: -toicq:uin=1 -toicq: -toicq::x", false, 0, 0, false, false, 0, 0, L"uin=1 :x", false},
    };
    for (const auto& c : cases) {
        StartOptions o;
        o.WaitSeconds = 33;  // nothing of an earlier parse survives
        o.IcqParameters = L"stale";
        o.SetModes = true;
        ParseCommandLine(c.text, o);
        EXPECT_EQ(o.ForceWindow, c.force) << c.text;
        EXPECT_EQ(o.WaitSeconds, c.wait) << c.text;
        EXPECT_EQ(o.InstanceLimit, c.instances) << c.text;
        EXPECT_EQ(o.Minimized, c.minimized) << c.text;
        EXPECT_EQ(o.NoTaskbar, c.noTaskbar) << c.text;
        EXPECT_EQ(o.LoginMode, c.login) << c.text;
        EXPECT_EQ(o.StatusNr, c.status) << c.text;
        EXPECT_EQ(o.IcqParameters, c.params) << c.text;
        EXPECT_EQ(o.SetModes, c.setModes) << c.text;
    }
}
