#include "winamp/cls_winamp.h"

#include "app/runtime_error.h"

namespace tunebridge {
namespace {

constexpr int kTitleBufferChars = 2048;

}  // namespace

clsWinamp::clsWinamp(Desktop& desktop) : desktop_(&desktop), hwnd_(desktop.FindWindowA(kWinampClass, "")) {
    if (hwnd_ == 0) throw RuntimeError(kErrWinampNotRunning, "Winamp is not running", "Winamp Class");
}

std::int32_t clsWinamp::Command(std::uint32_t id) { return desktop_->SendMessageA(hwnd_, kWM_COMMAND, id, 0); }

std::int32_t clsWinamp::TrackPrev() { return Command(40044); }
std::int32_t clsWinamp::TrackNext() { return Command(40048); }
std::int32_t clsWinamp::TrackPlay() { return Command(40045); }
std::int32_t clsWinamp::TrackPause() { return Command(40046); }
std::int32_t clsWinamp::TrackStop() { return Command(40047); }
std::int32_t clsWinamp::TrackFadeout() { return Command(40147); }
std::int32_t clsWinamp::TrackStopAfter() { return Command(40157); }
std::int32_t clsWinamp::TrackFForward() { return Command(40148); }
std::int32_t clsWinamp::TrackFRewind() { return Command(40144); }
std::int32_t clsWinamp::TrackOpenFile() { return Command(40029); }
std::int32_t clsWinamp::TrackOpenURL() { return Command(40155); }
std::int32_t clsWinamp::TrackInfo() { return Command(40188); }
std::int32_t clsWinamp::ListStart() { return Command(40154); }
std::int32_t clsWinamp::ListEnd() { return Command(40158); }
std::int32_t clsWinamp::VisDispElapsed() { return Command(40037); }
std::int32_t clsWinamp::VisDispRemaining() { return Command(40038); }
std::int32_t clsWinamp::VisPlugInOptions() { return Command(40191); }
std::int32_t clsWinamp::VisPlugInExec() { return Command(40192); }
std::int32_t clsWinamp::ToggleScrPreferences() { return Command(40012); }
std::int32_t clsWinamp::ToggleScrAbout() { return Command(40041); }
std::int32_t clsWinamp::ToggleAutoscroll() { return Command(40189); }
std::int32_t clsWinamp::ToggleAlwaysOnTop() { return Command(40019); }
std::int32_t clsWinamp::ToggleWindowshadeMain() { return Command(40064); }
std::int32_t clsWinamp::ToggleWindowshadeList() { return Command(40266); }
std::int32_t clsWinamp::ToggleDoublesize() { return Command(40165); }
std::int32_t clsWinamp::ToggleEq() { return Command(40036); }
std::int32_t clsWinamp::ToggleList() { return Command(40040); }
std::int32_t clsWinamp::ToggleMain() { return Command(40258); }
std::int32_t clsWinamp::ToggleBrowser() { return Command(40298); }
std::int32_t clsWinamp::ToggleEasyMove() { return Command(40186); }
std::int32_t clsWinamp::ToggleRepeat() { return Command(40022); }
std::int32_t clsWinamp::ToggleShuffle() { return Command(40023); }
std::int32_t clsWinamp::VolRaise() { return Command(40058); }
std::int32_t clsWinamp::VolLower() { return Command(40059); }
std::int32_t clsWinamp::MiscJumpToTime() { return Command(40193); }
std::int32_t clsWinamp::MiscJumpToFile() { return Command(40194); }
std::int32_t clsWinamp::MiscSkinSelector() { return Command(40219); }
std::int32_t clsWinamp::MiscSkinReload() { return Command(40291); }
std::int32_t clsWinamp::MiscClose() { return Command(40001); }

std::string clsWinamp::GetWinampTitle() {
    std::string title = desktop_->GetWindowTextA(hwnd_, kTitleBufferChars);
    if (const auto nul = title.find('\0'); nul != std::string::npos) title.resize(nul);
    return title;
}

}  // namespace tunebridge
