#pragma once
// The numbered copies of ICQ.exe that Kestrun starts, prepared by the
// installation and removed with Kestrun. Kestrun run by a user who may not
// write in the ICQ 7 folder starts only these.
#include <cstdint>
#include <vector>
#include "ternavo/steps/held_folder.h"
#include "ternavo/rules/applyplan.h"

// Makes ICQ.exe1 .. ICQ.exeN in the folder current: each one that is missing
// or stale is written whole with normal attributes and flushed to the disk
// (a copy whose size and time reached the disk without its bytes would be
// judged current for ever); a current one keeps its bytes and loses a
// read-only attribute. N is five, or more where the folder's kestrun.ini or
// its existing copies use more (CopiesToPrepare); so it is read before that
// kestrun.ini goes. A copy that runs stays as it is (Kestrun passes over a
// stale copy). Returns the copies nobody runs that could not be made current,
// each with the system's reason.
std::vector<apply::Failure> PrepareNumberedCopies(const HeldFolder& folder);
// Deletes ICQ.exe`nr` in the folder, a read-only one included, with its marker
// file and a temporary copy left by a write that was cut short. A copy that
// runs cannot be deleted and stays.
void RemoveNumberedCopy(const HeldFolder& folder, int32_t nr);
