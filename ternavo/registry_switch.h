#pragma once
// The registry switch of the older ICQ generations.

enum class ClassicTarget { Lite, Pro, ICQ6 };

// Creates the target's missing keys, then writes "MultiInstance" = "Yes" and
// "OwnersNoLimit" = "Yes". A failure marks the apply run as failed.
void AllowMultiInstance(ClassicTarget target);
// Writes "MultiInstance" = "No" into the existing key; creates nothing.
void ForbidMultiInstance(ClassicTarget target);
