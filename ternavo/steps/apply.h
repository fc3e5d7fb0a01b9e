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
// link, none of Kestrun's files in it a link: otherwise nothing at all is
// done and the outcome is Refused. The folder is held for the whole run. The
// worker (`asWorker`) also refuses a folder that anyone but administrators may
// change: the window's own run could write there, so the worker is never needed.
apply::Report RunSteps(const apply::Choices& steps, const std::wstring& icq7Dir, bool asWorker = false);
