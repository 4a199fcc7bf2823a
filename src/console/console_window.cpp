#include "console/console_window.h"
namespace tunebridge {
Hwnd FindConsoleWindow(Desktop&, SharedState&) { return 0; }
void LookUpConsoleForPoller(Desktop&, SharedState&) {}
Hwnd LocateOutputPane(Desktop&, Hwnd) { return 0; }
std::string ReadWindowTail(Desktop&, Hwnd&) { return {}; }
}  // namespace tunebridge
