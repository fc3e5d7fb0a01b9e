#pragma once
// Kestrun's start-up sequence, up to the launch, the start delay or the shown window.

// Runs from the program's start up to the launch, the delay or the shown window.
void StartUp();
// Launches at once, or after the "-wait=" delay.
void StartOrDelay();
