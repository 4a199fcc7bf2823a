#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "announce/track_announcer.h"
#include "fuzz.h"

using namespace tunebridge;
using fuzz::Expect;

// The player's caption and position as the track line and the title request read them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fake::FakeDesktop desktop;
    fake::FakeConsole console(desktop, input.ConsumeBool() ? "Wolf Console" : "Quake 3 Console");
    Settings settings;
    for (std::int16_t& colour : settings.colors) colour = input.ConsumeIntegral<std::int16_t>();
    const std::int32_t positionMs = input.ConsumeIntegral<std::int32_t>();
    const std::string caption = input.ConsumeRemainingBytesAsString();
    desktop.Window(desktop.CreateWindow(kPlayerWindowClass, caption)).handler =
        [positionMs](fake::FakeWindow&, const fake::Message&) -> std::optional<std::int32_t> { return positionMs; };
    PlayerRequests player(desktop);
    ConsoleCommands commands(desktop);
    TrackAnnouncer announcer(desktop, commands, player, settings);

    const PlayerInfoValue title = player.Info(13);
    const auto* text = std::get_if<std::string>(&title);
    Expect(!text || (caption.find(*text) != std::string::npos && player.Info(13) == title),
           "the title: a piece of the caption, the same when asked again");
    std::string trackLine;
    announcer.Tick(caption, trackLine);
    Expect(console.engine.TypedLines().size() <= 1, "at most one track line for a caption");
    announcer.Tick(caption, trackLine);
    console.Frame();
    Expect(console.engine.TypedLines().size() <= 1, "no second line for the same caption");
    Expect(std::ranges::all_of(console.engine.ExecutedCommands(), [](const std::string& c) { return c.starts_with("echo "); }),
           "only echo commands run");
    return 0;
}
