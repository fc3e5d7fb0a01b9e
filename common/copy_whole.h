#pragma once
// ICQ.exe's numbered copies on disk, for both programs: Ternavo prepares them
// where it installs Kestrun, Kestrun refreshes one where it may write. What a
// copy is, and when it is current, is decided in kestrun/rules/copyrule.
#include <string>
#include "kestrun/rules/copyrule.h"

// Size and last-write time of a plain file; a folder, a link (reparse point)
// or a file that cannot be read gives no facts.
FileFacts FactsOfFile(const std::wstring& path);
// Gives a plain file normal attributes (a read-only file can be neither
// replaced nor deleted). A link is left alone: its target is not ours.
void ClearAttributes(const std::wstring& path);
// Copies `source` to `target` whole: written under a temporary name beside
// `target`, given normal attributes (the copy would otherwise take over a
// read-only ICQ.exe's attribute), then moved into place in one step. A link in
// `target`'s place is replaced, never followed; a folder there refuses the
// copy. 0 on success, else the system's error code; nothing is left behind.
unsigned long CopyWhole(const std::wstring& source, const std::wstring& target);
