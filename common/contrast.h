#pragma once
// Whether the user has switched high contrast on. In a file of its own: under
// Wine the setting cannot be switched on, so a test links another answer in.

// True while high contrast is on; the programs then draw in the system's colours only.
bool HighContrastOn();
