#include "announce/track_announcer.h"

#include <chrono>
#include <cstddef>
#include <string_view>

#include "announce/winamp_suffix.h"
#include "console/engine_text.h"
#include "core/leading_number.h"
#include "core/runtime_error.h"
#include "core/text.h"

namespace tunebridge {
namespace {

constexpr const char* kNotInitialized = "EEP! Winamp not initialized";
constexpr const char* kPlainHead = "echo Winamp : ";
// The plain line shows in the console's own colour.
constexpr char kPlainDigit = '7';

struct StateWord {
    std::string_view inCaption;
    const char* word;
};
constexpr StateWord kStates[] = {{"[Paused]", "Paused"}, {"[Stopped]", "Stopped"}};

using E = ColorElement;

// A step that fails leaves its value as it was and the tick goes on.
template <typename Step>
void RunStep(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// "^" and the decimal text of the element's colour.
std::string Colour(const Settings& settings, ColorElement element) {
    return "^" + std::to_string(settings.Color(element));
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::chrono::sys_seconds WholeSecondsNow(Desktop& desktop) {
    return std::chrono::floor<std::chrono::seconds>(desktop.Now());
}

std::string StateTag(const Settings& settings, const char* word) {
    return Colour(settings, E::StateOpen) + "[" + Colour(settings, E::StateWord) + word +
           Colour(settings, E::StateClose) + "]";
}

} // namespace

std::string FormatTime(std::int16_t& seconds, bool colours, const Settings& settings) {
    if (seconds < 0) seconds = 0;
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    if (colours) {
        return Colour(settings, E::Minutes) + std::to_string(minutes) + Colour(settings, E::TimeColon) + ":" +
               Colour(settings, E::Seconds) + TwoDigits(rest);
    }
    return std::to_string(minutes) + ":" + TwoDigits(rest);
}

void ReadOutPlayer(Desktop& desktop, PlayerRequests& requests, PlayerRemote& remote, std::string& playerCaption,
                   std::string& lastAnswer) {
    if (requests.LiveWindow() == 0) {
        lastAnswer = kNotInitialized;
        return;
    }
    playerCaption = remote.Caption();
    lastAnswer = std::to_string(requests.PlayingSeconds());
    desktop.DoEvents();
}

char TrackAnnouncer::TitleDigit() const { return Colour(settings_, E::Title).back(); }

std::string TrackAnnouncer::Tagged(const std::string& text) const {
    std::string tagged = text;
    for (const auto& [state, word] : kStates) tagged = ReplaceAll(tagged, state, StateTag(settings_, word));
    return tagged;
}

TrackAnnouncer::TrackText TrackAnnouncer::SplitState(const std::string& untagged, bool coloured) const {
    for (const auto& [state, word] : kStates) {
        if (!untagged.ends_with(state)) continue;
        const std::string rest = untagged.substr(0, untagged.size() - state.size());
        const std::size_t body = rest.find_last_not_of(' ') + 1;
        if (!coloured) return {{}, rest.substr(0, body), rest.substr(body) + std::string(state)};
        // The blanks before the state each bring the title's colour, as
        // between the title's words.
        return {{}, rest.substr(0, body),
                ReplaceAll(rest.substr(body), " ", " " + Colour(settings_, E::Title)) + StateTag(settings_, word)};
    }
    return {{}, untagged, {}};
}

TrackAnnouncer::TrackText TrackAnnouncer::Split(const std::string& untagged) const {
    TrackText text = SplitState(untagged, true);
    const std::string tagged = Tagged(text.title);
    // The number part and the title share one character: the one after the ".".
    const std::size_t numberLength = NumberPartLength(tagged);
    text.numberPart = tagged.substr(0, numberLength);
    text.title = ReplaceAll(TrimSpaces(std::string_view(tagged).substr(numberLength - 1)), " ",
                            " " + Colour(settings_, E::Title));
    return text;
}

std::string TrackAnnouncer::ColouredCommand(const TrackText& text) const {
    const std::string head = "echo " + Colour(settings_, E::Winamp) + "Winamp " + Colour(settings_, E::Separator) +
                             ": " + Colour(settings_, E::TrackNumber) + text.numberPart + " " +
                             Colour(settings_, E::Title);
    return FitLine(head, text.title, text.end + " " + timePart_);
}

void TrackAnnouncer::Tick(const std::string& playerCaption, std::string& trackLine) {
    // The position as the announcer holds it: signed 16-bit seconds, an
    // overflow error from 32768 seconds on.
    const auto formattedTime = [&] {
        std::int16_t seconds = RoundToInt16(static_cast<double>(player_.PlayingSeconds()));
        return FormatTime(seconds, console_.ShowsColours(), settings_);
    };

    RunStep([&] {
        const std::string time = formattedTime();
        timePart_ = Colour(settings_, E::TimeOpen) + "[" + time + Colour(settings_, E::TimeOpen) + "]^7";
    });

    const std::string untagged = ReplaceAll(playerCaption, kWinampSuffix, "");
    const std::string tagged = Tagged(untagged);

    RunStep([&] { plainTime_ = "[" + formattedTime() + "]"; });

    // The main window shows the title as the player does; the game gets it
    // in letters its console can read.
    const TrackText shown = Split(untagged);
    trackLine = shown.numberPart + " " + Colour(settings_, E::Title) + shown.title + shown.end + " " + timePart_;
    const TrackText typed = Split(ReadableByEngine(desktop_, untagged, TitleDigit()));

    desktop_.DoEvents();

    RunStep([&] {
        if (tagged == lastTrack_) return;
        lastAnnounced_ = WholeSecondsNow(desktop_);
        console_.Send(ColouredCommand(typed));
    });

    lastTrack_ = tagged;

    const auto elapsed = (WholeSecondsNow(desktop_) - lastAnnounced_).count();

    if (!settings_.RepeatsTrackLine()) return;
    if (LeadingNumber(settings_.repeatSeconds) > static_cast<double>(elapsed)) return;

    RunStep([&] {
        if (console_.ShowsColours()) {
            console_.Send(ColouredCommand(typed));
        } else {
            const TrackText plain = SplitState(ReadableByEngine(desktop_, untagged, kPlainDigit), false);
            console_.Send(FitLine(kPlainHead, plain.title, plain.end + " " + plainTime_));
        }
    });

    lastAnnounced_ = WholeSecondsNow(desktop_);
}

} // namespace tunebridge
