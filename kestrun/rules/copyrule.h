#pragma once
// Whether a numbered copy of ICQ.exe must be made again, as a plain function
// over what the file system says of the two files.
#include <cstdint>

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
