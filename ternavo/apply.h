#pragma once
// The steps of one press of Start that change the machine: ICQ's registry
// preference per older generation, Kestrun installed into or removed from
// the ICQ 7 folder. The window runs them itself or hands them to the worker;
// either way they show nothing and only return how they ended.
#include <string>
#include "ternavo/rules/applyplan.h"

// Runs the steps that `steps` calls for, in order; a step that fails does not
// stop the others. With ICQ 7, `icq7Dir` (ending in "\") must be an ICQ 7
// folder, neither it nor Kestrun's files in it reparse points: otherwise
// nothing at all is done and the result is Refused. The worker (`asWorker`)
// also refuses a folder that anyone but administrators may change.
apply::Outcome RunSteps(const apply::Choices& steps, const std::wstring& icq7Dir, bool asWorker = false);
