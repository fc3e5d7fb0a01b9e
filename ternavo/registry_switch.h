#pragma once
// The registry switch of the older ICQ generations.

enum class ClassicTarget { Lite, Pro, ICQ6 };

// Creates the target's missing keys, then writes "MultiInstance" = "Yes" and
// "OwnersNoLimit" = "Yes" (the second even when the first failed). False when
// a write failed.
bool AllowMultiInstance(ClassicTarget target);
// Writes "MultiInstance" = "No" into the existing key; creates nothing. False
// when the key is missing or the write failed.
bool ForbidMultiInstance(ClassicTarget target);
