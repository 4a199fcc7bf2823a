// Sends one control command to a simulated peer:
//   peerctl "<window title or class>" "<command text>"
// Exit code 0 when the peer answered 1, 1 when it refused the command,
// 2 when no such window exists or the call is wrong.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "peer_program_win32.h"
#include "engine/peer_control.h"

int main(int argc, char** argv) {
    using namespace tunebridge::peers;
    UseBinaryStdio();
    if (argc != 3) return Fail("usage: peerctl \"<window title or class>\" \"<command text>\"");
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr) window = FindWindowA(argv[1], nullptr);
    if (window == nullptr) return Fail(std::string("no window titled or of class \"") + argv[1] + "\"");

    COPYDATASTRUCT data{};
    data.dwData = kPeerControlTag;
    data.cbData = static_cast<DWORD>(std::strlen(argv[2]));
    data.lpData = argv[2];
    DWORD_PTR answer = 0;
    constexpr UINT kTimeoutMs = 30000;
    if (SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kTimeoutMs,
                            &answer) == 0) {
        return Fail("the window did not answer");
    }
    if (answer != 1) {
        std::fprintf(stderr, "the peer refused \"%s\"\n", argv[2]);
        return 1;
    }
    return 0;
}
