#pragma once
// The numbered copies of ICQ.exe that Kestrun starts, prepared by the
// installation and removed with Kestrun. Kestrun run by a user who may not
// write in the ICQ 7 folder starts only these.
#include <cstdint>
#include <vector>
#include "ternavo/steps/held_folder.h"
#include "ternavo/rules/applyplan.h"

// Makes ICQ.exe1 .. ICQ.exeN in the folder current from the checked ICQ.exe
// open as `icqFile` (read access), never from a second look-up by name: each
// one that is missing or stale is written whole (CopyWhole: flushed before it
// takes its name); a current one keeps its bytes and loses a
// read-only attribute. N is five, or more where the folder's kestrun.ini or
// its existing copies use more (CopiesToPrepare); so it is read before that
// kestrun.ini goes. A copy that runs stays as it is (Kestrun passes over a
// stale copy). Returns the copies nobody runs that could not be made current,
// each with the system's reason.
std::vector<apply::Failure> PrepareNumberedCopies(const HeldFolder& folder, HANDLE icqFile);
// Deletes ICQ.exe`nr` in the folder, a read-only one included, with its marker
// file and a temporary copy left by a write that was cut short. A copy that
// runs cannot be deleted and stays: 0, or the system's reason when the copy is
// still there.
unsigned long RemoveNumberedCopy(const HeldFolder& folder, int32_t nr);
