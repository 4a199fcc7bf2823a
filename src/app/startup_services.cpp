#include "app/startup_services.h"
namespace tunebridge {
void InitDirectSound(Desktop&, Hwnd) {}
void CheckWinamp(Desktop&, SharedState&) {}
}  // namespace tunebridge
