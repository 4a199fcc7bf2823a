#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "announce/track_announcer.h"
#include "console/engine_text.h"
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
    announcer.Tick(caption, trackLine);
    Expect(commands.Waiting() <= 1, "one track line for a caption");
    commands.TypeNext(console.output);
    console.Frame();
    Expect(std::ranges::all_of(console.engine.ExecutedCommands(), [](const std::string& c) { return c.starts_with("echo "); }),
           "only echo commands run");
    for (const std::string& line : console.engine.TypedLines()) {
        Expect(line.size() <= kLongestTypedLine, "a line the game runs whole");
        Expect(line.find("//") == std::string::npos && line.find("/*") == std::string::npos, "no comment");
        Expect(std::ranges::all_of(line, [](char c) { return static_cast<unsigned char>(c) < 0x80; }), "plain letters");
    }
    return 0;
}
