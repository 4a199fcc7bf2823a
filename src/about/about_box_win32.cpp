#include "about/about_box_win32.h"

#include <utility>

#include "about/about_box_layout.h"

namespace tunebridge {

AboutBoxView::AboutBoxView(AboutBox& model, std::function<void()> onClosed)
    : DialogWindow(AboutBoxLayout(), model, L"TunebridgeAboutBox", std::move(onClosed)) {}

} // namespace tunebridge
