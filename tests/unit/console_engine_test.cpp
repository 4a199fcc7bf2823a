// The simulated game console reads a typed line as the game does; the
// product's guards against commands hidden in titles, against its text being
// cut and against overflowing the game are only as good as this imitation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/console_engine.h"

namespace tunebridge {
namespace {

using Lines = std::vector<std::string>;

// The echo reaches the pane at Enter; the commands run, and print, at the frame.
TEST(ConsoleEngine, RunsATypedLineAtTheNextFrameAsTheEngineReadsIt) {
    const std::tuple<std::string, Lines, std::string> cases[] = {  // typed, commands, printed at the frame
        {"echo a; quit", {"echo a", "quit"}, "a \r\n"},
        {"echo \"x;y\"  z;clear", {"echo \"x;y\"  z", "clear"}, "x;y z \r\n"},
        {"echo \"open; quit", {"echo \"open; quit"}, "open; quit \r\n"},
        {"echo a\r\nname", {"echo a", "name"}, "a \r\n\"name\" is:\"UnnamedPlayer\" default:\"UnnamedPlayer\"\r\n"},
        {" ;; echo ^1AC//DC ^7\"//x\" ;", {"echo ^1AC//DC ^7\"//x\""}, "AC \r\n"},
        {"echo a/*b;c*/d /* e", {"echo a/*b", "c*/d /* e"}, "a \r\nUnknown command: c*/d\r\n"},
        {"echo Sigur R\xF3s\x7f!\x1f" "x", {"echo Sigur R\xF3s\x7f!\x1f" "x"}, "Sigur R s\x7f! x \r\n"},
        {"echo ^^a^\nb^", {"echo ^^a^", "b^"}, "a\r\nUnknown command: b"},
    };
    for (const auto& [typed, commands, printed] : cases) {
        peers::ConsoleEngine console;
        console.SetInput(typed);
        console.Enter();
        const std::string echo = console.Buffer();
        console.RunFrame();
        EXPECT_TRUE(console.ExecutedCommands().empty()) << typed;
        console.TakeBuffer();
        console.RunFrame();
        EXPECT_EQ(console.ExecutedCommands(), commands) << typed;
        EXPECT_EQ(console.Buffer(), echo + printed) << typed;
    }
}

// Lines typed within one pump pass share the 512-byte buffer; the game takes it whole.
TEST(ConsoleEngine, KeepsWhatFitsOf507CharactersAndOverflowsWith508Waiting) {
    const std::tuple<std::vector<std::size_t>, Lines> cases[] = {  // typed lengths, records
        {{600}, {"CUT 507"}},
        {{500, 5, 1}, {"CUT 0"}},
        {{507, 0}, {"CRASH command buffer overflow"}},
        {{1100, 0}, {"CUT 507", "CRASH command buffer overflow"}},
    };
    for (const auto& [lengths, records] : cases) {
        peers::ConsoleEngine console;
        Lines logged;
        console.onLog = [&](const std::string& record) {
            if (record.starts_with("CUT") || record.starts_with("CRASH")) logged.push_back(record);
        };
        for (const std::size_t length : lengths) {
            console.SetInput(std::string(length, 'x'));
            console.Enter();
        }
        EXPECT_EQ(logged, records) << lengths.size();
        EXPECT_EQ(console.Overflowed(), records.back().starts_with("CRASH")) << lengths.size();
    }
}

}  // namespace
}  // namespace tunebridge
