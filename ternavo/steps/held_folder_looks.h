#pragma once
// The two looks that keep a link out of a held folder, each of which must
// hold alone: the walk along the path by name (what every system reports,
// also before final paths exist) and the path the open handle really leads
// to (which catches a link swapped in after the walk). Each lives in a file
// of its own, so that a test build can link another in its place.
#include <windows.h>
#include <string>

// Whether any folder on the way to `path` (full and long, without a trailing
// "\"; the drive's root left out) is a junction or symbolic link, or cannot
// be looked at.
bool LinkOnTheWay(const std::wstring& path);
// Where the handle really leads, as "C:\..." or "\\server\share\...";
// empty text where the system cannot tell (before Vista).
std::wstring FinalPathOf(HANDLE handle);
