// Kestrun's command line and the number conversion behind its switches.
#include <gtest/gtest.h>
#include "kestrun/rules/cmdline.h"
#include "kestrun/rules/numbers.h"

namespace {
StartOptions Parse(const std::wstring& text) {
    StartOptions o;
    o.WaitSeconds = 33;  // stale values from an earlier parse must not survive
    o.IcqParameters = L"stale";
    o.SetModes = true;
    ParseCommandLine(text, o);
    return o;
}
}  // namespace

TEST(Numbers, WholeNumbersSignsAndBlanks) {
    struct Case { const wchar_t* text; int16_t value; } cases[] = {
        {L"0", 0}, {L"7", 7}, {L"-3", -3}, {L"+12", 12}, {L"007", 7}, {L" 42 ", 42},
        {L"32767", 32767}, {L"-32768", -32768}, {L"5.", 5},
    };
    for (const auto& c : cases) {
        int16_t v = 99;
        EXPECT_TRUE(ToInt16(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(Numbers, FractionsRoundToNearestAndHalvesToEven) {
    struct Case { const wchar_t* text; int16_t value; } cases[] = {
        {L"2.5", 2}, {L"3.5", 4}, {L"0.5", 0}, {L"1.5", 2}, {L"-2.5", -2}, {L"-3.5", -4},
        {L"2.51", 3}, {L"2.500001", 3}, {L"2.49999", 2}, {L"2.4", 2}, {L"2.6", 3},
        {L".5", 0}, {L".6", 1}, {L"59.5", 60}, {L"60.5", 60}, {L"-0.4", 0}, {L"32766.5", 32766},
    };
    for (const auto& c : cases) {
        int16_t v = 99;
        EXPECT_TRUE(ToInt16(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(Numbers, NonNumbersAndOverflowLeaveTheValueAlone) {
    for (const wchar_t* text : {L"", L" ", L"-", L"+", L".", L"abc", L"5a", L"a5", L"1 2", L"1.2.3", L"--1",
                                L"1e3", L"0x10", L"1,5", L"32768", L"-32769", L"32767.5", L"-32768.6",
                                L"99999999999999999999999999999", L"\u0661"}) {
        int16_t v = 17;
        EXPECT_FALSE(ToInt16(text, v)) << text;
        EXPECT_EQ(v, 17) << text;
    }
}

TEST(Numbers, ThirtyTwoBitRange) {
    int32_t v = 0;
    EXPECT_TRUE(ToInt32(L"2147483647", v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_TRUE(ToInt32(L"-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_TRUE(ToInt32(L"40000", v));
    EXPECT_EQ(v, 40000);
    v = 5;
    EXPECT_FALSE(ToInt32(L"2147483648", v));
    EXPECT_FALSE(ToInt32(L"12345678901234567890", v));
    EXPECT_EQ(v, 5);
}

TEST(ParseCommandLine, EmptyTextResetsEveryField) {
    StartOptions o = Parse(L"");
    EXPECT_FALSE(o.ForceWindow);
    EXPECT_EQ(o.WaitSeconds, 0);
    EXPECT_EQ(o.InstanceLimit, 0);
    EXPECT_FALSE(o.Minimized);
    EXPECT_FALSE(o.NoTaskbar);
    EXPECT_EQ(o.LoginMode, 0);
    EXPECT_EQ(o.StatusNr, 0);
    EXPECT_EQ(o.IcqParameters, L"");
    EXPECT_FALSE(o.SetModes);
}

TEST(ParseCommandLine, FlagsMatchByPrefix) {
    StartOptions o = Parse(L"-showme -minimized -notaskbar -setmodes");
    EXPECT_TRUE(o.ForceWindow);
    EXPECT_TRUE(o.Minimized);
    EXPECT_TRUE(o.NoTaskbar);
    EXPECT_TRUE(o.SetModes);
    EXPECT_TRUE(Parse(L"-info").ForceWindow);
    EXPECT_TRUE(Parse(L"-informationen").ForceWindow);
    EXPECT_TRUE(Parse(L"-showmeplease").ForceWindow);
    EXPECT_TRUE(Parse(L"-minimizedx").Minimized);
    EXPECT_TRUE(Parse(L"-notaskbar=1").NoTaskbar);
    // Only a token's beginning counts, and switches are matched lower-case.
    EXPECT_FALSE(Parse(L"x-showme").ForceWindow);
    EXPECT_FALSE(Parse(L"-SHOWME").ForceWindow);
    EXPECT_FALSE(Parse(L"showme").ForceWindow);
    // Language switches are not table switches.
    StartOptions lang = Parse(L"-german -english");
    EXPECT_FALSE(lang.ForceWindow);
    EXPECT_EQ(lang.IcqParameters, L"");
}

TEST(ParseCommandLine, TokensAreSplitAtEverySingleBlank) {
    StartOptions o = Parse(L"  -wait=5  -status=2 ");
    EXPECT_EQ(o.WaitSeconds, 5);
    EXPECT_EQ(o.StatusNr, 2);
    // A tab is not a separator: the token then carries it and is no number.
    EXPECT_EQ(Parse(L"-wait=5\t-status=2").WaitSeconds, 0);
    EXPECT_EQ(Parse(L"-wait=5\t-status=2").StatusNr, 0);
}

TEST(ParseCommandLine, WaitIsClampedToAMinute) {
    struct Case { const wchar_t* text; int16_t value; } cases[] = {
        {L"-wait=5", 5}, {L"-wait=60", 60}, {L"-wait=61", 60}, {L"-wait=75", 60}, {L"-wait=-4", 0},
        {L"-wait=", 0}, {L"-wait=abc", 0}, {L"-wait=2.5", 2}, {L"-wait=3.5", 4}, {L"-wait=40000", 0},
        {L"-wait=32767", 60}, {L"-wait=7 -wait=x", 7}, {L"-wait=7 -wait=9", 9}, {L"-wait=90 -wait=x", 60},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text).WaitSeconds, c.value) << c.text;
}

TEST(ParseCommandLine, InstancesAreClampedTo99AndNegativeMeansNotGiven) {
    struct Case { const wchar_t* text; int16_t value; } cases[] = {
        {L"-instances=3", 3}, {L"-instances=99", 99}, {L"-instances=100", 99}, {L"-instances=-2", 0},
        {L"-instances=", 0}, {L"-instances=zwei", 0}, {L"-instances=0", 0}, {L"-instances=4 -instances=q", 4},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text).InstanceLimit, c.value) << c.text;
}

TEST(ParseCommandLine, LoginModeAndStatusClampEvenWithoutANumber) {
    struct Case { const wchar_t* text; int16_t login; int16_t status; } cases[] = {
        {L"-loginmode=2 -status=5", 2, 5},
        {L"-loginmode=9 -status=0", 4, 1},
        {L"-loginmode= -status=", 1, 1},
        {L"-loginmode=x -status=x", 1, 1},
        {L"-loginmode=-7 -status=8", 1, 7},
        {L"-loginmode=3.5 -status=6.5", 4, 6},
        {L"-loginmode=3 -loginmode=zz", 3, 0},
        {L"-status=7", 0, 7},
    };
    for (const auto& c : cases) {
        StartOptions o = Parse(c.text);
        EXPECT_EQ(o.LoginMode, c.login) << c.text;
        EXPECT_EQ(o.StatusNr, c.status) << c.text;
    }
}

TEST(ParseCommandLine, FirstMatchingPrefixDecides) {
    // "-info" comes before everything else in the table.
    StartOptions o = Parse(L"-infowait=5");
    EXPECT_TRUE(o.ForceWindow);
    EXPECT_EQ(o.WaitSeconds, 0);
    // "-toicq:" values are taken verbatim, even when they look like switches.
    StartOptions t = Parse(L"-toicq:-showme");
    EXPECT_FALSE(t.ForceWindow);
    EXPECT_EQ(t.IcqParameters, L"-showme");
    // "-instances=" does not begin with "-info".
    EXPECT_FALSE(Parse(L"-instances=2").ForceWindow);
}

TEST(ParseCommandLine, PassThroughValuesAreJoinedAndRepeatsDropped) {
    EXPECT_EQ(Parse(L"-toicq:a -toicq:b -toicq:a").IcqParameters, L"a b");
    EXPECT_EQ(Parse(L"-toicq:uin=123 -wait=1 -toicq:x=y").IcqParameters, L"uin=123 x=y");
    EXPECT_EQ(Parse(L"-toicq:ab -toicq:a -toicq:b").IcqParameters, L"ab a b");
    EXPECT_EQ(Parse(L"-toicq:a=1 -toicq:a=1").IcqParameters, L"a=1");
    // An empty value passes nothing and adds no stray blank.
    EXPECT_EQ(Parse(L"-toicq: -toicq:a -toicq:").IcqParameters, L"a");
    EXPECT_EQ(Parse(L"-toicq:").IcqParameters, L"");
    // The value is whatever follows the seven characters of the prefix.
    EXPECT_EQ(Parse(L"-toicq::x").IcqParameters, L":x");
}

TEST(Numbers, DecimalTextRoundTrips) {
    EXPECT_EQ(DecimalText(0), L"0");
    EXPECT_EQ(DecimalText(7), L"7");
    EXPECT_EQ(DecimalText(-12), L"-12");
    EXPECT_EQ(DecimalText(2147483647), L"2147483647");
    EXPECT_EQ(DecimalText(INT64_MIN), L"-9223372036854775808");
    for (int32_t v : {1, 9, 10, 99, 100, -1, -32768, 40000, INT32_MIN}) {
        int32_t back = 0;
        EXPECT_TRUE(ToInt32(DecimalText(v), back)) << v;
        EXPECT_EQ(back, v);
    }
}
