#pragma once

#include <functional>

#include "about/about_box.h"
#include "platform/window_win32.h"

namespace tunebridge {

// The about box on the screen: its layout's controls and nothing more.
class AboutBoxView final : public DialogWindow {
public:
    AboutBoxView(AboutBox& model, std::function<void()> onClosed);
};

} // namespace tunebridge
