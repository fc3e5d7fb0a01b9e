#pragma once
// Folder texts that Ternavo works out without asking the system: the folder of
// the ICQ.exe the user picked, and the room a temporary name takes in the
// folder the starter is written to. Platform-free, so they can be checked natively.
#include <cstddef>
#include <string>

namespace folders {

// The folder of a picked file whose name is "ICQ.exe" in any case of its
// letters: the text before the file name's "\". Empty text when the file has
// another name or the path has no "\" at all. Only the name is compared: a
// folder called "ICQ.exe-old" on the way is just a folder.
std::wstring FolderOfPickedIcq(const std::wstring& path);

// The system names temporary files only in folders of at most this many
// characters (its path limit less room for the name it adds).
constexpr size_t kLongestTempFolder = 260 - 14;

// Characters the system writes for a temporary name in `folder` with a
// prefix of three letters, its NUL included: the folder, a "\" when it has
// none, the prefix, four hex digits and ".tmp". 0 when the folder is longer
// than the system takes, which counts as a failed write.
size_t TempNameRoom(const std::wstring& folder);

}  // namespace folders
