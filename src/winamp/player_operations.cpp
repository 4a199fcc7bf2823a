#include "winamp/player_operations.h"

#include <array>
#include <cstddef>

namespace tunebridge {
namespace {

using Op = PlayerOperation;

// In the order of the enumeration, so an operation is its own row index.
constexpr std::array<PlayerOperationInfo, 39> kOperations = {{
    {Op::TrackPrev, "TrackPrev", 40044},
    {Op::TrackNext, "TrackNext", 40048},
    {Op::TrackPlay, "TrackPlay", 40045},
    {Op::TrackPause, "TrackPause", 40046},
    {Op::TrackStop, "TrackStop", 40047},
    {Op::TrackFadeout, "TrackFadeout", 40147},
    {Op::TrackStopAfter, "TrackStopAfter", 40157},
    {Op::TrackFForward, "TrackFForward", 40148},
    {Op::TrackFRewind, "TrackFRewind", 40144},
    {Op::TrackOpenFile, "TrackOpenFile", 40029},
    {Op::TrackOpenURL, "TrackOpenURL", 40155},
    {Op::TrackInfo, "TrackInfo", 40188},
    {Op::ListStart, "ListStart", 40154},
    {Op::ListEnd, "ListEnd", 40158},
    {Op::VisDispElapsed, "VisDispElapsed", 40037},
    {Op::VisDispRemaining, "VisDispRemaining", 40038},
    {Op::VisPlugInOptions, "VisPlugInOptions", 40191},
    {Op::VisPlugInExec, "VisPlugInExec", 40192},
    {Op::ToggleScrPreferences, "ToggleScrPreferences", 40012},
    {Op::ToggleScrAbout, "ToggleScrAbout", 40041},
    {Op::ToggleAutoscroll, "ToggleAutoscroll", 40189},
    {Op::ToggleAlwaysOnTop, "ToggleAlwaysOnTop", 40019},
    {Op::ToggleWindowshadeMain, "ToggleWindowshadeMain", 40064},
    {Op::ToggleWindowshadeList, "ToggleWindowshadeList", 40266},
    {Op::ToggleDoublesize, "ToggleDoublesize", 40165},
    {Op::ToggleEq, "ToggleEq", 40036},
    {Op::ToggleList, "ToggleList", 40040},
    {Op::ToggleMain, "ToggleMain", 40258},
    {Op::ToggleBrowser, "ToggleBrowser", 40298},
    {Op::ToggleEasyMove, "ToggleEasyMove", 40186},
    {Op::ToggleRepeat, "ToggleRepeat", 40022},
    {Op::ToggleShuffle, "ToggleShuffle", 40023},
    {Op::VolRaise, "VolRaise", 40058},
    {Op::VolLower, "VolLower", 40059},
    {Op::MiscJumpToTime, "MiscJumpToTime", 40193},
    {Op::MiscJumpToFile, "MiscJumpToFile", 40194},
    {Op::MiscSkinSelector, "MiscSkinSelector", 40219},
    {Op::MiscSkinReload, "MiscSkinReload", 40291},
    {Op::MiscClose, "MiscClose", 40001},
}};

// A row out of place or two operations on one command would send the wrong
// command without any test noticing; the compiler checks both.
constexpr bool TableIsSound() {
    for (std::size_t i = 0; i < kOperations.size(); ++i) {
        if (static_cast<std::size_t>(kOperations[i].operation) != i) return false;
        for (std::size_t j = i + 1; j < kOperations.size(); ++j) {
            if (kOperations[i].commandId == kOperations[j].commandId) return false;
            if (kOperations[i].name == kOperations[j].name) return false;
        }
    }
    return kOperations.back().operation == Op::MiscClose;
}
static_assert(TableIsSound());

} // namespace

const PlayerOperationInfo& Describe(PlayerOperation operation) {
    return kOperations[static_cast<std::size_t>(operation)];
}

} // namespace tunebridge
