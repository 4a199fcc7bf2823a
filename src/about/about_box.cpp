#include "about/about_box.h"

#include "about/about_box_layout.h"
#include "resources/control_ids.h"

namespace tunebridge {

std::string VersionText() {
    return std::to_string(TUNEBRIDGE_VERSION_MAJOR) + "." + std::to_string(TUNEBRIDGE_VERSION_MINOR) + "." +
           std::to_string(TUNEBRIDGE_VERSION_PATCH);
}

void SendFeedbackMail(Desktop& desktop, std::string_view address) {
    desktop.ShellExecuteOpen("mailto:" + std::string(address) + "?subject=Powerclock " + VersionText() + " - Feedback",
                             "C:\\");
}

std::optional<ControlState> AboutBox::StateOf(int controlId) const {
    if (controlId == control_id::kVersion) return ControlState{"Version " + VersionText()};
    return std::nullopt;
}

void AboutBox::OnClick(int controlId) {
    if (controlId == control_id::kAboutOk) closeRequested_ = true;
    if (controlId == control_id::kFeedbackMail) SendFeedbackMail(desktop_, kFeedbackAddress);
}

} // namespace tunebridge
