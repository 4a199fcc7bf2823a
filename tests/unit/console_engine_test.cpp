// The simulated game console splits a typed line into commands as the game
// does; the product's guard against commands hidden in track titles is only
// as good as this imitation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/console_engine.h"

namespace tunebridge {
namespace {

using Lines = std::vector<std::string>;

TEST(ConsoleEngine, SplitsATypedLineAtSemicolonsOutsideQuotesAndAtLineBreaks) {
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"echo a; quit", {"echo a", "quit"}},
        {"echo \"a;b\";clear", {"echo \"a;b\"", "clear"}},
        {"echo \"open; quit", {"echo \"open; quit"}},
        {"echo a\nquit", {"echo a", "quit"}},
        {"echo \"a\r\nquit\"", {"echo \"a", "quit\""}},
        {"echo 'a;b'", {"echo 'a", "b'"}},
        {" ;; echo x ;", {"echo x"}},
    };
    for (const auto& [line, commands] : cases) {
        peers::ConsoleEngine console;
        console.SetInput(line);
        console.Enter();
        EXPECT_EQ(console.ExecutedCommands(), commands) << line;
    }
}

}  // namespace
}  // namespace tunebridge
