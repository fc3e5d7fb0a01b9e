#pragma once
// A folder's path as another logon session sees it. Drive letters made by
// "subst" (and network drives mapped by the user) belong to the session that
// made them: the administrator's run, a session of its own, lacks them. The
// system names a substituted drive's folder in its answer for the letter
// ("\??\C:\real\folder", or "\??\UNC\server\share" for a network folder);
// every other answer is a device of the machine, seen alike by every session.
// Platform-free.
#include <string>

namespace drive_paths {

// The drive of a path that begins with a letter, a colon and a backslash
// ("X:"); empty text for any other path (a network path, a relative one).
std::wstring DriveOf(const std::wstring& path);

// How `path` on its drive letter reads without the letter, given `device`,
// the system's answer for that letter (QueryDosDevice's first name).
struct Resolved {
    bool substituted;    // the letter stands for a folder
    std::wstring path;   // the path through that folder; empty when its name
                         // is of no form that another session could open
};
Resolved ThroughSubstitute(const std::wstring& path, const std::wstring& device);

}  // namespace drive_paths
