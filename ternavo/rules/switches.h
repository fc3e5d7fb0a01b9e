#pragma once
// Ternavo's command line. The window's switches besides the language (which
// keeps its own rule, see ChooseEnglish): the ICQ generations to tick, the
// instances choice and an immediate Start. And the worker's: the steps that
// need administrator rights, handed to a copy of Ternavo started "as
// administrator", and what its exit code means. Platform-free.
#include <string>
#include <vector>
#include "ternavo/rules/applyplan.h"

namespace startup {

struct Switches {
    apply::Choices choices;         // what the switches below name
    bool generationsGiven = false;  // "-lite", "-pro", "-icq6" or "-icq7": exactly these boxes are ticked
    bool instancesGiven = false;    // "-allow" or "-onlyone"; the last one given counts
    bool start = false;             // "-start": Start is pressed once the window is shown
};

// Reads the argument text: switches are whole words between blanks or tabs,
// in any letter case; words it does not know are passed over.
Switches ReadSwitches(const std::wstring& arguments);

// From Vista (major version 6) on, user account control runs Ternavo without
// administrator rights unless it is started "as administrator". Where the
// control is switched off, such a start gets no more rights than this one
// (and would ask again); before Vista there is nothing to ask for.
constexpr unsigned kFirstWindowsWithUac = 6;
inline bool CanAskForRights(bool elevated, unsigned windowsMajor, bool uacSwitchedOff) {
    return !elevated && windowsMajor >= kFirstWindowsWithUac && !uacSwitchedOff;
}

// The share of the choices that needs rights this user lacks, and so goes to
// the worker: the older generations (their values live below
// HKEY_LOCAL_MACHINE), and ICQ 7 when its folder is not writable for this
// user. Nothing where rights cannot be asked for: the window then does
// everything itself. The other fields are those of `c`.
apply::Choices WorkerShare(const apply::Choices& c, bool canAskForRights, bool icq7FolderWritable);
// What is left for the window itself: `c` without the worker's generations.
apply::Choices OwnShare(const apply::Choices& c, const apply::Choices& workerShare);

// The worker's command line: "-worker", the generation switches, "-allow" or
// "-onlyone", and for ICQ 7 "-folder" with the folder as one argument, quoted
// as Windows quotes arguments and without a trailing "\" (which would escape
// the closing quote); with a report number, "-report" and that number: the
// worker then leaves its report where the window with that number reads it.
std::wstring WorkerArgumentText(const apply::Choices& steps, const std::wstring& icq7Folder,
                                unsigned long reportTo = 0);

// The arguments of an argument text, split as Windows splits them for a
// program (blanks and tabs separate outside quotes; 2n backslashes before a
// quote give n and the quote opens or closes; 2n+1 give n and a literal quote;
// other backslashes are literal).
std::vector<std::wstring> SplitArguments(const std::wstring& text);

// The first argument is "-worker" (any letter case): Ternavo runs as the worker.
bool IsWorkerCall(const std::wstring& arguments);

struct WorkerOrder {
    bool valid = false;       // false: refused before any change
    apply::Choices steps;     // the generations and the instances choice
    std::wstring icq7Folder;  // as given, for ICQ 7 only
    unsigned long reportTo = 0;  // "-report": the number of the window that reads the report; 0 none
};
// Reads the worker's argument text. Valid only when it is "-worker", at least
// one generation, exactly one of "-allow" and "-onlyone", and "-folder" with an
// absolute folder exactly when ICQ 7 is given, and at most one "-report" with
// a number of 1 to 4294967295 in decimal digits; any other word refuses it.
WorkerOrder ReadWorkerArguments(const std::wstring& arguments);

// A folder path that names its drive or server: "X:\..." or "\\...".
bool IsAbsoluteFolder(const std::wstring& folder);

// The worker's exit codes: 0 every step done, 1 a step failed; refused before
// any change, one code per reason: 2 its arguments, 3 the folder cannot be
// opened or is in use, 4 it holds no ICQ 7, 5 a link or a file with a second
// name, 6 others may change it. Anything else (the worker ended some other
// way) counts as failed.
int WorkerExitCode(apply::Outcome outcome, apply::Refusal why = apply::Refusal::Arguments);
apply::Outcome OutcomeOfExitCode(unsigned long code);
// Why the worker refused, by its exit code; None when it did not refuse.
apply::Refusal RefusalOfExitCode(unsigned long code);

}  // namespace startup
