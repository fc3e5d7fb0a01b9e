// The box after "Changes failed!": each cause once, and the advice that fits it.
#include <gtest/gtest.h>
#include "ternavo/rules/trouble_text.h"

namespace {

using apply::Failure;
using apply::Refusal;
using apply::Step;
using trouble::Trouble;

std::wstring Reason(unsigned long error) { return L"<" + std::to_wstring(error) + L">"; }

std::wstring Text(const Trouble& t, bool english, bool beforeVista = false) {
    return trouble::TroubleText(t, {english, beforeVista}, Reason);
}

// The part after "What to do:" / "Was tun:".
std::wstring Advice(const std::wstring& text) {
    size_t at = text.find(L"\n\n");
    return at == std::wstring::npos ? L"" : text.substr(at);
}

bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(TroubleText, CopiesWithOneReasonShareALineAndEachReasonIsNamedOnce) {
    Trouble t{{{Step::InstallStarter, 32, 2}, {Step::InstallStarter, 5, 3}, {Step::InstallStarter, 32, 4}}};
    std::wstring en = Text(t, true);
    EXPECT_TRUE(Has(en, L"\n- These copies of ICQ.exe could not be made current: ICQ.exe2, ICQ.exe4: <32>")) << en;
    EXPECT_TRUE(Has(en, L"\n- These copies of ICQ.exe could not be made current: ICQ.exe3: <5>")) << en;
    EXPECT_EQ(en.find(L"<32>"), en.rfind(L"<32>")) << en;
    std::wstring de = Text(t, false);
    EXPECT_TRUE(Has(de, L"\n- Diese Kopien von ICQ.exe konnten nicht erneuert werden: ICQ.exe2, ICQ.exe4: <32>")) << de;
}

TEST(TroubleText, TheAdviceFitsTheCauseInBothLanguages) {
    struct Row {
        const char* cause;
        Trouble trouble;
        const wchar_t* en;
        const wchar_t* de;
    };
    const Row rows[] = {
        {"access denied", {{{Step::InstallStarter, 5, 0}}},
         L"Start Ternavo as administrator and press Start again.", L"Starten Sie Ternavo als Administrator"},
        {"sharing violation", {{{Step::InstallStarter, 32, 3}}},
         L"Close every ICQ 7 and Kestrun that runs and press Start again.",
         L"Schließen Sie jedes laufende ICQ 7 und Kestrun und drücken Sie erneut Start."},
        {"disk full", {{{Step::InstallStarter, 112, 0}}}, L"Make room on the disk and press Start again.",
         L"Schaffen Sie Platz auf dem Laufwerk und drücken Sie erneut Start."},
        {"others may change", {{}, Refusal::OthersMayChange}, L"start Ternavo normally",
         L"Starten Sie Ternavo normal"},
        {"link", {{}, Refusal::Link}, L"by its real path", L"mit seinem wirklichen Pfad"},
        {"not ICQ 7", {{}, Refusal::NotICQ7}, L"Choose the ICQ 7 folder under \"Settings\"",
         L"Wählen Sie den ICQ 7 Ordner unter \"Einstellungen\""},
    };
    for (const Row& r : rows) {
        std::wstring en = Advice(Text(r.trouble, true)), de = Advice(Text(r.trouble, false));
        EXPECT_TRUE(Has(en, r.en)) << r.cause << "\n" << std::string(en.begin(), en.end());
        EXPECT_TRUE(Has(de, r.de)) << r.cause;
        // No advice of another cause.
        for (const Row& other : rows)
            if (&other != &r) EXPECT_FALSE(Has(en, other.en)) << r.cause << " gives the advice for " << other.cause;
    }
    // Before Vista rights come through "Run as…".
    Trouble denied{{{Step::InstallStarter, 5, 0}}};
    EXPECT_TRUE(Has(Advice(Text(denied, true, true)), L"\"Run as…\""));
    EXPECT_FALSE(Has(Advice(Text(denied, true, false)), L"Run as"));
    // The refusal names its own cause, nobody else's.
    std::wstring others = Text({{}, Refusal::OthersMayChange}, true);
    EXPECT_TRUE(Has(others, L"users without administrator rights may change it")) << std::string(others.begin(), others.end());
    EXPECT_FALSE(Has(others, L"link"));
}

TEST(TroubleText, TheRemovalsOwnFailureAndCopiesLeftInUseAreNothingToTellThere) {
    EXPECT_FALSE(trouble::AnythingToTell({{{Step::RemoveStarter, 5, 0}, {Step::RemoveStarter, 5, 3}}}));
    EXPECT_TRUE(trouble::AnythingToTell({{}, Refusal::Link}));
    EXPECT_TRUE(trouble::AnythingToTell({{}, Refusal::None, 1223}));
    EXPECT_TRUE(trouble::AnythingToTell({{{Step::ForbidPro, 2, 0}}}));
}

TEST(TroubleText, CopiesLeftInUseAreNamedInTheirOwnBox) {
    std::vector<Failure> failures{{Step::RemoveStarter, 5, 0}, {Step::RemoveStarter, 5, 3}, {Step::ForbidPro, 2, 0},
                                  {Step::RemoveStarter, 32, 12}};
    EXPECT_EQ(trouble::CopiesLeftText(failures, true),
              L"These copies of ICQ.exe are in use and stayed in the ICQ 7 folder: ICQ.exe3, ICQ.exe12.\n\nClose every "
              L"ICQ 7 that runs and press Start again: then they are removed.");
    EXPECT_TRUE(Has(trouble::CopiesLeftText(failures, false), L": ICQ.exe3, ICQ.exe12.\n\nSchließen Sie"));
    EXPECT_EQ(trouble::CopiesLeftText({{Step::RemoveStarter, 5, 0}}, true), L"");
    EXPECT_TRUE(apply::LeftInUse({Step::RemoveStarter, 5, 3}));
    EXPECT_FALSE(apply::LeftInUse({Step::RemoveStarter, 5, 0}));
    EXPECT_FALSE(apply::LeftInUse({Step::InstallStarter, 5, 3}));
}

}  // namespace
