#pragma once
// Resource ids of Kestrun.exe (shared by the .rc script and the code).
#define IDI_STATUS1 201
#define IDI_STATUS2 202
#define IDI_STATUS3 203
#define IDI_STATUS4 204
#define IDI_STATUS5 205
#define IDI_STATUS6 206
#define IDI_STATUS7 207
