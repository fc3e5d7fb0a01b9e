#pragma once
// The system's locale, as both programs ask it for their language.
#include <string>

// Item of the system default locale (not the user's), e.g. 4 = native language name;
// empty text when the system does not give it.
std::wstring ReadLocaleInfo(unsigned long item);
