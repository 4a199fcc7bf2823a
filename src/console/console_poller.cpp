#include "console/console_poller.h"
namespace tunebridge {
void ConsolePoller(Desktop&, SharedState&, FormControls&, const std::function<void()>&) {}
}  // namespace tunebridge
