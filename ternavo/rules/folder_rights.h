#pragma once
// Whether only administrators may change a folder, judged from its owner and
// access list. The worker runs with administrator rights and is needed only
// where a standard user may not write; a folder that someone else may change
// is never such a folder (the window's own run can write there), and the
// administrator's steps in it could be redirected by that someone. Platform-free.
#include <cstdint>
#include <vector>

namespace folder_rights {

// Who an owner or an access entry names.
enum class Who {
    Administrators,    // the local group Administrators
    System,            // the operating system (LocalSystem)
    TrustedInstaller,  // the service that owns the system's own files
    PowerUsers,        // Power Users: may change Program Files on XP, and may make themselves administrators there
    CreatorOwner,      // CREATOR OWNER: whoever makes a new file gets it, so it grants no one else
    Other,             // anyone else: users, groups, other placeholders
};

enum class AceType { Allow, Deny };

// One entry of a folder's access list, with the system's access mask.
struct Ace {
    AceType type;
    bool inheritOnly;  // passed on to new files and folders only, not the folder's own
    uint32_t mask;
    Who trustee;
    bool toFiles = false;  // passed on to the new files in the folder (object inherit)
};

// What the system reports for a folder. Without an access list (`hasDacl`
// false) the folder grants everyone everything.
struct FolderSecurity {
    Who owner;
    bool hasDacl;
    std::vector<Ace> dacl;
};

// Rights of the system's access mask that change a folder or what it holds.
constexpr uint32_t kAddFile = 0x0002;          // FILE_ADD_FILE (write data)
constexpr uint32_t kAddSubfolder = 0x0004;     // FILE_ADD_SUBDIRECTORY (append data)
constexpr uint32_t kWriteEa = 0x0010;          // FILE_WRITE_EA
constexpr uint32_t kDeleteChild = 0x0040;      // FILE_DELETE_CHILD
constexpr uint32_t kWriteAttributes = 0x0100;  // FILE_WRITE_ATTRIBUTES
constexpr uint32_t kDelete = 0x00010000;       // DELETE
constexpr uint32_t kWriteDac = 0x00040000;     // WRITE_DAC
constexpr uint32_t kWriteOwner = 0x00080000;   // WRITE_OWNER
constexpr uint32_t kGenericAll = 0x10000000;   // GENERIC_ALL
constexpr uint32_t kGenericWrite = 0x40000000; // GENERIC_WRITE: maps to write data, append, EA, attributes
constexpr uint32_t kChangingRights = kAddFile | kAddSubfolder | kWriteEa | kDeleteChild | kWriteAttributes |
                                     kDelete | kWriteDac | kWriteOwner | kGenericAll | kGenericWrite;

// True when the owner is Administrators, SYSTEM or TrustedInstaller, and no
// entry that applies to the folder itself, or passes on to the files made in
// it (Kestrun.exe, the numbered copies), grants anyone else a changing right.
// Entries passed on to new subfolders only are no matter: the steps make none.
// Deny entries grant nothing, so they never make a folder safe: an owner who
// denied themselves write access may still rewrite the list.
bool OnlyAdministratorsMayChange(const FolderSecurity& folder);

}  // namespace folder_rights
