// The product's main window as another process sees it.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "harness/process.h"
#include "resources/control_ids.h"

namespace tunebridge::e2e {

inline constexpr char kMainWindowCaption[] = "Tunebridge.";

// The visible window "Tunebridge." of `product`, looked for until `deadline`
// passes; nullptr when it did not show (or the program ended first).
HWND FindMainWindowWithin(const ChildProcess& product, std::chrono::milliseconds deadline);

// The caption of the child with `id`, read with WM_GETTEXT (a label's text
// is its caption).
std::string ControlText(HWND window, int id);

// The window's outer size in pixels.
SIZE OuterSize(HWND window);

// The DPI the window is drawn at: GetDpiForWindow where Wine has it, the
// screen's LOGPIXELSX otherwise.
int WindowDpi(HWND window);

// The held outer size of 6870 x 1950 twips at `dpi`.
SIZE HeldOuterSize(int dpi);

}  // namespace tunebridge::e2e
