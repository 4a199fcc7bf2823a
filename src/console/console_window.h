#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop.h"

namespace tunebridge {

// The console style of the one engine console that keeps colour codes on screen.
inline constexpr const char* kColourStyle = "Quake3";

// The command path's lookup: the three console titles in order; `style`
// records the style of the last title tried. 0 when no console exists.
Hwnd FindConsoleWindow(Desktop& desktop, std::string& style);
// The poller's lookup: the same titles, the style untouched.
Hwnd FindConsoleForPoller(Desktop& desktop);
// The engine's consoles have the input line first and the output pane
// fifth; the maintained engine of today puts a status bar first and has
// three children. Where the first rule gives no edit control, the edits
// among all the console's children tell: the multi-line read-only one is the
// pane, the single-line one the input line.
enum class EditKind { Pane, InputLine };

// The output pane: the fifth child when it is an edit, else the multi-line
// read-only edit among the children; 0 when there is none.
Hwnd LocateOutputPane(Desktop& desktop, Hwnd console);
// Whether the first child is an edit with an empty caption, taken for the
// input line as the engine's consoles have always been typed into.
bool TypesIntoFirstChild(Desktop& desktop, Hwnd console);
// The first edit of that kind among the children, grandchildren included; 0 when none.
Hwnd FindEdit(Desktop& desktop, Hwnd console, EditKind kind);

// How long any message to the console may wait for the game. A game loading
// a map answers nothing for seconds; the program's one thread must not wait
// that long, or the hotkeys stop working meanwhile.
inline constexpr unsigned kConsoleAnswerMs = 50;

// The pane's length, nothing when the console did not answer in time or is
// gone. A negative answer is an empty pane.
std::optional<std::int32_t> ReadTextLength(Desktop& desktop, Hwnd pane);
// The pane's whole text of `length` characters, up to its NUL; nothing when
// the console did not answer in time, empty for a length no pane can have.
std::optional<std::string> ReadWindowText(Desktop& desktop, Hwnd pane, std::int32_t length);

} // namespace tunebridge
