#pragma once
// The numbered copies of ICQ.exe that Kestrun starts, prepared by the
// installation and removed with Kestrun. Kestrun run by a user who may not
// write in the ICQ 7 folder starts only these.
#include <cstdint>
#include <string>

// Makes ICQ.exe1 .. ICQ.exeN in `dir` (ending in "\") current: each one that
// is missing or stale is written whole with normal attributes; a current one
// keeps its bytes and loses a read-only attribute. N is five, or more where
// the folder's kestrun.ini or its existing copies use more (CopiesToPrepare);
// so it is read before that kestrun.ini goes. A copy that cannot be written
// (it runs) stays as it is: Kestrun passes over a stale copy. Returns N.
int32_t PrepareNumberedCopies(const std::wstring& dir);
// Deletes ICQ.exe`nr` in `dir`, a read-only one included, with its marker file
// and a temporary copy left by a write that was cut short. A copy that runs
// cannot be deleted and stays.
void RemoveNumberedCopy(const std::wstring& dir, int32_t nr);
