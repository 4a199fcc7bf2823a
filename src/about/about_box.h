#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/window_model.h"

namespace tunebridge {

// "1.2.0": the program's major, minor and revision numbers, the same ones
// the version resource holds.
std::string VersionText();

// Opens the default mail program with a feedback mail to `address`. The
// address and its subject reach the shell as they are, blanks included,
// and the shell's answer is ignored: without a mail program nothing happens.
void SendFeedbackMail(Desktop& desktop, std::string_view address);

// The about box's behaviour: the version label, the feedback link, and
// closing by "OK" or Escape.
class AboutBox : public WindowModel {
public:
    explicit AboutBox(Desktop& desktop) : desktop_(desktop) {}

    std::optional<ControlState> StateOf(int controlId) const override;
    void OnClick(int controlId) override;
    void OnEscape() override { closeRequested_ = true; }
    bool CloseRequested() const override { return closeRequested_; }

private:
    Desktop& desktop_;
    bool closeRequested_ = false;
};

} // namespace tunebridge
