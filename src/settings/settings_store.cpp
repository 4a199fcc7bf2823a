#include "settings/settings_store.h"
namespace tunebridge {
void LoadSettings(Desktop&, SharedState&) {}
void SaveSettings(Desktop&, SharedState&) {}
std::string FindSystemFolder(Desktop&, std::int16_t) { return {}; }
}  // namespace tunebridge
