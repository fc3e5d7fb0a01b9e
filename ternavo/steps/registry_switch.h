#pragma once
// The registry switch of the older ICQ generations.

enum class ClassicTarget { Lite, Pro, ICQ6 };

// Creates the target's missing keys, then writes "MultiInstance" = "Yes" and
// "OwnersNoLimit" = "Yes" (the second even when the first failed). 0, or the
// system's error code of the first write that failed.
unsigned long AllowMultiInstance(ClassicTarget target);
// Writes "MultiInstance" = "No" into the existing key; creates nothing. 0, or
// the system's error code (the key is missing: ERROR_FILE_NOT_FOUND).
unsigned long ForbidMultiInstance(ClassicTarget target);
