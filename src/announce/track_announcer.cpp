#include "announce/track_announcer.h"

#include <chrono>
#include <cstddef>
#include <string_view>

#include "announce/leading_number.h"
#include "announce/playing_seconds.h"
#include "announce/replace_all.h"
#include "announce/winamp_suffix.h"
#include "app/runtime_error.h"
#include "app/trim_spaces.h"
#include "console/console_command.h"

namespace tunebridge {
namespace {

constexpr const char* kNotInitialized = "EEP! Winamp not initialized";
constexpr const char* kQuake3Style = "Quake3";

// A step that fails leaves its value as it was and the tick goes on.
template <typename Step>
void RunStep(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// "^" and the decimal text of colour element `element`.
std::string Colour(const SharedState& state, std::size_t element) {
    return "^" + std::to_string(state.ColorCode[element]);
}

std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// The position as the announcer holds it: signed 16-bit seconds, an
// overflow error from 32768 seconds on.
std::int16_t PlayingSeconds16(Desktop& desktop, SharedState& state) {
    return RoundToInt16(static_cast<double>(PlayingSeconds(desktop, state)));
}

std::chrono::sys_seconds WholeSecondsNow(Desktop& desktop) {
    return std::chrono::floor<std::chrono::seconds>(desktop.Now());
}

std::string StateTag(const SharedState& state, const char* word) {
    return Colour(state, 4) + "[" + Colour(state, 5) + word + Colour(state, 6) + "]";
}

} // namespace

std::string FormatTime(const SharedState& state, std::int16_t& seconds) {
    if (seconds < 0) seconds = 0;
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    if (state.sConsoleStyle == kQuake3Style) {
        return Colour(state, 8) + std::to_string(minutes) + Colour(state, 9) + ":" + Colour(state, 10) + TwoDigits(rest);
    }
    return std::to_string(minutes) + ":" + TwoDigits(rest);
}

void WinampReadoutTick(Desktop& desktop, SharedState& state, FormControls& form, clsWinamp& winamp) {
    if (state.hWinampWnd == 0) {
        form.lblretval = kNotInitialized;
        return;
    }
    form.song = winamp.GetWinampTitle();
    form.lblretval = std::to_string(PlayingSeconds(desktop, state));
    desktop.DoEvents();
}

void TrackAnnouncerTick(Desktop& desktop, SharedState& state, FormControls& form) {
    RunStep([&] {
        std::int16_t seconds = PlayingSeconds16(desktop, state);
        const std::string time = FormatTime(state, seconds);
        state.sTrackTimePart = Colour(state, 7) + "[" + time + Colour(state, 7) + "]^7";
    });

    const std::string untagged = ReplaceAll(form.song, kWinampSuffix, "");

    std::string tagged = ReplaceAll(untagged, "[Paused]", StateTag(state, "Paused"));
    tagged = ReplaceAll(tagged, "[Stopped]", StateTag(state, "Stopped"));

    RunStep([&] {
        std::int16_t seconds = PlayingSeconds16(desktop, state);
        state.sTrackPlainTime = "[" + FormatTime(state, seconds) + "]";
    });

    // p counts from 1; the number part is the first p + 1 characters, the
    // title starts at character p + 1, so the character at p + 1 is in both.
    const std::size_t dot = tagged.find('.');
    const std::size_t p = dot == std::string::npos ? 0 : dot + 1;
    const std::string numberPart = tagged.substr(0, p + 1);
    const std::string title = ReplaceAll(TrimSpaces(std::string_view(tagged).substr(p)), " ", " " + Colour(state, 3));

    form.quakec = numberPart + " " + Colour(state, 3) + title + " " + state.sTrackTimePart;

    desktop.DoEvents();

    const auto colouredCommand = [&] {
        return "echo " + Colour(state, 0) + "Winamp " + Colour(state, 1) + ": " + Colour(state, 2) + form.quakec;
    };

    RunStep([&] {
        if (tagged == state.sLastTrackTitle) return;
        state.dtLastTrackEcho = WholeSecondsNow(desktop);
        SendConsoleCommand(desktop, state, colouredCommand());
    });

    state.sLastTrackTitle = tagged;

    const auto elapsed = (WholeSecondsNow(desktop) - state.dtLastTrackEcho).count();

    if (state.TextSetting[2] != "False") return;
    if (LeadingNumber(state.TextSetting[1]) > static_cast<double>(elapsed)) return;

    RunStep([&] {
        if (state.sConsoleStyle == kQuake3Style) {
            SendConsoleCommand(desktop, state, colouredCommand());
        } else {
            SendConsoleCommand(desktop, state, "echo Winamp : " + untagged + " " + state.sTrackPlainTime);
        }
    });

    state.dtLastTrackEcho = WholeSecondsNow(desktop);
}

} // namespace tunebridge
