#pragma once
// Ternavo's main window: the generation boxes, the instances list, the status
// line with its result marks, Start, Info, Exit and the settings link.
#include <windows.h>
#include "ternavo/rules/applyplan.h"

// Creates the main window hidden and runs its start-up: language, texts,
// icons, hand pointer, the saved choices. nullptr when it cannot be created.
HWND CreateMainWindow();
HWND MainWindow();

// The choices as the windows show them now: the main window's boxes and
// list, the settings dialog's folder and shortcut box.
apply::Choices CurrentChoices();

enum class StatusLine { Idle, IdleAfterResult, Busy };
void ShowStatus(StatusLine which);
// Saves the choices of a press and shows how it ended, with its mark; starts the status-line reset.
void ShowResult(apply::Outcome outcome, const apply::Choices& choices);
// Start is disabled while the worker runs, and enabled again afterwards.
void SetStartBusy(bool busy);
