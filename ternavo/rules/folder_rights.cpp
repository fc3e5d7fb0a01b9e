#include "ternavo/rules/folder_rights.h"

namespace folder_rights {

namespace {
// CREATOR OWNER grants only whoever makes a file there: the steps themselves.
bool Trusted(Who who) { return who != Who::Other; }
}  // namespace

bool OnlyAdministratorsMayChange(const FolderSecurity& folder) {
    if (!Trusted(folder.owner) || !folder.hasDacl) return false;
    for (const Ace& ace : folder.dacl) {
        if (ace.type != AceType::Allow || (ace.inheritOnly && !ace.toFiles) || Trusted(ace.trustee)) continue;
        if (ace.mask & kChangingRights) return false;
    }
    return true;
}

}  // namespace folder_rights
