#pragma once
// Kestrun's command line: the switches found, and the parser that fills them.
// Platform-free, so that it can be unit-tested and fuzzed natively.
#include <cstdint>
#include <string>

struct StartOptions {
    bool ForceWindow = false;     // "-showme" or "-info"
    int16_t WaitSeconds = 0;      // "-wait=", 0..60
    int16_t InstanceLimit = 0;    // "-instances=", 0..99 (0 = not given)
    bool Minimized = false;       // "-minimized"
    bool NoTaskbar = false;       // "-notaskbar"
    int16_t LoginMode = 0;        // "-loginmode=", 0 = not given, else 1..4
    int16_t StatusNr = 0;         // "-status=", 0 = not given, else 1..7
    std::wstring IcqParameters;   // "-toicq:" values, joined by one blank
    bool SetModes = false;        // "-setmodes"
};

// Fills `options` from the lower-cased command-line text (all fields reset first).
void ParseCommandLine(const std::wstring& text, StartOptions& options);
