#pragma once
// Kestrun's start-up sequence, up to the launch, the start delay or the shown window.
#include <windows.h>

// Runs from the window's creation up to the launch, the delay or the shown window.
void StartUp();
// Launches at once, or after the "-wait=" delay.
void StartOrDelay();
// The start delay has passed (its timer fires once).
void OnStartDelayElapsed();
