#pragma once
// Which steps one press of Start takes for the user's choices. Platform-free,
// so that the whole table can be checked natively.
#include <string>
#include <vector>

namespace apply {

enum class Step {
    InstallStarter,
    AllowLite,
    AllowPro,
    AllowICQ6,
    ForbidLite,
    ForbidPro,
    ForbidICQ6,
    RemoveStarter,
};

// How the steps of a press ended: every one done; one or more failed (the
// others still ran); or refused before any change (the ICQ 7 folder is no
// ICQ 7 folder, or it or one of Kestrun's files in it is a reparse point).
enum class Outcome { Succeeded, Failed, Refused };

// Why steps were refused before any change, each with its own advice.
enum class Refusal {
    None,
    Arguments,          // the worker's command line is not one Ternavo writes
    FolderUnavailable,  // the ICQ 7 folder (or one of its files) cannot be opened, or another program holds it
    NotICQ7,            // the folder no longer holds ICQ.exe and MCore.dll of ICQ 7
    Link,               // a junction or link on the way, or a file in it that is a link or has a second name
    OthersMayChange,    // users without administrator rights may change the folder
};

// A step that failed, with the system's reason (its error code). A numbered
// copy of ICQ.exe that the installation could not make current names its number.
struct Failure {
    Step step = Step::InstallStarter;
    unsigned long error = 0;
    int copy = 0;  // 1..99 for a numbered copy, else 0
    bool operator==(const Failure& o) const { return step == o.step && error == o.error && copy == o.copy; }
};

// A numbered copy that the removal could not delete because it runs: the
// removal is done all the same, and the copy goes with the next one.
inline bool LeftInUse(const Failure& f) { return f.step == Step::RemoveStarter && f.copy > 0; }

// How a run of steps ended, and what failed.
struct Report {
    Outcome outcome = Outcome::Succeeded;
    Refusal refusal = Refusal::None;  // with Outcome::Refused
    std::vector<Failure> failures;
};

// The failures as the worker hands them to the window: a count, then step,
// error and copy number per failure, as 32-bit words; at most kMostFailures.
constexpr size_t kMostFailures = 64;
constexpr size_t kReportWords = 1 + 3 * kMostFailures;
void EncodeFailures(const std::vector<Failure>& failures, unsigned (&words)[kReportWords]);
// Whatever the words hold (the window reads memory the worker may have left
// half written or not at all): only well-formed failures come back.
std::vector<Failure> DecodeFailures(const unsigned (&words)[kReportWords]);

// The two entries of the instances list, in their order.
enum class Instances { Allow = 0, OnlyOne = 1 };

// Ternavo's choices as one record: the settings file loads and saves it, the
// windows show and edit it, a press of Start takes it as it is at that moment.
struct Choices {
    bool lite = false;   // ICQ Lite (4.x, 5.x)
    bool pro = false;    // ICQ Pro 2003
    bool icq6 = false;   // ICQ 6 / ICQ Lite 7
    bool icq7 = false;   // ICQ 7
    Instances instances = Instances::Allow;
    std::wstring icq7Folder;  // the settings dialog's folder box
    bool shortcut = true;     // the settings dialog's desktop shortcut box
};

// Whether a step runs for these choices.
bool StepApplies(Step step, const Choices& c);
// The steps for these choices in the order they run: Kestrun's installation
// first, then the older generations, Kestrun's removal last.
std::vector<Step> ApplyPlan(const Choices& c);
// At least one generation is ticked.
inline bool AnyGeneration(const Choices& c) { return c.lite || c.pro || c.icq6 || c.icq7; }
// At least one of the older generations, whose preference lies below HKEY_LOCAL_MACHINE.
inline bool AnyOlderGeneration(const Choices& c) { return c.lite || c.pro || c.icq6; }

}  // namespace apply
