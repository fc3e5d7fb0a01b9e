#pragma once
// Resource ids of Ternavo.exe (shared by the .rc script and the code).
#define IDB_SUCCESS 301
#define IDB_FAILURE 302
#define IDR_STARTER 101
