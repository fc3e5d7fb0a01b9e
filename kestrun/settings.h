#pragma once
// kestrun.ini: loads and saves the settings record. Invalid values are loaded
// corrected but only written back when the user saves.
#include <string>
#include "common/ini_file.h"
#include "kestrun/rules/settings_record.h"

// The record from the file's [Kestrun] section; `before` gives what a missing maximum keeps.
KestrunSettings LoadSettings(const IniSection& section, const KestrunSettings& before = {});
// Writes the record's keys one by one, leaving every other key of the file
// alone. False when a key could not be written; `error` then gets the
// system's reason for the first one.
bool SaveSettings(const std::wstring& file, const KestrunSettings& settings, unsigned long* error = nullptr);
