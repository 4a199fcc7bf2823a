// Message boxes that another process shows: found by title, read, answered.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace tunebridge::e2e {

// The first "#32770" window of process `pid` titled `title`, looked for until
// `deadline` passes; nullptr when none came.
HWND FindMessageBoxWithin(DWORD pid, const std::string& title, std::chrono::milliseconds deadline);

// A "#32770" window of process `pid` now, whatever its title; nullptr if none.
HWND AnyMessageBox(DWORD pid);

// The box's text (its static child 0xFFFF), read with WM_GETTEXT.
std::string MessageBoxText(HWND box);

// The ids of the box's buttons, in the order they were made.
std::vector<int> MessageBoxButtons(HWND box);

// Presses the button with `id` (IDOK, IDCANCEL, IDRETRY, ...) by BM_CLICK.
// False when the box has no such button or did not take the message.
bool PressMessageBoxButton(HWND box, int id);

}  // namespace tunebridge::e2e
