#include "app/main_window_layout.h"

#include <array>

#include "resources/control_ids.h"

namespace tunebridge {
namespace {

namespace id = control_id;

constexpr ControlFont kArial825{"Arial", 8.25};
constexpr ControlFont kArial825Bold{"Arial", 8.25, true};
constexpr ControlFont kArial975{"Arial", 9.75};

constexpr ControlKind kFrame = ControlKind::Frame;
constexpr ControlKind kLabel = ControlKind::Label;
constexpr ControlKind kButton = ControlKind::Button;
constexpr ControlKind kTextBox = ControlKind::TextBox;

// Every transport button is 495 x 375 twips with its top at 240 in "Track".
constexpr ControlLayout TransportButton(int controlId, std::string_view name, std::string_view caption, int left,
                                        std::string_view tooltip) {
    return {controlId, name, kButton, caption, {left, 240, 495, 375}, id::kTrackFrame, kWindowFont, tooltip};
}

// The four buttons that open the tab order come first.
constexpr std::array kControls = {
    ControlLayout{id::kQuit, "cmdEnd", kButton, "Hætta", {5520, 1590, 1215, 375}},
    ControlLayout{id::kAbout, "cmdInfo", kButton, "Upplýsingar", {4200, 1590, 1215, 375}},
    ControlLayout{id::kSettings, "cmdSettings", kButton, "Settings ...", {5505, 1140, 1215, 375}},
    ControlLayout{id::kDefaults, "cmdSetOSPDefaults", kButton, "Setja á Sjálfgefið", {90, 1575, 1335, 375}},

    ControlLayout{id::kPlayerFrame, "fraTimer1", kFrame, "Winamp", {15, 30, 6735, 735}},
    ControlLayout{id::kSongTitle, "Label1", kLabel, "Song:", {135, 195, 1065, 270}, id::kPlayerFrame},
    ControlLayout{id::kPlayerCaption, "song", kLabel, "00:00:00", {585, 210, 6105, 255}, id::kPlayerFrame,
                  kArial825Bold},
    ControlLayout{id::kLastActionTitle, "Label2", kLabel, "Last Action:", {135, 435, 1080, 270}, id::kPlayerFrame},
    ControlLayout{id::kLastAction, "lblaction", kLabel, "Startup", {990, 405, 1890, 285}, id::kPlayerFrame,
                  kArial975},

    ControlLayout{id::kConsoleText, "ChatText", kLabel, "Label3", {60, 780, 5370, 780}, kNoContainer, kArial825},
    ControlLayout{id::kLastAnswer, "lblretval", kLabel, "Label3", {1575, 1590, 1200, 225}},
    ControlLayout{id::kReportTime, "txtreporttime", kTextBox, "10", {120, 2595, 540, 285}},
    ControlLayout{id::kConsoleStatus, "lblPlatform", kLabel, "Label3", {705, 2610, 5370, 255}, kNoContainer,
                  kArial825},
    ControlLayout{id::kTrackLine, "quakec", kLabel, "Label3", {210, 2895, 4635, 375}},
    ControlLayout{id::kClassName, "Text1", kTextBox, "", {4950, 2940, 1665, 315}},
    ControlLayout{id::kConsoleTitle, "Text2", kTextBox, "Quake 3 Console", {4950, 3285, 1650, 285}},
    ControlLayout{id::kUnused, "Command1", kButton, "Command1", {2265, 3570, 1095, 435}},

    ControlLayout{id::kTrackFrame, "fraMsg", kFrame, "Track", {225, 4050, 6735, 735}},
    TransportButton(id::kTrackPrev, "cmdTrackPrev", "|<", 120, "Previous track"),
    TransportButton(id::kTrackNext, "cmdTrackNext", ">|", 720, "Next track"),
    TransportButton(id::kTrackPlay, "cmdTrackPlay", "->", 1320, "Play"),
    TransportButton(id::kTrackPause, "cmdTrackPause", "||", 1920, "Pause"),
    TransportButton(id::kTrackStop, "cmdTrackStop", "S", 2520, "Stop"),
    TransportButton(id::kTrackFadeout, "cmdTrackFadeout", ">S", 3120, "Fadeout and Stop"),
    TransportButton(id::kTrackStopAfter, "cmdTrackStopAfter", "|S", 3720, "Stop after current track"),
    TransportButton(id::kTrackRewind, "cmdFRewind", "<<", 4320, "Fast-rewind 5 seconds"),
    TransportButton(id::kTrackForward, "cmdTrackFForward", ">>", 4920, "Fast-forward 5 seconds"),
    TransportButton(id::kTrackOpenFile, "cmdTrackOpenFile", "File", 5520, "Open file dialog"),
    TransportButton(id::kTrackOpenUrl, "cmdTrackOpenURL", "URL", 6120, "Open URL dialog"),
};

// The client area of the held outer size with a standard frame.
constexpr WindowLayout kLayout{"Tunebridge.", 6750, 1545, kControls};

} // namespace

const WindowLayout& MainWindowLayout() { return kLayout; }

} // namespace tunebridge
