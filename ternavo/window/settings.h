#pragma once
// ternavo.ini: the user's choices, key by key.
#include <string>
#include "common/ini_file.h"
#include "ternavo/rules/applyplan.h"

// The generations, the instances choice, the ICQ 7 folder and the shortcut
// box as saved in the file's "Ternavo" section; only "0" unticks the box, which
// otherwise starts ticked.
apply::Choices LoadChoices(const IniSection& stored);
// Writes every choice; the ICQ 7 folder only while ICQ 7 is chosen.
void SaveChoices(const std::wstring& file, const apply::Choices& choices);
