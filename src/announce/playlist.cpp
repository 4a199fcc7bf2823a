#include "announce/playlist.h"
namespace tunebridge {
void Playlist(Desktop&, SharedState&, FormControls&, clsWinamp&) {}
}  // namespace tunebridge
