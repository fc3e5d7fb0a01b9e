#pragma once
// Whether a numbered copy of ICQ.exe must be made again, as a plain function
// over what the file system says of the two files.
#include <cstdint>
#include <functional>
#include <string>
#include "common/rules/numbers.h"

// Kestrun keeps at most this many numbered copies: ICQ.exe1 .. ICQ.exe99.
constexpr int32_t kMostCopies = 99;
// "ICQ.exe" followed by the number: ICQ.exe1, ICQ.exe2, ...
inline std::wstring CopyNameFor(int32_t nr) { return L"ICQ.exe" + DecimalText(nr); }

// What Kestrun knows of one file. `plainFile` is false when there is nothing
// of that name, when it is a folder or a link, or when it cannot be read;
// size and time then mean nothing.
struct FileFacts {
    bool plainFile = false;
    uint64_t size = 0;
    int64_t lastWrite = 0;  // the system's last-write time, in its own units
};

enum class CopyState {
    Current,      // a plain file of ICQ.exe's size and last-write time: left alone
    StaleBySize,  // deleted and copied again
    StaleByTime,  // deleted and copied again
    Missing,      // no plain file of that name: copied
};

// A copy keeps its source's last-write time, so a copy that is whole and was
// made from the present ICQ.exe has the same size and the same time. A copy cut
// short, or one made from an earlier ICQ.exe, differs in one of them. When
// ICQ.exe itself cannot be read, no copy can be shown to match it: an existing
// copy then counts as stale by size and is made again.
CopyState JudgeCopy(const FileFacts& source, const FileFacts& copy);
inline bool NeedsCopy(CopyState state) { return state != CopyState::Current; }

// What a launch looks up about its numbered copies, each only when its choice
// needs it: whether ICQ.exeN is current (JudgeCopy), and whether a process of
// that copy runs. Where the turn's copy is current and Kestrun may write, the
// choice asks for that one copy and for no process.
struct CopyLooks {
    std::function<bool(int32_t nr)> current;
    std::function<bool(int32_t nr)> running;
};

// The copy a launch starts.
struct ChosenCopy {
    int32_t nr = 0;               // the copy to start (the turn's number when none is usable)
    bool usable = false;          // false: no current copy could be found or made
    unsigned long copyError = 0;  // why the turn's copy could not be made current (a system error code)
};
// Makes ICQ.exeN current (written anew from ICQ.exe); 0 on success, else the
// system's error code.
using RefreshCopy = std::function<unsigned long(int32_t nr)>;
// The system's "access denied": why a stale copy is not made current where
// Kestrun may not write.
constexpr unsigned long kAccessDenied = 5;
// The choice of a launch with at least two copies. The turn's copy comes
// first: where Kestrun may write, a stale one is refreshed, and it is started
// even when it runs, as ever; where it may not, nothing is refreshed at all.
// Otherwise, looking on from the turn through the cycle 1..maxNr: a current
// copy that no one runs; where Kestrun may write and the turn's stale copy
// runs, the next stale one that no one runs, refreshed (one attempt); failing
// that, a current one that runs (every copy is in use: the cycle goes on). A
// stale copy is never started: it would run an ICQ 7 older than the installed
// one, or a file that is no ICQ at all. Nothing usable: the turn's number, not
// usable, with the turn's refresh error.
// The turn is checked against the stored maximum before "-instances=" lowers
// it, so it can lie above `maxNr`; a turn or maximum below 1 counts as 1. Each
// fact of each copy is looked up at most once.
ChosenCopy ChooseCopy(int32_t turn, int32_t maxNr, bool mayWrite, const CopyLooks& look, const RefreshCopy& refresh);

// The number of a running program's file name that is a numbered copy
// ("ICQ.exe7", letters in any case, gives 7); 0 for any other name.
int32_t CopyNumberOf(const std::wstring& fileName);

// How many numbered copies Ternavo prepares: the default maximum of five, or
// more where the folder says that more are used: its kestrun.ini's "MaxNr"
// (`storedMaxNr`, counted when it is 1..99) and the highest copy there.
int32_t CopiesToPrepare(const std::wstring& storedMaxNr, int32_t highestCopy);
