#pragma once
// The steps of one press of Start that change the machine: ICQ's registry
// preference per older generation, Kestrun installed into or removed from
// the ICQ 7 folder. The window runs them itself or hands them to the worker;
// either way they show nothing and only report how they ended.
#include <string>
#include "ternavo/rules/applyplan.h"

// Runs the steps that `steps` calls for, in order; a step that fails does not
// stop the others, and the report names it with the system's reason. With
// ICQ 7, `icq7Dir` must be an ICQ 7 folder, reached through no junction or
// link, none of its files that the steps touch a link or a file with a second
// name: otherwise nothing at all is done, the outcome is Refused and the
// report says why. The folder is held for the whole run. Run with
// administrator rights (the token decides, not the command line), the steps
// also refuse a folder that anyone but administrators may change.
apply::Report RunSteps(const apply::Choices& steps, const std::wstring& icq7Dir);
