#include <gtest/gtest.h>

#include "engine/console_engine.h"

namespace tunebridge {
namespace {

// The product's guards are only as good as this imitation. Lines typed within one pump pass share the
// 512-byte command buffer; each echo reaches the pane at Enter, the commands run and print at the next frame.
TEST(ConsoleEngine, RunsTheLinesTypedBeforeAFrameAsTheGameReadsThem) {
    const std::string x(494, 'x');
    const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string> cases[] = {  // typed; records; printed
        {{"echo \"x;y\"  z;clear;quit", "echo b"}, {"EXEC echo \"x;y\"  z", "EXEC clear", "CLEAR", "EXEC quit"}, "x;y z \r\n"},
        {{"echo \"a; b\recho ^1AC//DC ^7\"//x\" ;echo a/*b;c*/d /* e"},
         {"EXEC echo \"a; b", "EXEC echo ^1AC//DC ^7\"//x\"", "EXEC echo a/*b", "EXEC c*/d /* e"},
         "a; b \r\nAC \r\na \r\nUnknown command: c*/d\r\n"},
        {{"echo R\xF3s\x7f!\x1f" "x ;; echo ^^a^\nb^"}, {"EXEC echo R\xF3s\x7f!\x1f" "x", "EXEC echo ^^a^", "EXEC b^"},
         "R s\x7f! x \r\na\r\nUnknown command: b"},
        {{"echo " + x, "echo", "yyy", "z"}, {"CUT 2", "CRASH command buffer overflow", "EXEC echo " + x, "EXEC echo", "EXEC yy"},
         x + " \r\n\r\nUnknown command: yy\r\n"},
    };
    for (const auto& [typed, records, printed] : cases) {
        peers::ConsoleEngine console;
        std::vector<std::string> seen;  // the records but TYPED and OUT
        console.onLog = [&](const std::string& r) { if (!r.starts_with("OUT") && !r.starts_with("TYPED")) seen.push_back(r); };
        for (const std::string& line : typed) console.SetInput(line), console.Enter();
        const std::string echoes = console.Buffer();
        console.TakeBuffer(), console.RunFrame();
        EXPECT_EQ(std::pair(seen, console.Overflowed()), std::pair(records, records[1].starts_with("CRASH"))) << typed[0];
        EXPECT_EQ(console.Buffer(), echoes + printed) << typed[0];
    }
}

}  // namespace
}  // namespace tunebridge
