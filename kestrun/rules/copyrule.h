#pragma once
// Whether a numbered copy of ICQ.exe must be made again, as a plain function
// over what the file system says of the two files.
#include <cstdint>
#include <string>
#include <vector>

// Kestrun keeps at most this many numbered copies: ICQ.exe1 .. ICQ.exe99.
constexpr int32_t kMostCopies = 99;

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

// What a launch sees of one numbered copy when the copy of its turn cannot be
// used: whether it is current (JudgeCopy) and whether a process of its name runs.
struct CopySeen {
    bool current = false;
    bool running = false;
};
// The number of the copy to start among ICQ.exe1 .. ICQ.exeN, where `seen[n - 1]`
// describes ICQ.exeN; the search begins at `first` and goes round once. A
// current copy that no one runs comes first; failing that, a current one that
// runs (every copy is in use: the cycle goes on as it does where Kestrun may
// write). 0 when no copy is current: starting a stale one would run an ICQ 7
// older than the installed one, or a file that is no ICQ at all.
int32_t ChooseUsableCopy(const std::vector<CopySeen>& seen, int32_t first);

// The number of a running program's file name that is a numbered copy
// ("ICQ.exe7", letters in any case, gives 7); 0 for any other name.
int32_t CopyNumberOf(const std::wstring& fileName);

// How many numbered copies Ternavo prepares: the default maximum of five, or
// more where the folder says that more are used: its kestrun.ini's "MaxNr"
// (`storedMaxNr`, counted when it is 1..99) and the highest copy there.
int32_t CopiesToPrepare(const std::wstring& storedMaxNr, int32_t highestCopy);
