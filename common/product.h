#pragma once
// Our web host: the home page, help page and forum that both programs open
// through the shell all live here.
constexpr wchar_t kHomeHost[] = L"www.ternavo.de";
