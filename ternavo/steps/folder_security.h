#pragma once
// Who may change a folder, asked of the system: its owner and access list,
// read from an open handle and judged by folder_rights (rules/folder_rights).
#include <windows.h>
#include "ternavo/rules/folder_rights.h"

// True when the folder open as `folder` may be changed by administrators,
// SYSTEM and TrustedInstaller only. The handle must carry READ_CONTROL; a
// folder whose owner and access list cannot be read counts as changeable.
bool OnlyAdministratorsMayChange(HANDLE folder);

// The owner and access list of a security descriptor as the rule takes them.
folder_rights::FolderSecurity SecurityOf(PSECURITY_DESCRIPTOR descriptor);
