// Linked into a test build in place of the held folder's walk along the path:
// it sees no link anywhere, so only the final path of the handle is left.
#include "ternavo/steps/held_folder_looks.h"

bool LinkOnTheWay(const std::wstring&) { return false; }
