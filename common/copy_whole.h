#pragma once
// ICQ.exe's numbered copies on disk, for both programs: Ternavo prepares them
// where it installs Kestrun, Kestrun refreshes one where it may write. What a
// copy is, and when it is current, is decided in common/rules/copyrule.
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>
#include "common/rules/copyrule.h"
#include "common/winutil.h"

// Size and last-write time of a plain file; a folder, a link (reparse point)
// or a file that cannot be read gives no facts.
FileFacts FactsOfFile(const std::wstring& path);
// The same of a file open with read access to its attributes.
FileFacts FactsOfHandle(HANDLE file);
// Gives a plain file normal attributes (a read-only file can be neither
// replaced nor deleted). A link is left alone: its target is not ours.
void ClearAttributes(const std::wstring& path);
// A new file of a random name ("~" and 7 hex digits) in the folder of
// `target`, open for writing, that is then to be moved onto `target`: created,
// never opened, so that nothing planted under that name (a link to another
// file) is written through. A target whose path the system cannot take (260
// characters or more: neither program declares long paths; Wine would take
// them) gets none. The name goes to `temp`; no file, with the system's reason
// in GetLastError, when none can be made.
win::Handle NewTempFileFor(const std::wstring& target, std::wstring& temp);

// Copies the file open as `source` (with read access) to `target`, whole or
// not at all: into a new file of a random name beside the target, flushed to
// the disk, given the source's last-write time, and only then moved into the
// target's place, the move written through. So a copy of the right size and
// time always holds its bytes, also after a power cut (JudgeCopy trusts size
// and time), and a copy cut short never takes the name. The copy has normal
// attributes (not a read-only ICQ.exe's). A link at `target` is replaced,
// never followed; a folder there, or a file that cannot be replaced (it runs),
// refuses the copy and leaves it as it was. 0 on success, else the system's
// error code.
unsigned long CopyWhole(HANDLE source, const std::wstring& target);
// The same from a file named `source`.
unsigned long CopyWhole(const std::wstring& source, const std::wstring& target);
// The numbers of the numbered copies in the folder `dir` (ending in "\")
// that run now, whoever runs them (a snapshot of the system's processes sees
// every user's). A process counts only when its program file is that copy in
// this folder, by its full path (QueryFullProcessImageNameW, or the process's
// first module before Vista): a program of the same name elsewhere is another
// program. Only processes of a copy's file name are opened; one whose program
// file the system does not tell counts as none, so that it hides no failure.
std::vector<int32_t> RunningCopiesIn(const std::wstring& dir);
