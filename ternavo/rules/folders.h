#pragma once
// Folder texts that Ternavo works out without asking the system: the folder of
// the ICQ.exe the user picked. Platform-free, so it can be checked natively.
#include <cstddef>
#include <string>

namespace folders {

// The folder of a picked file whose name is "ICQ.exe" in any case of its
// letters: the text before the file name's "\". Empty text when the file has
// another name or the path has no "\" at all. Only the name is compared: a
// folder called "ICQ.exe-old" on the way is just a folder.
std::wstring FolderOfPickedIcq(const std::wstring& path);

}  // namespace folders
