#include "ternavo/rules/trouble_text.h"
#include <algorithm>
#include "common/rules/copyrule.h"

namespace trouble {

namespace {

// The system's error codes whose advice differs from the rest.
constexpr unsigned long kAccessDenied = 5;        // ERROR_ACCESS_DENIED
constexpr unsigned long kSharingViolation = 32;   // ERROR_SHARING_VIOLATION
constexpr unsigned long kLockViolation = 33;      // ERROR_LOCK_VIOLATION
constexpr unsigned long kHandleDiskFull = 39;     // ERROR_HANDLE_DISK_FULL
constexpr unsigned long kDiskFull = 112;          // ERROR_DISK_FULL
constexpr unsigned long kUserMappedFile = 1224;   // ERROR_USER_MAPPED_FILE (a running program's file)

// Each advice at most once, in this order.
enum class Advice { Administrator, CloseIcq, MakeRoom, TryAgain, OlderGeneration, ChooseFolder, RealPath, Normally };

Advice AdviceForFileError(unsigned long error) {
    switch (error) {
        case kAccessDenied: return Advice::Administrator;
        case kSharingViolation: case kLockViolation: case kUserMappedFile: return Advice::CloseIcq;
        case kDiskFull: case kHandleDiskFull: return Advice::MakeRoom;
        default: return Advice::TryAgain;
    }
}

const wchar_t* GenerationName(apply::Step step) {
    switch (step) {
        case apply::Step::AllowLite: case apply::Step::ForbidLite: return L"ICQ Lite (4.x, 5.x)";
        case apply::Step::AllowPro: case apply::Step::ForbidPro: return L"ICQ Pro 2003";
        default: return L"ICQ 6 / ICQ Lite 7";
    }
}

struct Texts {
    const wchar_t* en;
    const wchar_t* de;
};

const Texts& RefusalText(apply::Refusal r) {
    static const Texts kTexts[] = {
        {L"", L""},
        {L"\n- The step with administrator rights was started with orders it does not take.",
         L"\n- Der Schritt mit Administratorrechten wurde mit Anweisungen gestartet, die er nicht annimmt."},
        {L"\n- The ICQ 7 folder or one of its files could not be opened, or another program holds it.",
         L"\n- Der ICQ 7 Ordner oder eine seiner Dateien konnte nicht geöffnet werden, oder ein anderes Programm hält "
         L"ihn."},
        {L"\n- The folder no longer holds ICQ 7.", L"\n- Der Ordner enthält kein ICQ 7 mehr."},
        {L"\n- The ICQ 7 folder was refused before anything changed: it is reached through a link or junction, or one "
         L"of the files in it is a link or has a second name.",
         L"\n- Der ICQ 7 Ordner wurde abgelehnt, bevor sich etwas änderte: Er wird über eine Verknüpfung oder "
         L"Verbindung erreicht, oder eine der Dateien darin ist eine Verknüpfung oder hat einen zweiten Namen."},
        {L"\n- The ICQ 7 folder was refused before anything changed: users without administrator rights may change "
         L"it.",
         L"\n- Der ICQ 7 Ordner wurde abgelehnt, bevor sich etwas änderte: Benutzer ohne Administratorrechte dürfen "
         L"ihn ändern."},
    };
    return kTexts[static_cast<int>(r)];
}

Advice AdviceForRefusal(apply::Refusal r) {
    switch (r) {
        case apply::Refusal::FolderUnavailable: return Advice::CloseIcq;
        case apply::Refusal::NotICQ7: return Advice::ChooseFolder;
        case apply::Refusal::Link: return Advice::RealPath;
        case apply::Refusal::OthersMayChange: return Advice::Normally;
        default: return Advice::TryAgain;
    }
}

std::wstring AdviceText(Advice a, const Audience& au) {
    const bool en = au.english;
    switch (a) {
        case Advice::Administrator:
            if (au.beforeVista)
                return en ? L"\n- Start Ternavo as administrator (right-click Ternavo.exe, \"Run as…\", an "
                            L"administrator's account) and press Start again."
                          : L"\n- Starten Sie Ternavo als Administrator (Rechtsklick auf Ternavo.exe, \"Ausführen "
                            L"als…\", das Konto eines Administrators) und drücken Sie erneut Start.";
            return en ? L"\n- Start Ternavo as administrator and press Start again."
                      : L"\n- Starten Sie Ternavo als Administrator und drücken Sie erneut Start.";
        case Advice::CloseIcq:
            return en ? L"\n- Close every ICQ 7 and Kestrun that runs and press Start again."
                      : L"\n- Schließen Sie jedes laufende ICQ 7 und Kestrun und drücken Sie erneut Start.";
        case Advice::MakeRoom:
            return en ? L"\n- Make room on the disk and press Start again."
                      : L"\n- Schaffen Sie Platz auf dem Laufwerk und drücken Sie erneut Start.";
        case Advice::TryAgain:
            return en ? L"\n- Close every ICQ 7 and Kestrun that runs, make room on the disk if it is full, and press "
                        L"Start again."
                      : L"\n- Schließen Sie jedes laufende ICQ 7 und Kestrun, schaffen Sie Platz auf dem Laufwerk, "
                        L"falls es voll ist, und drücken Sie erneut Start.";
        case Advice::OlderGeneration:
            return en ? L"\n- \"Only one instance\" needs an installed ICQ of that generation. Otherwise start Ternavo "
                        L"as administrator and press Start again."
                      : L"\n- \"Nur eine Instanz\" braucht ein installiertes ICQ dieser Generation. Sonst starten Sie "
                        L"Ternavo als Administrator und drücken erneut Start.";
        case Advice::ChooseFolder:
            return en ? L"\n- Choose the ICQ 7 folder under \"Settings\" and press Start again."
                      : L"\n- Wählen Sie den ICQ 7 Ordner unter \"Einstellungen\" und drücken Sie erneut Start.";
        case Advice::RealPath:
            return en ? L"\n- Choose the ICQ 7 folder by its real path under \"Settings\"; a file in it that is a link "
                        L"or has a second name has to go first. Then press Start again."
                      : L"\n- Wählen Sie den ICQ 7 Ordner unter \"Einstellungen\" mit seinem wirklichen Pfad; eine "
                        L"Datei darin, die eine Verknüpfung ist oder einen zweiten Namen hat, muss zuerst weg. Dann "
                        L"drücken Sie erneut Start.";
        case Advice::Normally:
            return en ? L"\n- Such a folder needs no administrator: start Ternavo normally, from an account that may "
                        L"write in the ICQ 7 folder, and press Start again."
                      : L"\n- Ein solcher Ordner braucht keinen Administrator: Starten Sie Ternavo normal, mit einem "
                        L"Konto, das in den ICQ 7 Ordner schreiben darf, und drücken Sie erneut Start.";
    }
    return {};
}

}  // namespace

bool AnythingToTell(const Trouble& t) {
    if (t.refusal != apply::Refusal::None || t.rightsError != 0) return true;
    return std::any_of(t.failures.begin(), t.failures.end(),
                       [](const apply::Failure& f) { return f.step != apply::Step::RemoveStarter; });
}

std::wstring CopiesLeftText(const std::vector<apply::Failure>& failures, bool english) {
    std::wstring copies;
    for (const apply::Failure& f : failures)
        if (apply::LeftInUse(f)) copies += (copies.empty() ? L"" : L", ") + CopyNameFor(f.copy);
    if (copies.empty()) return {};
    return english ? L"These copies of ICQ.exe are in use and stayed in the ICQ 7 folder: " + copies +
                         L".\n\nClose every ICQ 7 that runs and press Start again: then they are removed."
                   : L"Diese Kopien von ICQ.exe sind in Gebrauch und blieben im ICQ 7 Ordner: " + copies +
                         L".\n\nSchließen Sie jedes laufende ICQ 7 und drücken Sie erneut Start: Dann werden sie "
                         L"entfernt.";
}

std::wstring TroubleText(const Trouble& t, const Audience& au, const ReasonText& reason) {
    const bool en = au.english;
    std::wstring text = en ? L"Start could not do everything:\n" : L"Start konnte nicht alles ausführen:\n";
    std::vector<Advice> advice;
    auto advise = [&advice](Advice a) {
        if (std::find(advice.begin(), advice.end(), a) == advice.end()) advice.push_back(a);
    };
    // The copies that failed for one reason, in the order of their first failure.
    std::vector<std::pair<unsigned long, std::wstring>> copies;
    for (const apply::Failure& f : t.failures) {
        if (f.step == apply::Step::RemoveStarter) continue;  // its own message says so already
        if (f.step == apply::Step::InstallStarter && f.copy > 0) {
            auto same = std::find_if(copies.begin(), copies.end(), [&](const auto& c) { return c.first == f.error; });
            if (same == copies.end()) copies.push_back({f.error, CopyNameFor(f.copy)});
            else same->second += L", " + CopyNameFor(f.copy);
            advise(AdviceForFileError(f.error));
        } else if (f.step == apply::Step::InstallStarter) {
            text += (en ? L"\n- Kestrun.exe could not be written into the ICQ 7 folder: "
                        : L"\n- Kestrun.exe konnte nicht in den ICQ 7 Ordner geschrieben werden: ") + reason(f.error);
            advise(AdviceForFileError(f.error));
        } else {
            text += L"\n- " + std::wstring(GenerationName(f.step)) +
                    (en ? L": the setting in the registry could not be written: "
                        : L": die Einstellung in der Registrierung konnte nicht geschrieben werden: ") + reason(f.error);
            advise(Advice::OlderGeneration);
        }
    }
    for (const auto& c : copies)
        text += (en ? L"\n- These copies of ICQ.exe could not be made current: "
                    : L"\n- Diese Kopien von ICQ.exe konnten nicht erneuert werden: ") + c.second + L": " + reason(c.first);
    if (t.refusal != apply::Refusal::None) {
        const Texts& r = RefusalText(t.refusal);
        text += en ? r.en : r.de;
        advise(AdviceForRefusal(t.refusal));
    }
    if (t.rightsError != 0) {
        text += (en ? L"\n- Ternavo could not be started with administrator rights: "
                    : L"\n- Ternavo konnte nicht mit Administratorrechten gestartet werden: ") + reason(t.rightsError);
        advise(Advice::OlderGeneration);
    }
    text += en ? L"\n\nWhat to do:" : L"\n\nWas tun:";
    std::sort(advice.begin(), advice.end());
    for (Advice a : advice) text += AdviceText(a, au);
    return text;
}

}  // namespace trouble
