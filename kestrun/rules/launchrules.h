#pragma once
// Kestrun's start-up and launch rules as plain functions over values: the
// name check, the launch counters, the start modes taken from the settings,
// ICQ's argument text and the settings values.
#include <cstdint>
#include <string>
#include "common/rules/copyrule.h"
#include "common/rules/startuptext.h"
#include "kestrun/rules/cmdline.h"
#include "common/rules/numbers.h"
#include "kestrun/rules/settings_record.h"

// File name of a path without folder and without its last extension.
std::wstring ExeBaseName(const std::wstring& path);
// Kestrun runs only under exactly this base name (letter case counts).
inline bool IsKestrunName(const std::wstring& baseName) { return baseName == L"Kestrun"; }

// The counters of one launch, read from the settings file and corrected.
struct LaunchNumbers {
    int32_t MaxNr = 5;   // cycle length in force for this launch (1 = start ICQ.exe itself)
    int32_t LastNr = 0;  // with MaxNr > 1: the number of the new copy
    int32_t Starts = 1;  // launch counter including this launch
};
// `lastNr`, `maxNr`, `starts` are the stored texts; `instanceLimit` is "-instances=".
LaunchNumbers CorrectLaunchNumbers(const std::wstring& lastNr, const std::wstring& maxNr,
                                   const std::wstring& starts, int16_t instanceLimit);
// Follow-up timer: a slower first launch ever gets twice as long per tick.
inline unsigned FollowUpInterval(int32_t starts) { return starts <= 1 ? 2000u : 1000u; }
// Ticks of the follow-up timer after which Kestrun stops waiting for the marker.
constexpr int kLastTick = 4;

// Adds the settings' start modes to the switches unless the settings keep
// them for "-setmodes" only. Switches already given on the command line are never reset.
void ApplyStartModes(StartOptions& options, const KestrunSettings& settings);
// ICQ's argument text: "loginmode=", "status=", "visibility=", then the
// pass-through text; a non-empty text is followed by one blank even when
// there is nothing to pass through.
std::wstring IcqArguments(const StartOptions& options);

// Settings values as the window shows them and as they are saved.
// The maximum of instances as shown after loading: the stored "MaxNr" when there is one, and "99"
// for anything longer than two characters.
std::wstring ShownMaxNr(const std::wstring& current, const std::wstring& stored);
// "MaxNr" as saved: the text as a number 1..99, anything else 5.
std::wstring SavedMaxNr(const std::wstring& text);
// Login option index for the stored "LoginMode": "1".."4" give 0..3, anything else 3.
int LoginOptionFor(const std::wstring& stored);
// Status list entry for the stored "LoginStatus": "1".."7", anything else 1.
int StatusItemFor(const std::wstring& stored);
