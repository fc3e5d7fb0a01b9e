#pragma once
// ICQ.exe's numbered copies on disk, for both programs: Ternavo prepares them
// where it installs Kestrun, Kestrun refreshes one where it may write. What a
// copy is, and when it is current, is decided in common/rules/copyrule.
#include <cstdint>
#include <string>
#include <vector>
#include "common/rules/copyrule.h"

// Size and last-write time of a plain file; a folder, a link (reparse point)
// or a file that cannot be read gives no facts.
FileFacts FactsOfFile(const std::wstring& path);
// Gives a plain file normal attributes (a read-only file can be neither
// replaced nor deleted). A link is left alone: its target is not ours.
void ClearAttributes(const std::wstring& path);
// Copies `source` to `target` as a new file with normal attributes (the copy
// would otherwise take over a read-only ICQ.exe's attribute). What is at
// `target` is deleted first; a link there is deleted, never followed; a folder
// there, or a file that cannot be deleted (it runs), refuses the copy. The
// system gives the copy its source's last-write time when all is written, so a
// copy cut short is never judged current (JudgeCopy). 0 on success, else the
// system's error code.
unsigned long CopyWhole(const std::wstring& source, const std::wstring& target);
// The program file names of the processes that run now, whoever runs them (a
// snapshot of the system's processes sees every user's): each numbered copy
// has a name of its own, so this tells which copies run.
std::vector<std::wstring> RunningProgramNames();
