#include <algorithm>
#include <string>

#include "console/console_commands.h"
#include "fuzz.h"

using namespace tunebridge;
using fuzz::Expect;

// A title or name from another program in an echo line must not become
// commands of its own in the game, and must otherwise arrive unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fake::FakeDesktop desktop;
    fake::FakeConsole console(desktop);
    const std::string line = "echo " + std::string(reinterpret_cast<const char*>(data), size);
    ConsoleCommands commands(desktop);
    commands.Send(line);
    commands.TypeNext(console.output);

    Expect(console.engine.TypedLines().size() == 1, "one line typed");
    const std::string& typed = console.engine.TypedLines().front();
    Expect(typed.size() == std::min<std::size_t>(line.size(), 32767), "the line keeps its length");
    const auto harmful = [](unsigned char c) { return c == ';' || c == '"' || c < 32; };
    for (std::size_t i = 0; i < typed.size(); ++i)
        Expect(!harmful(typed[i]) && (typed[i] == line[i] || harmful(line[i])), "only ';', '\"' and controls change");
    Expect(peers::SplitCommands(typed).size() == 1, "the game runs it as one command");
    return 0;
}
