#pragma once
// Whether this process holds administrator rights, read from its own token.
// The steps ask this, never the command line: whatever started them, with
// these rights they make the checks that keep other users' files out of reach.

// From Vista on: the token is elevated (also with user account control off,
// and for the built-in Administrator). Before Vista: the token holds the group
// Administrators. A token that cannot be read counts as holding the rights, so
// that the checks are made.
bool HoldsAdministratorRights();
